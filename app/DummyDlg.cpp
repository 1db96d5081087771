#include "app/DummyDlg.h"

#include "app/AboutDlg.h"
#include "app/KelvaneApp.h"
#include "app/LogonDlg.h"
#include "app/Profile.h"
#include "app/PropsDef.h"
#include "app/SetUserDlg.h"
#include "app/UnreadWindows.h"
#include "data/DBClass.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "ui/AccelDlg.h"
#include "ui/AppIcon.h"
#include "ui/ElidedLabel.h"
#include "ui/MenuBuilder.h"
#include "ui/ModalRuns.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The hub's own windows are kept beside the commands' ones.
constexpr int kSetUserSlot = -IDD_SET_USER;
constexpr int kLogonSlot = -IDD_LOGON;

QString CommandName(int command)
{
    switch (command) {
    case ID_TIMESHEETS:
        return QStringLiteral("Timesheets");
    case ID_CONTACTS:
        return QStringLiteral("Contacts");
    case ID_TASKS:
        return QStringLiteral("Tasks");
    case ID_REVIEW:
        return QStringLiteral("Review");
    case ID_CHANGE_REQUESTS:
        return QStringLiteral("Change Requests");
    case ID_AUTO_TIMER:
        return QStringLiteral("Auto Timer");
    case ID_OVERVIEW:
        return QStringLiteral("Overview");
    case ID_PROJECT_INFO:
        return QStringLiteral("Project Information");
    case ID_ABOUT:
        return QStringLiteral("About");
    case ID_EXPORT:
        return QStringLiteral("Export Timesheets");
    case ID_IMPORT:
        return QStringLiteral("Import Timesheets");
    case ID_ONLINE_HELP:
        return QStringLiteral("Online Help");
    case ID_SEARCH:
    case ID_SEARCH_CONTACTS:
    case ID_SEARCH_COMMENTS:
    case ID_SEARCH_CHANGE_REQUESTS:
        return QStringLiteral("Search");
    default:
        return QStringLiteral("This window");
    }
}

} // namespace

CDummyDlg::CDummyDlg(CDBClass* db, QWidget* parent)
    : CDialogBase(IDD_HUB, parent)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Kelvane"));
    auto* layout = new QVBoxLayout(this);
    const QList<CMenuEntry> menu = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("C&ontacts"), ID_CONTACTS, {}},
          {QStringLiteral("T&asks"), ID_TASKS, {}},
          {QStringLiteral("C&hange Requests"), ID_CHANGE_REQUESTS, {}},
          {QStringLiteral("A&uto Timer"), ID_AUTO_TIMER, {}},
          {QStringLiteral("O&verview"), ID_OVERVIEW, {}},
          {QStringLiteral("Pro&ject Info"), ID_PROJECT_INFO, {}},
          {QStringLiteral("&Search"), 0, CTrayIcon::SearchMenu()},
          {QString(), 0, {}},
          {QStringLiteral("E&xport ..."), ID_EXPORT, {}},
          {QStringLiteral("&Import ..."), ID_IMPORT, {}},
          {QString(), 0, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QString(), 0, {}},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QString(), 0, {}},
          {QStringLiteral("&Close"), ID_CLOSE_APP, {}}}},
        {QStringLiteral("&Help"),
         0,
         {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
          {QStringLiteral("&About"), ID_ABOUT, {}}}},
    };
    QMenuBar* bar = BuildMenuBar(menu, this, [this](int id) { OnCommand(id); });
    layout->setMenuBar(bar);
    // The overview is made by the server's procedures: offered there only.
    QMenu* mainMenu = bar->actions().first()->menu();
    connect(mainMenu, &QMenu::aboutToShow, this, [this, mainMenu] {
        if (QAction* a = mainMenu->findChild<QAction*>(QStringLiteral("cmd%1").arg(ID_OVERVIEW)))
            a->setVisible(m_db && m_db->GetProviderKind() == kProviderPostgres);
    });
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("hubStatus"));
    m_status->setMinimumWidth(360);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    // A long path is cut in its middle, never wrapped inside a name.
    m_database = new CElidedLabel(this);
    m_database->setObjectName(QStringLiteral("hubDatabase"));
    layout->addWidget(m_database);

    setWindowIcon(AppIcon());
    m_accelerators = CAcceleratorTable::Load(128);
    // Dialogs with the focus hand the program-wide keys to the hub.
    CAccelDlg::SetHubAccelerators(&m_accelerators, this);
    m_unread = new CUnreadWindows(m_db, this);
    m_startupTimer = new QTimer(this);
    m_startupTimer->setSingleShot(true);
    m_startupTimer->setTimerType(Qt::PreciseTimer);
    connect(m_startupTimer, &QTimer::timeout, this, [this] { OnTimer(kStartupTimerId); });
    m_tray = new CTrayIcon(this);
    m_tray->SetNotificationHandler(
        [this](int command) { OnCommand(command); }, [this](int mouse) { OnTrayMouse(mouse); },
        [this] { return StartWindowCommand(); }, [this] { return TrayMenuState(); });
}

CDummyDlg::~CDummyDlg()
{
    CAccelDlg::SetHubAccelerators(nullptr, nullptr);
    // Closed windows that waited for their runs to unwind, then the ones
    // still open, go with the hub, without their notices.
    CModalRuns::DeletePendingNow();
    const auto held = m_slots;
    m_slots.clear();
    for (const Slot& slot : held)
        if (slot.widget)
            delete slot.widget.data();
}

bool CDummyDlg::OnInitDialog()
{
    if (CProfile::ManualFile().isEmpty() && QFile::exists(QStringLiteral("Kelvane_Manual.htm")))
        CProfile::SetManualFile(QFileInfo(QStringLiteral("Kelvane_Manual.htm")).absoluteFilePath());
    m_tray->SetIconById(IDS_TRAY_TIP);
    m_started = true;
    m_startupPending = true;
    if (m_db && m_db->Employees().isEmpty())
        m_db->LoadEmployees();
    UpdateCaption();
    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    if (user.isEmpty())
        return true; // no timer: the hub stays until someone signs on
    if (m_db)
        m_db->GetEmpIdByName(user);
    BuildKeyAccelerators();
    int delay = 10000;
    if (m_db)
        m_db->ReleaseConnection(true, false);
    if (m_db && m_db->StartupInfo().StartupFlag == 1)
        delay = 2000;
    StartStartupTimer(m_startupDelayOverride >= 0 ? m_startupDelayOverride : delay);
    m_pendingProjId = -1;
    m_pendingCompanyId = -1;
    std::fill(std::begin(m_pendingFlags), std::end(m_pendingFlags), false);
    return true;
}

void CDummyDlg::StartStartupTimer(int delay)
{
    m_startupDelay = delay;
    m_startupTimer->start(delay);
}

bool CDummyDlg::IsStartupTimerActive() const
{
    return m_startupTimer->isActive();
}

void CDummyDlg::OnTimer(int id)
{
    if (m_startupPending && id == kStartupTimerId) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_startupTimer->stop();
        m_startupPending = false;
        // Opening the start window is a step of its own, told of on its own.
        UserAction::Next();
        const bool hide = CanHide() || StartWindowCommand() != 0;
        if (hide)
            setVisible(false);
        // Asks for a user when none is set.
        if (HasApp())
            theApp().GetDefaultUserName();
        OpenStartWindow(-1);
        const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
        m_userNameEmpty = user.isEmpty();
        QApplication::restoreOverrideCursor();
    }
    if (isVisible())
        activateWindow();
}

bool CDummyDlg::CanHide() const
{
    return m_tray->IsShown();
}

void CDummyDlg::BuildKeyAccelerators()
{
    m_keyValues = CProfile::LoadKeyCommands();
    m_keyCommands.Build(m_keyValues);
}

bool CDummyDlg::FindKeyCommand(int key, int& index, bool highlighted, bool editing, bool ctrlDown,
                               bool shiftDown) const
{
    return m_keyCommands.FindKeyCommand(key, index, highlighted, editing, ctrlDown, shiftDown);
}

CTrayIcon::CMenuState CDummyDlg::TrayMenuState() const
{
    const CProfile::CValues options = CurrentOptions();
    CTrayIcon::CMenuState state;
    state.server = m_db && m_db->GetProviderKind() == 0;
    state.edition = state.server ? QStringLiteral("Enterprise") : QStringLiteral("Pro");
    state.dbVersion = m_db ? m_db->StartupInfo().DbVersion : 0;
    state.useContacts = options.Bool("UseContacts");
    state.useToDo = options.Bool("UseToDo");
    state.useChangeRequests = options.Bool("UseChgrqsts");
    state.userName = CProfile::DefUserName();
    state.autoTimerRunning = HasApp() && theApp().IsAutoLogging();
    // Export and import are always offered to a signed-on user.
    state.exportImport = true;
    state.xlsOffered = CProfile::XlsTimeSheetOffered();
    QString dir;
    CProfile::GetXlsSettings(dir, state.xlsWorkbook);
    return state;
}

void CDummyDlg::OnTrayMouse(int mouseMessage)
{
    if (mouseMessage == CTrayIcon::kLeftDown || mouseMessage == CTrayIcon::kLeftUp ||
        mouseMessage == CTrayIcon::kLeftDoubleClick) {
        if (mouseMessage != CTrayIcon::kLeftDoubleClick) {
            for (const Slot& slot : std::as_const(m_slots)) {
                if (!slot.widget)
                    continue;
                // A minimised window comes back as it was before.
                if (slot.widget->isMinimized())
                    slot.widget->setWindowState(slot.widget->windowState() & ~Qt::WindowMinimized);
                slot.widget->show();
                slot.widget->raise();
                slot.widget->activateWindow();
                QApplication::alert(slot.widget);
            }
        }
        if (const int command = m_tray->OnTrayNotification(CTrayIcon::kIconId, mouseMessage))
            OnCommand(command);
    } else {
        m_tray->OnTrayNotification(CTrayIcon::kIconId, mouseMessage);
    }
}

void CDummyDlg::UpdateCaption()
{
    QString text;
    QString database;
    if (HasApp()) {
        const QString company = m_db ? m_db->StartupInfo().CompanyName : QString();
        text = QStringLiteral("<b>Kelvane %1</b>").arg(theApp().GetEditionName());
        if (!company.isEmpty())
            text += QStringLiteral(" — ") + company.toHtmlEscaped();
        const QString user = CProfile::DefUserName();
        text += QStringLiteral("<br>User: %1")
                    .arg(user.isEmpty() ? QStringLiteral("(none)") : user.toHtmlEscaped());
        database = QStringLiteral("Database: ") + theApp().BuildConnectionString(true);
    }
    m_status->setText(text);
    m_database->SetFullText(database);
}

bool CDummyDlg::OnCommand(int id)
{
    switch (id) {
    case ID_TIMESHEETS:
        OnTimesheets();
        return true;
    case ID_CONTACTS:
        OnContacts();
        return true;
    case ID_TASKS:
        OnTasksFromMenu();
        return true;
    case ID_CHANGE_REQUESTS:
        OnChangeRequests();
        return true;
    case ID_AUTO_TIMER:
    case ID_AUTO_TIMER_MENU:
        OnAutoTimer();
        return true;
    case ID_TIMESHEET_AND_AUTO_TIMER:
        OnTimesheets();
        OnAutoTimer();
        return true;
    case ID_OVERVIEW:
        OnOverview();
        return true;
    case ID_PROJECT_INFO:
        OnProjectInfo();
        return true;
    case ID_REVIEW:
        OnReview();
        return true;
    case ID_PROPERTIES:
        OnProperties();
        return true;
    case ID_ABOUT:
        OnAbout();
        return true;
    case ID_ONLINE_HELP:
    case ID_HELP_TOPICS:
    case ID_HELP:
    case ID_CONTEXT_HELP:
        // The manual is the help: its contents are the topics, and the help
        // keys open it as the Help menus do.
        OnOnlineHelp();
        return true;
    case ID_SEARCH:
    case ID_SEARCH_CONTACTS:
    case ID_SEARCH_COMMENTS:
    case ID_SEARCH_CHANGE_REQUESTS:
        OnSearch(id);
        return true;
    case ID_EXPORT:
    case ID_IMPORT:
    case ID_XLS_TIMESHEET:
    case ID_REGISTER_XSL:
        ModalWindow(id);
        return true;
    case ID_SET_USER:
        OnSetUsername();
        return true;
    case ID_STOP_TIMING:
        if (IHubWindow* timer = Window(ID_AUTO_TIMER))
            timer->CloseWindow(ID_STOP_TIMING);
        return true;
    case ID_CLOSE_APP:
        OnCloseApp();
        return true;
    case ID_STARTUP_TIMER:
    case ID_STARTUP_TIMER_ALT:
        OnTimer(kStartupTimerId);
        return true;
    case ID_IGNORED_1:
    case ID_IGNORED_2:
        return true;
    case ID_RELOAD_EMPLOYEES:
        if (m_db) {
            m_db->LoadEmployees();
            const int empId = m_db->GetEmpIdByName(CProfile::DefUserName());
            m_db->LoadProjects(empId);
            m_db->ReleaseConnection(false, true);
        }
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

// ---- Windows ---------------------------------------------------------------------

IHubWindow* CDummyDlg::Window(int command) const
{
    const auto it = m_slots.constFind(command);
    return it != m_slots.constEnd() && it->widget ? it->window : nullptr;
}

void CDummyDlg::NotAvailable(int command)
{
    ShowMessageBox(
        QStringLiteral("%1 is not available in this version of Kelvane.").arg(CommandName(command)),
        kMbOk | kMbIconInformation);
}

int CDummyDlg::ShowChildWindow(int command, int flag)
{
    const auto it = m_slots.constFind(command);
    if (it != m_slots.constEnd() && it->widget) {
        FocusToActiveWindow1(it->widget, command);
        return 0;
    }
    const HubWindowFactory factory = FindHubWindowFactory(command);
    if (!factory) {
        NotAvailable(command);
        return -1;
    }
    // What the window could not read when it opened is said in its name.
    const CActionFailureText heading(
        QStringLiteral("%1 could not read the database.").arg(CommandName(command)));
    return AdoptWindow(command, flag, factory(*this));
}

int CDummyDlg::AdoptWindow(int command, int flag, IHubWindow* window)
{
    QWidget* widget = window ? window->Widget() : nullptr;
    if (!widget) {
        // A window that could not be made leaves no flag behind.
        delete window;
        return -1;
    }
    Slot slot;
    slot.flag = flag;
    slot.window = window;
    slot.widget = widget;
    slot.object = widget;
    m_slots.insert(command, slot);
    m_openWindows |= flag;
    // Every window tells the hub the same way that it is gone.
    widget->setAttribute(Qt::WA_DeleteOnClose);
    connect(widget, &QObject::destroyed, this,
            [this, command, widget] { OnWindowDestroyed(command, widget); });
    widget->show();
    widget->raise();
    widget->activateWindow();
    // What it could not read as it opened is said in its caption, and read
    // again at the user's next step in it.
    if (m_db && m_db->Connection()->OutageInThisAction())
        m_unread->Note(widget, window, CommandName(command), false);
    return 1;
}

void CDummyDlg::FocusToActiveWindow1(QWidget* window, int command)
{
    if (!window)
        return;
    if (window->isMinimized()) {
        QApplication::alert(window);
    } else {
        window->show();
        window->raise();
        window->activateWindow();
    }
    // Asked for again: what it could not read is read first.
    m_unread->TryNow(window);
    if (command == ID_TASKS || command == ID_CHANGE_REQUESTS)
        if (IHubWindow* w = Window(command))
            w->Refresh();
}

void CDummyDlg::NoteWindowRead(QWidget* window, bool read)
{
    for (auto it = m_slots.constBegin(); it != m_slots.constEnd(); ++it)
        if (it->widget && it->widget == window) {
            m_unread->Note(window, it->window, CommandName(it.key()), read);
            return;
        }
}

bool CDummyDlg::IsWindowUnread(const QWidget* window) const
{
    return m_unread->IsUnread(window);
}

void CDummyDlg::OnWindowClosed(int command)
{
    const auto it = m_slots.find(command);
    if (it == m_slots.end())
        return;
    const int flag = it->flag;
    m_unread->Forget(it->object);
    m_slots.erase(it);
    m_openWindows &= ~flag;
    if (command == ID_REVIEW || command == ID_TASKS) {
        m_pendingProjId = -1;
        m_pendingCompanyId = -1;
        if (command == ID_TASKS)
            m_pendingFlags[2] = false;
    } else if (command == ID_CHANGE_REQUESTS) {
        m_pendingProjId = -1;
    }
    ReleaseIfIdle();
}

void CDummyDlg::OnWindowDestroyed(int command, const QObject* window)
{
    const auto it = m_slots.constFind(command);
    if (it != m_slots.constEnd() && it->object == window)
        OnWindowClosed(command);
}

void CDummyDlg::ReleaseIfIdle()
{
    if (m_openWindows != 0)
        return;
    if (m_db)
        m_db->ReleaseConnection(true, false);
    // Without a tray icon the hub is the way back to the program.
    if (m_started && !CanHide() && !m_startupPending && !isVisible() && !m_closing)
        show();
}

void CDummyDlg::CloseSlot(int command, int flag)
{
    const auto it = m_slots.constFind(command);
    if (it == m_slots.constEnd())
        return;
    const Slot slot = *it;
    if (slot.widget) {
        IHubWindow* window = slot.window;
        // Its state saved by its own close; deleted at once, or once the
        // dialogs running over it have unwound.
        CModalRuns::CloseAndDelete(slot.widget, [window, flag] { window->CloseWindow(flag); });
    }
    if (m_slots.contains(command))
        OnWindowClosed(command);
}

void CDummyDlg::CloseAllWindows(bool reopen)
{
    if (m_about)
        m_about->EndDialog(IDOK);
    // Every window goes: those that hold ids of the old user or database too.
    const QList<int> order = {ID_REVIEW,       ID_TASKS,     ID_CHANGE_REQUESTS, ID_CONTACTS,
                              kSetUserSlot,    kLogonSlot,   ID_AUTO_TIMER,      ID_OVERVIEW,
                              ID_PROJECT_INFO, ID_TIMESHEETS};
    for (int command : order)
        CloseSlot(command, 0);
    if (reopen) {
        if (m_openWindows == 0 && m_db)
            m_db->ReleaseConnection(true, true);
        ReopenWindows({});
    }
    UpdateCaption();
}

QList<int> CDummyDlg::OpenWindowCommands() const
{
    QList<int> commands;
    for (int command : {ID_REVIEW, ID_TASKS, ID_CHANGE_REQUESTS, ID_CONTACTS, ID_AUTO_TIMER,
                        ID_OVERVIEW, ID_PROJECT_INFO, ID_TIMESHEETS})
        if (Window(command))
            commands << command;
    return commands;
}

void CDummyDlg::ReopenWindows(const QList<int>& commands)
{
    const auto reopen = [this, commands] {
        // The overview is made by the server's procedures: not on a database file.
        QList<int> windows = commands;
        if (!m_db || m_db->GetProviderKind() != kProviderPostgres)
            windows.removeAll(ID_OVERVIEW);
        if (windows.isEmpty())
            OpenStartWindow(-1);
        for (int command : std::as_const(windows))
            OnCommand(command);
        UpdateCaption();
    };
    // A window still waiting to be deleted holds what its successor takes.
    if (CModalRuns::HasPendingDeletions())
        CModalRuns::AfterPendingDeletions(this, reopen);
    else
        reopen();
}

// ---- Openers ----------------------------------------------------------------------

void CDummyDlg::OnTimesheets()
{
    ShowChildWindow(ID_TIMESHEETS, kOpenTimeSheet);
}

void CDummyDlg::OnContacts()
{
    // Always the program's own address book: there is no desktop address
    // book it could hand the contacts to.
    if (CurrentOptions().Bool("UseContacts"))
        ShowChildWindow(ID_CONTACTS, kOpenContacts);
}

void CDummyDlg::OnTaskOpen1()
{
    if (CurrentOptions().Bool("UseToDo"))
        ShowChildWindow(ID_TASKS, kOpenComments);
}

void CDummyDlg::OnTasksFromMenu()
{
    m_pendingProjId = -1;
    m_pendingCompanyId = -1;
    for (bool& flag : m_pendingFlags)
        flag = false;
    OnTaskOpen1();
}

void CDummyDlg::OnChangeRequests()
{
    if (CurrentOptions().Bool("UseChgrqsts"))
        ShowChildWindow(ID_CHANGE_REQUESTS, kOpenChangeRequests);
}

void CDummyDlg::OnAutoTimer()
{
    ShowChildWindow(ID_AUTO_TIMER, kOpenAutoTimer);
}

void CDummyDlg::OnOverview()
{
    ShowChildWindow(ID_OVERVIEW, kOpenOverview);
}

void CDummyDlg::OnProjectInfo()
{
    m_pendingProjId = -1;
    m_pendingEmpId = -1;
    ShowChildWindow(ID_PROJECT_INFO, kOpenProjectInfo);
}

void CDummyDlg::OnShowProjectInfo(int empId, int projId)
{
    m_pendingProjId = projId;
    m_pendingEmpId = empId;
    if (ShowChildWindow(ID_PROJECT_INFO, kOpenProjectInfo) == 0)
        if (IHubWindow* w = Window(ID_PROJECT_INFO))
            w->Refresh();
}

bool CDummyDlg::CalcReviewPeriod(QDate& end, QDate& start, int kind, const QDate& today)
{
    if (kind == 4) {
        start = QDate(today.year(), today.month(), 1);
        end = QDate(today.year(), today.month(), today.daysInMonth());
        return true;
    }
    if (kind == 5) {
        // Sunday is the last day of the week.
        start = today.addDays(1 - today.dayOfWeek());
        end = start.addDays(6);
        return true;
    }
    return false;
}

void CDummyDlg::FormatReviewDate(const QDate& reference, QDate& result, int kind, int relative)
{
    const int days = 7 * kind + 6;
    result = relative == 1 ? reference.addDays(days) : reference.addDays(-days);
}

void CDummyDlg::OnReview()
{
    if (Window(ID_REVIEW)) {
        ShowChildWindow(ID_REVIEW, kOpenReview);
        return;
    }
    const CProfile::CValues options = CurrentOptions();
    const int kind = options.Int("ReviewTimeLength");
    const QDate today = CClock::Today();
    QDate start;
    QDate end;
    if (!CalcReviewPeriod(end, start, kind, today)) {
        start = today;
        FormatReviewDate(today, end, kind, options.Int("ReviewTimeRelative"));
        if (end < start)
            std::swap(start, end);
        if (start.daysTo(end) >= 32) {
            ShowMessageBox(
                QStringLiteral("Time Spans too many days, span should be less than 1 month"),
                kMbOk | kMbIconWarning);
            return;
        }
    }
    m_reviewStart = start;
    m_reviewEnd = end;
    ShowChildWindow(ID_REVIEW, kOpenReview);
}

int CDummyDlg::ModalWindow(int command)
{
    const HubWindowFactory factory = FindHubWindowFactory(command);
    if (!factory) {
        NotAvailable(command);
        return IDCANCEL;
    }
    IHubWindow* window = factory(*this);
    auto* dialog = window ? qobject_cast<CDialogBase*>(window->Widget()) : nullptr;
    if (!dialog) {
        delete window;
        return IDCANCEL;
    }
    const int code = dialog->DoModal();
    delete dialog;
    // The exchange dialogs may have chosen another database.
    UpdateCaption();
    return code;
}

void CDummyDlg::OnProperties()
{
    if (m_modalOpen)
        return;
    // A sheet per run: it starts from the stored options, so Cancel forgets.
    CPropsDef sheet(m_db, this, this);
    m_modalOpen = true;
    sheet.DoModal();
    m_modalOpen = false;
    // The pages read the database; an idle program holds no connection.
    if (m_openWindows == 0 && m_db)
        m_db->ReleaseConnection(true, false);
    // The database may have changed.
    UpdateCaption();
}

void CDummyDlg::OnAbout()
{
    if (m_aboutOpen)
        return;
    m_aboutOpen = true;
    CAboutDlg about(m_db, this);
    m_about = &about;
    about.DoModal();
    m_aboutOpen = false;
}

void CDummyDlg::OnOnlineHelp()
{
    ModalWindow(ID_ONLINE_HELP);
}

void CDummyDlg::OnSearch(int command)
{
    if (m_searchOpen)
        return;
    m_searchOpen = true;
    ModalWindow(command);
    m_searchOpen = false;
    // A search from the tray leaves no window that needs the connection.
    ReleaseIfIdle();
}

void CDummyDlg::OnSetUsername()
{
    if (m_userAskedInVain)
        return;
    if (IHubWindow* timer = Window(ID_AUTO_TIMER); timer && timer->IsTiming()) {
        ShowStringMessage(IDS_NO_USER_CHANGE_WHILE_LOGGING);
        return;
    }
    if (m_passwordMode == -1 && m_db) {
        int mode = 0;
        m_db->GetPropertyInt(mode, QStringLiteral("requirePwd"), 0);
        m_passwordMode = mode < 0 || mode > 3 ? 2 : mode;
    }
    CloseSlot(kLogonSlot, 0);
    CloseSlot(kSetUserSlot, 0);
    if (m_passwordMode == 3) {
        // Signed on as the person at the desktop: only a user named as the
        // login itself has nobody else to become; any other change of user
        // needs a password from now on.
        QString login;
        GetWindowsUserName(login);
        if (!login.isEmpty() && login == CProfile::DefUserName())
            return;
        m_passwordMode = 2;
    }
    const QString before = CProfile::DefUserName();
    CDialogBase* dialog = nullptr;
    if (m_passwordMode == 2)
        dialog = new CLogonDlg(m_db, this);
    else
        dialog = new CSetUserDlg(m_db, this, this);
    if (m_askingForUser) {
        const int code = dialog->DoModal();
        const QString after = CProfile::DefUserName();
        delete dialog;
        if (code == IDOK && after != before && !m_keepWindowsOnNewUser)
            CloseAllWindows(true);
        if (after.isEmpty())
            m_userAskedInVain = true;
        UpdateCaption();
        return;
    }
    // Modeless: kept like the other windows, with its own flag.
    struct Holder : QObject, IHubWindow {
        // Goes with its dialog.
        explicit Holder(CDialogBase* d)
            : QObject(d)
            , dialog(d)
        {}
        QWidget* Widget() override { return dialog; }
        void CloseWindow(int) override { dialog->close(); }
        CDialogBase* dialog;
    };
    if (dialog->Create())
        AdoptWindow(m_passwordMode == 2 ? kLogonSlot : kSetUserSlot,
                    m_passwordMode == 2 ? kOpenLogon : kOpenSetUser, new Holder(dialog));
    else
        delete dialog;
}

void CDummyDlg::AskForUserBeforeShowing()
{
    const bool asking = m_askingForUser;
    const bool keep = m_keepWindowsOnNewUser;
    m_askingForUser = true;
    m_keepWindowsOnNewUser = true;
    OnSetUsername();
    m_askingForUser = asking;
    m_keepWindowsOnNewUser = keep;
}

void CDummyDlg::OnDatabaseSwitched()
{
    m_passwordMode = -1;
    m_userAskedInVain = false;
}

void CDummyDlg::OnCloseApp()
{
    if (m_modalOpen) {
        ShowMessageBox(QStringLiteral("Close Property Dialog before closing Application"),
                       kMbOk | kMbIconWarning);
        return;
    }
    if (m_projectInfoBusy && Window(ID_PROJECT_INFO)) {
        ShowMessageBox(QStringLiteral("Close project information dialog first!"),
                       kMbOk | kMbIconWarning);
        return;
    }
    if (m_searchOpen) {
        ShowMessageBox(QStringLiteral("Close search dialog first!"), kMbOk | kMbIconWarning);
        return;
    }
    const int searchable[] = {ID_TIMESHEETS, ID_CONTACTS, ID_CHANGE_REQUESTS, ID_TASKS, ID_REVIEW};
    for (int command : searchable) {
        if (IHubWindow* w = Window(command); w && w->HasOpenSearch()) {
            ShowMessageBox(QStringLiteral("Close search dialog first!"), kMbOk | kMbIconWarning);
            return;
        }
    }
    m_closing = true;
    CloseAllWindows(false);
    hide();
    QApplication::quit();
}

void CDummyDlg::OnCancel()
{
    // Escape or the close box hides the hub; the program goes on in its
    // windows and the tray icon. With neither left, closing it ends the program.
    if (CanHide() || m_openWindows != 0)
        hide();
    else
        OnCloseApp();
}

void CDummyDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    OnCancel();
}

bool CDummyDlg::OpenWindowByCommand(int command)
{
    const CProfile::CValues options = CurrentOptions();
    switch (command) {
    case ID_TIMESHEETS:
    case ID_REVIEW:
    case ID_AUTO_TIMER:
    case ID_TIMESHEET_AND_AUTO_TIMER:
        PostCommand(command);
        return true;
    case ID_CONTACTS:
        if (options.Bool("UseContacts"))
            PostCommand(command);
        return true;
    case ID_TASKS:
        if (options.Bool("UseToDo"))
            OnTaskOpen1();
        return true;
    case ID_CHANGE_REQUESTS:
        OnChangeRequests();
        return true;
    case ID_OVERVIEW:
        OnOverview();
        return true;
    default:
        return false;
    }
}

int CDummyDlg::StartWindowCommand() const
{
    const CProfile::CValues options = CurrentOptions();
    switch (options.Int("OpenDlg")) {
    case 1:
        return ID_TIMESHEETS;
    case 2:
        return ID_REVIEW;
    case 3:
        return options.Bool("UseContacts") ? ID_CONTACTS : ID_TIMESHEETS;
    case 4:
        return options.Bool("UseToDo") ? ID_TASKS : ID_TIMESHEETS;
    case 5:
        return options.Bool("UseChgrqsts") ? ID_CHANGE_REQUESTS : ID_TIMESHEETS;
    case 6:
        return ID_AUTO_TIMER;
    case 7:
        return ID_TIMESHEET_AND_AUTO_TIMER;
    case 8:
        return ID_OVERVIEW;
    default:
        return 0;
    }
}

void CDummyDlg::OpenStartWindow(int command)
{
    if (command < 0)
        command = StartWindowCommand();
    OpenWindowByCommand(command);
}

void CDummyDlg::RefreshTimesheet(const QDate& day)
{
    if (IHubWindow* w = Window(ID_TIMESHEETS))
        w->RefreshDay(day);
}

void CDummyDlg::EnableTimesheetEditing(bool enable)
{
    if (IHubWindow* w = Window(ID_TIMESHEETS))
        w->EnableEditing(enable);
}
