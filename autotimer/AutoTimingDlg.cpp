#include "autotimer/AutoTimingDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/TrayIcon.h"
#include "autotimer/TimerIcons.h"
#include "data/DBClass.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "ui/CaptionWidth.h"
#include "ui/ComboItems.h"
#include "ui/MenuBuilder.h"
#include "ui/PlainLabel.h"
#include "ui/ProjComboEx.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/TipButton.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("LoggingDlg");
const QString kRememberedProject = QStringLiteral("LoggingDlg/Default");
const QString kSelectProject =
    QStringLiteral("Select a Project from the combo and start logging by pressing the Go button");

// Commands the window hands to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS,  ID_AUTO_TIMER, ID_CHANGE_REQUESTS, ID_TASKS,
                              ID_PROPERTIES,  ID_REVIEW,     ID_ABOUT,           ID_ONLINE_HELP,
                              ID_HELP_TOPICS, ID_EXPORT,     ID_SET_USER,        ID_OVERVIEW};

QString HourMinute(int minutes)
{
    return QString::asprintf("%2.2i:%2.2i", minutes / 60, minutes % 60);
}

} // namespace

CAutoTimingDlg::CAutoTimingDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CDialogBase(IDD_AUTO_TIMER, parent)
    , m_hub(hub)
    , m_db(db)
    , m_engine(std::make_unique<CBookTime>(db, *this))
{
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Auto Timer"));
    setWindowIcon(TimerIcon(kIconId));
    m_projId = CProfileStore().value(kRememberedProject, -1).toInt();
    BuildControls();
}

CAutoTimingDlg::~CAutoTimingDlg() = default;

void CAutoTimingDlg::BuildControls()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&Help Topics"), ID_HELP_TOPICS, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Options"), 0, {{QStringLiteral("&Always on top"), kIdAlwaysOnTop, {}}}},
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); });
    m_alwaysOnTopAction =
        layout->menuBar()->findChild<QAction*>(QStringLiteral("cmd%1").arg(kIdAlwaysOnTop));
    if (m_alwaysOnTopAction)
        m_alwaysOnTopAction->setCheckable(true);

    // The controls sit where the window's size puts them (OnSize).
    m_client = new QWidget(this);
    layout->addWidget(m_client);
    m_project = new CProjComboEx(this, m_client);
    SetControlId(m_project, kIdProject);
    m_task = new QComboBox(m_client);
    SetControlId(m_task, kIdTask);
    m_remember = new QCheckBox(QStringLiteral("&Remember project"), m_client);
    SetControlId(m_remember, kIdRemember);
    m_remember->setChecked(true);
    connect(m_remember, &QCheckBox::clicked, this, [this] { OnCommand(kIdRemember); });
    m_status = new CPlainLabel(m_client);
    SetControlId(m_status, kIdStatus);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_go = new CTipButton(this, m_client);
    SetControlId(m_go, kIdGo);
    m_go->setText(QStringLiteral("&GO"));
    m_go->setAutoDefault(false);
    m_go->SetOwner(nullptr, kTipOwnerAutoTimer, kIdGo);
    const int comboHeight = m_project->sizeHint().height();
    m_go->resize(qMax(64, m_go->sizeHint().width()), comboHeight * 2 + 8);
    m_client->setMinimumSize(380, comboHeight * 2 + 28 + 2 * m_status->fontMetrics().height());
    m_client->installEventFilter(this);
}

// ---- Opening -----------------------------------------------------------------------------------

bool CAutoTimingDlg::OnInitDialog()
{
    RestoreWindowPlacement(this, kPlacementKey);
    const bool connected = m_db.OpenConnection();
    m_db.GetCurrentUser(m_userName);
    m_project->FillProjects(m_db, m_userName);
    m_go->SetTip(kSelectProject);
    int index = m_projId == -1 ? 0 : m_project->findData(m_projId);
    if (index < 0)
        index = 0;
    m_project->setCurrentIndex(m_project->count() > 0 ? index : -1);
    m_projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    m_go->setEnabled(m_projId >= 0);
    FillTasks();
    if (connected)
        m_db.ReleaseConnection(false, false);
    m_remember->setChecked(m_rememberProject);
    SetIdleCaption();
    OnSize();
    return true;
}

void CAutoTimingDlg::FillTasks()
{
    CComboItems items(m_task);
    int selected = -1;
    if (m_projId < 0 || !m_db.FillTaskCombo(items, selected, m_projId, true))
        m_task->clear();
    if (m_task->currentIndex() < 0 && m_task->count() > 0)
        m_task->setCurrentIndex(0);
}

void CAutoTimingDlg::SetIdleCaption()
{
    const QString project = m_project->currentIndex() >= 0 ? m_project->currentText() : QString();
    setWindowTitle(project.isEmpty()
                       ? QStringLiteral("Auto Timer -  %1,  No project").arg(m_userName)
                       : QStringLiteral("Auto Timer -  %1,  %2").arg(m_userName, project));
}

void CAutoTimingDlg::OnSelChangeProject()
{
    m_go->setEnabled(true);
    m_go->SetTip(QString());
    m_projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    FillTasks();
    SetIdleCaption();
}

// ---- Go and Stop -----------------------------------------------------------------------------

void CAutoTimingDlg::OnGo()
{
    const QDateTime now = CClock::Now();
    if (m_timing) {
        m_logStop = now;
        m_engine->StopTiming();
        RefreshTimesheet(now.date());
        EnableTimesheetEditing(true);
        m_go->SetTip(m_project->currentText(), 0);
        return;
    }
    if (m_projId < 0) {
        ShowMessageBox(kSelectProject, kMbOk | kMbIconInformation);
        return;
    }
    if (m_engine->IsRunning())
        m_engine->StopTiming();
    m_engine->LoadOptions();
    if (m_engine->IsAfterStopTime(now.time().hour() * 60 + now.time().minute()) &&
        !m_engine->AskToBookAfterStop())
        return;
    const int taskId = m_task->currentIndex() >= 0 ? m_task->currentData().toInt() : -1;
    // Every tick would ask again: a project without tasks is refused once, here.
    if (taskId < 0) {
        ShowStringMessage(IDS_CHOOSE_TASK);
        return;
    }
    m_logStart = now;
    m_logStop = QDateTime();
    // Timing from here on: the time sheet and the tray menu ask while it starts.
    m_timing = true;
    int start = 0;
    int stop = 0;
    const int result = m_engine->StartTiming(m_projId, taskId, start, stop);
    if (result == CBookTime::kBooked) {
        SetTimesheetReadOnly(1);
        m_go->setText(QStringLiteral("Stop"));
        m_project->setEnabled(false);
        m_task->setEnabled(false);
        EnableTimesheetEditing(false);
        UpdateWindowText();
    } else {
        if (result == CBookTime::kTooManyAdvances)
            ShowStringMessage(IDS_TOO_MANY_ADVANCES);
        // Idle again, whatever the engine made of it.
        m_engine->StopTiming();
    }
    m_go->SetTip(m_project->currentText(), 0);
}

void CAutoTimingDlg::OnStopTiming()
{
    m_logStop = CClock::Now();
    if (m_timing)
        OnGo();
}

void CAutoTimingDlg::OnTimingStopped()
{
    m_timing = false;
    ShowIdle();
}

void CAutoTimingDlg::ShowIdle()
{
    UpdateWindowText();
    m_project->setEnabled(true);
    m_task->setEnabled(true);
    m_go->setText(QStringLiteral("Go"));
}

QString CAutoTimingDlg::FormatDate(const QDate& day) const
{
    return FormatDateTime(CDateTime(day), RegionalFormats().dateFormat);
}

void CAutoTimingDlg::UpdateWindowText()
{
    const QDateTime now = CClock::Now();
    if (!m_timing) {
        const QDateTime stopped = m_logStop.isValid() ? m_logStop : now;
        setWindowTitle(
            QStringLiteral("Timer OFF  %1, (%2)").arg(m_userName, FormatDate(stopped.date())));
        m_status->clear();
        return;
    }
    if (!m_engine->IsLogged() && !m_engine->IsUnstored()) {
        // Starting, nothing booked yet: no block to name (the times would be
        // another run's, or none at all).
        m_status->clear();
        return;
    }
    const int start = m_engine->StartMinutes();
    const int stop = m_engine->StopMinutes();
    setWindowTitle(QStringLiteral("Timer ON  %1-%2 %3, %4 (%5) ")
                       .arg(HourMinute(start), HourMinute(stop), m_userName,
                            m_engine->ProjectName(), FormatDate(now.date())));
    // Minutes already booked ahead of now: the time that will pass until
    // the block's stop, none once the stop has passed (as it may in the hour
    // the clock shows twice).
    const int ahead = int(qMax<qint64>(0, now.secsTo(m_engine->BlockStop())) / 60);
    m_status->setText(
        QString::asprintf("Logging started: %2.2i:%2.2i (%i mins)", start / 60, start % 60, ahead));
}

QString CAutoTimingDlg::StatusText() const
{
    return m_status->text();
}

// ---- The window ------------------------------------------------------------------------------

bool CAutoTimingDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case kIdGo:
        OnGo();
        return true;
    case ID_STOP_TIMING:
        OnStopTiming();
        return true;
    case kIdAlwaysOnTop:
        OnAlwaysOnTop();
        return true;
    case kIdRemember:
        m_rememberProject = !m_rememberProject;
        m_remember->setChecked(m_rememberProject);
        return true;
    case ID_CLOSE_WINDOW:
        close();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CAutoTimingDlg::OnAlwaysOnTop()
{
    m_alwaysOnTop = !m_alwaysOnTop;
    // Changing the flag hides the window; it shows again where it was.
    setWindowFlag(Qt::WindowStaysOnTopHint, m_alwaysOnTop);
    show();
    if (m_alwaysOnTopAction)
        m_alwaysOnTopAction->setChecked(m_alwaysOnTop);
}

bool CAutoTimingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        OnSize();
    return CDialogBase::eventFilter(watched, event);
}

void CAutoTimingDlg::changeEvent(QEvent* event)
{
    CDialogBase::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        WidenToCaption(*this);
}

void CAutoTimingDlg::OnSize()
{
    if (m_sizing || !m_go)
        return;
    m_sizing = true;
    const int width = m_client->width();
    const int comboHeight = m_project->sizeHint().height();
    const int comboWidth = qMax(40, width - m_go->width() - 8);
    m_project->setGeometry(4, 4, comboWidth, comboHeight);
    m_task->setGeometry(4, 4 + comboHeight + 8, comboWidth, comboHeight);
    m_go->move(width - m_go->width() - 4, 4);
    const int top = 4 + 2 * comboHeight + 8 + 8;
    const QSize check = m_remember->sizeHint();
    m_remember->setGeometry(4, top, check.width(), check.height());
    const int left = 4 + check.width() + 8;
    const int statusWidth = qMax(0, width - left - 4);
    m_status->setText(m_go->Tip().Text());
    // Every line of the hint shows: the window is never lower than it needs.
    const int needed = qMax(check.height(), m_status->heightForWidth(statusWidth));
    m_client->setMinimumHeight(top + needed + 4);
    m_status->setGeometry(left, top, statusWidth, qMax(needed, m_client->height() - top - 4));
    m_sizing = false;
}

void CAutoTimingDlg::OnCancel()
{
    close();
}

void CAutoTimingDlg::CloseWindow(int flag)
{
    if (flag == ID_STOP_TIMING) {
        OnStopTiming();
        return;
    }
    // Every window closes: no question, the timing simply ends.
    if (m_timing)
        m_engine->StopTiming();
    close();
}

void CAutoTimingDlg::closeEvent(QCloseEvent* event)
{
    // Not the dialog's own close: that would be a Cancel.
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_timing) {
        if (ShowMessageBox(QStringLiteral("Closing the window will end Auto Timing - do you want "
                                          "to continue?"),
                           kMbYesNo | kMbIconQuestion) != kIdYes) {
            event->ignore();
            return;
        }
        m_engine->StopTiming();
    }
    m_closing = true;
    SaveWindowPlacement(this, kPlacementKey);
    if (m_rememberProject)
        CProfileStore().setValue(kRememberedProject, m_projId);
    event->accept();
}

// ---- What the engine tells the program ---------------------------------------------------------
// The application's forwards to the open time-sheet window go through the
// hub that owns this window.

void CAutoTimingDlg::PassRecordToTimesheet(const QDate& day, int projId, const QString& user,
                                           int empId, int start, int stop, const QString& text)
{
    if (IHubWindow* sheet = m_hub ? m_hub->Window(ID_TIMESHEETS) : nullptr)
        sheet->ShowRecord(day, projId, user, empId, start, stop, text);
}

void CAutoTimingDlg::SetTimesheetReadOnly(int state)
{
    if (IHubWindow* sheet = m_hub ? m_hub->Window(ID_TIMESHEETS) : nullptr)
        sheet->SetReadOnly(state);
}

void CAutoTimingDlg::EnableTimesheetEditing(bool enable)
{
    if (m_hub)
        m_hub->EnableTimesheetEditing(enable);
}

void CAutoTimingDlg::RefreshTimesheet(const QDate& day)
{
    if (m_hub)
        m_hub->RefreshTimesheet(day);
}

void CAutoTimingDlg::SetTrayIcon(int iconId, const QString& tip)
{
    CTrayIcon* tray = m_hub ? m_hub->Tray() : nullptr;
    if (!tray)
        return;
    if (iconId == CBookTime::kTrayIcon)
        tray->SetIconById(IDS_TRAY_TIP);
    else
        tray->SetAnimationFrame(TimerIcon(iconId), tip);
}
