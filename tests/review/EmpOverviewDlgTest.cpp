#include "app/DummyDlg.h"
#include "tests/review/OverviewFixture.h"
#include "ui/ResourceIds.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <memory>

namespace {

QString Fixture(const QString& name)
{
    return ReadText(QStringLiteral(KELVANE_REVIEW_FIXTURES "/") + name);
}

// Ann's summary: two projects named alike (one with an id that looks like a
// year), a name with a comma and a state with both quotes, a project without
// a name; months of time sheets from before the years offered to 2024, one
// whose hours read "2003"; change requests whose ids are also project ids.
const char kSummary[] =
    "<EmpSummary EmpID=\"1\" Name=\"Ann Lee\">"
    "<Project ProjID=\"12\" Name=\"Bridge\" State=\"Active\"/>"
    "<Project ProjID=\"2003\" Name=\"Bridge\" State=\"On Hold\"/>"
    "<Project ProjID=\"7\" Name=\"O'Neil, Sons &amp; Co\" State=\"Won't &quot;do&quot;\"/>"
    "<Project ProjID=\"9\"/>"
    "<Timesheets Month=\"202405\" Name=\"May 2024\" Year=\"2024\" Hours=\"12.00\"/>"
    "<Timesheets Month=\"202003\" Name=\"March 2020\" Year=\"2020\" Hours=\"2003.00\"/>"
    "<Timesheets Month=\"199612\" Name=\"December 1996\" Year=\"1996\" Hours=\"1.00\"/>"
    "<ChgReq ChgReqID=\"12\" Item=\"Widen the deck\" Role=\"In Progress\" Priority=\"1\"/>"
    "<ChgReq ChgReqID=\"13\" Item=\"Paint\" Role=\"Can't &quot;fix&quot;\" Priority=\"2\"/>"
    "<ChgReq ChgReqID=\"14\" Item=\"Rails\" Role=\"In Progress\" Priority=\"2\"/>"
    "<Comments Month=\"202405\" Name=\"May 2024\" Year=\"2024\" Count=\"3\"/>"
    "<Comments Month=\"202312\" Name=\"December 2023\" Year=\"2023\" Count=\"1\"/>"
    "</EmpSummary>";

} // namespace

// The overview as Ann sees it, on XML the test hands it (a server is not
// needed for that) and the real tree-list control.
class EmpOverviewDlgTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1)"));
        Exec(QStringLiteral("UPDATE tlkpProjectState SET StateName = ? WHERE PS_ID = 5"),
             {QStringLiteral("Won't \"do\"")});
        Exec(QStringLiteral("UPDATE tlkpStatus SET StatusName = ? WHERE StatusID = 5"),
             {QStringLiteral("Can't \"fix\"")});
        CProfileStore profile;
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
        profile.sync();
        m_db.Connection()->UseConnectionString(m_connectionString);
        RegisterControlsBeside(QCoreApplication::applicationDirPath());

        auto source = std::make_unique<CFakeXmlSource>();
        m_source = source.get();
        m_source->docs.insert(QStringLiteral("tvx_empSummary"), QLatin1String(kSummary));
        m_source->docs.insert(QStringLiteral("bv_GetProjInfoEmpID"),
                              Fixture(QStringLiteral("EmpProjects.xml")));
        m_source->docs.insert(QStringLiteral("bv_getProjectInfoProjID"),
                              Fixture(QStringLiteral("ProjectInfo.xml")));
        m_source->docs.insert(
            QStringLiteral("bv_getProjectInfoProjID 2003"),
            QStringLiteral("<ProjectInfo ProjID=\"2003\" Name=\"Old Bridge\" State=\"On Hold\"/>"));
        m_source->docs.insert(QStringLiteral("lv_GetTimesheetInfoEmpID"),
                              Fixture(QStringLiteral("TimesheetList.xml")));
        m_source->docs.insert(QStringLiteral("bv_GetChgReqInfoChgReqID"),
                              Fixture(QStringLiteral("ChgReqInfo.xml")));
        m_source->docs.insert(QStringLiteral("lv_GetCommentInfoEmpID"),
                              Fixture(QStringLiteral("CommentList.xml")));
        m_pending = std::move(source);
    }
    void TearDown() override
    {
        delete m_window;
        m_hub.reset();
        COverviewWindow::Pump();
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // Opened and shown; the control has said it is ready when this returns.
    void Open()
    {
        m_window = CEmpOverviewDlg::Create(m_hub.get(), m_db, std::move(m_pending));
        ASSERT_NE(m_window, nullptr) << CRecordingMessages::Current().Last().toStdString();
        m_window->SetBrowsePage(Page());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window));
        COverviewWindow::Pump();
        m_view = std::make_unique<COverviewWindow>(m_window);
    }
    QString Page() const { return TestDir() + QStringLiteral("/browsePage.htm"); }
    static QString TestDir() { return TestEnv::TestDir(); }
    COverviewWindow& View() { return *m_view; }
    const QStringList& Calls() const { return m_source->calls; }
    QString LastCall() const { return Calls().isEmpty() ? QString() : Calls().last(); }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }
    int StatusUid(const QString& name) const
    {
        return CEmpOverviewDlg::kMenuChangeRequests +
               static_cast<int>(m_window->StatusNames().indexOf(name)) + 1;
    }
    int PriorityUid(int priority) const
    {
        return CEmpOverviewDlg::kMenuChangeRequests +
               static_cast<int>(m_window->StatusNames().size()) + priority;
    }

    CDBClass m_db;
    std::unique_ptr<CFakeXmlSource> m_pending;
    CFakeXmlSource* m_source = nullptr;
    std::unique_ptr<CDummyDlg> m_hub;
    CEmpOverviewDlg* m_window = nullptr;
    std::unique_ptr<COverviewWindow> m_view;
};

TEST_P(EmpOverviewDlgTest, OpensOnTheProjectsPageWithTheSummaryInTheTree)
{
    Open();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Overview : Ann Lee"));
    EXPECT_EQ(m_window->EmployeeId(), 1);
    ASSERT_GE(Calls().size(), 2);
    EXPECT_EQ(Calls().mid(0, 2), (QStringList{QStringLiteral("bv_GetProjInfoEmpID 1"),
                                              QStringLiteral("tvx_empSummary 1")}));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Projects of Ann O'Lee")))
        << View().PageText().toStdString();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();

    EXPECT_EQ(View().Children(0),
              (QStringList{"My Projects", "My TimeSheets", "My Change Requests", "My Comments"}));
    // Members in the summary's order, keys counted from 5 across the groups.
    EXPECT_EQ(View().Children(1),
              (QStringList{"Bridge", "Bridge", "O'Neil, Sons & Co", "Unknown"}));
    EXPECT_EQ(View().Children(2), (QStringList{"May 2024", "March 2020", "December 1996"}));
    EXPECT_EQ(View().Children(3), (QStringList{"Widen the deck", "Paint", "Rails"}));
    EXPECT_EQ(View().Children(4), (QStringList{"May 2024", "December 2023"}));
    EXPECT_EQ(m_window->FilterGroup(CEmpOverviewDlg::kProjects).keys, (QList<int>{5, 6, 7, 8}));
    EXPECT_EQ(m_window->FilterGroup(CEmpOverviewDlg::kProjects).ids, (QList<int>{12, 2003, 7, 9}));
    EXPECT_EQ(m_window->FilterGroup(CEmpOverviewDlg::kComments).keys, (QList<int>{15, 16}));
    EXPECT_EQ(View().Control().GetChildkey(3, 2), 14);
    EXPECT_TRUE(View().TreeItem(QStringLiteral("Ann Lee"))->isExpanded());

    // Years by the Year attribute, from 1998 on: 2003 in the hours is none.
    EXPECT_EQ(m_window->TimesheetYears(), (QList<int>{2020, 2024}));
    EXPECT_EQ(m_window->CommentYears(), (QList<int>{2023, 2024}));
    // The first five project states and every status for the filter menus.
    EXPECT_EQ(m_window->StateNames().size(), 5);
    EXPECT_TRUE(m_window->StatusNames().contains(QStringLiteral("Can't \"fix\"")));
}

TEST_P(EmpOverviewDlgTest, AMembersPageIsFoundByItsKeyNotItsName)
{
    Open();
    View().ClickTree(QStringLiteral("Bridge"), 1);
    EXPECT_EQ(LastCall(), QStringLiteral("bv_getProjectInfoProjID 2003"));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Old Bridge")));
    View().ClickTree(QStringLiteral("Bridge"), 0);
    EXPECT_EQ(LastCall(), QStringLiteral("bv_getProjectInfoProjID 12"));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Design")));
    // Time sheets and comments are asked for by employee and month.
    View().ClickTree(QStringLiteral("March 2020"));
    EXPECT_EQ(LastCall(), QStringLiteral("lv_GetTimesheetInfoEmpID 1,0,202003"));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("It's <done> & ok")));
    View().ClickTree(QStringLiteral("December 2023"));
    EXPECT_EQ(LastCall(), QStringLiteral("lv_GetCommentInfoEmpID 1,0,202312"));
    View().ClickTree(QStringLiteral("Ann Lee"));
    EXPECT_EQ(LastCall(), QStringLiteral("bv_GetProjInfoEmpID 1"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
}

TEST_P(EmpOverviewDlgTest, AGroupListsItsMembersAndARowShowsItsOwnPage)
{
    Open();
    View().ClickTree(QStringLiteral("My Projects"));
    ASSERT_NE(View().List(), nullptr);
    ASSERT_TRUE(View().List()->isVisible());
    EXPECT_EQ(View().Browser(), nullptr);
    ASSERT_EQ(View().List()->topLevelItemCount(), 4);
    // A comma in a name does not split its cell.
    EXPECT_EQ(View().List()->topLevelItem(2)->text(1), QStringLiteral("O'Neil\u201A Sons & Co"));

    // Change request 12 shares its id with project 12: the row still shows
    // the request.
    View().ClickTree(QStringLiteral("My Change Requests"));
    ASSERT_EQ(View().List()->topLevelItemCount(), 3);
    m_source->calls.clear();
    View().ClickListRow(QStringLiteral("12"));
    EXPECT_TRUE(Calls().contains(QStringLiteral("bv_GetChgReqInfoChgReqID 12")));
    EXPECT_FALSE(Calls().contains(QStringLiteral("bv_getProjectInfoProjID 12")));
    ASSERT_NE(View().Browser(), nullptr);
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Change request 1: Widen, the 'deck'")));
    EXPECT_EQ(View().Control().RetSelKey(), 12);
}

TEST_P(EmpOverviewDlgTest, FiltersNarrowTheirGroupAndAddUp)
{
    Open();
    // The user's way: the group's popup menu.
    bool chosen = false;
    ASSERT_TRUE(View().TreeMenu(QStringLiteral("My Projects"), [&](QMenu& menu) {
        QAction* remove = COverviewWindow::Action(menu, QStringLiteral("Remove Filter"));
        ASSERT_NE(remove, nullptr);
        EXPECT_FALSE(remove->isEnabled());
        QAction* filterBy = COverviewWindow::Action(menu, QStringLiteral("Filter by"));
        ASSERT_TRUE(filterBy && filterBy->menu());
        QAction* state =
            COverviewWindow::Action(*filterBy->menu(), QStringLiteral(" Won't \"do\""));
        ASSERT_NE(state, nullptr);
        state->trigger();
        chosen = true;
    }));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(View().Children(1), (QStringList{"O'Neil, Sons & Co"}));
    EXPECT_EQ(m_window->Filters().ProjectItem(), 5);
    // The group shows what is left in its list.
    ASSERT_TRUE(View().List()->isVisible());
    ASSERT_EQ(View().List()->topLevelItemCount(), 1);
    EXPECT_EQ(View().List()->topLevelItem(0)->text(0), QStringLiteral("7"));
    EXPECT_TRUE(View().TreeItem(QStringLiteral("My Projects"))->isExpanded());
    EXPECT_TRUE(View().TreeMenu(QStringLiteral("My Projects"), [&](QMenu& menu) {
        EXPECT_TRUE(COverviewWindow::Action(menu, QStringLiteral("Remove Filter"))->isEnabled());
        QMenu* filterBy = COverviewWindow::Action(menu, QStringLiteral("Filter by"))->menu();
        EXPECT_FALSE(
            COverviewWindow::Action(*filterBy, QStringLiteral(" Won't \"do\""))->isEnabled());
        EXPECT_TRUE(COverviewWindow::Action(*filterBy, QStringLiteral(" Active"))->isEnabled());
    }));

    // Status and priority of change requests: the second adds to the first.
    m_window->OnMenuItemClick(-1, StatusUid(QStringLiteral("Can't \"fix\"")), QString());
    EXPECT_EQ(View().Children(3), (QStringList{"Paint"}));
    m_window->OnMenuItemClick(-1, PriorityUid(2), QString());
    EXPECT_EQ(View().Children(3), (QStringList{"Paint"}));
    m_window->OnMenuItemClick(-1, StatusUid(QStringLiteral("In Progress")), QString());
    EXPECT_EQ(View().Children(3), (QStringList{"Rails"}));
    EXPECT_EQ(m_window->Filters().ChangeRequestSelector(),
              QStringLiteral("ChgReq[@Role='In Progress'][@Priority=2]"));
    EXPECT_TRUE(View().TreeMenu(QStringLiteral("My Change Requests"), [&](QMenu& menu) {
        QMenu* status = COverviewWindow::Action(menu, QStringLiteral("Filter by status"))->menu();
        QMenu* priority =
            COverviewWindow::Action(menu, QStringLiteral("Filter by priority"))->menu();
        EXPECT_FALSE(COverviewWindow::Action(*status, QStringLiteral(" In Progress"))->isEnabled());
        EXPECT_TRUE(COverviewWindow::Action(*status, QStringLiteral(" New"))->isEnabled());
        EXPECT_FALSE(COverviewWindow::Action(*priority, QStringLiteral(" 2"))->isEnabled());
        EXPECT_TRUE(COverviewWindow::Action(*priority, QStringLiteral(" 1"))->isEnabled());
    }));
    m_window->OnMenuItemClick(-1, CEmpOverviewDlg::kMenuChangeRequests, QString());
    EXPECT_EQ(View().Children(3).size(), 3);
    // The project filter stays while others change.
    EXPECT_EQ(View().Children(1), (QStringList{"O'Neil, Sons & Co"}));

    // Years: items in ascending order, the n-th year being the n-th item.
    m_window->OnMenuItemClick(-1, CEmpOverviewDlg::kMenuTimesheets + 1, QString());
    EXPECT_EQ(View().Children(2), (QStringList{"March 2020"}));
    m_window->OnMenuItemClick(-1, CEmpOverviewDlg::kMenuComments + 2, QString());
    EXPECT_EQ(View().Children(4), (QStringList{"May 2024"}));
    m_window->OnMenuItemClick(-1, CEmpOverviewDlg::kMenuProjects, QString());
    EXPECT_EQ(View().Children(1).size(), 4);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
}

TEST_P(EmpOverviewDlgTest, AHeadingReSortsThePageDescendingFirstThenAscending)
{
    Open();
    View().ClickTree(QStringLiteral("Bridge"));
    const QString sheet = m_window->StyleSheetText();
    const auto before = [this](const QString& a, const QString& b, const QString& after = {}) {
        const QString text = View().PageText();
        const qsizetype from = after.isEmpty() ? 0 : text.indexOf(after);
        if (from < 0)
            return false;
        return text.indexOf(a, from) >= 0 && text.indexOf(a, from) < text.indexOf(b, from);
    };
    ASSERT_TRUE(before(QStringLiteral("Design"), QStringLiteral("Build")));
    // Allocated to: Bob's task first, descending.
    View().ClickLink(QStringLiteral("Allocated to"));
    EXPECT_TRUE(before(QStringLiteral("Build"), QStringLiteral("Design")))
        << View().PageText().toStdString();
    EXPECT_FALSE(m_window->SortDescending());
    View().ClickLink(QStringLiteral("Allocated to"));
    EXPECT_TRUE(before(QStringLiteral("Design"), QStringLiteral("Build")));
    // Each sort starts from the style sheet as it was read.
    EXPECT_EQ(m_window->StyleSheetText(), sheet);

    // The second table's headings sort that table; a tree click starts
    // descending again.
    View().ClickTree(QStringLiteral("Bridge"));
    EXPECT_TRUE(m_window->SortDescending());
    const QString page = QUrl::fromLocalFile(Page()).toString();
    m_window->OnNotifyBrowseEvent(SarvexIds::kBrowseBeforeNavigate,
                                  page + QStringLiteral("#@2Hours"));
    EXPECT_TRUE(before(QStringLiteral("B\u00F8b"), QStringLiteral("Ann O'Lee"),
                       QStringLiteral("Time booked")))
        << View().PageText().toStdString();
    // Other notices and addresses without a key change nothing.
    const QString shown = ReadText(Page());
    m_window->OnNotifyBrowseEvent(SarvexIds::kBrowseNavigateComplete,
                                  page + QStringLiteral("#@Task"));
    m_window->OnNotifyBrowseEvent(SarvexIds::kBrowseBeforeNavigate, page);
    m_window->OnNotifyBrowseEvent(SarvexIds::kBrowseBeforeNavigate, QString());
    EXPECT_EQ(ReadText(Page()), shown);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
}

TEST_P(EmpOverviewDlgTest, APageThatCannotBeWrittenIsToldAndTheShownOneStays)
{
    Open();
    const QUrl shown = View().Browser()->source();
    const QString xml = m_window->XmlText();
    m_window->SetBrowsePage(QStringLiteral("/dev/null/pages/browsePage.htm"));
    View().ClickTree(QStringLiteral("Bridge"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().startsWith(
        QStringLiteral("Opening file failure /dev/null/pages/browsePage.htm")))
        << Messages().first().toStdString();
    EXPECT_EQ(View().Browser()->source(), shown);
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Projects of Ann O'Lee")));
    // A heading of the page still shown sorts that page.
    EXPECT_EQ(m_window->XmlText(), xml);
}

TEST_P(EmpOverviewDlgTest, ALongPathIsUsedWhole)
{
    Open();
    const QString folder = TestDir() + QLatin1Char('/') + QString(120, QLatin1Char('d'));
    const QString page = folder + QStringLiteral("/browse page.htm");
    m_window->SetBrowsePage(page);
    View().ClickTree(QStringLiteral("Bridge"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
    EXPECT_EQ(View().Browser()->source(), QUrl::fromLocalFile(page));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Design")));
}

TEST_P(EmpOverviewDlgTest, ProceduresAndFilesThatFailAreTold)
{
    m_pending->docs.insert(QStringLiteral("tvx_empSummary"),
                           QStringLiteral("<EmpSummary><Project"));
    Open();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(
        Messages().first().startsWith(QStringLiteral("The overview of Ann Lee cannot be read")))
        << Messages().first().toStdString();
    // The user and the groups stay.
    EXPECT_EQ(View().Children(0).size(), 4);
    EXPECT_EQ(View().Control().NumberChildren(1), 0);

    m_source->docs.remove(QStringLiteral("bv_getProjectInfoProjID"));
    m_source->docs.remove(QStringLiteral("bv_GetProjInfoEmpID"));
    View().ClickTree(QStringLiteral("Ann Lee"));
    EXPECT_EQ(
        CRecordingMessages::Current().Last(),
        QStringLiteral("Query bv_GetProjInfoEmpID 1 error \nfunction bv_GetProjInfoEmpID does "
                       "not exist"));
    EXPECT_TRUE(View().PageText().contains(QStringLiteral("Projects of Ann O'Lee")));
}

TEST_P(EmpOverviewDlgTest, TheTreePrintsAndPreviewsThePageShown)
{
    Open();
    const QString pdf = TestDir() + QStringLiteral("/page.pdf");
    CPdfPrintHook printing(pdf);
    SetHtmlPrintHook(&printing);
    const auto restore = qScopeGuard([] { SetHtmlPrintHook(nullptr); });
    EXPECT_TRUE(View().TreeMenu(QStringLiteral("Ann Lee"), [](QMenu& menu) {
        COverviewWindow::Action(menu, QStringLiteral("Print"))->trigger();
    }));
    EXPECT_EQ(printing.chosen, 1);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(View().TreeMenu(QStringLiteral("Bridge"), [](QMenu& menu) {
        EXPECT_EQ(menu.actions().size(), 3);
        COverviewWindow::Action(menu, QStringLiteral("Print Preview"))->trigger();
    }));
    EXPECT_EQ(printing.previews, 1);
    EXPECT_EQ(LastCall(), QStringLiteral("bv_getProjectInfoProjID 12"));
}

TEST_P(EmpOverviewDlgTest, RefreshTotalsBuildsTheTreeAfreshOnce)
{
    Open();
    m_source->calls.clear();
    m_window->OnCommand(CEmpOverviewDlg::kCmdRefreshTotals);
    EXPECT_EQ(Calls(), (QStringList{QStringLiteral("bv_GetProjInfoEmpID 1"),
                                    QStringLiteral("tvx_empSummary 1")}));
    EXPECT_EQ(View().Children(0).size(), 4);
    EXPECT_EQ(View().Children(1).size(), 4);
    EXPECT_EQ(View().Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(m_window->FilterGroup(CEmpOverviewDlg::kProjects).keys, (QList<int>{5, 6, 7, 8}));
}

TEST_P(EmpOverviewDlgTest, MenuCommandsGoToTheHubAndCloseKeepsThePlacement)
{
    m_hub = std::make_unique<CDummyDlg>(&m_db);
    Open();
    m_window->OnCommand(ID_TIMESHEETS);
    COverviewWindow::Pump();
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Timesheets is not available in this version of Kelvane."));

    ASSERT_TRUE(QFile::exists(Page()));
    m_window->OnCommand(ID_CLOSE_WINDOW);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(QFile::exists(Page()));
    EXPECT_FALSE(CProfileStore()
                     .value(QStringLiteral("Window Settings/EmpOverviewDlg"))
                     .toString()
                     .isEmpty());
}

INSTANTIATE_TEST_SUITE_P(File, EmpOverviewDlgTest, ::testing::Values(Backend::Sqlite), BackendName);
