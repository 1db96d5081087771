#include "app/FirstStart.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"
#include "platform/ProfileStore.h"
#include "tests/support/Faults.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

// The start when things go wrong: servers down, locked or hung, databases
// that are not Kelvane's or are newer than the program, a profile left
// locked, a first start killed half way or stopped by a full disk.

namespace {

CRecordingMessages& Messages()
{
    return CRecordingMessages::Current();
}

// A complete database with one employee (Ann, no password), not yet stored.
QString MakeDatabase(const QString& cs)
{
    CDBConnection conn;
    conn.UseConnectionString(cs);
    EXPECT_TRUE(conn.Connect(false)) << conn.LastOpenError().toStdString();
    QString error;
    EXPECT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
    CSqlExecutor::RunNative(conn,
                            QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, "
                                           "NTUserName, DeptID, IsCurrent) VALUES (1, 'Ann', "
                                           "'ann', 1, 1)"),
                            {}, nullptr, nullptr);
    conn.ReleaseConnection(true);
    return cs;
}

QString MakeSqliteDatabase(const QString& name = QStringLiteral("k.db"))
{
    return MakeDatabase(TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), name));
}

void RunSql(const QString& cs, const QString& sql)
{
    CDBConnection conn;
    conn.UseConnectionString(cs);
    ASSERT_TRUE(conn.Connect(false));
    CDbError error;
    ASSERT_TRUE(CSqlExecutor::RunNative(conn, sql, {}, nullptr, &error))
        << error.description.toStdString();
}

bool NeedsServer()
{
    if (TestDatabases::PostgresConfigured())
        return true;
    if (TestDatabases::PostgresRequired())
        ADD_FAILURE() << "the test PostgreSQL server is required but not configured";
    return false;
}

QString FirstStartFile()
{
    return CFirstStart::DatabaseFile();
}

// A start on a database another session holds: within the wait limits it
// says what holds it, and Cancel closes.
void ExpectBusyStart(const QString& cs, const QString& holder)
{
    CProfile::SetDefDatabaseName(cs);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    CKelvaneApp app;
    Messages().Answer(kIdCancel);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(app.Start());
    EXPECT_LT(timer.elapsed(), 12000);
    const QStringList texts = Messages().Texts();
    ASSERT_EQ(texts.size(), 2) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.at(0).contains(holder)) << texts.at(0).toStdString();
    EXPECT_EQ(texts.at(1), QStringLiteral("Closing application"));
}

} // namespace

TEST(KelvaneAppStart, ACancelledChoiceKeepsTheStoredDatabaseAndMakesNoNewOne)
{
    const QString down = Faults::DownServerConnectionString();
    CProfile::SetDefDatabaseName(down);
    CScriptedPrompt prompt; // the chooser is cancelled
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        Messages().Clear();
        CKelvaneApp app;
        Messages().Answer(kIdCancel); // the failed open's Retry/Cancel
        Messages().Answer(kIdYes);    // try another?
        EXPECT_FALSE(app.Start());
        const QStringList texts = Messages().Texts();
        ASSERT_EQ(texts.size(), 3) << texts.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(texts.at(0).startsWith(QStringLiteral("Unable to connect to database")));
        EXPECT_EQ(texts.at(1),
                  QStringLiteral("Error connecting to database, would you like to try another?"));
        EXPECT_EQ(texts.at(2), QStringLiteral("Closing application"));
        // The chooser started from the stored database, which is still stored.
        ASSERT_EQ(prompt.seen.size(), start);
        EXPECT_EQ(prompt.seen.last(), down);
        EXPECT_EQ(CProfile::DefDatabaseName(), down);
        // Never a private embedded database in place of the company's.
        EXPECT_FALSE(QFileInfo::exists(FirstStartFile()));
    }
}

TEST(KelvaneAppStart, AnotherDatabaseReplacesTheStoredOneOnlyOnceItIsOpen)
{
    const QString down = Faults::DownServerConnectionString();
    CProfile::SetDefDatabaseName(down);
    const QString good = MakeSqliteDatabase();
    CScriptedPrompt prompt;
    prompt.Then(CConnectionString::SqliteString(TestEnv::TestDir() + QStringLiteral("/no.db")));
    prompt.Then(good);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    CKelvaneApp app;
    Messages().Answer(kIdCancel); // the server's failed open
    Messages().Answer(kIdYes);    // try another
    Messages().Answer(kIdRetry);  // the missing file: choose again
    ASSERT_TRUE(app.Start()) << Messages().Last().toStdString();
    EXPECT_EQ(prompt.seen.size(), 2);
    EXPECT_EQ(CProfile::DefDatabaseName(), good);
}

TEST(KelvaneAppStart, AChosenDatabaseThatCannotBeUsedDoesNotReplaceTheStoredOne)
{
    const QString down = Faults::DownServerConnectionString();
    CProfile::SetDefDatabaseName(down);
    const QString empty =
        TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), QStringLiteral("empty.db"));
    CScriptedPrompt prompt;
    prompt.Then(empty); // opens, but holds no Kelvane tables
    CKelvaneApp app;
    Messages().Answer(kIdCancel); // the server's failed open
    Messages().Answer(kIdYes);    // try another
    Messages().Answer(kIdNo);     // not a Kelvane database: no other
    EXPECT_FALSE(app.Start());
    EXPECT_TRUE(Messages().Texts().at(2).contains(QStringLiteral("is not a Kelvane database")));
    EXPECT_EQ(CProfile::DefDatabaseName(), down);
}

TEST(KelvaneAppStart, TheVersionQuestionKeepsTheStoredDatabaseUntilAnotherIsOpen)
{
    const QString cs = MakeSqliteDatabase();
    RunSql(cs, QStringLiteral("UPDATE ztlkpDbInfo SET dbVersion = 2.19"));
    CProfile::SetDefDatabaseName(cs);
    CScriptedPrompt prompt; // cancelled
    CKelvaneApp app;
    Messages().Answer(kIdYes); // choose another database
    EXPECT_FALSE(app.Start());
    EXPECT_TRUE(Messages().Texts().first().contains(QStringLiteral("(2.19)")));
    EXPECT_EQ(Messages().Last(), QStringLiteral("Closing application"));
    EXPECT_EQ(CProfile::DefDatabaseName(), cs);
    EXPECT_FALSE(QFileInfo::exists(FirstStartFile()));
}

TEST(KelvaneAppStart, ADatabaseNewerThanTheProgramIsRefused)
{
    const QString cs = MakeSqliteDatabase();
    CProfile::SetDefDatabaseName(cs);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    const QString newer[] = {
        QStringLiteral("UPDATE ztlkpDbInfo SET KelvaneMinVersion = 230"), // needs a later program
        QStringLiteral("UPDATE ztlkpDbInfo SET KelvaneMinVersion = NULL, dbVersion = 3.0"),
    };
    for (const QString& change : newer) {
        SCOPED_TRACE(change.toStdString());
        RunSql(cs, change);
        Messages().Clear();
        CKelvaneApp app;
        Messages().Answer(kIdNo); // no other database
        EXPECT_FALSE(app.Start());
        const QStringList texts = Messages().Texts();
        ASSERT_EQ(texts.size(), 2);
        EXPECT_TRUE(texts.at(0).startsWith(QStringLiteral("Your version of Kelvane Client (2.2.00) "
                                                          "\nis not compatible")))
            << texts.at(0).toStdString();
        EXPECT_EQ(texts.at(1), QStringLiteral("Closing application"));
        EXPECT_EQ(CProfile::DefDatabaseName(), cs);
    }
}

TEST(KelvaneAppStart, AFileWithoutTheTablesGetsOneClearMessageNamingIt)
{
    const QString empty = TestEnv::TestDir() + QStringLiteral("/empty.db");
    QFile(empty).open(QIODevice::WriteOnly); // zero bytes
    const QString foreign = TestEnv::TestDir() + QStringLiteral("/foreign.db");
    QString error;
    ASSERT_TRUE(CreateSqliteDatabaseFile(foreign, &error));
    RunSql(CConnectionString::SqliteString(foreign),
           QStringLiteral("CREATE TABLE recipes (name TEXT)"));
    for (const QString& file : {empty, foreign}) {
        SCOPED_TRACE(file.toStdString());
        CProfile::SetDefDatabaseName(CConnectionString::SqliteString(file));
        Messages().Clear();
        CKelvaneApp app;
        Messages().Answer(kIdNo); // no other database
        EXPECT_FALSE(app.Start());
        const QStringList texts = Messages().Texts();
        ASSERT_EQ(texts.size(), 2) << texts.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(texts.at(0), QStringLiteral("%1 is not a Kelvane database: it holds none of "
                                              "Kelvane's tables.\n\nWould you like to try "
                                              "another?")
                                   .arg(file));
        EXPECT_EQ(texts.at(1), QStringLiteral("Closing application"));
    }
    // A file that lacks only some of them is named with what it lacks.
    const QString cs = MakeSqliteDatabase();
    RunSql(cs, QStringLiteral("DROP TABLE tblProperty"));
    CProfile::SetDefDatabaseName(cs);
    Messages().Clear();
    CKelvaneApp app;
    EXPECT_FALSE(app.Start());
    EXPECT_TRUE(Messages().Texts().first().contains(QStringLiteral("it has no tblProperty table")))
        << Messages().Texts().first().toStdString();
}

TEST(KelvaneAppStart, ADatabaseLackingSomeTablesNamesEachAndStopsOnBothBackEnds)
{
    QStringList databases{MakeSqliteDatabase(QStringLiteral("partial.db"))};
    if (NeedsServer())
        databases << MakeDatabase(TestDatabases::NewPostgresDatabase(QStringLiteral("partial")));
    for (const QString& cs : databases) {
        SCOPED_TRACE(cs.toStdString());
        // The views over them go too, as they would with the tables.
        const bool server = cs.contains(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive);
        RunSql(cs, QStringLiteral("DROP TABLE tblTimeSheet%1").arg(server ? " CASCADE" : ""));
        RunSql(cs, QStringLiteral("DROP TABLE tblProjectComment%1").arg(server ? " CASCADE" : ""));
        CProfile::SetDefDatabaseName(cs);
        CProfile::SetDefUserName(QStringLiteral("Ann"));
        Messages().Clear();
        CKelvaneApp app;
        Messages().Answer(kIdNo); // no other database
        EXPECT_FALSE(app.Start());
        const QStringList texts = Messages().Texts();
        ASSERT_EQ(texts.size(), 2) << texts.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(texts.at(0).contains(QStringLiteral("is not a Kelvane database: it has no ")))
            << texts.at(0).toStdString();
        for (const char* table : {"tblTimeSheet", "tblProjectComment"})
            EXPECT_TRUE(texts.at(0).contains(QLatin1String(table))) << texts.at(0).toStdString();
        EXPECT_TRUE(texts.at(0).contains(QStringLiteral(" tables.")));
        EXPECT_EQ(texts.at(1), QStringLiteral("Closing application"));
        EXPECT_EQ(CProfile::DefDatabaseName(), cs);
    }
}

TEST(KelvaneAppStart, AnEmptyStoredSettingIsNoFirstStart)
{
    // What older versions left after "try another?": a setting, but empty.
    CProfile::SetDefDatabaseName(QString());
    CScriptedPrompt prompt;
    CKelvaneApp app;
    EXPECT_FALSE(app.Start());
    EXPECT_EQ(prompt.seen.size(), 1);
    EXPECT_EQ(Messages().Texts(), QStringList{QStringLiteral("Closing application")});
    EXPECT_FALSE(QFileInfo::exists(FirstStartFile()));
}

TEST(KelvaneAppStart, AServerSessionHoldingALockIsNamedInsteadOfHanging)
{
    if (!NeedsServer())
        GTEST_SKIP() << "no test PostgreSQL server";
    const QString cs = MakeDatabase(TestDatabases::NewPostgresDatabase(QStringLiteral("locked")));
    CLockHolder holder(cs, QStringLiteral("tblProperty"));
    ASSERT_TRUE(holder.Holding());
    ExpectBusyStart(cs, QStringLiteral("does not answer: table tblproperty is locked by session"));

    // Retry goes on once the other session has finished.
    Messages().Clear();
    holder.ReleaseAfter(6000);
    CKelvaneApp app;
    Messages().Answer(kIdRetry);
    ASSERT_TRUE(app.Start()) << Messages().Last().toStdString();
    EXPECT_EQ(Messages().Count(), 1);
    // The limits were for the start only.
    CQueryResult rows;
    ASSERT_TRUE(app.Facade()->EnsureConnected());
    ASSERT_TRUE(CSqlExecutor::RunNative(*app.Facade()->Connection(),
                                        QStringLiteral("SELECT current_setting('lock_timeout')"),
                                        {}, &rows, nullptr));
    EXPECT_EQ(rows.Value(0, 0).toString(), QStringLiteral("0"));
}

TEST(KelvaneAppStart, AFileHeldByAnotherProgramIsNamedInsteadOfWaitedFor)
{
    const QString cs = MakeSqliteDatabase();
    CLockHolder holder(cs, QStringLiteral("tblProperty"));
    ASSERT_TRUE(holder.Holding());
    ExpectBusyStart(cs, QStringLiteral("the file is locked by process %1").arg(holder.Pid()));
}

TEST(KelvaneAppStart, AHungServerIsGivenUpAfterTheConnectTimeout)
{
    CSilentServer server;
    CProfile::SetDefDatabaseName(server.ConnectionString());
    CKelvaneApp app;
    Messages().Answer(kIdCancel);
    Messages().Answer(kIdNo);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(app.Start());
    EXPECT_LT(timer.elapsed(), 12000);
    EXPECT_TRUE(Messages().Texts().first().contains(QStringLiteral("does not answer")))
        << Messages().Texts().first().toStdString();
}

TEST(KelvaneAppStart, AStaleProfileLockDoesNotDelayTheStart)
{
    const QString cs = MakeSqliteDatabase();
    CProfile::SetDefDatabaseName(cs);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    // Left by a process killed while it took the lock, just before this start.
    const QString lock = CProfileStore().fileName() + QStringLiteral(".lock");
    ASSERT_TRUE(QFile(lock).open(QIODevice::WriteOnly));
    QElapsedTimer timer;
    timer.start();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    CProfile::SetDefDirectory(QStringLiteral("/tmp")); // a write, as the start's own
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(Messages().Count(), 0);
}

// ---- The first start ----------------------------------------------------------------------

TEST(KelvaneAppStart, AFirstStartKilledAtAnyStepLeavesNoHalfDatabase)
{
    for (const char* point :
         {"FirstStart:created", "FirstStart:rows", "FirstStart:built", "FirstStart:placed"}) {
        SCOPED_TRACE(point);
        QString why;
        ASSERT_TRUE(Faults::RunKilledAt(
            point,
            [] {
                CKelvaneApp app;
                app.Start();
            },
            &why))
            << why.toStdString();
        // Either no database or a complete one; the next start carries on.
        if (QFileInfo::exists(FirstStartFile())) {
            CDBConnection conn;
            conn.UseConnectionString(CConnectionString::SqliteString(FirstStartFile()));
            ASSERT_TRUE(conn.Connect(false));
            EXPECT_TRUE(CSchema::Missing(conn).isEmpty());
        }
        Messages().Clear();
        {
            CKelvaneApp app;
            ASSERT_TRUE(app.Start()) << Messages().Last().toStdString();
            EXPECT_EQ(Messages().Count(), 0) << Messages().Last().toStdString();
            EXPECT_EQ(app.Facade()->GetProjIdByName(QStringLiteral("General")), 1);
            EXPECT_GE(app.GetCurrentEmpId(), 1);
        }
        // Nothing of the killed start is left beside the database.
        const QStringList beside = QDir(QFileInfo(FirstStartFile()).absolutePath())
                                       .entryList(QDir::Files | QDir::NoDotAndDotDot);
        EXPECT_EQ(beside, QStringList{QStringLiteral("kelvane.db")});
        // Start again from nothing for the next point.
        for (const QString& name : beside)
            QFile::remove(QFileInfo(FirstStartFile()).absoluteDir().filePath(name));
        CProfileStore().remove(QStringLiteral("DB/DefDatabaseName"));
        CProfile::SetDefUserName(QString());
    }
}

TEST(KelvaneAppStart, AFirstStartOnAFullDiskSaysSoAndTheNextOneWorks)
{
    {
        CKelvaneApp app;
        CDiskFull full(16 * 1024);
        EXPECT_FALSE(app.Start());
    }
    ASSERT_EQ(Messages().Count(), 1) << Messages().Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(Messages().Last().startsWith(
        QStringLiteral("Cannot create the database %1").arg(FirstStartFile())))
        << Messages().Last().toStdString();
    EXPECT_FALSE(QFileInfo::exists(FirstStartFile()));
    EXPECT_TRUE(QDir(QFileInfo(FirstStartFile()).absolutePath())
                    .entryList(QDir::Files | QDir::NoDotAndDotDot)
                    .isEmpty());
    EXPECT_FALSE(CProfile::DatabaseNamed());
    Messages().Clear();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(Messages().Count(), 0) << Messages().Last().toStdString();
}
