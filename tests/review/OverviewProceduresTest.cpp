#include "platform/XsltProcessor.h"
#include "review/OverviewSummary.h"
#include "tests/review/OverviewFixture.h"

// The server's overview functions on the seeded rows, called as the
// overview calls them (through the facade), read back as XML.
class OverviewProceduresTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedOverviewRows(
            [this](const QString& sql, const QVariantList& params) { Exec(sql, params); },
            QStringLiteral("ann"));
        // Markup in a name.
        Exec(QStringLiteral("UPDATE tblFinEmployee SET EmpFullName = ? WHERE EmpID = 2"),
             {QStringLiteral("Bøb <Smith> & \"Co\"")});
        m_db.Connection()->UseConnectionString(m_connectionString);
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // The document, loaded; the test fails when it is none.
    QString Run(const QString& procedure, const QList<int>& args)
    {
        COverviewXmlSource source(m_db);
        QString xml;
        QString why;
        EXPECT_TRUE(source.Run(procedure, args, xml, why)) << why.toStdString();
        QString error;
        EXPECT_TRUE(m_doc.Load(xml, &error)) << error.toStdString() << "\n" << xml.toStdString();
        return xml;
    }
    QStringList Names(const QString& step) const
    {
        QStringList names;
        for (const COverviewSummary::CItem& item : m_doc.Select(step))
            names << item.name;
        return names;
    }
    QStringList Ids(const QString& step) const
    {
        QStringList ids;
        for (const COverviewSummary::CItem& item : m_doc.Select(step))
            ids << item.id;
        return ids;
    }
    int Count(const QString& step) const { return static_cast<int>(m_doc.Select(step).size()); }
    // The page the shipped style sheet makes of the document.
    static QString Page(const QString& xml, const QString& sheet)
    {
        const CXsltProcessor::CResult result = CXsltProcessor::Transform(
            xml.toUtf8(), ReadText(CEmpOverviewDlg::XmlFile(sheet)).toUtf8());
        EXPECT_EQ(result.stage, CXsltProcessor::kDone) << result.detail.toStdString();
        return QString::fromUtf8(result.output);
    }

    CDBClass m_db;
    COverviewSummary m_doc;
};

TEST_P(OverviewProceduresTest, TheSummaryNamesEachMemberByIdAndName)
{
    const QString xml = Run(QStringLiteral("tvx_empSummary"), {1});
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<EmpSummary EmpID=\"1\" Name=\"Ann O'Lee\">")))
        << xml.toStdString();
    // Kinds in this order, each element's id first and its name second;
    // texts come back as they are stored.
    EXPECT_EQ(Names(QStringLiteral("*")),
              (QStringList{"Apollo", "Bridge", "Café 'Zeta'", "June 2024", "May 2024", "Other",
                           "Widen, the 'deck'", "May 2024"}));
    EXPECT_EQ(Ids(QStringLiteral("Project")), (QStringList{"3", "1", "2"}));
    EXPECT_EQ(Ids(QStringLiteral("Timesheets")), (QStringList{"202406", "202405"}));
    EXPECT_EQ(Ids(QStringLiteral("ChgReq")), (QStringList{"2", "1"}));
    EXPECT_EQ(Ids(QStringLiteral("Comments")), (QStringList{"202405"}));
    // What the filters pick by.
    EXPECT_EQ(Names(QStringLiteral("Project[@State='Active']")), (QStringList{"Bridge"}));
    EXPECT_EQ(Names(QStringLiteral("ChgReq[@Role='In Progress'][@Priority=1]")),
              (QStringList{"Widen, the 'deck'"}));
    EXPECT_EQ(Names(QStringLiteral("ChgReq[@Role='Completed'][@Priority=2]")),
              (QStringList{"Other"}));
    EXPECT_EQ(m_doc.Years(QStringLiteral("Timesheets"), 1998, 2100), (QList<int>{2024}));
    EXPECT_EQ(m_doc.Years(QStringLiteral("Comments"), 1998, 2100), (QList<int>{2024}));
    EXPECT_EQ(Count(QStringLiteral("Timesheets[@Month=202405][@Hours='1.50'][@Entries=1]")), 1);

    // Markup and non-ASCII in names are escaped: the document reads back.
    Run(QStringLiteral("tvx_empSummary"), {2});
    EXPECT_EQ(Names(QStringLiteral("/EmpSummary")), (QStringList{"Bøb <Smith> & \"Co\""}));
    EXPECT_EQ(Names(QStringLiteral("Project")),
              (QStringList{"Apollo", "Bridge", "Café 'Zeta'", "Zephyr"}));
    EXPECT_EQ(Ids(QStringLiteral("ChgReq")), (QStringList{"3", "2", "1"}));
}

TEST_P(OverviewProceduresTest, AnEmployeeWithNothingGetsAnEmptyDocument)
{
    EXPECT_EQ(Run(QStringLiteral("tvx_empSummary"), {3}),
              QStringLiteral("<EmpSummary EmpID=\"3\" Name=\"Cleo\"/>"));
    EXPECT_EQ(Count(QStringLiteral("*")), 0);
    Run(QStringLiteral("tvx_empSummary"), {99});
    EXPECT_EQ(Count(QStringLiteral("*")), 0);
    const QString projects = Run(QStringLiteral("bv_GetProjInfoEmpID"), {3});
    EXPECT_EQ(Count(QStringLiteral("Project")), 0);
    EXPECT_TRUE(Page(projects, QStringLiteral("EmpProjectsItem.xslt"))
                    .contains(QStringLiteral("No projects.")));
}

TEST_P(OverviewProceduresTest, ThePagesHoldWhatTheirStyleSheetsShow)
{
    QString xml = Run(QStringLiteral("bv_GetProjInfoEmpID"), {1});
    EXPECT_EQ(
        Count(QStringLiteral("Project[@Name='Bridge'][@Hours='1.50'][@ActHours='3.00']"
                             "[@EstHours='30.00'][@LastDay=20240502][@fullName=\"Ann O'Lee\"]")),
        1);
    EXPECT_EQ(Count(QStringLiteral("Project[@Name='Apollo'][@LastDay=0][@LastDate='']")), 1);
    EXPECT_TRUE(
        Page(xml, QStringLiteral("EmpProjectsItem.xslt")).contains(QStringLiteral("Café 'Zeta'")));

    xml = Run(QStringLiteral("bv_getProjectInfoProjID"), {1});
    EXPECT_EQ(Names(QStringLiteral("Task")), (QStringList{"Design", "Build"}));
    EXPECT_EQ(Count(QStringLiteral("Task[@Task='Build'][@State='Closed'][@OrderCode='B-1']")), 1);
    EXPECT_EQ(Count(QStringLiteral("Member[@EmpID=2][@Hours='1.00'][@Entries=1]")), 1);
    EXPECT_TRUE(
        Page(xml, QStringLiteral("ProjectItem.xslt")).contains(QStringLiteral("Our Company")));
    xml = Run(QStringLiteral("bv_getProjectInfoProjID"), {99});
    EXPECT_EQ(Count(QStringLiteral("/ProjectInfo[@ProjID]")), 0);
    EXPECT_TRUE(
        Page(xml, QStringLiteral("ProjectItem.xslt")).contains(QStringLiteral("No such project")));

    xml = Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {1, 0, 202406});
    EXPECT_EQ(Count(QStringLiteral("Entry[@Start='22:00'][@Stop='24:00'][@When=202406032200]"
                                   "[@Project=\"Café 'Zeta'\"]")),
              1);
    Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {1, 0, 202405});
    EXPECT_EQ(Count(QStringLiteral("Entry[@Comment=\"It's <done> & ok\"][@Task='Design']")), 1);
    Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {1, 2, 0});
    EXPECT_EQ(Count(QStringLiteral("Entry")), 1);
    xml = Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {1, 0, 202413});
    EXPECT_EQ(Count(QStringLiteral("Entry")), 0);
    EXPECT_TRUE(Page(xml, QStringLiteral("TimesheetList.xslt"))
                    .contains(QStringLiteral("No time booked.")));

    xml = Run(QStringLiteral("bv_GetChgReqInfoChgReqID"), {1});
    EXPECT_EQ(Count(QStringLiteral("/ChgReqInfo[@State='In Progress'][@PriorityText='High']"
                                   "[@Completed='']")),
              1);
    // A zero completion date is no date.
    EXPECT_EQ(
        Count(QStringLiteral("Action[@State='Assigned'][@DoneDay=0][@Done=''][@Day=20240302]")), 1);
    EXPECT_TRUE(Page(xml, QStringLiteral("ChgReqItem.xslt")).contains(QStringLiteral("No team.")));
    Run(QStringLiteral("bv_GetChgReqInfoChgReqID"), {2});
    EXPECT_EQ(Count(QStringLiteral("/ChgReqInfo[@Completed='2024-05-01']")), 1);
    EXPECT_EQ(Names(QStringLiteral("Member")), (QStringList{"Ann O'Lee"}));

    xml = Run(QStringLiteral("lv_GetCommentInfoEmpID"), {1, 0, 202405});
    EXPECT_EQ(Count(QStringLiteral("Comment")), 1);
    EXPECT_EQ(
        Count(QStringLiteral("Comment[@Comment='Check ☕'][@State='ToDo'][@PriorityText='High']"
                             "[@Name='Jane'][@Day=202405041000]")),
        1);
    EXPECT_TRUE(Page(xml, QStringLiteral("CommentList.xslt")).contains(QStringLiteral("Check ☕")));
}

TEST_P(OverviewProceduresTest, HoursAreSummedWithoutDrift)
{
    // Cleo books 1.3 hours (09:00 to 10:18) on Bridge/Build on 2,000 days;
    // the column is single precision, whose running sum makes 2600.05.
    Exec(QStringLiteral(
        "INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, StartTime, "
        "StopTime, HoursWorked, TimeID, InvCost, WorkTypeID) "
        "SELECT 3, 1, 1, 2, d, d + interval '9 hours', d + interval '10 hours 18 minutes', 1.3, "
        "540, 104, 1 FROM (SELECT TIMESTAMP '2015-01-01' + g * interval '1 day' AS d "
        "FROM generate_series(0, 1999) g) days"));
    Run(QStringLiteral("bv_GetProjInfoEmpID"), {3});
    EXPECT_EQ(Count(QStringLiteral("/EmpProjects[@Hours='2600.00']")), 1);
    EXPECT_EQ(Count(QStringLiteral("Project[@Name='Bridge'][@Hours='2600.00']")), 1);
    Run(QStringLiteral("bv_getProjectInfoProjID"), {1});
    EXPECT_EQ(Count(QStringLiteral("Member[@EmpID=3][@Hours='2600.00'][@Entries=2000]")), 1);
    Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {3, 0, 0});
    EXPECT_EQ(Count(QStringLiteral("/TimesheetList[@Hours='2600.00']")), 1);

    // Refresh Totals: Bob's hour and Cleo's on Build, Ann's 1.5 on Design.
    ASSERT_TRUE(m_db.RebuildProjectTotals(-1));
    Run(QStringLiteral("bv_getProjectInfoProjID"), {1});
    EXPECT_EQ(Count(QStringLiteral("Task[@Task='Build'][@ActHours='2601.00']")), 1);
    EXPECT_EQ(Count(QStringLiteral("/ProjectInfo[@ActHours='2602.50']")), 1);
    EXPECT_EQ(Query(QStringLiteral("SELECT ProjHours FROM tblProject WHERE ProjID = 1"))
                  .Value(0, 0)
                  .toDouble(),
              2602.5);
    QList<CProjectMember> members;
    ASSERT_TRUE(m_db.FillProjectMembers(1, 1, QStringLiteral("Ann O'Lee"), members));
    ASSERT_EQ(members.size(), 3);
    // Each row holds 1.3 as closely as single precision can: the sum is
    // 2600.00 to the hundredth the window shows.
    EXPECT_NEAR(members.at(2).Hours, 2600.0, 0.001);
}

TEST_P(OverviewProceduresTest, EachMemberIsListedOnceHoweverTheEmployeeCameToIt)
{
    // Cleo raised request 4, is on its team and has an action in it; she is
    // on request 3's team and has two actions in request 2. She leads
    // Zephyr, is on its team and books on it; she books on Bridge, and once
    // on no project.
    Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, EmpID, Item, StatusID, Priority, "
                        "DateCreated) VALUES (4, 4, 3, 'Hers', 1, 1, '2024-06-01 00:00:00')"));
    Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID) VALUES (4, 3), (3, 3)"));
    Exec(QStringLiteral("INSERT INTO tblChgReqAction (ChgReqID, EmpID, StatusID) VALUES (4, 3, 8), "
                        "(2, 3, 8), (2, 3, 8)"));
    Exec(QStringLiteral("UPDATE tblProject SET ProjLeader = 3 WHERE ProjID = 4"));
    Exec(QStringLiteral("INSERT INTO tblProjectTeam (ProjID, EmpID) VALUES (4, 3)"));
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, WorkDate, HoursWorked, TimeID) "
                        "VALUES (3, 4, '2024-06-04 00:00:00', 2, 1), "
                        "(3, 4, '2024-06-05 00:00:00', 1, 1), "
                        "(3, 1, '2024-06-06 00:00:00', 0.5, 1), "
                        "(3, NULL, '2024-07-01 00:00:00', 4, 1)"));

    Run(QStringLiteral("tvx_empSummary"), {3});
    EXPECT_EQ(Ids(QStringLiteral("ChgReq")), (QStringList{"4", "3", "2"}));
    EXPECT_EQ(Names(QStringLiteral("Project")), (QStringList{"Bridge", "Zephyr"}));
    EXPECT_EQ(Ids(QStringLiteral("Timesheets")), (QStringList{"202407", "202406"}));
    // The booking without a project counts in her hours, not as a project.
    Run(QStringLiteral("bv_GetProjInfoEmpID"), {3});
    EXPECT_EQ(Names(QStringLiteral("Project")), (QStringList{"Bridge", "Zephyr"}));
    EXPECT_EQ(Count(QStringLiteral("/EmpProjects[@Hours='7.50']")), 1);
    EXPECT_EQ(Count(QStringLiteral("Project[@Name='Zephyr'][@Hours='3.00'][@LastDay=20240605]")),
              1);
    EXPECT_EQ(Count(QStringLiteral("Project[@Name='Bridge'][@Hours='0.50']")), 1);
}

TEST_P(OverviewProceduresTest, ControlCharactersInStoredTextsLeaveEveryPageReadable)
{
    // Pasted into a comment, a note, a name: characters XML 1.0 cannot carry.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET Comment = ? WHERE EmpID = 1 AND TaskID = 1"),
         {QStringLiteral("Line\vbreak")});
    Exec(QStringLiteral("UPDATE tblProjectComment SET ProjectComment = ? WHERE CommentType = "
                        "'ToDo'"),
         {QStringLiteral("Page\fbreak ☕")});
    Exec(QStringLiteral("UPDATE tblProject SET ProjName = ?, Abstract = ? WHERE ProjID = 3"),
         {QStringLiteral("Apo\x01llo"), QStringLiteral("\x1b[1mbold")});
    Exec(QStringLiteral("UPDATE tblChgReq SET FullDetail = ?, Item = ? WHERE ChgReqID = 1"),
         {QStringLiteral("Bell\a"), QStringLiteral("Widen\x02")});
    Exec(QStringLiteral("UPDATE tblChgReqAction SET Comment = ? WHERE ChgReqID = 1"),
         {QStringLiteral("look\x1f")});
    Exec(QStringLiteral("UPDATE tblFinEmployee SET EmpFullName = ? WHERE EmpID = 1"),
         {QStringLiteral("Ann\x0bO'Lee")});

    Run(QStringLiteral("tvx_empSummary"), {1});
    EXPECT_EQ(Names(QStringLiteral("/EmpSummary")), QStringList{QStringLiteral("AnnO'Lee")});
    EXPECT_EQ(Names(QStringLiteral("Project")), (QStringList{"Apollo", "Bridge", "Café 'Zeta'"}));
    EXPECT_EQ(Names(QStringLiteral("ChgReq")), (QStringList{"Other", "Widen"}));
    Run(QStringLiteral("bv_GetProjInfoEmpID"), {1});
    EXPECT_EQ(Count(QStringLiteral("Project[@Name='Apollo']")), 1);
    Run(QStringLiteral("bv_getProjectInfoProjID"), {3});
    EXPECT_EQ(Count(QStringLiteral("/ProjectInfo[@Abstract='[1mbold']")), 1);
    Run(QStringLiteral("lv_GetTimesheetInfoEmpID"), {1, 0, 202405});
    EXPECT_EQ(Count(QStringLiteral("Entry[@Comment='Linebreak']")), 1);
    Run(QStringLiteral("bv_GetChgReqInfoChgReqID"), {1});
    EXPECT_EQ(Count(QStringLiteral("/ChgReqInfo[@FullDetail='Bell'][@Item='Widen']")), 1);
    EXPECT_EQ(Count(QStringLiteral("Action[@Comment='look']")), 1);
    Run(QStringLiteral("lv_GetCommentInfoEmpID"), {1, 0, 202405});
    EXPECT_EQ(Count(QStringLiteral("Comment[@Comment='Pagebreak ☕']")), 1);
}

TEST_P(OverviewProceduresTest, AProcedureTheServerLacksIsRefusedWithItsReason)
{
    COverviewXmlSource source(m_db);
    QString xml;
    QString why;
    EXPECT_FALSE(source.Run(QStringLiteral("tvx_noSuchSummary"), {1}, xml, why));
    EXPECT_TRUE(why.contains(QStringLiteral("tvx_nosuchsummary"))) << why.toStdString();
    EXPECT_TRUE(xml.isEmpty());
    // The connection stays usable.
    Run(QStringLiteral("tvx_empSummary"), {1});
}

INSTANTIATE_TEST_SUITE_P(Server, OverviewProceduresTest, ::testing::Values(Backend::Postgres),
                         BackendName);
