#include "timesheet/TimeAppDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "app/PropsTimeSheet.h"
#include "app/UnreadWindows.h"
#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"
#include "timesheet/Plentor.h"
#include "ui/AppIcon.h"
#include "ui/ComboItems.h"
#include "ui/MenuBuilder.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/StringTable.h"
#include "ui/TipDateTimeCtrl.h"
#include "ui/TipMonthCalCtrl.h"
#include "ui/UserCombo.h"
#include "ui/Utilities.h"
#include "ui/VirtualKeys.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

enum : int {
    kIdTimeLine = 1033,
    kIdUsers = 1001,
    kIdDatePicker = 1139,
    kIdCalendar = 1144,
    kIdPrevDay = 1131,
    kIdNextDay = 1132,
    kIdComment = 1117,
    kIdStatus = 1060,
    kIdClock = 1057,
    kIdDateText = 1354,
    kIdProject = 1012,
    kIdStart = 1013,
    kIdStop = 1014,
    kIdWorkType = 1034,
    kIdTask = 1026,
    kIdOrder = 1025,
    kIdHours = 1011,
    kIdCost = 1115,
    kClockPeriodMs = 10000,
    kFirstKeyCommand = 12863,
    kLastKeyCommand = 12879,
    kSetFocusToControl = 57710,
};

// Commands the window hands to the hub.
constexpr int kForwarded[] = {ID_CONTACTS,      ID_TASKS,           ID_PROPERTIES, ID_REVIEW,
                              ID_ABOUT,         ID_ONLINE_HELP,     ID_EXPORT,     ID_IMPORT,
                              ID_SET_USER,      ID_CHANGE_REQUESTS, ID_OVERVIEW,   ID_AUTO_TIMER,
                              ID_XLS_TIMESHEET, ID_REGISTER_XSL,    ID_HELP,       ID_CONTEXT_HELP};

// One window starts at a time.
bool s_initialising = false;

QLabel* Info(QWidget* parent, int id, const QString& text = QString())
{
    auto* label = new CPlainLabel(text, parent);
    CDialogBase::SetControlId(label, id);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* Field(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    CDialogBase::SetControlId(edit, id);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

} // namespace

CTimeAppDlg* CTimeAppDlg::Create(CDummyDlg* hub, CDBClass& db, QWidget* parent)
{
    auto* window = new CTimeAppDlg(hub, db, parent);
    if (!window->m_plentor->Create()) {
        ShowMessageBox(QStringLiteral("The time line could not be started: its control is not "
                                      "installed or could not be loaded.\n%1")
                           .arg(HResultText(window->m_plentor->LastResult())),
                       kMbOk | kMbIconError);
        delete window;
        return nullptr;
    }
    window->WireEvents();
    return window;
}

CTimeAppDlg::CTimeAppDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CSecurityDlg(IDD_TIMESHEET, parent, ID_TIMESHEETS)
    , m_hub(hub)
    , m_db(db)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    SetValue(2);
    m_accelerators = CAcceleratorTable::Load(128);
    SetAccelerators(&m_accelerators);
    BuildControls();
    BuildMenus();
    m_ctl = std::make_unique<CTimeSheetController>(*m_plentor, m_db, *this);
    if (m_hub)
        m_ctl->SetKeyCommands(&m_hub->KeyCommands());
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    connect(m_clockTimer, &QTimer::timeout, this, [this] {
        UpdateClock();
        // The action that shows a message is not over yet.
        if (MessageBoxShown())
            return;
        // A tick is an action of its own: the line catches up with the
        // database here too when nobody acts.
        UserAction::Next();
        if (m_usersNotRead)
            ReadAgain();
        else
            m_ctl->CatchUpWithDatabase();
    });
}

CTimeAppDlg::~CTimeAppDlg()
{
    m_clockTimer->stop();
    // The controller goes before the control it drives.
    m_ctl.reset();
}

void CTimeAppDlg::BuildControls()
{
    m_plentor = new CPlentor(this);
    SetControlId(m_plentor, kIdTimeLine);
    m_plentor->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto* side = new QVBoxLayout;
    auto* userRow = new QHBoxLayout;
    auto* userLabel = new QLabel(QStringLiteral("&User:"), this);
    m_users = new CUserCombo(this);
    SetControlId(m_users, kIdUsers);
    m_users->SetSecurityOwner(this);
    m_users->SetTip(QStringLiteral("ALT+U"));
    userLabel->setBuddy(m_users);
    userRow->addWidget(userLabel);
    userRow->addWidget(m_users, 1);
    side->addLayout(userRow);

    m_datePicker = new CTipDateTimeCtrl(this);
    SetControlId(m_datePicker, kIdDatePicker);
    m_datePicker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    m_datePicker->UseFramedCalendarPopup();
    m_datePicker->SetTip(QStringLiteral("ALT+D"));
    side->addWidget(m_datePicker);
    m_calendar = new CTipMonthCalCtrl(this);
    SetControlId(m_calendar, kIdCalendar);
    m_calendar->setGridVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->SetTip(QStringLiteral("ALT+C"));
    side->addWidget(m_calendar);

    auto* dayRow = new QHBoxLayout;
    // The day buttons tell the window their own id.
    m_prevDay = new CTipButton(nullptr, this);
    m_prevDay->setText(QStringLiteral("<<"));
    SetControlId(m_prevDay, kIdPrevDay);
    m_prevDay->SetOwner(this, kTipOwnerTimeSheet, kIdPrevDay);
    m_prevDay->SetTip(QStringLiteral("Left Arrow to move to yesterday ALT+<"));
    m_nextDay = new CTipButton(nullptr, this);
    m_nextDay->setText(QStringLiteral(">>"));
    SetControlId(m_nextDay, kIdNextDay);
    m_nextDay->SetOwner(this, kTipOwnerTimeSheet, kIdNextDay);
    m_nextDay->SetTip(QStringLiteral("Right Arrow to move to tomorrow ALT+>"));
    m_prevDay->setMaximumWidth(48);
    m_nextDay->setMaximumWidth(48);
    m_dateText = Field(this, kIdDateText);
    m_dateText->setAlignment(Qt::AlignCenter);
    dayRow->addWidget(m_prevDay);
    dayRow->addWidget(m_dateText, 1);
    dayRow->addWidget(m_nextDay);
    side->addLayout(dayRow);

    auto* info = new QGridLayout;
    int row = 0;
    const auto add = [&](const QString& caption, QWidget* value) {
        info->addWidget(new QLabel(caption, this), row, 0);
        info->addWidget(value, row, 1);
        ++row;
    };
    m_project = Info(this, kIdProject, QStringLiteral("Project"));
    m_start = Info(this, kIdStart, QStringLiteral("Start Time"));
    m_stop = Info(this, kIdStop, QStringLiteral("Stop Time"));
    auto* times = new QWidget(this);
    auto* timesLayout = new QHBoxLayout(times);
    timesLayout->setContentsMargins(0, 0, 0, 0);
    timesLayout->addWidget(m_start);
    timesLayout->addWidget(new QLabel(QStringLiteral(" - "), this));
    timesLayout->addWidget(m_stop);
    timesLayout->addStretch(1);
    m_task = Info(this, kIdTask, QStringLiteral("Task"));
    m_order = Info(this, kIdOrder, QStringLiteral("Order"));
    m_workType = Info(this, kIdWorkType, QStringLiteral("Work Type"));
    m_hours = Info(this, kIdHours, QStringLiteral("0.00"));
    m_cost = Info(this, kIdCost, QStringLiteral("0.00"));
    add(QStringLiteral("Project:"), m_project);
    add(QStringLiteral("Time:"), times);
    add(QStringLiteral("Task:"), m_task);
    add(QStringLiteral("Order:"), m_order);
    add(QStringLiteral("Work:"), m_workType);
    add(QStringLiteral("Hours:"), m_hours);
    add(QStringLiteral("Invoiced cost $"), m_cost);
    info->setColumnStretch(1, 1);
    side->addLayout(info);

    side->addWidget(new QLabel(QStringLiteral("Comment:"), this));
    m_comment = new CRichTextCtrl(this);
    SetControlId(m_comment, kIdComment);
    m_comment->setReadOnly(true);
    m_comment->setEnabled(false);
    m_comment->SetWordWrap(true);
    m_comment->setMaximumHeight(80);
    side->addWidget(m_comment);
    m_clock = Field(this, kIdClock);
    side->addWidget(m_clock);
    side->addStretch(1);

    auto* sideWidget = new QWidget(this);
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(250);

    auto* top = new QHBoxLayout;
    top->addWidget(m_plentor, 1);
    top->addWidget(sideWidget);
    m_status = Field(this, kIdStatus);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_status);
    resize(568 + 250, 444 + 60);

    connect(m_datePicker, &QDateTimeEdit::dateChanged, this, [this](const QDate& day) {
        if (!m_settingDate)
            m_ctl->GoToDay(day);
    });
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_settingDate)
            m_ctl->GoToDay(m_calendar->selectedDate());
    });
}

void CTimeAppDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("C&ontacts"), ID_CONTACTS, {}},
          {QStringLiteral("Co&mments"), ID_TASKS, {}},
          {QStringLiteral("C&hange Requests"), ID_CHANGE_REQUESTS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("A&uto Timer"), ID_AUTO_TIMER, {}},
          {QStringLiteral("O&verview"), ID_OVERVIEW, {}},
          {},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Export"), ID_EXPORT, {}},
          {QStringLiteral("&Import"), ID_IMPORT, {}},
          {QStringLiteral("Drive XLS spreadsheet for timesheeting"), ID_XLS_TIMESHEET, {}},
          {QStringLiteral("Register"), ID_REGISTER_XSL, {}},
          {},
          {QStringLiteral("&Close"), ID_CLOSE_TIMESHEET, {}},
          {QStringLiteral("Close App"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Actions"),
         0,
         {{QStringLiteral("Add &Block Now"), ID_ADD_BLOCK_NOW, {}},
          {QStringLiteral("Delete &All Today"), ID_DELETE_ALL_TODAY, {}},
          {},
          {QStringLiteral("&Undo"), ID_UNDO, {}},
          {QStringLiteral("&Redo"), ID_REDO, {}},
          {},
          {QStringLiteral("Refresh &Projects"), ID_REFRESH_PROJECTS, {}},
          {QStringLiteral("Refresh &Timesheet"), ID_REFRESH_TIMESHEET, {}},
          {QStringLiteral("Project &Info"), ID_PROJECT_INFO, {}}}},
        {QStringLiteral("&View"),
         0,
         {{QStringLiteral("&Today"), ID_VIEW_TODAY, {}},
          {QStringLiteral("Size to &Default"), ID_SIZE_DEFAULT, {}},
          {QStringLiteral("Size to &Min Size"), ID_SIZE_MIN, {}}}},
        {QStringLiteral("&Help"),
         0,
         {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
          {QStringLiteral("&About"), ID_ABOUT, {}}}},
    };
    m_mainMenu = InstallMainMenu(this, menus, [this](int id) { OnCommand(id); },
                                 {QStringLiteral("&Search"), ID_SEARCH, {}});
    // The workbook comes and goes with the options too.
    connect(m_mainMenu, &QMenu::aboutToShow, this, [this] {
        const bool xls = CProfile::XlsTimeSheetOffered();
        for (int id : {ID_XLS_TIMESHEET, ID_REGISTER_XSL})
            if (QAction* a = m_mainMenu->findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
                a->setVisible(xls);
    });
    EnableUndoRedo(false, false);
}

void CTimeAppDlg::WireEvents()
{
    using L = std::int32_t;
    CEventSinkMap& events = m_plentor->Events();
    CTimeSheetController& c = *m_ctl;
    events.On(CPlentor::kOnNotifyTimeChange,
              [&c](L id, L start, L stop, L proj) { c.OnTimeChange(id, start, stop, proj); });
    events.On(CPlentor::kHighlightTime,
              [&c](L id, L start, L stop, L proj) { c.OnHighlightTime(id, start, stop, proj); });
    events.On(CPlentor::kNotifyProjectSelChng, [&c](L proj) { c.OnProjectSelChange(proj); });
    events.On(CPlentor::kReady, [&c] { c.OnReady(); });
    events.On(CPlentor::kNotifyTimeStart,
              [&c](L proj, L start, L drawing) { c.OnTimeStart(proj, start, drawing); });
    events.On(CPlentor::kNotifyTimeStop, [&c](L, L) { c.OnTimeStop(); });
    events.On(CPlentor::kOnNotifyTimeEdit,
              [&c](L id, L start, L stop) { c.OnTimeEdit(id, start, stop); });
    events.On(CPlentor::kWantsEdit, [this](L proj, L id) {
        // The dialog runs after the control's own double click has ended.
        QTimer::singleShot(0, this, [this, proj, id] { m_ctl->OnWantsEdit(proj, id); });
    });
    events.On(CPlentor::kNotifyTimePos, [&c](L minute) { c.OnTimePos(minute); });
    events.On(CPlentor::kNotifyCopyRec,
              [&c](L id, L start, L stop, L proj) { c.OnCopyRec(id, start, stop, proj); });
    events.On(CPlentor::kNotifyCopyData, [this](L id, L start, L stop, L proj) {
        QTimer::singleShot(
            0, this, [this, id, start, stop, proj] { m_ctl->OnCopyData(id, start, stop, proj); });
    });
    events.On(CPlentor::kNotifyShowProjInfo, [this](L proj, L) { ShowProjectInfo(proj); });
    events.On(CPlentor::kNotifySchedData, [this](L id, L start, L stop, L proj) {
        // Like an edit: the dialog runs after the control's own menu has ended.
        QTimer::singleShot(
            0, this, [this, id, start, stop, proj] { m_ctl->OnSchedData(id, start, stop, proj); });
    });
    events.On(CPlentor::kNotifyDeleteAll, [&c] { c.OnDeleteAll(); });
    events.On(CPlentor::kDoResizeMe, [this] {
        if (m_timeLineSize.isValid())
            m_plentor->DoResize(m_timeLineSize.width(), m_timeLineSize.height());
    });
    events.On(CPlentor::kMsgUpdate, [this](const QString& text) { SetStatusText(text); });
    events.On(CPlentor::kNotifyKeyDown, [&c](L key, L, L) { c.HandleKey(key, kWmKeyDown); });
    events.On(CPlentor::kNotifyKeyUp, [&c](L key, L, L) { c.HandleKey(key, kWmKeyUp); });
}

// ---- Start ------------------------------------------------------------------------------------

bool CTimeAppDlg::OnInitDialog()
{
    if (s_initialising)
        return true;
    s_initialising = true;
    const auto done = qScopeGuard([] {
        s_initialising = false;
        QApplication::restoreOverrideCursor();
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const QString user = CProfile::DefUserName();
    setWindowTitle(BuildWindowCaption(IDS_TIMESHEET_TITLE, QStringLiteral("Kelvane"), &m_db) +
                   QStringLiteral(" - ") + user);
    m_ctl->ReloadOptions();
    // A window whose employees could not be read waits for them, reading
    // them again at the clock's tick and at the user's next step.
    if (!StartWithUser() && !m_usersNotRead)
        return true;
    if (HasApp())
        SetStatusText(theApp().BuildConnectionString(true));
    RestoreWindowPlacement(this, QStringLiteral("TimeDlg"));
    m_plentor->ForceFocus();
    UpdateClock();
    m_clockTimer->start(kClockPeriodMs);
    return true;
}

bool CTimeAppDlg::StartWithUser()
{
    FillUsers();
    if (m_users->currentIndex() < 0 || m_userAbsent || m_usersNotRead)
        return false;

    double factor = 1;
    if (!m_db.GetEmpRateFactor(SelectedEmployeeId(), factor))
        ShowMessageBox(QStringLiteral("You have no employees defined \n - go back to the Vek "
                                      "application and define some first"),
                       kMbOk | kMbIconWarning);

    QDate day = CClock::Today();
    if (!m_ctl->Options().Bool("OpenCurDay")) {
        const CProfileStore profile;
        bool okYear = false;
        bool okMonth = false;
        bool okDay = false;
        const int y = profile.value(QStringLiteral("Admin/CurYear"), -1).toInt(&okYear);
        const int m = profile.value(QStringLiteral("Admin/CurMonth"), -1).toInt(&okMonth);
        const int d = profile.value(QStringLiteral("Admin/CurDay"), -1).toInt(&okDay);
        if (okYear && okMonth && okDay && y != -1 && m != -1 && d != -1) {
            int year = 0;
            int month = 0;
            int dayOfMonth = 0;
            CProfile::LoadCurrentDate(year, month, dayOfMonth);
            if (QDate(year, month, dayOfMonth).isValid())
                day = QDate(year, month, dayOfMonth);
        }
    }
    m_ctl->SetEmployee(SelectedEmployeeId());
    m_ctl->Start(day);

    return true;
}

void CTimeAppDlg::ReadAgain()
{
    if (m_usersNotRead) {
        if (m_db.Connection()->ConnectedQuietly())
            StartWithUser();
        if (m_usersNotRead) {
            NoteDataRead(false);
            return;
        }
    }
    m_ctl->ReadAgain();
    // The key or click that read the line again did nothing else: nothing
    // was drawn or changed where the user clicked.
    if (CUnreadWindows::ReadingAtStep())
        SetStatusText(QStringLiteral("The time sheet was read again from the database; your "
                                     "click or key did nothing else. Please repeat it."));
}

void CTimeAppDlg::NoteDataRead(bool read)
{
    read = read && !m_usersNotRead;
    // Only a database that could not be had is waited for (the hub's rule).
    if (m_hub) {
        m_hub->NoteWindowRead(this, read);
        read = !m_hub->IsWindowUnread(this);
    } else if (!read && !m_db.Connection()->OutageInThisAction() && !UserAction::FailureNoted()) {
        read = m_dataRead;
    }
    if (read != m_dataRead) {
        m_dataRead = read;
        SetStatusText(read ? (HasApp() ? theApp().BuildConnectionString(true) : QString())
                           : QStringLiteral("The time sheet could not be read from the database. "
                                            "It is read again as soon as the database answers."));
    }
}

void CTimeAppDlg::FillUsers()
{
    QString signedOn;
    m_db.GetCurrentUser(signedOn);
    CComboItems items(m_users);
    m_db.FillUserCombo(items);
    int index = m_users->findText(signedOn, Qt::MatchFixedString);
    // Employees the database could not give are no reason to ask for a user
    // or to say there are none: they are read again at the next step.
    m_usersNotRead = index < 0 && m_db.Connection()->OutageInThisAction();
    if (m_usersNotRead)
        return;
    if (index < 0 && m_hub) {
        m_hub->AskForUserBeforeShowing();
        if (m_hub->UserAskedInVain()) {
            m_userAbsent = true;
            return;
        }
        m_db.GetCurrentUser(signedOn);
        m_db.FillUserCombo(items);
        index = m_users->findText(signedOn, Qt::MatchFixedString);
    }
    if (index < 0 && m_users->count() > 0)
        index = 0;
    if (index < 0) {
        ShowStringMessage(IDS_NO_EMPLOYEES);
        return;
    }
    m_users->setCurrentIndex(index);
    m_users->MarkShown();
}

// ---- What the controller shows ------------------------------------------------------------------

int CTimeAppDlg::SelectedEmployeeId()
{
    const QVariant data = m_users->currentData();
    return data.isValid() ? data.toInt() : -1;
}

QString CTimeAppDlg::SelectedUserName()
{
    return m_users->currentText();
}

void CTimeAppDlg::SetStatusText(const QString& text)
{
    m_status->setText(text);
}

QString CTimeAppDlg::StatusText() const
{
    return m_status->text();
}

void CTimeAppDlg::ShowEntry(const CEntryContext& entry)
{
    m_project->setText(entry.projName);
    m_start->setText(entry.startText);
    m_stop->setText(entry.stopText);
    m_task->setText(entry.taskName);
    m_order->setText(entry.orderName);
    m_workType->setText(entry.workTypeName);
    m_hours->setText(entry.lengthText);
    m_cost->setText(entry.costText);
    m_comment->SetRTF(entry.comment);
}

void CTimeAppDlg::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void CTimeAppDlg::EnableBlockMenus(bool enable)
{
    for (int id : {ID_ADD_BLOCK_NOW, ID_DELETE_ALL_TODAY})
        if (auto* a = findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
            a->setEnabled(enable);
    m_blockEditing = enable;
}

void CTimeAppDlg::EnableUndoRedo(bool undo, bool redo)
{
    if (auto* a = findChild<QAction*>(QStringLiteral("cmd%1").arg(ID_UNDO)))
        a->setEnabled(undo);
    if (auto* a = findChild<QAction*>(QStringLiteral("cmd%1").arg(ID_REDO)))
        a->setEnabled(redo);
}

void CTimeAppDlg::ShowDate(const QDate& day)
{
    m_settingDate = true;
    m_datePicker->setDate(day);
    m_calendar->setSelectedDate(day);
    m_dateText->setText(QLocale().toString(day, QLocale::ShortFormat));
    m_settingDate = false;
}

void CTimeAppDlg::FirstLayout()
{
    SizeTimeLine();
}

void CTimeAppDlg::SizeTimeLine()
{
    const QSize size = m_plentor->size();
    if (size.isEmpty() || size == m_timeLineSize)
        return;
    const bool taller = size.height() != m_timeLineSize.height();
    m_timeLineSize = size;
    if (taller)
        m_plentor->DoResize(size.width(), size.height());
    m_plentor->ReSizeControl(size.width(), size.height());
    m_plentor->DoPaint();
}

void CTimeAppDlg::resizeEvent(QResizeEvent* event)
{
    CDialogBase::resizeEvent(event);
    if (m_timeLineSize.isValid() && !isMinimized())
        QTimer::singleShot(0, this, [this] { SizeTimeLine(); });
}

void CTimeAppDlg::SizeTo(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    double sx = 1;
    double sy = 1;
    GetPixelScale(sx, sy);
    // The profile may hold any number: a size beyond what the options page
    // accepts is taken as its largest, so the arithmetic cannot overflow.
    const auto scaled = [](int value, double scale) {
        return qRound(qMin(value, CPropsTimeSheet::kLargestSize) * qBound(0.1, scale, 10.0));
    };
    resize(qMin(scaled(width, sx) + 250, QWIDGETSIZE_MAX),
           qMin(scaled(height, sy) + 60, QWIDGETSIZE_MAX));
}

void CTimeAppDlg::UpdateClock()
{
    const QTime now = CClock::Now().time();
    if (now.second() == m_lastClock.second() && m_lastClock.isValid() && !m_clock->text().isEmpty())
        return;
    m_clock->setText(QLocale().toString(now, QLocale::ShortFormat));
    m_lastClock = now;
}

QString CTimeAppDlg::ClockText() const
{
    return m_clock->text();
}

// ---- Users, days and commands
// --------------------------------------------------------------------

void CTimeAppDlg::OnSelChangeUser()
{
    m_ctl->OnSelChangeUser();
}

void CTimeAppDlg::OnDayButton(int id)
{
    ShowDayTold(m_ctl->ShownDay().addDays(id == kIdPrevDay ? -1 : 1));
}

void CTimeAppDlg::ShowDayTold(const QDate& day)
{
    m_ctl->GoToDay(day);
    // A day that could not be read keeps saying so, not passing for an empty one.
    if (m_dataRead)
        SetStatusText(QStringLiteral("Day ") + QLocale().toString(day, QLocale::ShortFormat));
}

bool CTimeAppDlg::AppActive() const
{
    return QGuiApplication::applicationState() != Qt::ApplicationSuspended &&
           QGuiApplication::applicationState() != Qt::ApplicationHidden;
}

bool CTimeAppDlg::UserComboHasFocus() const
{
    return m_users->hasFocus();
}

void CTimeAppDlg::FocusControl(int id)
{
    if (QWidget* widget = findChild<QWidget*>(ControlName(id)))
        widget->setFocus();
}

int CTimeAppDlg::HandleKey(int virtualKey, int message)
{
    return m_ctl->HandleKey(virtualKey, message);
}

int CTimeAppDlg::OnKeyCommand(int keyCode, int modifier)
{
    return m_ctl->OnKeyCommand(keyCode, modifier);
}

void CTimeAppDlg::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(VirtualKeyOfEvent(*event), kWmKeyDown) != 1)
        CSecurityDlg::keyPressEvent(event);
}

void CTimeAppDlg::keyReleaseEvent(QKeyEvent* event)
{
    if (HandleKey(VirtualKeyOfEvent(*event), kWmKeyUp) != 1)
        CSecurityDlg::keyReleaseEvent(event);
}

void CTimeAppDlg::focusInEvent(QFocusEvent* event)
{
    CSecurityDlg::focusInEvent(event);
    m_plentor->ForceFocus();
}

void CTimeAppDlg::ShowProjectInfo(int projId)
{
    if (m_hub)
        m_hub->OnShowProjectInfo(SelectedEmployeeId(), projId);
}

bool CTimeAppDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    if (id >= kFirstKeyCommand && id <= kLastKeyCommand) {
        m_ctl->RunKeyCommand(id);
        return true;
    }
    switch (id) {
    case kSetFocusToControl:
        m_plentor->ForceFocus();
        return true;
    case ID_ADD_BLOCK_NOW:
        if (m_blockEditing)
            m_plentor->SetNowTimeObj();
        return true;
    case ID_DELETE_ALL_TODAY:
        if (m_blockEditing)
            m_plentor->DeleteAllToday();
        return true;
    case ID_DELETE_BLOCK:
        if (m_blockEditing)
            m_plentor->SendDeleteKey();
        return true;
    case ID_UNDO:
        m_ctl->OnUndo();
        return true;
    case ID_REDO:
        m_ctl->OnRedo();
        return true;
    case ID_REFRESH_PROJECTS:
        m_ctl->RefreshProjects();
        return true;
    case ID_REFRESH_TIMESHEET:
        m_ctl->RefreshTimesheet();
        return true;
    case ID_PROJECT_INFO:
        ShowProjectInfo(m_ctl->Entry().projId);
        return true;
    case ID_VIEW_TODAY:
        ShowDayTold(CClock::Today());
        return true;
    case ID_SIZE_DEFAULT:
        SizeTo(m_ctl->Options().Int("DefWidthVal"), m_ctl->Options().Int("DefHeightVal"));
        return true;
    case ID_SIZE_MIN:
        SizeTo(m_ctl->Options().Int("MinWidthVal"), m_ctl->Options().Int("MinHeightVal"));
        return true;
    case ID_SEARCH:
        // The hub runs the search dialog, over this window.
        if (m_hub)
            m_hub->OnCommand(ID_SEARCH);
        return true;
    case ID_CLOSE_TIMESHEET:
        close();
        return true;
    case ID_CLOSE_WINDOW:
        if (m_hub)
            m_hub->PostCommand(ID_CLOSE_APP);
        return true;
    case ID_TIMESHEETS:
        return true;
    case IDOK:
    case IDCANCEL:
        // Enter and Escape belong to the time line, not to the dialog.
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

// ---- The hub's requests
// ---------------------------------------------------------------------------

void CTimeAppDlg::RefreshDay(const QDate& day)
{
    if (day == m_ctl->ShownDay() &&
        SelectedEmployeeId() == m_db.GetEmpIdByName(CProfile::DefUserName()))
        m_ctl->RefreshTimesheet();
}

void CTimeAppDlg::SetReadOnly(int state)
{
    m_ctl->UpdateReadOnlyState(state ? 2 : 0);
}

void CTimeAppDlg::ShowDay(const QDate& day)
{
    m_ctl->GoToDay(day);
}

void CTimeAppDlg::ApplySettings()
{
    m_ctl->ApplySettings();
}

void CTimeAppDlg::ShowRecord(const QDate& day, int projId, const QString& /*user*/, int empId,
                             int start, int stop, const QString& text)
{
    m_ctl->SetCurrentEntry(day, projId, QString(), empId, start, stop, text);
}

// ---- Closing
// ---------------------------------------------------------------------------------------

void CTimeAppDlg::SaveState()
{
    if (m_closing)
        return;
    m_closing = true;
    SaveWindowPlacement(this, QStringLiteral("TimeDlg"));
    m_ctl->Close();
    if (HasApp()) {
        theApp().SetCurrentDay(m_ctl->ShownDay());
        theApp().SaveCurrentDate();
    }
    m_clockTimer->stop();
}

void CTimeAppDlg::CloseWindow(int /*flag*/)
{
    close();
}

void CTimeAppDlg::closeEvent(QCloseEvent* event)
{
    // Not the dialog's close: that would be a Cancel, which the time line owns.
    SaveState();
    event->accept();
}
