// The database failing under the running program: a server stopped or
// frozen, another session's lock, the database file moved away. Every
// statement ends within the command limit, the user hears once per action
// in plain words, and the next action uses the database again once it
// answers.
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "data/UndoHistory.h"
#include "data/records/TimeSheetSet.h"
#include "platform/UserAction.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/Faults.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <memory>

namespace {

CRecordingMessages& Messages()
{
    return CRecordingMessages::Current();
}

// Ann's new block on 2 March 2026 from start to stop (minutes).
CTimeSheetWrite Block(int timeId, int start, int stop)
{
    CTimeSheetWrite e;
    e.WorkDate = CDateTime(2026, 3, 2);
    e.EmpID = 1;
    e.ProjID = 1;
    e.OrderID = 1;
    e.TaskID = 1;
    e.OrderHourRate = 80;
    e.Start = start;
    e.Stop = stop;
    e.TimeID = timeId;
    return e;
}

int Book(CDBClass& db, int timeId, int start, int stop)
{
    CTimeSheetWrite e = Block(timeId, start, stop);
    return db.UpdateTimeData(nullptr, e);
}

int CountRows(const QString& connectionString)
{
    CDBConnection reader;
    reader.UseConnectionString(connectionString);
    CQueryResult rows;
    if (!reader.Connect(false) ||
        !CSqlExecutor::RunNative(reader, QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet"), {},
                                 &rows, nullptr))
        return -1;
    return rows.Value(0, 0).toInt();
}

// No message shows what the driver says.
void ExpectPlainWords(const QStringList& texts)
{
    for (const QString& text : texts)
        for (const char* driver : {"QPSQL", "server closed the connection", "canceling statement",
                                   "database is locked", "Unable to connect"})
            EXPECT_FALSE(text.contains(QLatin1String(driver))) << text.toStdString();
}

} // namespace

// ---- A server of the test's own, stopped and frozen ---------------------------------------

class ServerOutageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new CPrivatePgServer; }
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
        m_cs = s_server->NewKelvaneDatabase(QStringLiteral("outage_%1").arg(++counter));
        ASSERT_FALSE(m_cs.isEmpty()) << s_server->Problem().toStdString();
        CDBConnection seed;
        seed.UseConnectionString(m_cs);
        ASSERT_TRUE(seed.Connect(false));
        SeedAnnsProjects([&](const QString& sql, const QVariantList& values) {
            CDbError error;
            ASSERT_TRUE(CSqlExecutor::RunNative(seed, sql, values, nullptr, &error))
                << error.description.toStdString();
        });
        m_db.Connection()->UseConnectionString(m_cs);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
    }
    void TearDown() override
    {
        if (s_server) {
            s_server->Thaw();
            if (!s_server->Running())
                s_server->Start();
        }
    }

    static CPrivatePgServer* s_server;
    QString m_cs;
    CDBClass m_db;
};

CPrivatePgServer* ServerOutageTest::s_server = nullptr;

TEST_F(ServerOutageTest, AFrozenServerIsGivenUpAtTheLimitAndServesTheNextStepOnceItAnswers)
{
    for (const int limitMs : {3000, CDBConnection::kCommandTimeoutMs}) {
        SCOPED_TRACE(limitMs);
        m_db.Connection()->SetWaitLimits({0, limitMs});
        ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
        Messages().Clear();
        ASSERT_TRUE(s_server->Freeze());
        UserAction::Next();
        QElapsedTimer clock;
        clock.start();
        EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
        // The limit, and the moment a cancel may take on a server that still answers.
        EXPECT_LE(clock.elapsed(), limitMs + 2500);
        EXPECT_GE(clock.elapsed(), limitMs - 2500);
        EXPECT_FALSE(m_db.Connection()->IsConnected());
        // The rest of the action does not wait again, nor tell again.
        clock.restart();
        EXPECT_FALSE(m_db.LoadDayTimeSheets(CDateTime(2026, 3, 2), 1));
        EXPECT_LT(clock.elapsed(), 500);
        ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
        EXPECT_TRUE(Messages().Last().contains(QStringLiteral("has not answered")))
            << Messages().Last().toStdString();
        ExpectPlainWords(Messages().Texts());

        // The server may still carry out what reached it before it froze;
        // either way the next step is served.
        ASSERT_TRUE(s_server->Thaw());
        UserAction::Next();
        EXPECT_EQ(Book(m_db, 3, 720, 780), kWriteOk) << Messages().Last().toStdString();
        EXPECT_GE(CountRows(m_cs), 2);
        // The next round starts from an empty day.
        CSqlExecutor::RunNative(*m_db.Connection(), QStringLiteral("DELETE FROM tblTimeSheet"), {},
                                nullptr, nullptr);
        m_db.ResetDayKey();
        m_db.UndoHistory().Clear();
        Messages().Clear();
    }
}

TEST_F(ServerOutageTest, AWriteGivenUpAtTheLimitIsToldAsPerhapsStoredAndItsDayIsReadAgain)
{
    m_db.Connection()->SetWaitLimits({0, 3000});
    ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
    ASSERT_TRUE(m_db.LoadDayTimeSheets(CDateTime(2026, 3, 2), 1));
    Messages().Clear();

    // The side connection that names the lock holder cannot answer: the
    // statement is still stopped at the limit, not given up, and nothing of
    // it is stored.
    {
        CFaultGate naming("PgWait:naming");
        CLockHolder holder(m_cs, QStringLiteral("tblTimeSheet"), CLockHolder::Hold::Writers);
        ASSERT_TRUE(holder.Holding());
        const CActionFailureText failure(QStringLiteral("The block was not stored."));
        UserAction::Next();
        QElapsedTimer clock;
        clock.start();
        EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
        EXPECT_LE(clock.elapsed(), 3000 + 2500);
        ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
        EXPECT_TRUE(Messages().Last().startsWith(QStringLiteral("The block was not stored.")))
            << Messages().Last().toStdString();
        EXPECT_FALSE(Messages().Last().contains(QStringLiteral("has not answered")))
            << Messages().Last().toStdString();
        EXPECT_TRUE(m_db.Connection()->IsConnected());
    }
    EXPECT_EQ(CountRows(m_cs), 1);

    // Not even the cancel gets through: the connection is given up while the
    // server still has the write, and stores it once the lock is free.
    Messages().Clear();
    CFaultGate cancel("PgWait:cancel");
    auto holder = std::make_unique<CLockHolder>(m_cs, QStringLiteral("tblTimeSheet"),
                                                CLockHolder::Hold::Writers);
    ASSERT_TRUE(holder->Holding());
    {
        const CActionFailureText failure(QStringLiteral("The block was not stored."));
        UserAction::Next();
        EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    }
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().startsWith(QStringLiteral("The block may have been stored.")))
        << Messages().Last().toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("shows once it answers")));
    ExpectPlainWords(Messages().Texts());
    EXPECT_TRUE(m_db.DayOutOfStep());
    holder.reset();
    EXPECT_TRUE(Waiting::Until([this] { return CountRows(m_cs) == 2; }));
    cancel.Open();

    // The next read shows the block the server stored.
    UserAction::Next();
    ASSERT_TRUE(m_db.ReloadDayQuietly(1, QDate(2026, 3, 2)));
    EXPECT_FALSE(m_db.DayOutOfStep());
    EXPECT_TRUE(m_db.IsTimeIdInDayCache(2));
    EXPECT_EQ(Messages().Count(), 1);
}

TEST_F(ServerOutageTest, AStoppedServerIsToldOnceAndARestartedOneServesTheNextStepSilently)
{
    ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk);
    Messages().Clear();
    ASSERT_TRUE(s_server->Stop());
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    EXPECT_FALSE(m_db.LoadDayTimeSheets(CDateTime(2026, 3, 2), 1));
    int projects = 0;
    m_db.CountTimeSheets(projects, 1);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("database server")))
        << Messages().Last().toStdString();
    ExpectPlainWords(Messages().Texts());

    // Still down at the next step: told again, once.
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    EXPECT_EQ(Messages().Count(), 2);
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("cannot be reached")))
        << Messages().Last().toStdString();

    ASSERT_TRUE(s_server->Start());
    UserAction::Next();
    Messages().Clear();
    EXPECT_EQ(Book(m_db, 2, 600, 660), kWriteOk) << Messages().Texts().join('|').toStdString();
    EXPECT_EQ(CountRows(m_cs), 2);
    EXPECT_EQ(Messages().Count(), 0) << Messages().Texts().join('|').toStdString();
}

TEST_F(ServerOutageTest, AChangedPasswordOrNoFreeConnectionIsToldOnceInPlainWords)
{
    // The program signs on as a role with a password and no rights beyond its tables.
    const QString role = QLatin1String(CPrivatePgServer::kPasswordRole);
    CDBConnection admin;
    admin.UseConnectionString(m_cs);
    ASSERT_TRUE(admin.Connect(false));
    const auto run = [&admin](const QString& sql) {
        CDbError error;
        EXPECT_TRUE(CSqlExecutor::RunNative(admin, sql, {}, nullptr, &error))
            << sql.toStdString() << ": " << error.description.toStdString();
    };
    run(QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN; EXCEPTION WHEN duplicate_object THEN "
                       "NULL; END $$")
            .arg(role));
    run(QStringLiteral("ALTER ROLE %1 PASSWORD 'right' CONNECTION LIMIT -1").arg(role));
    run(QStringLiteral("GRANT ALL ON ALL TABLES IN SCHEMA public TO %1").arg(role));
    run(QStringLiteral("GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO %1").arg(role));
    const auto endSessions = [&] {
        run(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                           "usename = '%1'")
                .arg(role));
    };
    m_db.ReleaseConnection(true, true);
    CConnectionString cs(m_cs);
    cs.Set(QStringLiteral("User ID"), role);
    cs.Set(QStringLiteral("Password"), QStringLiteral("right"));
    m_db.Connection()->UseConnectionString(cs.ToString());
    ASSERT_TRUE(m_db.OpenConnection());
    ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
    Messages().Clear();

    // The administrator changes the password and ends the sessions: the
    // session is lost, then signing on again is refused; one message each.
    run(QStringLiteral("ALTER ROLE %1 PASSWORD 'changed'").arg(role));
    endSessions();
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("was lost")))
        << Messages().Last().toStdString();
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    ASSERT_EQ(Messages().Count(), 2) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("refused the user name or password")))
        << Messages().Last().toStdString();

    // Every connection the role may have is taken.
    run(QStringLiteral("ALTER ROLE %1 PASSWORD 'right' CONNECTION LIMIT 0").arg(role));
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    ASSERT_EQ(Messages().Count(), 3) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("no free connection")))
        << Messages().Last().toStdString();
    ExpectPlainWords(Messages().Texts());

    run(QStringLiteral("ALTER ROLE %1 CONNECTION LIMIT -1").arg(role));
    UserAction::Next();
    EXPECT_EQ(Book(m_db, 2, 600, 660), kWriteOk) << Messages().Last().toStdString();
    EXPECT_EQ(Messages().Count(), 3);
    EXPECT_EQ(CountRows(m_cs), 2);
    m_db.ReleaseConnection(true, true);
}

// ---- Another session's lock, on both back ends -----------------------------------------------

class LockOutageTest : public FacadeDbTest {
protected:
    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        m_db.StartupInfo().BookingInterval = 15;
        // The test's own connection must not hold the file against the lock.
        m_conn.ReleaseConnection(true);
    }
};

TEST_P(LockOutageTest, AWriteUnderAnotherSessionsLockEndsAtTheLimitNamingItsHolderOncePerAction)
{
    // The program's own limit: one wait of it per action, never two.
    ASSERT_EQ(m_db.Connection()->WaitLimits().statementMs, CDBConnection::kCommandTimeoutMs);
    ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
    Messages().Clear();
    // Maintenance takes the database while the program is idle.
    m_db.ReleaseConnection(true, false);
    auto holder = std::make_unique<CLockHolder>(m_connectionString, QStringLiteral("tblTimeSheet"),
                                                CLockHolder::Hold::Everyone);
    ASSERT_TRUE(holder->Holding());
    UserAction::Next();
    QElapsedTimer clock;
    clock.start();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    EXPECT_FALSE(m_db.LoadDayTimeSheets(CDateTime(2026, 3, 2), 1));
    EXPECT_LE(clock.elapsed(), CDBConnection::kCommandTimeoutMs + 2500);
    EXPECT_GE(clock.elapsed(), CDBConnection::kCommandTimeoutMs - 2500);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    const QString told = Messages().Last();
    EXPECT_TRUE(told.contains(IsPostgres() ? QStringLiteral("session")
                                           : QStringLiteral("process %1").arg(holder->Pid())))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("waited 15 seconds"))) << told.toStdString();
    ExpectPlainWords(Messages().Texts());

    holder.reset();
    UserAction::Next();
    EXPECT_EQ(Book(m_db, 2, 600, 660), kWriteOk) << Messages().Last().toStdString();
    EXPECT_EQ(Messages().Count(), 1);
}

KELVANE_INSTANTIATE_BACKENDS(LockOutageTest);

// ---- The database file moved away under the program -----------------------------------------

class MovedFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_file = TestEnv::TestDir() + QStringLiteral("/kelvane.db");
        m_cs = CConnectionString::SqliteString(m_file);
        {
            CDBConnection maker;
            maker.UseConnectionString(
                TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), QStringLiteral("kelvane.db")));
            ASSERT_TRUE(maker.Connect(false));
            QString error;
            ASSERT_TRUE(CSchema::Create(maker, &error)) << error.toStdString();
            SeedAnnsProjects([&](const QString& sql, const QVariantList& values) {
                ASSERT_TRUE(CSqlExecutor::RunNative(maker, sql, values, nullptr, nullptr));
            });
        }
        m_db.Connection()->UseConnectionString(m_cs);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
        ASSERT_EQ(Book(m_db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
        Messages().Clear();
    }

    QString m_file;
    QString m_cs;
    CDBClass m_db;
};

TEST_F(MovedFileTest, NothingIsWrittenToAFileMovedAwayAndTheNamedFileIsUsedOnceItIsBack)
{
    const QString moved = TestEnv::TestDir() + QStringLiteral("/moved.db");
    ASSERT_TRUE(QFile::rename(m_file, moved));
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(m_file)) << Messages().Last().toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("moved or deleted")));

    // The named file is missing: said so, never a new empty database.
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    EXPECT_EQ(Messages().Count(), 2);
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("does not exist")))
        << Messages().Last().toStdString();
    EXPECT_FALSE(QFile::exists(m_file));

    // Back in its place, the file holds only what was stored, and takes the block now.
    ASSERT_TRUE(QFile::rename(moved, m_file));
    EXPECT_EQ(CountRows(m_cs), 1);
    UserAction::Next();
    EXPECT_EQ(Book(m_db, 2, 600, 660), kWriteOk) << Messages().Last().toStdString();
    EXPECT_EQ(CountRows(m_cs), 2);
}

TEST_F(MovedFileTest, AFileDeletedUnderTheProgramIsToldAndNeverMadeAgain)
{
    ASSERT_TRUE(QFile::remove(m_file));
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("moved or deleted")))
        << Messages().Last().toStdString();
    UserAction::Next();
    EXPECT_NE(Book(m_db, 2, 600, 660), kWriteOk);
    EXPECT_EQ(Messages().Count(), 2);
    EXPECT_FALSE(QFile::exists(m_file));
}

TEST_F(MovedFileTest, AFileMovedInsideAWriteKeepsWhatItHeld)
{
    // Moved after the write began: the commit is refused and the write undone.
    CDBConnection* connection = m_db.Connection();
    ASSERT_TRUE(connection->BeginTrans());
    ASSERT_TRUE(CSqlExecutor::RunNative(*connection, QStringLiteral("DELETE FROM tblTimeSheet"), {},
                                        nullptr, nullptr));
    const QString moved = TestEnv::TestDir() + QStringLiteral("/moved.db");
    ASSERT_TRUE(QFile::rename(m_file, moved));
    CDbError error;
    EXPECT_FALSE(connection->CommitTrans(&error));
    EXPECT_TRUE(error.description.contains(QStringLiteral("moved or deleted")));
    EXPECT_FALSE(connection->IsConnected());
    ASSERT_TRUE(QFile::rename(moved, m_file));
    EXPECT_EQ(CountRows(m_cs), 1);
}

// ---- The database file on a disk that fills up -------------------------------------------------

TEST(FullDiskTest, ABlockSavedOnAFullDiskIsToldAndStoredOnceThereIsRoom)
{
    // A small disk of its own: a tmpfs, where the machine lets the test mount one.
    const QString disk = TestEnv::TestDir() + QStringLiteral("/disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=2m"), QStringLiteral("tmpfs"), disk}) != 0)
        GTEST_SKIP() << "no tmpfs may be mounted here";
    const auto unmount = qScopeGuard([&disk] {
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), disk});
    });
    const QString cs = TestDatabases::NewSqliteDatabase(disk, QStringLiteral("kelvane.db"));
    {
        CDBConnection maker;
        maker.UseConnectionString(cs);
        ASSERT_TRUE(maker.Connect(false));
        QString error;
        ASSERT_TRUE(CSchema::Create(maker, &error)) << error.toStdString();
        SeedAnnsProjects([&](const QString& sql, const QVariantList& values) {
            ASSERT_TRUE(CSqlExecutor::RunNative(maker, sql, values, nullptr, nullptr));
        });
    }
    CDBClass db;
    db.Connection()->UseConnectionString(cs);
    ASSERT_TRUE(db.OpenConnection());
    db.StartupInfo().BookingInterval = 15;
    ASSERT_EQ(Book(db, 1, 480, 540), kWriteOk) << Messages().Last().toStdString();
    Messages().Clear();

    // Another program fills the disk.
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    int written = kWriteOk;
    // Each block takes room until there is none.
    for (int i = 0; i < 40 && written == kWriteOk; ++i) {
        UserAction::Next();
        written = Book(db, 2 + i, 600 + 15 * i, 615 + 15 * i);
    }
    EXPECT_NE(written, kWriteOk);
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join('|').toStdString();
    EXPECT_TRUE(Messages().Last().contains(QStringLiteral("is full")))
        << Messages().Last().toStdString();
    ExpectPlainWords(Messages().Texts());
    const int stored = CountRows(cs);

    // Room again: the same block is stored, and nothing before it was lost.
    ASSERT_TRUE(QFile::remove(disk + QStringLiteral("/filler")));
    UserAction::Next();
    db.ResetDayKey();
    const int timeId = stored + 1;
    EXPECT_EQ(Book(db, timeId, 600 + 15 * (timeId - 2), 615 + 15 * (timeId - 2)), kWriteOk)
        << Messages().Last().toStdString();
    EXPECT_EQ(CountRows(cs), stored + 1);
    db.ReleaseConnection(true, true);
}
