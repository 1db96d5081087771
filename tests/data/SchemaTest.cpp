#include "data/Schema.h"
#include "data/DBClass.h"
#include "tests/support/TestDatabases.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <utility>

class SchemaTest : public DbTest {};

namespace {

// The create tool run by the login `user`: its exit code and what it wrote
// to the error output.
std::pair<int, QString> RunCreateTool(const QString& connectionString, const QString& user)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USER"), user);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(KELVANE_CREATEDB), {connectionString});
    EXPECT_TRUE(tool.waitForFinished(60000));
    return std::make_pair(tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardError()));
}

} // namespace

TEST(SchemaScripts, AStatementOfOneBackEndIsMadeOnlyThere)
{
    for (const int kind : {kProviderSqlite, kProviderPostgres}) {
        const QString views = CSchema::Script(QStringLiteral("views"), kind);
        EXPECT_EQ(views.count(QStringLiteral("CREATE VIEW qselTimeByProjectTaskByDay")), 1);
        EXPECT_FALSE(views.contains(QLatin1Char('@'))) << kind;
    }
    EXPECT_EQ(CSchema::ViewNames().count(QStringLiteral("qselTimeByProjectTaskByDay")), 1);
    EXPECT_TRUE(CSchema::Expand(QStringLiteral("@postgres CREATE VIEW a AS SELECT 1;\n"
                                               "@sqlite CREATE VIEW b AS SELECT 2;"),
                                kProviderSqlite)
                    .trimmed() == QStringLiteral("CREATE VIEW b AS SELECT 2;"));
}

TEST_P(SchemaTest, CreatesEverythingOnceAndNeverTwice)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    EXPECT_EQ(CSchema::Missing(m_conn), QStringList());
    EXPECT_GE(CSchema::TableNames().size(), 22);

    // A second run changes nothing and says what is in the way.
    Exec(QStringLiteral("INSERT INTO tblProperty (PropertyName, intValue) VALUES ('marker', 1)"));
    EXPECT_FALSE(CSchema::Create(m_conn, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("tblTimeSheet"))) << error.toStdString();
    EXPECT_EQ(
        Query(QStringLiteral("SELECT intValue FROM tblProperty WHERE PropertyName = 'marker'"))
            .Value(0, 0)
            .toInt(),
        1);
}

TEST_P(SchemaTest, MissingObjectsAreNamed)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    Exec(QStringLiteral("DROP VIEW qselchgreqlist"));
    EXPECT_EQ(CSchema::Missing(m_conn), QStringList{QStringLiteral("qselchgreqlist")});
}

TEST_P(SchemaTest, AnUpdateAddsIndexesAndQueriesAndKeepsTheRows)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    // A database of an earlier version: no date index, the review's old
    // saved query.
    Exec(QStringLiteral("DROP INDEX ix_TimeSheet_WorkDate"));
    Exec(QStringLiteral("DROP VIEW qselTimeByProjectTaskByDay"));
    Exec(QStringLiteral("CREATE VIEW qselTimeByProjectTaskByDay AS SELECT 1 AS old"));
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, TimeID, HoursWorked) VALUES "
                        "(1, '2026-12-08 00:00:00', 1, 2)"));
    ASSERT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
    const QString indexSql =
        IsPostgres() ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname = "
                                      "'ix_timesheet_workdate'")
                     : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' "
                                      "AND name = 'ix_TimeSheet_WorkDate'");
    EXPECT_EQ(Query(indexSql).Value(0, 0).toInt(), 1);
    const CQueryResult review =
        Query(QStringLiteral("SELECT EmpID, SumOfHoursWorked FROM qselTimeByProjectTaskByDay"));
    ASSERT_EQ(review.rows, 1);
    EXPECT_DOUBLE_EQ(review.Value(0, 1).toDouble(), 2.0);
    EXPECT_EQ(CSchema::Missing(m_conn), QStringList());
    // Twice is harmless.
    EXPECT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
}

TEST_P(SchemaTest, AnUpdateBringsTheServerFunctionsUpToDate)
{
    if (!IsPostgres())
        GTEST_SKIP() << "the file database has no stored procedures";
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    // A server database of an earlier version: no text cleaning for the
    // overview, the task totals summed in single precision.
    Exec(QStringLiteral("DROP FUNCTION tvx_xmlText(text)"));
    Exec(QStringLiteral(
        "CREATE OR REPLACE FUNCTION up_adminBuildProjectTotals(p_ProjID integer DEFAULT NULL) "
        "RETURNS integer LANGUAGE sql AS $$ WITH done AS (UPDATE tblProjectTask k SET ActHours = "
        "COALESCE((SELECT SUM(t.HoursWorked) FROM tblTimeSheet t WHERE t.TaskID = k.TaskID), 0) "
        "RETURNING 1) SELECT count(*)::integer FROM done; $$"));
    Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName) VALUES (7, ?)"),
         {QStringLiteral("Pasted\vname")});
    ASSERT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
    EXPECT_EQ(CSchema::Missing(m_conn), QStringList());
    EXPECT_EQ(Query(QStringLiteral("SELECT CAST(tvx_empSummary(7) AS TEXT)")).Value(0, 0),
              QStringLiteral("<EmpSummary EmpID=\"7\" Name=\"Pastedname\"/>"));
    EXPECT_TRUE(Query(QStringLiteral("SELECT prosrc FROM pg_proc WHERE proname = "
                                     "'up_adminbuildprojecttotals'"))
                    .Value(0, 0)
                    .toString()
                    .contains(QStringLiteral("DOUBLE PRECISION")));
    // Twice is harmless.
    EXPECT_TRUE(CSchema::Update(m_conn, &error)) << error.toStdString();
}

TEST_P(SchemaTest, AnUpdateRefusesADatabaseThatIsNotKelvanes)
{
    Exec(QStringLiteral("CREATE TABLE other (a INTEGER)"));
    QString error;
    EXPECT_FALSE(CSchema::Update(m_conn, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("tblTimeSheet"))) << error.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM other")).Value(0, 0).toInt(), 0);
}

TEST_P(SchemaTest, StartUpInformationReadsTheSeed)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    const CQueryResult r =
        Query(QStringLiteral("SELECT CompanyName, CompanySymbol, requirePwd, minBookingInterval, "
                             "dbVersion FROM qselStartUpInfo"));
    ASSERT_EQ(r.rows, 1);
    EXPECT_EQ(r.Value(0, 3).toInt(), 15);
    EXPECT_FLOAT_EQ(r.Value(0, 4).toFloat(), static_cast<float>(CSchema::kVersion));
}

TEST_P(SchemaTest, BadValuesAreRefusedByTheDatabase)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    CDbError dbError;
    // A flag is 0 or 1, a date is a date, a row key is unique.
    EXPECT_FALSE(CSqlExecutor::RunNative(
        m_conn, QStringLiteral("INSERT INTO tblProject (ProjName, IsInternal) VALUES ('x', 5)"), {},
        nullptr, &dbError));
    EXPECT_FALSE(CSqlExecutor::RunNative(
        m_conn,
        QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, TimeID) VALUES (1, 'soon', 1)"),
        {}, nullptr, &dbError));
    Exec(QStringLiteral(
        "INSERT INTO tblTimeSheet (EmpID, WorkDate, TimeID) VALUES (1, '2026-12-08 00:00:00', 1)"));
    EXPECT_FALSE(
        CSqlExecutor::RunNative(m_conn,
                                QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, TimeID) "
                                               "VALUES (1, '2026-12-08 00:00:00', 1)"),
                                {}, nullptr, &dbError));
    EXPECT_EQ(dbError.code, kE_IntegrityViolation);
}

TEST_P(SchemaTest, NamesCompareIgnoringCase)
{
    QString error;
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
    Exec(QStringLiteral("INSERT INTO tblProject (ProjName) VALUES ('Bridge Works')"));
    EXPECT_EQ(
        Query(QStringLiteral("SELECT count(*) FROM tblProject WHERE ProjName = 'BRIDGE works'"))
            .Value(0, 0)
            .toInt(),
        1);
    // Passwords do not.
    Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpFullName, Pwd) VALUES ('A', 'Secret')"));
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblFinEmployee WHERE Pwd = 'secret'"))
                  .Value(0, 0)
                  .toInt(),
              0);
}

// The create tool leaves a database the person who ran it can sign on to and
// book on: an employee signing on by login name, the quick start and the
// project "General" with its order and task; run again, it refuses and changes nothing.
TEST_P(SchemaTest, TheCreateToolMakesADatabaseThatCanBeBookedOnAtOnce)
{
    const auto runTool = [this] {
        return RunCreateTool(m_connectionString, QStringLiteral("ann.lee"));
    };
    const auto [created, createError] = runTool();
    ASSERT_EQ(created, 0) << createError.toStdString();
    const CQueryResult bookable = Query(QStringLiteral(
        "SELECT e.EmpFullName, t.Task, o.OrderCode FROM qselProjTeamAndProject v "
        "JOIN tblFinEmployee e ON e.EmpID = v.EmpID "
        "JOIN tblProjectTask t ON t.ProjID = v.ProjID "
        "JOIN tblProjectOrderBook o ON o.OrderID = t.OrderID "
        "WHERE e.NTUserName = 'ann.lee' AND e.IsCurrent = 1 AND v.ProjName = 'General'"));
    ASSERT_EQ(bookable.rows, 1);
    EXPECT_FALSE(bookable.Value(0, 0).toString().isEmpty());
    EXPECT_EQ(bookable.Value(0, 1).toString(), QStringLiteral("General"));
    EXPECT_EQ(bookable.Value(0, 2).toString(), QStringLiteral("GEN"));
    // The start-up rows of a first start: sign-on by login name, and the
    // first window after 2 s rather than 10.
    const CQueryResult properties = Query(
        QStringLiteral("SELECT PropertyName, intValue FROM tblProperty "
                       "WHERE PropertyName IN ('requirePwd', 'quickStart') ORDER BY PropertyName"));
    ASSERT_EQ(properties.rows, 2);
    EXPECT_EQ(properties.Value(0, 0).toString(), QStringLiteral("quickStart"));
    EXPECT_EQ(properties.Value(0, 1).toInt(), 1);
    EXPECT_EQ(properties.Value(1, 1).toInt(), 3);
    CDBClass db;
    db.Connection()->UseConnectionString(m_connectionString);
    ASSERT_TRUE(db.Connect());
    EXPECT_EQ(db.StartupInfo().StartupFlag, 1);
    db.ReleaseConnection(true, true);

    const auto [again, againError] = runTool();
    EXPECT_EQ(again, 1);
    EXPECT_TRUE(againError.contains(QStringLiteral("tblTimeSheet"))) << againError.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblFinEmployee")).Value(0, 0).toInt(), 1);
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblProject")).Value(0, 0).toInt(), 1);
}

// A login longer than the logon name's 20 characters is not cut to fit (two
// such logins would sign on as each other): on both back ends the database
// is made, the person is told, and signs on in the logon dialog without a
// password.
TEST_P(SchemaTest, ALoginLongerThanALogonNameIsToldAndSignsOnWithoutAPassword)
{
    const QString login = QStringLiteral("firstname.lastname.example");
    const auto [created, told] = RunCreateTool(m_connectionString, login);
    ASSERT_EQ(created, 0) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("\"%1\" is longer than the 20 characters").arg(login)))
        << told.toStdString();
    const CQueryResult employee =
        Query(QStringLiteral("SELECT EmpID, NTUserName, EmpFullName FROM tblFinEmployee"));
    ASSERT_EQ(employee.rows, 1);
    EXPECT_TRUE(employee.Value(0, 1).isNull());
    CDBClass db;
    db.Connection()->UseConnectionString(m_connectionString);
    ASSERT_TRUE(db.Connect());
    EXPECT_TRUE(db.CheckUserPassword(employee.Value(0, 0).toInt(), QString()));
    ASSERT_TRUE(db.LoadEmployees());
    EXPECT_EQ(db.FindEmpIdByName(login), -1);
    EXPECT_EQ(db.FindEmpIdByName(login.left(20)), -1);
    db.ReleaseConnection(true, true);
}

KELVANE_INSTANTIATE_BACKENDS(SchemaTest);
