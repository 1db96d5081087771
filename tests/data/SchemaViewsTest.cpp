#include "data/DBClass.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "data/records/ClashCountSet.h"
#include "data/records/DbInfoSet.h"
#include "data/records/HoursSumSet.h"
#include "data/records/ProjEmpSet.h"
#include "data/records/ProjSumSet.h"
#include "tests/support/TestDatabases.h"

// What the saved queries return, on both back ends.
class SchemaViewsTest : public KelvaneDbTest {
protected:
    int Count(const QString& sql, const QVariantList& params = {})
    {
        return Query(sql, params).Value(0, 0).toInt();
    }
    QVariant Day(int day, int hour = 0, int minute = 0)
    {
        return QVariant::fromValue(CDateTime(2026, 12, day, hour, minute));
    }
    void Book(int emp, int day, int start, int stop, int timeId)
    {
        Exec(QStringLiteral(
                 "INSERT INTO tblTimeSheet (EmpID, WorkDate, StartTime, StopTime, TimeID) "
                 "VALUES (?, ?, ?, ?, ?)"),
             {emp, Day(day), Day(day, start / 60, start % 60), Day(day, stop / 60, stop % 60),
              timeId});
    }
    // A copy staged by scheduling session `batch`.
    void Stage(int emp, int day, int start, int stop, int batch = 7)
    {
        Exec(QStringLiteral(
                 "INSERT INTO tblTimeSheet_ImportExport (EmpID, WorkDate, StartTime, StopTime, "
                 "TimeID, BatchID) VALUES (?, ?, ?, ?, ?, ?)"),
             {emp, Day(day), Day(day, start / 60, start % 60), Day(day, stop / 60, stop % 60),
              10000 + start, batch});
    }
};

TEST_P(SchemaViewsTest, ProjectsAreOfferedByTeamCheckLeaderAndTeam)
{
    Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, FirstName, EmpFullName) VALUES "
                        "(1, 'Ann', 'Ann A'), (2, 'Bob', 'Bob B'), (3, 'Cy', 'Cy C')"));
    Exec(
        QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader) VALUES "
                       "(10, 'Open', 0, NULL), (11, 'Closed', 1, 1), (12, 'Team', 1, NULL)"));
    Exec(QStringLiteral("INSERT INTO tblProjectTeam (ProjID, EmpID) VALUES (12, 2)"));
    const auto projectsOf = [this](int emp) {
        const CQueryResult r =
            Query(QStringLiteral(
                      "SELECT ProjID FROM qselProjTeamAndProject WHERE EmpID = ? ORDER BY ProjID"),
                  {emp});
        QList<int> ids;
        for (int i = 0; i < r.rows; ++i)
            ids << r.Value(i, 0).toInt();
        return ids;
    };
    EXPECT_EQ(projectsOf(1), (QList<int>{10, 11}));
    EXPECT_EQ(projectsOf(2), (QList<int>{10, 12}));
    EXPECT_EQ(projectsOf(3), (QList<int>{10}));

    CProjEmpSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[ProjID] = 12"),
                                       QStringLiteral("[EmpID]")));
    EXPECT_EQ(set.m_FirstName, QStringLiteral("Bob"));
    EXPECT_EQ(set.Recordset()->RecordCount(), 1);
}

TEST_P(SchemaViewsTest, StagedCopiesClashByTheScheduleRule)
{
    Book(1, 8, 540, 600, 1);  // 09:00-10:00
    Stage(1, 8, 600, 660);    // starts at the booked stop: no clash
    Stage(1, 8, 480, 600);    // stops at the booked stop: clash
    Stage(1, 8, 500, 560);    // booked row ends inside? no; starts before and ends inside
    Stage(1, 8, 480, 540);    // ends at the booked start: no clash
    Stage(1, 9, 540, 600);    // another day
    Stage(2, 8, 540, 600);    // another employee
    Stage(1, 8, 480, 600, 8); // employee 1 in another session: clash
    Stage(1, 10, 480, 600, 8);
    EXPECT_EQ(Count(QStringLiteral(
                  "SELECT count(*) FROM qselTimeSheetClash WHERE EmpID = 1 AND BatchID = 7")),
              2);
    CClashCountSet count(&m_conn);
    ASSERT_TRUE(count.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = 1 AND [BatchID] = 7"),
                                         QString()));
    EXPECT_EQ(count.m_ClashCount, 2);

    // Marking and booking the rest: two copies of employee 1 are booked.
    CQueryResult r;
    ASSERT_TRUE(CSqlExecutor::RunNative(m_conn, m_conn.Dialect().ClashMarkStatement(), {1, 7}, &r,
                                        nullptr));
    EXPECT_EQ(Count(QStringLiteral(
                  "SELECT count(*) FROM tblTimeSheet_ImportExport WHERE IgnoreThis = 1")),
              2);
    ASSERT_TRUE(CSqlExecutor::RunNative(m_conn, m_conn.Dialect().ScheduleImportStatement(), {1, 7},
                                        &r, nullptr));
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM tblTimeSheet WHERE EmpID = 1")), 4);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM tblTimeSheet WHERE EmpID = 2")), 0);
}

TEST_P(SchemaViewsTest, HoursAreSummedPerProjectTaskDayAndEmployee)
{
    Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName) VALUES (1, 'Zeta'), "
                        "(2, 'Alpha'), (3, 'O''Brien')"));
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID) VALUES (10, 'Build', "
                        "1), (11, 'Test', 1), (20, 'Build', 2), (30, 'Talk', 3)"));
    const auto book = [this](int emp, int day, int proj, int task, double hours, int timeId) {
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, ProjID, TaskID, "
                            "HoursWorked, TimeID) VALUES (?, ?, ?, ?, ?, ?)"),
             {emp, Day(day), proj, task, hours, timeId});
    };
    // Booked in no useful order; the rows of a project and task must still
    // come together.
    book(1, 8, 2, 20, 1.0, 1);
    book(1, 8, 1, 10, 0.5, 2);
    book(2, 8, 1, 10, 0.25, 1);
    book(1, 8, 1, 10, 0.25, 3);
    book(1, 9, 1, 11, 2.0, 1);
    book(2, 9, 1, 10, 1.5, 2);
    book(1, 10, 3, 30, 3.0, 1);
    book(1, 20, 1, 10, 4.0, 1);

    const auto review = [this](const QString& filter) {
        CHoursSumSet set(&m_conn);
        set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
        EXPECT_TRUE(set.OpenTableWithQuery(nullptr, filter, QString()));
        QStringList rows;
        for (; !set.Recordset()->IsEOF(); set.MoveNext())
            rows << QStringLiteral("%1/%2/%3/%4/%5")
                        .arg(set.m_ProjName, set.m_Task)
                        .arg(set.m_WorkDate.Date().day())
                        .arg(set.m_EmpID)
                        .arg(set.m_SumOfHoursWorked1);
        return rows;
    };
    const QString from = m_conn.Dialect().DateLiteral(CDateTime(2026, 12, 8), false);
    const QString to = m_conn.Dialect().DateLiteral(CDateTime(2026, 12, 10), false);
    // The four filters of the week review.
    EXPECT_EQ(review(QStringLiteral("[WorkDate] BETWEEN %1 AND %2").arg(from, to)),
              (QStringList{"Zeta/Build/8/1/0.75", "Zeta/Build/8/2/0.25", "Zeta/Build/9/2/1.5",
                           "Zeta/Test/9/1/2", "Alpha/Build/8/1/1", "O'Brien/Talk/10/1/3"}));
    EXPECT_EQ(
        review(QStringLiteral("[EmpID]=%1 AND [WorkDate] BETWEEN %2 AND %3").arg(2).arg(from, to)),
        (QStringList{"Zeta/Build/8/2/0.25", "Zeta/Build/9/2/1.5"}));
    EXPECT_EQ(review(QStringLiteral("[WorkDate] BETWEEN %1 AND %2 AND [ProjName] = '%3'")
                         .arg(from, to, CDBClass::QuoteSql(QStringLiteral("O'Brien")))),
              (QStringList{"O'Brien/Talk/10/1/3"}));
    EXPECT_EQ(review(QStringLiteral("[EmpID]=%1 AND [WorkDate] BETWEEN %2 AND %3 AND [ProjName] "
                                    "= 'Zeta'")
                         .arg(1)
                         .arg(from, to)),
              (QStringList{"Zeta/Build/8/1/0.75", "Zeta/Test/9/1/2"}));
}

TEST_P(SchemaViewsTest, ProjectSummaryCountsPerEmployeeAndForAll)
{
    Exec(QStringLiteral(
        "INSERT INTO tblChgReq (ProjID, EmpID) VALUES (5, 1), (5, 2), (5, 2), (6, 1)"));
    Exec(QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, CommentType) VALUES "
                        "(5, 1, 'ToDo'), (5, 1, 'todo'), (5, 2, 'Info'), (5, 2, 'Done')"));
    const auto summary = [this](int proj, int emp) {
        CProjSumSet set(&m_conn);
        set.ClearStatus();
        set.m_SumChgReq = proj; // the values go in the buffers of the two columns
        EXPECT_TRUE(set.OpenTableWithQuery(
            nullptr, QStringLiteral("[projID] = %1 AND [EmpID] = %2").arg(proj).arg(emp),
            QString()));
        return QList<int>{set.m_SumChgReq, set.m_SumTodo, set.m_SumComment};
    };
    EXPECT_EQ(summary(5, 1), (QList<int>{1, 2, 0}));
    EXPECT_EQ(summary(5, 2), (QList<int>{2, 0, 2}));
    EXPECT_EQ(summary(5, 0), (QList<int>{3, 2, 2}));
}

// Each back end has its own form of the summary: every form lists the rows
// of the grouping over both tables, NULLs, employee 0 and the case of ToDo
// included.
TEST_P(SchemaViewsTest, ProjectSummaryListsTheRowsOfTheGroupingOverBothTables)
{
    Exec(QStringLiteral("INSERT INTO tblChgReq (ProjID, EmpID) VALUES (5, 1), (5, 2), (5, 2), "
                        "(6, 1), (5, NULL), (NULL, 2), (NULL, NULL), (7, 0)"));
    Exec(QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, CommentType) VALUES "
                        "(5, 1, 'ToDo'), (5, 1, 'todo'), (5, 2, 'Info'), (5, 3, NULL), "
                        "(8, 1, 'ToDo'), (NULL, 1, 'Done'), (5, NULL, 'TODO'), (7, 0, 'Info')"));
    const auto rows = [this](const QString& sql) {
        const CQueryResult result = Query(sql);
        QStringList out;
        for (int r = 0; r < result.rows; ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << (result.Value(r, c).isNull() ? QStringLiteral("-")
                                                      : result.Value(r, c).toString());
            out << cells.join(QLatin1Char('/'));
        }
        out.sort();
        return out;
    };
    const QString grouping = QStringLiteral(
        "SELECT SUM(s.ChgReq), SUM(s.Todo), SUM(s.Cmt), s.ProjID, s.EmpID FROM (SELECT ProjID, "
        "EmpID, 1 AS ChgReq, 0 AS Todo, 0 AS Cmt FROM tblChgReq UNION ALL SELECT ProjID, EmpID, "
        "0, CASE WHEN CommentType = 'ToDo' THEN 1 ELSE 0 END, CASE WHEN CommentType = 'ToDo' "
        "THEN 0 ELSE 1 END FROM tblProjectComment) s GROUP BY s.ProjID, s.EmpID UNION ALL SELECT "
        "SUM(s.ChgReq), SUM(s.Todo), SUM(s.Cmt), s.ProjID, 0 FROM (SELECT ProjID, 1 AS ChgReq, 0 "
        "AS Todo, 0 AS Cmt FROM tblChgReq UNION ALL SELECT ProjID, 0, CASE WHEN CommentType = "
        "'ToDo' THEN 1 ELSE 0 END, CASE WHEN CommentType = 'ToDo' THEN 0 ELSE 1 END FROM "
        "tblProjectComment) s GROUP BY s.ProjID");
    const QStringList expected = rows(grouping);
    EXPECT_EQ(expected.size(), 15);
    EXPECT_EQ(rows(QStringLiteral("SELECT SumChgReq, SumTodo, SumComment, projID, EmpID FROM "
                                  "qselProjEmpSummary")),
              expected);
    EXPECT_EQ(rows(QStringLiteral("SELECT SumChgReq, SumTodo, SumComment, projID, EmpID FROM "
                                  "qselProjEmpSummary WHERE projID = 5 AND EmpID = 0")),
              (QStringList{"4/3/2/5/0"}));
}

TEST_P(SchemaViewsTest, TeamListHasARowPerMemberAndPriorityReadsAsText)
{
    Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, EmpID, Priority, Item) VALUES "
                        "(1, 7, 1, 'a'), (2, 7, 3, 'b')"));
    Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID) VALUES (1, 8), (1, 9)"));
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM qselchgreqTeamlist")), 3);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT count(*) FROM qselchgreqTeamlist WHERE teamempid IS NULL")),
        1);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM qselchgreqlist")), 2);
    CChgRqstBriefSet2 set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("Priority='high' AND [teamempid]=9"),
                                       QString()));
    ASSERT_EQ(set.Recordset()->RecordCount(), 1);
    EXPECT_EQ(set.m_Priority, QStringLiteral("High"));
    EXPECT_EQ(set.m_ChgReqID, 1);
}

TEST_P(SchemaViewsTest, TheNewestActiveInformationRowCounts)
{
    Exec(QStringLiteral("INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, isActive) VALUES "
                        "('2030-01-01 00:00:00', 9.9, 0), ('2027-01-01 00:00:00', 2.3, 1)"));
    Exec(QStringLiteral(
        "INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, isActive, KelvaneMinVersion) VALUES "
        "('2026-06-01 00:00:00', NULL, 1, NULL)"));
    CDbInfoSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("abs([isActive])=1"),
                                       QStringLiteral("dbInfoDate DESC")));
    EXPECT_FLOAT_EQ(set.m_dbVersion, 2.3f);
    EXPECT_FLOAT_EQ(
        Query(QStringLiteral("SELECT dbVersion FROM qselStartUpInfo")).Value(0, 0).toFloat(), 2.3f);
    set.MoveLast();
    EXPECT_FLOAT_EQ(set.m_dbVersion, 1.0f); // NULL reads 1.0
    EXPECT_EQ(set.m_KelvaneMinVersion, -1);
}

KELVANE_INSTANTIATE_BACKENDS(SchemaViewsTest);
