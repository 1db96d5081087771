#include "app/KelvaneApp.h"

#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/FirstStart.h"
#include "app/LogonDlg.h"
#include "app/Profile.h"
#include "app/SetUserDlg.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/FileChooser.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/TerminationSignals.h"
#include "ui/MenuBuilder.h"
#include "ui/Mnemonics.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

CKelvaneApp* s_app = nullptr;

} // namespace

CKelvaneApp& theApp()
{
    Q_ASSERT(s_app);
    return *s_app;
}

bool HasApp()
{
    return s_app != nullptr;
}

CProfile::CValues CurrentOptions()
{
    CProfile::CContext context;
    if (HasApp() && theApp().Facade()) {
        context.bookingInterval = theApp().Facade()->StartupInfo().BookingInterval;
        context.providerKind = theApp().Facade()->GetProviderKind();
    }
    return CProfile::LoadSettings(context);
}

namespace {

// The overview is made by the server's procedures: offered there only.
bool OverviewOffered()
{
    return HasApp() && theApp().Facade() &&
           theApp().Facade()->GetProviderKind() == kProviderPostgres;
}

} // namespace

CKelvaneApp::CKelvaneApp()
    : m_stockComments{QStringLiteral("Development"),    QStringLiteral("Design work"),
                      QStringLiteral("Meeting"),        QStringLiteral("Support call"),
                      QStringLiteral("Documentation"),  QStringLiteral("Testing"),
                      QStringLiteral("Planning"),       QStringLiteral("Review"),
                      QStringLiteral("Administration"), QStringLiteral("Research")}
{
    s_app = this;
    CUserCombo::SetUserRights(this);
    CContextHelpDlg::SetHelpHook(this);
}

CKelvaneApp::~CKelvaneApp()
{
    Shutdown();
    CUserCombo::SetUserRights(nullptr);
    CContextHelpDlg::SetHelpHook(nullptr);
    if (s_app == this)
        s_app = nullptr;
}

bool CKelvaneApp::Start()
{
    CProfileStore::ClearStaleLock();
    CProfile::HelpFile();
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    CRegionalFormats formats = ReadRegionalFormats();
    formats.utcOffset = GetUtcOffset();
    SetRegionalFormats(formats);

    m_db = std::make_unique<CDBClass>();
    m_db->SetHost(this);
    m_db->SetRequiredVersions(&m_requiredVersions);
    // A database that another session keeps locked is named, not waited for.
    m_db->Connection()->SetWaitLimits(kStartupWaitLimits);
    const auto normalLimits = qScopeGuard([this] {
        if (m_db)
            m_db->Connection()->SetWaitLimits({});
    });
    if (!EnsureFirstStartDatabase())
        return false;

    // A database chosen here that then cannot be used is not kept in place
    // of the one the profile named.
    const QString stored = CProfile::DefDatabaseName();
    int result = ConnectDatabase(false, true);
    while (result != kConnectGoOn) {
        if (result == kConnectClose) {
            if (!stored.isEmpty() && CProfile::DefDatabaseName() != stored)
                CProfile::SetDefDatabaseName(stored);
            return false;
        }
        result = ConnectDatabase(result == kConnectRetryReleased, true);
    }
    // The sign-on and the hub read the database at once and release it when
    // the hub is up: the connection stays open for them, held once however
    // often it was asked for, rather than closed and opened again.
    while (m_db->Connection()->UseCount() > 1)
        m_db->ReleaseConnection(false, false);
    m_hub = std::make_unique<CDummyDlg>(m_db.get());
    if (!LogOnUser())
        return false;
    LoadCurrentEmployee(m_securityLevel);
    RegisterStoredProcs();
    return true;
}

int CKelvaneApp::RunHub()
{
    if (!m_hub)
        return 1;
    m_hub->Create();
    if (qEnvironmentVariableIsSet("KELVANE_QUIT_WHEN_READY")) {
        // For the start-up benchmark: say when the hub is up, then end.
        QTimer::singleShot(0, qApp, [] {
            std::fputs("kelvane: ready\n", stdout);
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}

void CKelvaneApp::CloseOnTerminationSignals()
{
    if (m_terminationSignals)
        return;
    m_terminationSignals = std::make_unique<CTerminationSignals>();
    QObject::connect(m_terminationSignals.get(), &CTerminationSignals::Received,
                     m_terminationSignals.get(), [this] { OnTerminationSignal(); });
}

void CKelvaneApp::OnTerminationSignal()
{
    if (m_hub && !m_closeAsked) {
        m_closeAsked = true;
        m_hub->PostCommand(ID_CLOSE_APP);
        return;
    }
    QApplication::quit();
}

void CKelvaneApp::Shutdown()
{
    if (m_db) {
        m_db->ReleaseConnection(false, true);
    }
    m_hub.reset();
    m_db.reset();
}

bool CKelvaneApp::EnsureFirstStartDatabase()
{
    if (CProfile::DatabaseNamed())
        return true;
    QString error;
    if (CFirstStart::Prepare(&error))
        return true;
    ShowMessageBox(QStringLiteral("Cannot create the database %1:\n%2")
                       .arg(CFirstStart::DatabaseFile(), error),
                   kMbOk | kMbIconError);
    return false;
}

int CKelvaneApp::ConnectDatabase(bool releaseFirst, bool checkCached)
{
    if (releaseFirst)
        m_db->ReleaseConnection(true, true);
    const bool connected = m_db->Connect();
    const QString stored = m_db->Connection()->LoadConnectionString();
    if (!connected && !stored.isEmpty()) {
        if (ShowMessageBox(
                QStringLiteral("Error connecting to database, would you like to try another?"),
                kMbYesNo | kMbIconQuestion) == kIdYes) {
            // The stored database stays until another has been chosen and opened.
            m_db->Connection()->ChooseAnother();
            return kConnectRetry;
        }
        ShowMessageBox(QStringLiteral("Closing application"), kMbOk | kMbIconInformation);
        return kConnectClose;
    }
    if (!connected) {
        if (releaseFirst)
            return kConnectRetry;
        ShowMessageBox(QStringLiteral("Closing application"), kMbOk | kMbIconInformation);
        return kConnectClose;
    }
    QString problem;
    switch (m_db->StartupAccess(&problem)) {
    case CDBClass::Access::Ready:
        break;
    case CDBClass::Access::Busy: {
        const QString text =
            QStringLiteral("The database %1 does not answer: %2.\n\nRetry when it is free, "
                           "or Cancel to close Kelvane.")
                .arg(DescribeDatabase(m_db->Connection()->ConnectionString()), problem);
        if (ShowMessageBox(text, kMbRetryCancel | kMbIconWarning) == kIdRetry)
            return kConnectRetryReleased;
        ShowMessageBox(QStringLiteral("Closing application"), kMbOk | kMbIconInformation);
        return kConnectClose;
    }
    case CDBClass::Access::NotKelvane:
    case CDBClass::Access::Failed: {
        const QString text =
            (m_db->StartupAccess() == CDBClass::Access::NotKelvane
                 ? QStringLiteral("%1 is not a Kelvane database: %2.")
                 : QStringLiteral("The database %1 cannot be read: %2."))
                .arg(DescribeDatabase(m_db->Connection()->ConnectionString()), problem) +
            QStringLiteral("\n\nWould you like to try another?");
        if (ShowMessageBox(text, kMbYesNo | kMbIconQuestion) == kIdYes) {
            m_db->Connection()->ChooseAnother();
            return kConnectRetryReleased;
        }
        ShowMessageBox(QStringLiteral("Closing application"), kMbOk | kMbIconInformation);
        return kConnectClose;
    }
    }
    QString versionText;
    // The program's writes rely on the schema revision it was made with.
    const bool oldEnough = m_db->CheckDbVersion(CSchema::kVersion, versionText, checkCached);
    // A database made for a later program is refused: this one could damage it.
    const CStartupInfo& info = m_db->StartupInfo();
    const bool tooNew = info.ProgramMinVersion > kClientVersionNumber ||
                        static_cast<int>(info.DbVersion) > static_cast<int>(kMinDbVersion);
    if (oldEnough && !tooNew)
        return kConnectGoOn;
    const QString question =
        QStringLiteral(
            "Your version of Kelvane Client (%1) \nis not compatible with this database version "
            "(%2), "
            "\nand may not work correctly, \nthis version of Kelvane needs database version %3 or "
            "greater, \ndo you want to choose another database?")
            .arg(QLatin1String(kClientVersion), versionText,
                 QString::asprintf("%2.2f", CSchema::kVersion));
    if (ShowMessageBox(question, kMbYesNo | kMbIconQuestion) == kIdYes) {
        m_db->Connection()->ChooseAnother();
        return kConnectRetryReleased;
    }
    if (tooNew) {
        ShowMessageBox(QStringLiteral("Closing application"), kMbOk | kMbIconInformation);
        return kConnectClose;
    }
    ShowMessageBox(QStringLiteral("There may be errors - you need to upgrade your database:\n"
                                  "run kelvane-createdb --update on it (its rows are kept)"),
                   kMbOk | kMbIconWarning);
    return kConnectGoOn;
}

bool CKelvaneApp::LogOnUser()
{
    int mode = 0;
    m_db->GetPropertyInt(mode, QStringLiteral("requirePwd"), 0);
    m_logonMode = mode < 0 || mode > 3 ? 2 : mode;
    if (m_logonMode == 3) {
        // The person at the desktop signs on by login name.
        m_db->LoadEmployees();
        const int empId = m_db->FindEmpIdByName(LoginName());
        QString fullName;
        if (empId >= 0 && m_db->GetEmpNameById(empId, fullName)) {
            if (CProfile::DefUserName() != fullName)
                SetDefUserName(fullName);
            return true;
        }
        m_logonMode = 2;
    }
    if (m_logonMode == 2) {
        CLogonDlg logon(m_db.get());
        if (logon.DoModal() != IDOK) {
            ShowMessageBox(QStringLiteral("Unable to verify user - Closing application"),
                           kMbOk | kMbIconError);
            return false;
        }
        return !CProfile::DefUserName().isEmpty();
    }
    if (!CProfile::DefUserName().isEmpty())
        return true;
    CSetUserDlg setUser(m_db.get(), nullptr);
    setUser.DoModal();
    if (CProfile::DefUserName().isEmpty()) {
        ShowMessageBox(QStringLiteral("Unable to create user - Closing application"),
                       kMbOk | kMbIconError);
        return false;
    }
    return true;
}

bool CKelvaneApp::LoadCurrentEmployee(int& securityLevel)
{
    const int empId = m_db ? m_db->GetEmpIdByName(CProfile::DefUserName()) : -1;
    CEmployeeEntry employee;
    if (empId < 0 || !m_db->GetEmployeeById(empId, employee))
        return false;
    securityLevel = employee.SecLevel;
    return true;
}

void CKelvaneApp::RegisterStoredProcs()
{
    m_requiredVersions.RemoveAll();
    for (const char* name : {"sp_TimesheetDelete", "sp_ProjectTaskOrdersGetByEmpID",
                             "sp_TimesheetInsert", "sp_TimesheetUpdate", "qselStartUpInfo"})
        m_requiredVersions.Add(QLatin1String(name), static_cast<float>(kMinDbVersion));
}

// ---- Services ---------------------------------------------------------------------------

QString CKelvaneApp::GetDefaultUserName()
{
    if (CProfile::DefUserName().isEmpty() && m_hub && m_hub->isVisible() &&
        !m_hub->IsAskingForUser()) {
        m_hub->SetAskingForUser(true);
        m_hub->OnSetUsername();
        m_hub->SetAskingForUser(false);
    }
    return CProfile::DefUserName();
}

void CKelvaneApp::SetDefUserName(const QString& name)
{
    CProfile::SetDefUserName(name);
    if (m_db)
        m_db->LoadCurrentUser();
}

int CKelvaneApp::GetCurrentEmpId()
{
    return m_db ? m_db->GetEmpIdByName(CProfile::DefUserName()) : -1;
}

QString CKelvaneApp::FormatSqlDate(const QDate& date, bool withTime) const
{
    // The back end's own literal: no month names, no locale.
    return m_db ? m_db->FormatSqlDate(CDateTime(date), withTime) : CSqlDialect().DateLiteral(date);
}

QString CKelvaneApp::GetEditionName() const
{
    return m_db && m_db->Connection()->ProviderKind() == kProviderPostgres
               ? QStringLiteral("Enterprise")
               : QStringLiteral("Pro");
}

QString CKelvaneApp::BuildConnectionString(bool describe) const
{
    const QString stored = CProfile::DefDatabaseName();
    if (!describe || stored.isEmpty())
        return stored.isEmpty() ? QStringLiteral("(no database)")
                                : CConnectionString(stored).Masked();
    return DescribeDatabase(stored);
}

QString CKelvaneApp::DescribeDatabase(const QString& connectionString)
{
    const CConnectionString cs(connectionString);
    if (CSqlDialect::DetectProvider(connectionString) == kProviderPostgres)
        return QStringLiteral("%1:%2; %3")
            .arg(cs.Value(QStringLiteral("Host")), cs.Value(QStringLiteral("Port")),
                 cs.Value(QStringLiteral("Database")));
    return cs.Value(QStringLiteral("Data Source"));
}

int CKelvaneApp::GetComboSelectionId(QComboBox* combo, const QString& text, bool requireSelection)
{
    const int sel = combo ? combo->currentIndex() : -1;
    if (requireSelection && sel < 1)
        return 0;
    if (text.isEmpty() || sel < 0)
        return -1;
    const QString item = combo->itemText(sel);
    combo->setCurrentIndex(sel);
    return m_db ? m_db->GetEmpIdByName(item) : -1;
}

bool CKelvaneApp::SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        ShowMessageBox(QStringLiteral("Cannot open the Clipboard"), kMbOk | kMbIconError);
        return false;
    }
    clipboard->setText(text);
    return true;
}

bool CKelvaneApp::GetClipboardText(QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        ShowMessageBox(QStringLiteral("Cannot open the Clipboard"), kMbOk | kMbIconError);
        return false;
    }
    text = clipboard->text();
    return !text.isEmpty();
}

bool CKelvaneApp::GetAutoComment(int mode, const QString& text, QString& comment) const
{
    switch (mode) {
    case 0:
        comment.clear();
        return true;
    case 1:
        comment = text;
        return true;
    case 2: {
        // Every one of the first ten is equally likely.
        const int count = static_cast<int>(qMin<qsizetype>(m_stockComments.size(), 10));
        comment =
            count > 0 ? m_stockComments.at(QRandomGenerator::global()->bounded(count)) : QString();
        return true;
    }
    default:
        return false;
    }
}

bool CKelvaneApp::ChooseDatabaseFile(QString& folder, QString& fileName)
{
    const QString chosen =
        ChooseOpenFile(QStringLiteral("Select a file..."), CProfile::DefDirectory(),
                       QStringLiteral("Database Files (*.db);;All Files (*)"));
    if (chosen.isEmpty())
        return false;
    const QFileInfo info(chosen);
    folder = info.absolutePath();
    fileName = info.fileName();
    return true;
}

bool CKelvaneApp::ChooseTextFile(QString& fileName)
{
    fileName = ChooseOpenFile(QStringLiteral("Select a file..."), CProfile::DefDirectory(),
                              QStringLiteral("Text Files (*.txt);;All Files (*)"));
    return !fileName.isEmpty();
}

void CKelvaneApp::SetCurrentDay(const QDate& day)
{
    m_currentDay = day;
    if (m_db)
        m_db->SetDisplayedDay(day);
}

bool CKelvaneApp::SaveCurrentDate()
{
    if (!m_hub || !m_currentDay.isValid())
        return false;
    CProfile::SaveCurrentDate(m_currentDay.year(), m_currentDay.month(), m_currentDay.day());
    return true;
}

bool CKelvaneApp::GetWindowCode(int command, QString& code)
{
    switch (command) {
    case ID_TIMESHEETS:
        code = QStringLiteral("TS");
        return true;
    case ID_CONTACTS:
        code = QStringLiteral("cn");
        return true;
    case ID_TASKS:
        code = QStringLiteral("cm");
        return true;
    case ID_REVIEW:
        code = QStringLiteral("rv");
        return true;
    case ID_CHANGE_REQUESTS:
        code = QStringLiteral("cr");
        return true;
    default:
        return false;
    }
}

bool CKelvaneApp::LoadSaveXsltList(const QString& code, QStringList& nicknames, QStringList& files,
                                   bool load, QList<int>* slotNumbers)
{
    CProfileStore profile;
    const QString names = code + QStringLiteral("NN");
    const QString paths = code + QStringLiteral("FN");
    if (load) {
        nicknames.clear();
        files.clear();
        if (slotNumbers)
            slotNumbers->clear();
        for (int i = 0; i < kXsltSlots; ++i) {
            const QString key = QString::number(i);
            const QString nick = profile.value(names + QLatin1Char('/') + key).toString();
            const QString file = profile.value(paths + QLatin1Char('/') + key).toString();
            if (!nick.isEmpty() && !file.isEmpty()) {
                nicknames << nick;
                files << file;
                if (slotNumbers)
                    *slotNumbers << i;
            } else if (!nick.isEmpty() || !file.isEmpty()) {
                // Half a pair is no pair.
                profile.remove(names + QLatin1Char('/') + key);
                profile.remove(paths + QLatin1Char('/') + key);
            }
        }
        return true;
    }
    for (int pair = 0; pair < nicknames.size() && pair < files.size(); ++pair) {
        int free = -1;
        for (int i = 0; i < kXsltSlots && free < 0; ++i)
            if (profile.value(names + QLatin1Char('/') + QString::number(i)).toString().isEmpty() ||
                profile.value(paths + QLatin1Char('/') + QString::number(i)).toString().isEmpty())
                free = i;
        if (free < 0) {
            ShowMessageBox(QStringLiteral("You already have 10 stored - cannot save another"),
                           kMbOk | kMbIconWarning);
            return false;
        }
        profile.setValue(names + QLatin1Char('/') + QString::number(free), nicknames.at(pair));
        profile.setValue(paths + QLatin1Char('/') + QString::number(free), files.at(pair));
    }
    return true;
}

void CKelvaneApp::DeleteXsltEntry(const QString& code, int slot)
{
    CProfileStore profile;
    profile.remove(code + QStringLiteral("NN/") + QString::number(slot));
    profile.remove(code + QStringLiteral("FN/") + QString::number(slot));
}

bool CKelvaneApp::IsAutoLogging() const
{
    IHubWindow* timer = m_hub ? m_hub->Window(ID_AUTO_TIMER) : nullptr;
    return timer && timer->IsTiming();
}

void CKelvaneApp::SetTimesheetReadOnly(int state)
{
    if (IHubWindow* sheet = m_hub ? m_hub->Window(ID_TIMESHEETS) : nullptr)
        sheet->SetReadOnly(state);
}

void CKelvaneApp::PassDateToTimesheet(const QDate& day)
{
    if (IHubWindow* sheet = m_hub ? m_hub->Window(ID_TIMESHEETS) : nullptr)
        sheet->ShowDay(day);
}

void CKelvaneApp::PassRecordToTimesheet(const QDate& day, int projId, const QString& user,
                                        int empId, int start, int stop, const QString& text)
{
    if (IHubWindow* sheet = m_hub ? m_hub->Window(ID_TIMESHEETS) : nullptr)
        sheet->ShowRecord(day, projId, user, empId, start, stop, text);
}

QList<CMenuEntry> CKelvaneApp::BuildProjectMenu(const QString& user)
{
    const CProfile::CValues options = CurrentOptions();
    QList<CMenuEntry> items;
    if (options.Bool("UseContacts"))
        items.append({QStringLiteral("Contacts"), ID_CONTACTS, {}});
    if (options.Bool("UseToDo"))
        items.append({QStringLiteral("Comments"), ID_TASKS, {}});
    if (options.Bool("UseChgrqsts"))
        items.append({QStringLiteral("Change Requests"), ID_CHANGE_REQUESTS, {}});
    items.append({user.isEmpty() ? QStringLiteral("Set User - User Unknown")
                                 : QStringLiteral("Set User (%1)").arg(EscapeMnemonics(user)),
                  ID_SET_USER,
                  {}});
    if (OverviewOffered())
        items.append({QStringLiteral("Overview"), ID_OVERVIEW, {}});
    items.append({QStringLiteral("Project info"), ID_PROJECT_INFO, {}});
    items.append({QStringLiteral("Export"), ID_EXPORT, {}});
    return items;
}

void CKelvaneApp::BuildProjectMenu(QMenu* popup)
{
    const CProfile::CValues options = CurrentOptions();
    const auto show = [popup](int id, bool visible) {
        if (QAction* a = popup->findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
            a->setVisible(visible);
    };
    show(ID_CONTACTS, options.Bool("UseContacts"));
    show(ID_TASKS, options.Bool("UseToDo"));
    show(ID_CHANGE_REQUESTS, options.Bool("UseChgrqsts"));
    show(ID_OVERVIEW, OverviewOffered());
}

int CKelvaneApp::DefaultUserEmpId() const
{
    return m_db ? m_db->GetEmpIdByName(CProfile::DefUserName()) : -1;
}

int CKelvaneApp::HelpTopicForId(int helpId)
{
    // The help ids that have a topic of their own; all but 169 name
    // themselves. The table repeats four ids, as the help file's map does.
    static constexpr int kTopics[][2] = {
        {100, 100}, {102, 102}, {151, 151}, {160, 160}, {228, 228},     {251, 251}, {177, 177},
        {275, 275}, {190, 190}, {264, 264}, {194, 194}, {12821, 12821}, {165, 165}, {169, 378},
        {158, 158}, {157, 157}, {171, 171}, {178, 178}, {168, 168},     {156, 156}, {273, 273},
        {195, 195}, {218, 218}, {158, 158}, {157, 157}, {171, 171},     {178, 178},
    };
    const int id = helpId & 0xFFFF;
    for (const auto& pair : kTopics)
        if (pair[0] == id)
            return pair[1];
    return -1;
}

QUrl CKelvaneApp::ContextHelpUrl(const QString& file, int helpId)
{
    QUrl url = QUrl::fromLocalFile(file);
    // An id without a topic opens the help at its start.
    if (const int topic = HelpTopicForId(helpId); topic > 0)
        url.setFragment(QStringLiteral("id%1").arg(topic));
    return url;
}

void CKelvaneApp::ShowContextHelp(int helpId)
{
    const QString file = CProfile::HelpFile();
    if (file.isEmpty() || !QFile::exists(file)) {
        ShowMessageBox(QStringLiteral("No help file is installed for Kelvane."),
                       kMbOk | kMbIconInformation);
        return;
    }
    OpenUrl(ContextHelpUrl(file, helpId));
}

// ---- IFacadeHost -------------------------------------------------------------------------

QString CKelvaneApp::ApplicationUserName() const
{
    return CProfile::DefUserName();
}

QString CKelvaneApp::LoginName() const
{
    QString login;
    GetWindowsUserName(login);
    return login;
}

void CKelvaneApp::ChooseUser()
{
    GetDefaultUserName();
}
