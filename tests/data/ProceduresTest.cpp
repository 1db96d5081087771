#include "data/Schema.h"
#include "data/records/TimeSheetSet.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

// The server's stored procedures, and the same writes through the record
// classes on a database file: the rows must come out the same.
class ProceduresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestDatabases::PostgresConfigured()) {
            if (TestDatabases::PostgresRequired())
                FAIL() << "the test PostgreSQL server is required but not configured";
            GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
        }
        m_pg.UseConnectionString(TestDatabases::NewPostgresDatabase(QStringLiteral("procedures")));
        m_file.UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
        ASSERT_TRUE(m_pg.Connect(false));
        ASSERT_TRUE(m_file.Connect(false));
        QString error;
        ASSERT_TRUE(CSchema::Create(m_pg, &error)) << error.toStdString();
        ASSERT_TRUE(CSchema::Create(m_file, &error)) << error.toStdString();
    }
    void TearDown() override
    {
        m_pg.ReleaseConnection(true);
        m_file.ReleaseConnection(true);
    }

    // EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked, TaskID, Comment,
    // InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID, ObjectID
    static QVariantList Entry(int timeId, int start, int stop, const QString& comment)
    {
        const CDateTime day(2026, 12, 8);
        return {4,
                5,
                6,
                QVariant::fromValue(day),
                QVariant::fromValue(day.AddSecs(start * 60)),
                QVariant::fromValue(day.AddSecs(stop * 60)),
                (stop - start) / 60.0,
                7,
                comment,
                12.3456,
                2,
                timeId,
                QVariant(),
                40,
                99};
    }
    CQueryResult Call(const QString& name, const QVariantList& args)
    {
        CQueryResult r;
        CDbError error;
        EXPECT_TRUE(CSqlExecutor::RunNative(
            m_pg, m_pg.Dialect().ProcedureCall(name, static_cast<int>(args.size())), args, &r,
            &error))
            << error.description.toStdString();
        return r;
    }
    static void FillRecord(CTimeSheetSet& set, const QVariantList& e)
    {
        set.m_EmpID = e[0].toInt();
        set.m_ProjID = e[1].toInt();
        set.m_OrderID = e[2].toInt();
        set.m_WorkDate = e[3].value<CDateTime>();
        set.m_StartTime = e[4].value<CDateTime>();
        set.m_StopTime = e[5].value<CDateTime>();
        set.m_HoursWorked = e[6].toFloat();
        set.m_TaskID = e[7].toInt();
        set.m_Comment = e[8].toString();
        set.m_InvCost = e[9].toDouble();
        set.m_WorkTypeID = e[10].toInt();
        set.m_TimeID = e[11].toInt();
        set.Descriptor(13).status = adFldNull; // InvID
        set.m_InvID = 0;
        set.m_ObjectTypeID = e[13].toInt();
        set.m_ObjectID = e[14].toInt();
    }
    static QVariantList Row(CDBConnection& conn, int timeId)
    {
        CTimeSheetSet set(&conn);
        EXPECT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[TimeID] = %1").arg(timeId),
                                           QString()));
        QVariantList values;
        for (int i = 1; i < set.ColumnCount(); ++i)
            values << set.BufferValue(i);
        return values;
    }

    CDBConnection m_pg;
    CDBConnection m_file;
};

TEST_F(ProceduresTest, InsertAndUpdateGiveTheRowsOfTheRecordPath)
{
    const QVariantList first = Entry(3, 540, 600, QStringLiteral("It's \"done\" — 50%"));
    const CQueryResult inserted = Call(QStringLiteral("sp_TimeSheetInsert"), first);
    ASSERT_EQ(inserted.rows, 1);
    EXPECT_GT(inserted.Value(0, 0).toInt(), 0); // the new TimesheetID
    EXPECT_EQ(inserted.Value(0, 1).toInt(), 0);

    CTimeSheetSet set(&m_file);
    set.ClearFields();
    set.ClearStatus();
    FillRecord(set, first);
    ASSERT_TRUE(set.Recordset()->CheckAddNew());
    EXPECT_EQ(Row(m_pg, 3), Row(m_file, 3));

    const QVariantList changed = Entry(3, 480, 615, QStringLiteral("changed"));
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetUpdate"), changed).Value(0, 1).toInt(), 0);
    CTimeSheetSet update(&m_file);
    ASSERT_TRUE(update.OpenTableWithQuery(nullptr, QStringLiteral("[TimeID] = 3"), QString()));
    FillRecord(update, changed);
    ASSERT_TRUE(update.Update());
    EXPECT_EQ(Row(m_pg, 3), Row(m_file, 3));
}

TEST_F(ProceduresTest, OverlapsDuplicatesAndVanishedRowsAreRefused)
{
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetInsert"), Entry(1, 540, 600, QString()))
                  .Value(0, 1)
                  .toInt(),
              0);
    // Adjacent blocks are fine; an overlapping or enclosing one is refused.
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetInsert"), Entry(2, 600, 660, QString()))
                  .Value(0, 1)
                  .toInt(),
              0);
    const CQueryResult overlap =
        Call(QStringLiteral("sp_TimeSheetInsert"), Entry(3, 590, 610, QString()));
    EXPECT_EQ(overlap.Value(0, 1).toInt(), 1);
    EXPECT_FALSE(overlap.Value(0, 2).toString().isEmpty());
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetInsert"), Entry(3, 500, 700, QString()))
                  .Value(0, 1)
                  .toInt(),
              1);
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetInsert"), Entry(1, 700, 720, QString()))
                  .Value(0, 1)
                  .toInt(),
              2);
    // An update may overlap its own old times, not another block's.
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetUpdate"), Entry(1, 530, 590, QString()))
                  .Value(0, 1)
                  .toInt(),
              0);
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetUpdate"), Entry(1, 530, 610, QString()))
                  .Value(0, 1)
                  .toInt(),
              1);
    EXPECT_EQ(Call(QStringLiteral("sp_TimeSheetUpdate"), Entry(9, 800, 810, QString()))
                  .Value(0, 1)
                  .toInt(),
              3);
    EXPECT_EQ(Row(m_pg, 1).at(4), QVariant::fromValue(CDateTime(2026, 12, 8, 8, 50)));
}

TEST_F(ProceduresTest, DeleteAndProjectTotals)
{
    Call(QStringLiteral("sp_TimeSheetInsert"), Entry(1, 540, 600, QString()));
    Call(QStringLiteral("sp_TimeSheetInsert"), Entry(2, 600, 690, QString()));
    CDbError error;
    ASSERT_TRUE(CSqlExecutor::RunNative(
        m_pg,
        QStringLiteral("INSERT INTO tblProjectTask (TaskID, ProjID, ActHours) VALUES "
                       "(7, 5, 0), (8, 5, 3), (9, 6, 4)"),
        {}, nullptr, &error));
    EXPECT_EQ(Call(QStringLiteral("up_adminBuildProjectTotals"), {5}).Value(0, 0).toInt(), 2);
    CQueryResult r;
    ASSERT_TRUE(CSqlExecutor::RunNative(
        m_pg, QStringLiteral("SELECT TaskID, ActHours FROM tblProjectTask ORDER BY TaskID"), {}, &r,
        nullptr));
    EXPECT_DOUBLE_EQ(r.Value(0, 1).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(r.Value(1, 1).toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(r.Value(2, 1).toDouble(), 4.0); // another project: untouched
    EXPECT_EQ(Call(QStringLiteral("up_adminBuildProjectTotals"), {QVariant()}).Value(0, 0).toInt(),
              3);

    const int id =
        Call(QStringLiteral("sp_TimeSheetInsert"), Entry(5, 0, 10, QString())).Value(0, 0).toInt();
    EXPECT_EQ(Call(QStringLiteral("sp_TimesheetDelete"), {id}).Value(0, 0).toInt(), 1);
    EXPECT_EQ(Call(QStringLiteral("sp_TimesheetDelete"), {id}).Value(0, 0).toInt(), 0);
}

TEST_F(ProceduresTest, TheOrdersOfTheProjectsAnEmployeeMayBook)
{
    CDbError error;
    ASSERT_TRUE(CSqlExecutor::RunScript(
        m_pg,
        QStringLiteral(
            "INSERT INTO tblFinEmployee (EmpID, EmpFullName) VALUES (1, 'A'), (2, 'B');"
            "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (1, 'open', 0), (2, "
            "'team', 1);"
            "INSERT INTO tblProjectTeam VALUES (2, 2);"
            "INSERT INTO tblProjectOrderBook (OrderCode, ProjID, IsDefault, OrderHourRate) VALUES "
            "('O1', 1, 1, 85.5), ('O2', 2, 0, 90)"),
        &error))
        << error.description.toStdString();
    EXPECT_EQ(Call(QStringLiteral("sp_projectTaskOrdersGetByEmpID"), {1}).rows, 1);
    const CQueryResult both = Call(QStringLiteral("sp_projectTaskOrdersGetByEmpID"), {2});
    ASSERT_EQ(both.rows, 2);
    EXPECT_EQ(both.Value(0, 0).toString(), QStringLiteral("O1"));
    EXPECT_EQ(both.Value(0, 2).toInt(), 1);
    EXPECT_DOUBLE_EQ(both.Value(0, 3).toDouble(), 85.5);
}
