#include "data/DBClass.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"

namespace {

// Two projects with tasks and booked hours: Bridge (1; tasks 1 and 2, led by
// Ann, team Bob) and Apollo (2; task 3).
class DBClassProjectsTest : public FacadeDbTest {
protected:
    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, DeptID, IsCurrent) "
                            "VALUES (1, 'Ann Lee', 1, 1), (2, 'Bob Ray', 1, 1), (3, 'Cleo Ng', "
                            "1, 1)"));
        Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader, "
                            "ProjHours, ProjEstHours) VALUES (1, 'Bridge', 1, 1, 99, 99), (2, "
                            "'Apollo', 1, NULL, 99, 99)"));
        Exec(QStringLiteral("INSERT INTO tblProjectTeam (ProjID, EmpID) VALUES (1, 2), (2, 3)"));
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, EstHours, "
                            "ActHours) VALUES (1, 'Design', 1, 2, 10.5, 99), (2, 'Build', 1, 2, "
                            "NULL, 99), (3, 'Launch', 2, 2, 4, 99)"));
        Book(1, 1, 1, 1, 2.25);
        Book(2, 1, 2, 2, 1.5);
        // Cleo booked on Bridge without being on its team.
        Book(3, 1, 1, 3, 0.5);
        Book(3, 2, 3, 4, 3);
    }
    void Book(int empId, int projId, int taskId, int timeId, double hours)
    {
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, TaskID, WorkDate, "
                            "HoursWorked, TimeID) VALUES (?, ?, ?, ?, ?, ?)"),
             {empId, projId, taskId, QVariant::fromValue(CDateTime(2026, 3, 2)), hours, timeId});
    }
    float Value(const QString& sql) { return Query(sql).Value(0, 0).toFloat(); }
};

} // namespace

TEST_P(DBClassProjectsTest, TotalsOfOneProjectOrOfAllAreRebuiltTogether)
{
    ASSERT_TRUE(m_db.RebuildProjectTotals(1));
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = 1")),
                    2.75f);
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = 2")),
                    1.5f);
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ProjHours FROM tblProject WHERE ProjID = 1")),
                    4.25f);
    // A task without an estimate adds nothing.
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ProjEstHours FROM tblProject WHERE ProjID = 1")),
                    10.5f);
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ProjHours FROM tblProject WHERE ProjID = 2")),
                    99.0f);
    ASSERT_TRUE(m_db.RebuildProjectTotals(-1));
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ProjHours FROM tblProject WHERE ProjID = 2")),
                    3.0f);
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = 3")),
                    3.0f);
    EXPECT_TRUE(CRecordingMessages::Current().Texts().isEmpty());

    // The project row refused: the tasks' hours are not half rebuilt.
    Book(1, 1, 1, 5, 1);
    Refuse(QStringLiteral("UPDATE"), QStringLiteral("tblProject"));
    Refuse(QStringLiteral("DELETE"), QStringLiteral("tblProject"));
    EXPECT_FALSE(m_db.RebuildProjectTotals(1));
    EXPECT_TRUE(
        CRecordingMessages::Current().Last().contains(QStringLiteral("refused by the test")))
        << CRecordingMessages::Current().Last().toStdString();
    EXPECT_FLOAT_EQ(Value(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = 1")),
                    2.75f);
}

TEST_P(DBClassProjectsTest, MembersAreTheLeaderThenTheTeamEachOnceWithTheirHours)
{
    QList<CProjectMember> members;
    ASSERT_TRUE(m_db.FillProjectMembers(1, 1, QStringLiteral("Ann Lee"), members));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members.at(0).EmpID, 1);
    EXPECT_EQ(members.at(0).Name, QStringLiteral("Ann Lee"));
    EXPECT_DOUBLE_EQ(members.at(0).Hours, 2.25);
    EXPECT_EQ(members.at(1).Name, QStringLiteral("Bob Ray"));
    EXPECT_DOUBLE_EQ(members.at(1).Hours, 1.5);
    // No leader: the team alone.
    ASSERT_TRUE(m_db.FillProjectMembers(2, -1, QString(), members));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members.at(0).Name, QStringLiteral("Cleo Ng"));
    EXPECT_DOUBLE_EQ(members.at(0).Hours, 3.0);
}

TEST_P(DBClassProjectsTest, ATaskIsDeletedOnlyWhenNothingPointsAtIt)
{
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES (4, "
                        "'Spare', 1, 2)"));
    int timeSheets = -1;
    int comments = -1;
    QString reason;
    EXPECT_EQ(m_db.DeleteProjectTask(1, timeSheets, comments, reason), TaskDeleteResult::InUse);
    EXPECT_EQ(timeSheets, 2);
    EXPECT_EQ(comments, 0);
    EXPECT_EQ(Query(QStringLiteral("SELECT COUNT(*) FROM tblProjectTask")).Value(0, 0).toInt(), 4);
    EXPECT_EQ(m_db.DeleteProjectTask(99, timeSheets, comments, reason), TaskDeleteResult::NotFound);

    EXPECT_TRUE(m_db.SetTaskState(1, kTaskStateNotActive, reason)) << reason.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT State FROM tblProjectTask WHERE TaskID = 1"))
                  .Value(0, 0)
                  .toInt(),
              kTaskStateNotActive);
    EXPECT_FALSE(m_db.SetTaskState(99, kTaskStateActive, reason));
    EXPECT_FALSE(reason.isEmpty());

    Refuse(QStringLiteral("UPDATE"), QStringLiteral("tblProjectTask"));
    Refuse(QStringLiteral("DELETE"), QStringLiteral("tblProjectTask"));
    EXPECT_EQ(m_db.DeleteProjectTask(4, timeSheets, comments, reason), TaskDeleteResult::Failed);
    EXPECT_TRUE(reason.contains(QStringLiteral("refused by the test"))) << reason.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT COUNT(*) FROM tblProjectTask")).Value(0, 0).toInt(), 4);
    for (const QString& sql : std::as_const(m_cleanup))
        Exec(sql);
    m_cleanup.clear();
    EXPECT_EQ(m_db.DeleteProjectTask(4, timeSheets, comments, reason), TaskDeleteResult::Ok);
    EXPECT_EQ(Query(QStringLiteral("SELECT COUNT(*) FROM tblProjectTask")).Value(0, 0).toInt(), 3);
}

KELVANE_INSTANTIATE_BACKENDS(DBClassProjectsTest);
