// The program on a server whose connections are all taken: a company's busy
// hour, when every employee signs on at once. Nothing shows a failed read as
// an empty day, month or list, the user is told once per step in plain
// words, and the next step works as soon as a connection is free.
#include "app/UnreadWindows.h"
#include "data/ConnectionString.h"
#include "platform/UserAction.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewWindows.h"
#include "tests/app/HubScenarios.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Three of the six connections are kept for superusers: the program's role
// has three.
const QStringList kServerSettings = {QStringLiteral("max_connections=6")};
const QString kRole = QStringLiteral("kelvane_app");

CRecordingMessages& Messages()
{
    return CRecordingMessages::Current();
}

// What a user must never read: the driver's and the server's own words.
void ExpectPlainWords(const QStringList& texts)
{
    for (const QString& text : texts)
        for (const char* driver :
             {"QPSQL", "FATAL", "53300", "Unable to connect", "connection slots are reserved",
              "too many clients", "database corruption"})
            EXPECT_FALSE(text.contains(QLatin1String(driver))) << text.toStdString();
}

// Every connection the role may have, held by other programs. A connection
// just closed keeps its slot until its server process has gone, so the role
// is full only when it holds all of its slots and one more is refused.
class CSlotsTaken {
public:
    explicit CSlotsTaken(const CConnectionString& where)
        : m_where(where)
    {
        m_full = Waiting::Until([this] {
            while (m_names.size() < kRoleSlots && Take()) {
            }
            return m_names.size() == kRoleSlots && !Take();
        });
    }
    ~CSlotsTaken() { Free(); }
    bool Full() const { return m_full; }
    // The slots are free again once no other process of the role is left.
    void Free()
    {
        if (m_names.isEmpty())
            return;
        for (const QString& name : std::as_const(m_names)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        m_names.clear();
        {
            QSqlDatabase db = Connection(QStringLiteral("slotprobe"));
            QSqlQuery query(db);
            EXPECT_TRUE(Waiting::Until([&] {
                return (db.isOpen() || db.open()) &&
                       query.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE "
                                                 "usename = '%1' AND pid <> pg_backend_pid()")
                                      .arg(kRole)) &&
                       query.next() && query.value(0).toInt() == 0;
            })) << "the slots stay taken";
        }
        QSqlDatabase::removeDatabase(QStringLiteral("slotprobe"));
    }

private:
    static constexpr qsizetype kRoleSlots = 3;

    QSqlDatabase Connection(const QString& name) const
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(m_where.Value(QStringLiteral("Host")));
        db.setPort(m_where.Value(QStringLiteral("Port")).toInt());
        db.setDatabaseName(m_where.Value(QStringLiteral("Database")));
        db.setUserName(kRole);
        return db;
    }
    bool Take()
    {
        const QString name = QStringLiteral("slot%1").arg(m_names.size());
        if (!Connection(name).open()) {
            QSqlDatabase::removeDatabase(name);
            return false;
        }
        m_names << name;
        return true;
    }

    CConnectionString m_where;
    QStringList m_names;
    bool m_full = false;
};

class BusyServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new CPrivatePgServer(kServerSettings); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override
    {
        if (!s_server->Running()) {
            if (TestDatabases::PostgresRequired())
                FAIL() << s_server->Problem().toStdString();
            GTEST_SKIP() << s_server->Problem().toStdString();
        }
        static int counter = 0;
        m_cs = CConnectionString(
            s_server->NewOwnedKelvaneDatabase(QStringLiteral("busy_%1").arg(++counter), kRole));
        ASSERT_FALSE(m_cs.ToString().isEmpty()) << s_server->Problem().toStdString();
        // The test counts rows as a superuser: its slots are never taken.
        m_admin = m_cs;
        m_admin.Set(QStringLiteral("User ID"), QStringLiteral("postgres"));
        CProfile::SetDefDatabaseName(m_cs.ToString());
        HubScenarios::RegisterWindows();
        RegisterOverviewWindows();
    }
    void TearDown() override
    {
        if (m_started)
            m_app.Shutdown();
    }

    // Signed on, the hub up and idle in the tray: no connection held.
    void StartProgram()
    {
        ASSERT_TRUE(m_app.Start()) << Messages().Last().toStdString();
        m_started = true;
        m_hub = m_app.Hub();
        m_hub->SetStartupDelayOverride(1000000);
        m_hub->Create();
        ASSERT_TRUE(HubScenarios::Seed(*m_app.Facade()));
        m_app.Facade()->ReleaseConnection(true, false);
        Messages().Clear();
    }

    // The window of a command, once it has done what it does when shown.
    QWidget* Open(int command, const std::function<bool(QWidget*)>& filled)
    {
        UserAction::Next();
        m_hub->OnCommand(command);
        QWidget* widget = nullptr;
        EXPECT_TRUE(Waiting::Until([&] {
            IHubWindow* window = m_hub->Window(command);
            widget = window ? window->Widget() : nullptr;
            return widget && filled(widget);
        })) << "window "
            << command << " was not filled";
        // What the fill left for later runs too: it would be told now.
        Waiting::Settle();
        return widget;
    }

    int Rows(const QString& table)
    {
        CDBConnection conn;
        conn.UseConnectionString(m_admin.ToString());
        CQueryResult result;
        if (!conn.Connect(false) ||
            !CSqlExecutor::RunNative(conn, QStringLiteral("SELECT count(*) FROM %1").arg(table), {},
                                     &result, nullptr))
            return -1;
        return result.Value(0, 0).toInt();
    }

    static bool SaysNotRead(const QWidget* window)
    {
        return window->windowTitle().endsWith(CUnreadWindows::CaptionNote());
    }

    static CPrivatePgServer* s_server;
    CConnectionString m_cs;
    CConnectionString m_admin;
    CKelvaneApp m_app;
    bool m_started = false;
    CDummyDlg* m_hub = nullptr;
};

CPrivatePgServer* BusyServerTest::s_server = nullptr;

} // namespace

TEST_F(BusyServerTest, AProgramRefusedAtStartIsToldPlainlyAndRetryAsksTheSameServer)
{
    CScriptedPrompt chooser;
    auto taken = std::make_unique<CSlotsTaken>(m_cs);
    ASSERT_TRUE(taken->Full());
    // Retry while still full, then Cancel, No to another database.
    Messages().Answer(kIdRetry);
    Messages().Answer(kIdCancel);
    Messages().Answer(kIdNo);
    EXPECT_FALSE(m_app.Start());
    ASSERT_EQ(Messages().Count(), 4) << Messages().Texts().join('|').toStdString();
    for (int i : {0, 1})
        EXPECT_TRUE(Messages().Texts().at(i).contains(QStringLiteral("has no free connection now")))
            << Messages().Texts().at(i).toStdString();
    EXPECT_EQ(Messages().Texts().at(2),
              QStringLiteral("Error connecting to database, would you like to try another?"));
    EXPECT_EQ(Messages().Texts().at(3), QStringLiteral("Closing application"));
    ExpectPlainWords(Messages().Texts());
    // A full server is no reason to choose another database.
    EXPECT_TRUE(chooser.seen.isEmpty());
    EXPECT_EQ(CProfile::DefDatabaseName(), m_cs.ToString());

    taken->Free();
    Messages().Clear();
    EXPECT_TRUE(m_app.Start()) << Messages().Texts().join('|').toStdString();
    m_started = true;
    EXPECT_EQ(Messages().Count(), 0);
}

TEST_F(BusyServerTest, TheTimeSheetKeepsItsEmployeeWhileTheServerIsFullAndReadsOnceASlotIsFree)
{
    StartProgram();
    // The employees are read anew when the program has released its caches.
    m_app.Facade()->ReleaseConnection(true, true);
    auto taken = std::make_unique<CSlotsTaken>(m_cs);
    ASSERT_TRUE(taken->Full());
    const int booked = Rows(QStringLiteral("tblTimeSheet"));

    auto* sheet = dynamic_cast<CTimeAppDlg*>(Open(ID_TIMESHEETS, [](QWidget* w) {
        return HubScenarios::As<CTimeAppDlg>(w)->Controller().ReadyCount() > 0;
    }));
    ASSERT_NE(sheet, nullptr);
    // One message for opening it, however many reads that took, and
    // neither a Set User round nor "no employees".
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().startsWith(QStringLiteral("Timesheets could not read")));
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("has no free connection now")));
    EXPECT_TRUE(SaysNotRead(sheet)) << sheet->windowTitle().toStdString();
    EXPECT_TRUE(sheet->StatusText().contains(QStringLiteral("could not be read")));

    // A block drawn meanwhile is not stored, and the reason is the server.
    Messages().Clear();
    UserAction::Next();
    HubScenarios::DrawBlock(sheet);
    EXPECT_TRUE(Waiting::Until([] { return Messages().Count() > 0; }));
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().startsWith(QStringLiteral("The block was not stored.")))
        << Messages().Last().toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("has no free connection now")));
    EXPECT_EQ(Rows(QStringLiteral("tblTimeSheet")), booked);

    // Another day while still full: told once, and not shown as a day without blocks.
    Messages().Clear();
    UserAction::Next();
    sheet->Controller().GoToDay(QDate::currentDate().addDays(-1));
    EXPECT_LE(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(SaysNotRead(sheet));
    ExpectPlainWords(Messages().Texts());

    // A click on the line while still full changes nothing, and leaves
    // nothing behind that keeps the line from reading later.
    QWidget* line = sheet->TimeLine().ControlWidget();
    Messages().Clear();
    QTest::mouseClick(line, Qt::LeftButton, {}, TimeLineProbe::Find(*sheet, line, 11 * 60));
    Waiting::Settle();
    EXPECT_TRUE(SaysNotRead(sheet));
    EXPECT_EQ(Rows(QStringLiteral("tblTimeSheet")), booked);

    // A slot frees: the clock's tick reads the employee's day without a word,
    // and the block drawn then is stored.
    taken->Free();
    auto* clock = sheet->findChild<QTimer*>(QStringLiteral("clockTimer"));
    ASSERT_NE(clock, nullptr);
    clock->start(10);
    EXPECT_TRUE(Waiting::Until([sheet] { return !SaysNotRead(sheet); }));
    clock->stop();
    EXPECT_FALSE(SaysNotRead(sheet)) << sheet->windowTitle().toStdString();
    auto* users = sheet->findChild<QComboBox*>(CDialogBase::ControlName(1001));
    ASSERT_NE(users, nullptr);
    EXPECT_EQ(users->currentText(), CProfile::DefUserName());
    sheet->Controller().GoToDay(QDate::currentDate());
    HubScenarios::DrawAndSave(sheet);
    EXPECT_TRUE(Waiting::Until([&] { return Rows(QStringLiteral("tblTimeSheet")) == booked + 1; }));
    EXPECT_EQ(Messages().Count(), 0) << Messages().Texts().join('|').toStdString();
    EXPECT_EQ(Rows(QStringLiteral("tblTimeSheet")), booked + 1);
}

TEST_F(BusyServerTest, EveryWindowOpenedWhileFullSaysSoOnceAndReadsAtTheNextClick)
{
    StartProgram();
    struct CWindowCase {
        int command;
        // What the window shows when it has read (and not before).
        std::function<bool(QWidget*)> read;
    };
    const QList<CWindowCase> cases = {
        {ID_TASKS,
         [](QWidget* w) {
             return HubScenarios::As<CCommentDlg>(w)->StatusText().contains(
                 QStringLiteral("Comments found"));
         }},
        {ID_CHANGE_REQUESTS,
         [](QWidget* w) { return HubScenarios::As<CChgRqstDlg>(w)->List()->ItemCount() > 0; }},
        {ID_CONTACTS,
         [](QWidget* w) {
             return HubScenarios::As<CContactDlg>(w)->Tree()->topLevelItemCount() > 0;
         }},
        {ID_REVIEW,
         [](QWidget* w) {
             return HubScenarios::As<CReviewDlg>(w)->StatusText().contains(
                 QStringLiteral("total number of records"));
         }},
        {ID_PROJECT_INFO,
         [](QWidget* w) { return w->windowTitle().contains(QStringLiteral("General")); }},
        {ID_OVERVIEW,
         [](QWidget* w) {
             return !HubScenarios::As<CEmpOverviewDlg>(w)->BrowsePage().isEmpty() &&
                    QFileInfo::exists(HubScenarios::As<CEmpOverviewDlg>(w)->BrowsePage());
         }},
    };
    auto taken = std::make_unique<CSlotsTaken>(m_cs);
    ASSERT_TRUE(taken->Full());
    QList<QWidget*> windows;
    for (const CWindowCase& c : cases) {
        Messages().Clear();
        QWidget* window = Open(c.command, [&c](QWidget* w) { return SaysNotRead(w) || c.read(w); });
        ASSERT_NE(window, nullptr) << c.command;
        windows << window;
        EXPECT_EQ(Messages().Count(), 1)
            << c.command << ": " << Messages().Texts().join('|').toStdString();
        EXPECT_TRUE(Messages().Last().contains(QStringLiteral("could not read the database")))
            << Messages().Last().toStdString();
        EXPECT_TRUE(Messages().Last().contains(QStringLiteral("has no free connection now")));
        ExpectPlainWords(Messages().Texts());
        EXPECT_TRUE(SaysNotRead(window))
            << c.command << ": " << window->windowTitle().toStdString();
        EXPECT_FALSE(c.read(window)) << c.command;
    }
    // A click while still full says nothing more and leaves them as they are.
    Messages().Clear();
    for (QWidget* window : std::as_const(windows))
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 3));
    Waiting::Settle();
    EXPECT_EQ(Messages().Count(), 0) << Messages().Texts().join('|').toStdString();

    taken->Free();
    for (int i = 0; i < cases.size(); ++i) {
        QTest::mouseClick(windows[i], Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_TRUE(Waiting::Until([&] {
            return !SaysNotRead(windows[i]) && cases[i].read(windows[i]);
        })) << cases[i].command;
        EXPECT_FALSE(SaysNotRead(windows[i]))
            << cases[i].command << ": " << windows[i]->windowTitle().toStdString();
        EXPECT_TRUE(cases[i].read(windows[i])) << cases[i].command;
    }
    EXPECT_EQ(Messages().Count(), 0) << Messages().Texts().join('|').toStdString();

    // The overview's page goes with the program, though no window was closed.
    const QString page = HubScenarios::As<CEmpOverviewDlg>(windows.last())->BrowsePage();
    m_app.Shutdown();
    m_started = false;
    EXPECT_FALSE(QFileInfo::exists(page)) << page.toStdString();
}
