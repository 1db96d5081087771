#include "review/ReviewDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "review/ReviewGridView.h"
#include "ui/AppIcon.h"
#include "ui/ComboItems.h"
#include "ui/MenuBuilder.h"
#include "ui/MyColorBut.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("ReviewDlg");
// The grid starts this far below the top of the client area (times the vertical scale).
constexpr int kGridTop = 80;
constexpr int kGridBottomGap = 20;
constexpr int kStatusGap = 5;

// Commands of the main menu that the hub runs.
constexpr int kForwarded[] = {ID_TIMESHEETS,   ID_CONTACTS,        ID_TASKS,       ID_PROPERTIES,
                              ID_ABOUT,        ID_EXPORT,          ID_ONLINE_HELP, ID_HELP_TOPICS,
                              ID_PROJECT_INFO, ID_CHANGE_REQUESTS, ID_OVERVIEW,    ID_SET_USER};

QLabel* Label(const QString& text, int id, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    CDialogBase::SetControlId(label, id);
    return label;
}

QDateEdit* DatePicker(int id, QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    CDialogBase::SetControlId(picker, id);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    // Room for the longest date of the format, with the calendar button.
    const QString longest = QLocale().toString(QDate(2026, 9, 30), QLocale::LongFormat);
    picker->setMinimumWidth(picker->fontMetrics().horizontalAdvance(longest) + 40);
    return picker;
}

} // namespace

CReviewDlg::CReviewDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CTreeListDlg(IDD_REVIEW, parent)
    , m_hub(hub)
    , m_db(db)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Week Review"));
    setSizeGripEnabled(true);
    CKeyFilter::Install();
    m_accelerators = CAcceleratorTable::Load(kAccelerators);
    BuildControls();
    BuildMenus();
    resize(860, 420);
}

CReviewDlg::~CReviewDlg()
{
    // The grid goes after this object: nothing it hears from now on reaches it.
    m_grid->SetOwnerCalls({}, {});
    // The window holds one use of the connection from its start to its end.
    if (m_connected)
        m_db.ReleaseConnection(false, true);
}

void CReviewDlg::SetPeriod(const QDate& start, const QDate& end)
{
    m_period = {start, end};
}

// ---- Controls --------------------------------------------------------------------------

void CReviewDlg::BuildControls()
{
    SplitterBar()->hide();
    // Shown from the first fill on, where the window's size puts it; first in
    // the focus chain, as the window's list is.
    m_grid = new CReviewGridView(this);
    m_grid->hide();
    m_grid->SetOwnerCalls([this](int row) { OnListRowSelected(row); }, [this] { OnFillList(); });
    m_panel = new QWidget(this);
    auto* grid = new QGridLayout(m_panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);

    m_startPicker = DatePicker(kIdStart, m_panel);
    m_endPicker = DatePicker(kIdEnd, m_panel);
    QLabel* startLabel = Label(QStringLiteral("&Start"), kIdStartLabel, m_panel);
    startLabel->setBuddy(m_startPicker);
    QLabel* endLabel = Label(QStringLiteral("&End:"), kIdEndLabel, m_panel);
    endLabel->setBuddy(m_endPicker);
    connect(m_startPicker, &QDateEdit::dateChanged, this, [this] { OnDateChanged(); });
    connect(m_endPicker, &QDateEdit::dateChanged, this, [this] { OnDateChanged(); });

    m_span = new CUserCombo(m_panel);
    SetControlId(m_span, kIdSpan);
    m_span->setEditable(true);
    m_span->addItems({QStringLiteral("1 week"), QStringLiteral("2 weeks"),
                      QStringLiteral("3 weeks"), QStringLiteral("4 weeks"),
                      QStringLiteral("this month"), QStringLiteral("this week")});
    m_span->setInsertPolicy(QComboBox::NoInsert);
    m_span->SetReviewOwner(this, kIdSpan);
    m_span->SetTip(QStringLiteral("ALT+I"));

    const auto button = [this](const QString& text, int id, const QString& tip) {
        auto* b = new CTipButton(nullptr, m_panel);
        SetControlId(b, id);
        b->setText(text);
        b->setAutoDefault(false);
        b->SetOwner(this, kTipOwnerReview, id);
        b->SetTip(tip);
        return b;
    };
    m_back = button(QStringLiteral("&<<"), kIdBack, QStringLiteral("Back ALT+<"));
    m_forward = button(QStringLiteral("&>>"), kIdForward, QStringLiteral("Forward ALT+>"));
    m_chooseProject =
        button(QStringLiteral("..."), kIdChooseProject, QStringLiteral("Show Projects ALT+P"));
    m_review = button(QStringLiteral("&Review"), kIdReview, QStringLiteral("Refresh Review ALT+R"));
    m_review->setDefault(true);

    m_project = new CPlainLabel(QStringLiteral("Project"), m_panel);
    CDialogBase::SetControlId(m_project, kIdProject);
    m_project->setFrameShape(QFrame::Panel);
    m_project->setFrameShadow(QFrame::Sunken);
    m_project->setMinimumWidth(200);
    QLabel* projectLabel = Label(QStringLiteral("&Project:"), kIdProjectLabel, m_panel);
    projectLabel->setBuddy(m_chooseProject);

    m_user = new QComboBox(m_panel);
    SetControlId(m_user, kIdUser);
    m_user->setMinimumWidth(180);
    QLabel* userLabel = Label(QStringLiteral("&User:"), kIdUserLabel, m_panel);
    userLabel->setBuddy(m_user);
    connect(m_user, &QComboBox::activated, this, [this] { OnUserChanged(); });

    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(m_startPicker, 0, 1);
    grid->addWidget(endLabel, 0, 2);
    grid->addWidget(m_endPicker, 0, 3);
    grid->addWidget(m_span, 0, 4);
    grid->addWidget(m_back, 0, 5);
    grid->addWidget(m_forward, 0, 6);
    grid->addWidget(projectLabel, 1, 0);
    grid->addWidget(m_project, 1, 1, 1, 2);
    grid->addWidget(m_chooseProject, 1, 3, Qt::AlignLeft);
    grid->addWidget(userLabel, 1, 4, Qt::AlignRight);
    grid->addWidget(m_user, 1, 5, 1, 2);
    grid->addWidget(m_review, 1, 7);
    grid->setColumnStretch(8, 1);

    m_status = new CPlainLabel(this);
    CDialogBase::SetControlId(m_status, kIdStatus);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panel);
    // The grid and the status line below sit where the window's size puts them.
    layout->addStretch(1);
}

void CReviewDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("Contacts"), ID_CONTACTS, {}},
          {QStringLiteral("Comments"), ID_TASKS, {}},
          {QStringLiteral("Change Requests"), ID_CHANGE_REQUESTS, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&Help Topics"), ID_HELP_TOPICS, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Actions"),
         0,
         {{QStringLiteral("Export to Excel as &List view"), kIdExportList, {}},
          {QStringLiteral("Export to Excel as &Day View"), kIdExportDays, {}}}},
    };
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); },
                    {QStringLiteral("Searc&h"), kIdSearch, {}});
}

// ---- Opening ---------------------------------------------------------------------------

void CReviewDlg::ReadAgain()
{
    // Users the window could not read when it opened.
    if (m_user->count() <= 1) {
        CComboItems items(m_user);
        m_db.FillUserCombo(items, QStringLiteral("All"));
        m_user->setCurrentIndex(m_user->findText(m_userText, Qt::MatchFixedString));
    }
    FillReview(m_projectFilter, false);
}

bool CReviewDlg::OnInitDialog()
{
    CWaitCursor wait;
    GetPixelScale(m_scaleX, m_scaleY);
    setWindowIcon(AppIcon());
    m_panel->setFixedHeight(qRound(kGridTop * m_scaleY));
    m_connected = m_db.OpenConnection();

    const QDate today = CClock::Today();
    if (!m_period.start.isValid())
        m_period.start = today;
    if (!m_period.end.isValid())
        m_period.end = today;

    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    m_datesChanged = false;
    CComboItems items(m_user);
    m_db.FillUserCombo(items, QStringLiteral("All"));
    const int index = user.isEmpty() ? -1 : m_user->findText(user, Qt::MatchFixedString);
    m_user->setCurrentIndex(index);
    if (index < 0) {
        // Not an employee: the facade asks for one through the hub.
        QString current;
        m_db.GetCurrentUser(current);
    }
    m_userText = m_user->currentIndex() >= 0 ? m_user->currentText() : user;
    m_lastReviewedUser = m_userText;
    UpdateData(false);
    RestoreWindowPlacement(this, kPlacementKey);

    if (m_hub && m_hub->m_pendingProjId >= 0)
        m_projectFilter = m_db.GetProjNameById(m_hub->m_pendingProjId);
    if (m_projectFilter.isEmpty())
        m_projectFilter = QStringLiteral("All");
    m_project->setText(m_projectFilter);
    SetReviewCaption();
    FillReview(m_projectFilter, true);
    PlaceGridAndStatus();

    if (CProfile::LoadKeyCommands().Bool("showbuts")) {
        m_chooseProject->setText(QStringLiteral("&Project"));
        m_chooseProject->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px;"));
    }
    {
        const QSignalBlocker quiet(m_span);
        m_span->setCurrentIndex(qBound(0, CurrentOptions().Int("ReviewTimeLength"), 5));
    }
    return true;
}

void CReviewDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_period.start = m_startPicker->date();
        m_period.end = m_endPicker->date();
        m_userText = m_user->currentIndex() >= 0 ? m_user->currentText() : m_userText;
        m_spanText = m_span->currentText();
        return;
    }
    m_settingControls = true;
    m_startPicker->setDate(m_period.start);
    m_endPicker->setDate(m_period.end);
    m_settingControls = false;
    m_project->setText(m_projectFilter);
}

void CReviewDlg::SetProjectFilter(const QString& filter)
{
    m_projectFilter = filter;
    m_project->setText(filter);
    SetReviewCaption();
}

void CReviewDlg::SetReviewCaption()
{
    QString caption = BuildWindowCaption(IDS_REVIEW_TITLE, QString(), &m_db) +
                      QStringLiteral(" - ") + CProfile::DefUserName();
    if (!m_projectFilter.isEmpty())
        caption += QStringLiteral(" - ") + m_projectFilter;
    setWindowTitle(caption);
}

// ---- Layout ----------------------------------------------------------------------------

void CReviewDlg::PlaceGridAndStatus()
{
    const int top = m_panel->geometry().bottom() + 1;
    const QRect grid(0, top, width(), qMax(0, height() - kGridBottomGap - top));
    if (m_listCreated)
        m_grid->setGeometry(grid);
    m_status->adjustSize();
    m_status->move(grid.left() + 4, grid.bottom() + 1 + kStatusGap - 3);
    m_status->resize(qMax(m_status->width(), width() - 8), m_status->height());
}

void CReviewDlg::resizeEvent(QResizeEvent* event)
{
    CTreeListDlg::resizeEvent(event);
    // The grid keeps its rows; only its place changes.
    PlaceGridAndStatus();
}

void CReviewDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
    PlaceGridAndStatus();
}

QString CReviewDlg::StatusText() const
{
    return m_status->text();
}

// ---- Commands --------------------------------------------------------------------------

bool CReviewDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case kIdReview:
    case kIdBack:
    case kIdForward:
    case kIdChooseProject:
        OnButtonId(id);
        return true;
    case kIdExportList:
    case kIdExportListAlt:
        ExportListView();
        return true;
    case kIdExportDays:
        ExportDayView();
        return true;
    case kIdSearch:
        // The hub runs the search dialog for time sheets.
        if (m_hub)
            m_hub->OnCommand(ID_SEARCH);
        return true;
    case ID_REVIEW:
        return true;
    case ID_CLOSE_WINDOW:
        close();
        return true;
    // Keys of table 305 that move the focus.
    case kIdStart:
        m_startPicker->setFocus();
        return true;
    case kIdEnd:
        m_endPicker->setFocus();
        return true;
    case kIdSpan:
        m_span->setFocus();
        return true;
    case kIdUser:
        m_user->setFocus();
        return true;
    case IDC_LIST:
        if (m_listCreated) {
            m_grid->setFocus();
            m_grid->SelectItem(0);
        }
        return true;
    default:
        return CTreeListDlg::OnCommand(id);
    }
}

void CReviewDlg::OnButtonId(int id)
{
    switch (id) {
    case kIdChooseProject:
        OnChooseProject();
        break;
    case kIdReview:
        OnReview();
        break;
    case kIdBack:
        OnBack();
        break;
    case kIdForward:
        OnForward();
        break;
    default:
        break;
    }
}

void CReviewDlg::OnProjectFilterChange(int id)
{
    if (id == kIdSpan)
        CheckSpan();
}

void CReviewDlg::OnDateChanged()
{
    if (m_settingControls)
        return;
    // The grid stays as it is until the next review.
    UpdateData(true);
    m_datesChanged = true;
}

void CReviewDlg::OnUserChanged()
{
    // Another employee's hours, or everybody's, only with the rights to see them.
    IUserRights* rights = CUserCombo::UserRights();
    const QString chosen = m_user->currentText();
    const QString own = CProfile::DefUserName();
    if ((!rights || rights->SecurityLevel() == 0) && chosen != own) {
        ShowMessageBox(CUserCombo::RightsMessage(), kMbOk | kMbIconWarning);
        const QSignalBlocker quiet(m_user);
        const int back = m_user->findText(m_userText, Qt::MatchFixedString);
        m_user->setCurrentIndex(back);
        return;
    }
    UpdateData(true);
    OnReview();
}

// ---- Keys ------------------------------------------------------------------------------

bool CReviewDlg::TakesKey(const QKeyEvent& event) const
{
    return m_accelerators.Translate(event) != 0;
}

bool CReviewDlg::PreTranslateKey(QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int command = m_accelerators.Translate(event);
    if (command == 0)
        return false;
    OnCommand(command);
    return true;
}

// ---- The grid's hooks ----------------------------------------------------------------------

void CReviewDlg::OnListRowSelected(int row)
{
    m_selectedRow = m_grid->ItemText(row, 0);
}

void CReviewDlg::OnFillList()
{
    if (m_selectedRow.isEmpty())
        return;
    for (int row = 0; row < m_grid->ItemCount(); ++row)
        if (m_grid->ItemText(row, 0) == m_selectedRow) {
            m_grid->SelectItem(row);
            break;
        }
}

// ---- Closing ---------------------------------------------------------------------------

void CReviewDlg::SaveState()
{
    if (m_closed)
        return;
    m_closed = true;
    UpdateData(true);
    if (m_savePlacement)
        SaveWindowPlacement(this, kPlacementKey);
    m_grid->Clear();
    m_listCreated = false;
    m_columnTotals.clear();
}

void CReviewDlg::CloseWindow(int /*flag*/)
{
    close();
}

void CReviewDlg::closeEvent(QCloseEvent* event)
{
    SaveState();
    event->accept();
}

void CReviewDlg::OnOK()
{
    // Enter runs the review through the default button; OK as such ends the window.
    m_savePlacement = false;
    close();
}

void CReviewDlg::OnCancel()
{
    // Escape ends the window without keeping its place.
    m_savePlacement = false;
    close();
}
