#include "data/DBConnection.h"
#include "data/ConnectionString.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <QSqlDatabase>

#include <sys/stat.h>

namespace {

// Answers the connection prompt from a list, then with "" (cancel).
class ScriptedPrompt : public IConnectionPrompt {
public:
    QString PromptConnectionString(const QString& current) override
    {
        seen << current;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    QStringList seen;
};

class PromptGuard {
public:
    explicit PromptGuard(IConnectionPrompt* prompt) { CDBConnection::SetPrompt(prompt); }
    ~PromptGuard() { CDBConnection::SetPrompt(nullptr); }
};

QString StoredString()
{
    CProfileStore profile;
    return profile.value(QStringLiteral("DB/DefDatabaseName")).toString();
}

void StoreString(const QString& value)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("DB/DefDatabaseName"), value);
}

} // namespace

class ConnectionTest : public ::testing::Test {
protected:
    QString NewFile(const QString& name = QStringLiteral("a.db"))
    {
        return TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), name);
    }
    ScriptedPrompt m_prompt;
    PromptGuard m_guard{&m_prompt};
};

TEST_F(ConnectionTest, UsesAreCountedAndTheLastReleaseCloses)
{
    StoreString(NewFile());
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    ASSERT_TRUE(conn.Connect(false));
    EXPECT_EQ(conn.UseCount(), 2);
    EXPECT_TRUE(conn.ReleaseConnection(false));
    EXPECT_TRUE(conn.IsConnected());
    EXPECT_EQ(conn.UseCount(), 1);
    EXPECT_TRUE(conn.ReleaseConnection(false));
    EXPECT_FALSE(conn.IsConnected());
    EXPECT_TRUE(m_prompt.seen.isEmpty());
}

TEST_F(ConnectionTest, AForcedReleaseClosesWhateverTheCount)
{
    StoreString(NewFile());
    CDBConnection conn;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(conn.Connect(false));
    EXPECT_TRUE(conn.ReleaseConnection(true));
    EXPECT_FALSE(conn.IsConnected());
    EXPECT_EQ(conn.UseCount(), 0);
}

TEST_F(ConnectionTest, NoStoredStringAsksAndStoresTheChoice)
{
    const QString chosen = NewFile();
    m_prompt.answers << chosen;
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    EXPECT_EQ(m_prompt.seen, QStringList{QString()});
    EXPECT_EQ(StoredString(), chosen);
    EXPECT_EQ(conn.ProviderKind(), kProviderSqlite);
}

TEST_F(ConnectionTest, ConnectingToTheStoredDatabaseLeavesTheProfileUnwritten)
{
    StoreString(NewFile());
    // A rewrite of the profile would drop the comment.
    const QString file = CProfileStore().fileName();
    {
        QFile profile(file);
        ASSERT_TRUE(profile.open(QIODevice::Append));
        profile.write("; kept\n");
    }
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    conn.ReleaseConnection(true);
    ASSERT_TRUE(conn.Connect(false));
    QFile profile(file);
    ASSERT_TRUE(profile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(profile.readAll().contains("; kept"));
}

TEST_F(ConnectionTest, CancellingTheFirstPromptConnectsNothingAndSaysNothing)
{
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    EXPECT_FALSE(conn.IsConnected());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

TEST_F(ConnectionTest, ForcedConnectCancelledKeepsTheStoredString)
{
    const QString stored = NewFile();
    StoreString(stored);
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(true));
    EXPECT_EQ(m_prompt.seen, QStringList{stored});
    EXPECT_EQ(conn.ConnectionString(), stored);
}

TEST_F(ConnectionTest, AMissingFileIsNamedAndNeverCreated)
{
    const QString missing = TestEnv::TestDir() + QStringLiteral("/missing.db");
    StoreString(CConnectionString::SqliteString(missing));
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    ASSERT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_TRUE(CRecordingMessages::Current().Last().contains(missing));
    EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
        QStringLiteral("Unable to connect to database")));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(conn.IsConnected());
}

TEST_F(ConnectionTest, AFileThatIsNoDatabaseIsRefusedAndLeftAlone)
{
    const QString path = TestEnv::TestDir() + QStringLiteral("/notes.db");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray content(4096, 'z');
    file.write(content);
    file.close();
    const QStringList before = QSqlDatabase::connectionNames();
    StoreString(CConnectionString::SqliteString(path));
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    EXPECT_TRUE(conn.LastOpenError().contains(QStringLiteral("not a database")));
    EXPECT_EQ(QSqlDatabase::connectionNames(), before); // nothing left open
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), content);
}

TEST_F(ConnectionTest, APipeOrADeviceIsNoDatabaseFile)
{
    const QString pipe = TestEnv::TestDir() + QStringLiteral("/pipe.db");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = TestEnv::TestDir() + QStringLiteral("/zero.db");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {pipe, zero}) {
        StoreString(CConnectionString::SqliteString(path));
        CDBConnection conn;
        EXPECT_FALSE(conn.Connect(false));
        EXPECT_EQ(conn.LastOpenError(), QStringLiteral("%1 is not a database file.").arg(path));
    }
}

TEST_F(ConnectionTest, RetryAsksAgainFromWhatFailed)
{
    const QString bad =
        CConnectionString::SqliteString(TestEnv::TestDir() + QStringLiteral("/x.db"));
    const QString good = NewFile();
    StoreString(bad);
    CRecordingMessages::Current().Answer(kIdRetry);
    m_prompt.answers << good;
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    EXPECT_EQ(m_prompt.seen, QStringList{bad});
    EXPECT_EQ(StoredString(), good);
}

TEST_F(ConnectionTest, AFailedForcedSwitchKeepsTheOpenDatabase)
{
    const QString first = NewFile();
    StoreString(first);
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    m_prompt.answers << CConnectionString::SqliteString(TestEnv::TestDir() +
                                                        QStringLiteral("/none.db"));
    EXPECT_FALSE(conn.Connect(true));
    EXPECT_TRUE(conn.IsConnected());
    EXPECT_EQ(conn.ConnectionString(), first);
    EXPECT_EQ(StoredString(), first);
    CQueryResult r;
    EXPECT_TRUE(CSqlExecutor::RunNative(conn, QStringLiteral("SELECT 1"), {}, &r, nullptr));
}

TEST_F(ConnectionTest, TheMessageShowsPercentSignsAndHidesThePassword)
{
    StoreString(QStringLiteral(
        "Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=a%1%s;User ID=u;Password=secret"));
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    const QString text = CRecordingMessages::Current().Last();
    EXPECT_TRUE(text.contains(QStringLiteral("Database=a%1%s"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("secret")));
}

TEST_F(ConnectionTest, AnUnknownProviderIsAnError)
{
    StoreString(QStringLiteral("Provider=postgresql;Host=x"));
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    EXPECT_EQ(conn.ProviderKind(), kProviderUnknown);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
}

TEST_F(ConnectionTest, AMissingServerDatabaseIsReportedNotHung)
{
    if (!TestDatabases::PostgresConfigured())
        GTEST_SKIP() << "no test PostgreSQL server";
    StoreString(TestDatabases::PostgresConnectionString(QStringLiteral("no_such_database_here")));
    CDBConnection conn;
    EXPECT_FALSE(conn.Connect(false));
    EXPECT_TRUE(conn.LastOpenError().contains(QStringLiteral("no_such_database_here")));
}

TEST_F(ConnectionTest, AWrongPasswordIsReportedAndRetryCanFixIt)
{
    if (!TestDatabases::PostgresConfigured())
        GTEST_SKIP() << "no test PostgreSQL server";
    QString error;
    TestDatabases::AdminExec(QStringLiteral("DROP ROLE IF EXISTS kelvane_pw"), &error);
    ASSERT_TRUE(TestDatabases::AdminExec(
        QStringLiteral("CREATE ROLE kelvane_pw LOGIN PASSWORD 'right'"), &error))
        << error.toStdString();
    CConnectionString cs(TestDatabases::PostgresConnectionString(QStringLiteral("postgres")));
    cs.Set(QStringLiteral("User ID"), QStringLiteral("kelvane_pw"));
    cs.Set(QStringLiteral("Password"), QStringLiteral("Wr0ngSecret"));
    StoreString(cs.ToString());
    CRecordingMessages::Current().Answer(kIdRetry);
    cs.Set(QStringLiteral("Password"), QStringLiteral("right"));
    m_prompt.answers << cs.ToString();
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    const QString message = CRecordingMessages::Current().Texts().value(0);
    // In the user's words, never the driver's, and without the password.
    EXPECT_TRUE(message.contains(QStringLiteral("refused the user name or password")))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("authentication failed")));
    EXPECT_FALSE(message.contains(QStringLiteral("Wr0ngSecret")));
    conn.ReleaseConnection(true);
}

TEST_F(ConnectionTest, ServerConnectionsOpenAndCount)
{
    if (!TestDatabases::PostgresConfigured())
        GTEST_SKIP() << "no test PostgreSQL server";
    StoreString(TestDatabases::NewPostgresDatabase(QStringLiteral("connection")));
    CDBConnection conn;
    ASSERT_TRUE(conn.Connect(false));
    EXPECT_EQ(conn.ProviderKind(), kProviderPostgres);
    ASSERT_TRUE(conn.Connect(false));
    conn.ReleaseConnection(false);
    EXPECT_TRUE(conn.IsConnected());
    conn.ReleaseConnection(false);
    EXPECT_FALSE(conn.IsConnected());
}
