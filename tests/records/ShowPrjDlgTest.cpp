#include "data/records/ProjectSet.h"
#include "records/ProjStatsDlg.h"
#include "records/ProjectTasksDlg.h"
#include "records/TabPrjCustomer.h"
#include "records/TabPrjMembers.h"
#include "records/TabPrjOverview.h"
#include "tests/records/ProjectInfoFixture.h"
#include "ui/ColorStatic.h"
#include "ui/PageTabCtrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace {

class ShowPrjDlgTest : public ProjectInfoTest {
protected:
    QCheckBox* MyActive() const { return m_window->Control<QCheckBox>(CShowPrjDlg::kIdMyActive); }
    QStringList Members() const
    {
        QStringList rows;
        CTabPrjMembers* page = m_window->MembersPage();
        for (int r = 0; r < page->List()->ItemCount(); ++r)
            rows << QStringLiteral("%1 %2 %3")
                        .arg(page->Cell(r, CTabPrjMembers::kColId),
                             page->Cell(r, CTabPrjMembers::kColName),
                             page->Cell(r, CTabPrjMembers::kColHours));
        return rows;
    }
};

} // namespace

TEST_P(ShowPrjDlgTest, ARequestedProjectShowsItsLeaderAbstractTasksAndPages)
{
    Open(kAnn, kBridge);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Project Information - Bridge"));
    EXPECT_EQ(Chooser()->currentText(), QStringLiteral("Bridge"));
    // Ann's projects by name (the two Harbours tie).
    ASSERT_EQ(Chooser()->count(), 4);
    EXPECT_EQ(ChooserItems().mid(0, 2), QStringList({"Apollo", "Bridge"}));
    EXPECT_TRUE(MyActive()->isChecked());
    EXPECT_EQ(m_window->Control<QLabel>(CShowPrjDlg::kIdLeader)->text(), QStringLiteral("Ann Lee"));
    // Rich text shows as its text.
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("Deck and piers of the new crossing."));
    // Active tasks only, in the table's order.
    EXPECT_EQ(TaskRows(), QStringList({"1|Design|40.00|0.00|0.00 %|Drawings",
                                       "2|Build|0.00|0.00|0.00 %|On site"}));

    CTabPrjCustomer* customer = m_window->CustomerPage();
    EXPECT_EQ(customer->Text(CTabPrjCustomer::kIdCustomerProject), QStringLiteral("Quay crossing"));
    EXPECT_EQ(customer->Text(CTabPrjCustomer::kIdContact), QStringLiteral("Jane Roe"));
    EXPECT_EQ(customer->Text(CTabPrjCustomer::kIdInvoiceContact),
              QStringLiteral("Accounts Payable"));

    CProjStatsDlg* progress = m_window->ProgressPage();
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdStartDate), QStringLiteral("02/03/26"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdStopDate), QStringLiteral("Not set"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdState), QStringLiteral("Active"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdProgress), QStringLiteral("25.00 %"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdHourRate), QStringLiteral("80.00"));
    // No estimate: zero, in the plain colour.
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdRatio), QStringLiteral("0.00 %"));
    EXPECT_NE(progress->RatioColor(), CProjStatsDlg::kOverColor);

    // The leader once, though also in the team; hours summed; none is 0.00.
    EXPECT_EQ(Members(), QStringList({"1 Ann Lee 3.50", "2 Bob O'Neil 1.75", "3 Cleo Ng 0.00"}));
    EXPECT_EQ(m_window->MemberCount(), 3);

    CTabPrjOverview* overview = m_window->OverviewPage();
    EXPECT_EQ(overview->Text(CTabPrjOverview::kIdChangeRequests), QStringLiteral("0"));
    EXPECT_EQ(overview->Text(CTabPrjOverview::kIdComments), QStringLiteral("2"));
    EXPECT_EQ(overview->Text(CTabPrjOverview::kIdToDos), QStringLiteral("1"));
    EXPECT_EQ(overview->Text(CTabPrjOverview::kIdTimeSheets), QStringLiteral("3"));
    EXPECT_EQ(m_window->Tabs()->count(), 5);
    EXPECT_EQ(m_window->Tabs()->tabText(0), QStringLiteral("Project &Location"));
    EXPECT_EQ(m_window->Tabs()->tabText(4), QStringLiteral("&Documentation"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();

    // Switching projects leaves nothing of the last one.
    Choose(kApollo);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Project Information - Apollo"));
    EXPECT_EQ(Members(), QStringList({"2 Bob O'Neil 0.00", "1 Ann Lee 1.00"}));
    EXPECT_EQ(TaskRows(), QStringList({"4|Launch|10.00|0.00|0.00 %|"}));
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("Plain abstract"));
}

TEST_P(ShowPrjDlgTest, StoredNamesAreShownAsTheyAreNotAsMarkup)
{
    Exec(QStringLiteral("UPDATE tblFinEmployee SET EmpFullName = '<b>Ann</b> & <i>Lee</i>' WHERE "
                        "EmpID = 1"));
    Exec(QStringLiteral("UPDATE tblProject SET CustProjName = '<u>Quay</u>' WHERE ProjID = 1"));
    Open(kAnn, kBridge);
    for (int id : {int(CShowPrjDlg::kIdLeader), int(CTabPrjCustomer::kIdCustomerProject)}) {
        const auto* label = m_window->findChild<QLabel*>(CDialogBase::ControlName(id));
        ASSERT_NE(label, nullptr) << id;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << id;
    }
    EXPECT_EQ(m_window->Control<QLabel>(CShowPrjDlg::kIdLeader)->text(),
              QStringLiteral("<b>Ann</b> & <i>Lee</i>"));
}

TEST_P(ShowPrjDlgTest, FromTheMenuTheUsersFirstProjectByNameOrWithoutProjectsTheFirstById)
{
    Open();
    EXPECT_EQ(m_window->ProjectId(), kApollo);
    EXPECT_EQ(Chooser()->currentText(), QStringLiteral("Apollo"));
    EXPECT_EQ(m_hub->OpenWindows(), kOpenProjectInfo);
    // A second command only brings it forward.
    m_hub->OnCommand(ID_PROJECT_INFO);
    EXPECT_EQ(m_hub->Window(ID_PROJECT_INFO), static_cast<IHubWindow*>(m_window));
    Close();
    EXPECT_EQ(m_hub->OpenWindows(), 0);

    Option("USER/DefUserName", QStringLiteral("Dan Ray"));
    Open();
    EXPECT_EQ(m_window->ProjectId(), kBridge);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Project Information - Bridge"));
    // Dan's list would not hold it: every project is offered, Bridge chosen.
    EXPECT_FALSE(MyActive()->isChecked());
    EXPECT_EQ(Chooser()->currentText(), QStringLiteral("Bridge"));
    EXPECT_EQ(Chooser()->count(), 5);
}

TEST_P(ShowPrjDlgTest, TheSameProjectIsNotReadAgainAProjectOfTheSameNameInAnotherCaseIs)
{
    Open(kAnn, kHarbour);
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("lower"));
    Exec(QStringLiteral("UPDATE tblProject SET Abstract = 'changed' WHERE ProjID = 4"));
    Choose(kHarbour);
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("lower"));
    Choose(kHarbourUpper);
    EXPECT_EQ(m_window->ProjectId(), kHarbourUpper);
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("upper"));
    Choose(kHarbour);
    EXPECT_EQ(m_window->AbstractText(), QStringLiteral("changed"));
}

TEST_P(ShowPrjDlgTest, MyActiveProjectsSwitchesTheListAndKeepsTheProjectShown)
{
    // The time sheet's list of Ann's projects, which the window leaves alone.
    ASSERT_TRUE(m_db.LoadProjects(kAnn));
    Open(kAnn, kBridge);
    ASSERT_EQ(Chooser()->count(), 4);
    QTest::mouseClick(MyActive(), Qt::LeftButton);
    EXPECT_FALSE(MyActive()->isChecked());
    EXPECT_EQ(Chooser()->count(), 5);
    EXPECT_EQ(m_db.Projects().size(), 4);
    EXPECT_EQ(Chooser()->currentText(), QStringLiteral("Bridge"));
    Choose(kDeck);
    EXPECT_EQ(m_window->ProjectId(), kDeck);
    // Back to Ann's list, which lacks the project shown: it stays shown.
    QTest::mouseClick(MyActive(), Qt::LeftButton);
    EXPECT_TRUE(MyActive()->isChecked());
    EXPECT_EQ(Chooser()->count(), 4);
    EXPECT_EQ(Chooser()->currentIndex(), -1);
    EXPECT_EQ(m_window->ProjectId(), kDeck);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Project Information - O'Neil's Deck"));
}

TEST_P(ShowPrjDlgTest, AStoredLayoutPutsEachValueUnderItsOwnCaption)
{
    // Details first, then the percentage, the id and the task; the hours last.
    Option("Window Settings/SPDlgList", QStringLiteral("5,200,4,-1,0,40,1,-1,2,-1,3,-1"));
    Open(kAnn, kBridge);
    CMyListCtrl* list = m_window->List();
    QStringList captions;
    for (int c = 0; c < list->columnCount(); ++c)
        captions << list->headerItem()->text(c);
    EXPECT_EQ(captions,
              QStringList({"Details", "Percent", "ID", "Task", "Est Hours", "Act Hours"}));
    EXPECT_EQ(list->columnWidth(0), 200);
    EXPECT_EQ(list->columnWidth(1), 60); // -1 keeps the table's width
    EXPECT_EQ(list->ItemText(0, 0), QStringLiteral("Drawings"));
    EXPECT_EQ(list->ItemText(0, 2), QStringLiteral("1"));
    EXPECT_EQ(list->ItemText(0, 3), QStringLiteral("Design"));
    EXPECT_EQ(list->ItemText(0, 4), QStringLiteral("40.00"));
    EXPECT_EQ(m_window->TaskCell(1, CShowPrjDlg::kColTask), QStringLiteral("Build"));

    // A double click opens exactly the task of the row.
    CScriptedModals modals;
    int shown = -1;
    modals.Then([&shown](CDialogBase& dialog) {
        shown = static_cast<CProjectTasksDlg&>(dialog).TaskId();
        return int(IDCANCEL);
    });
    const QRect cell = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(modals.seen, QStringList({"CProjectTasksDlg"}));
    EXPECT_EQ(shown, kBuild);
}

TEST_P(ShowPrjDlgTest, UpdateTotalsRebuildsTheHoursOfTasksAndProject)
{
    Open(kAnn, kBridge);
    EXPECT_EQ(m_window->ProgressPage()->Text(CProjStatsDlg::kIdActualHours),
              QStringLiteral("0.00"));
    Book(kCleo, kBridge, kDesign, 9, 0.5f);
    QTest::mouseClick(m_window->Control<QWidget>(CShowPrjDlg::kIdUpdateTotals), Qt::LeftButton);
    EXPECT_EQ(TaskRows(), QStringList({"1|Design|40.00|4.00|10.00 %|Drawings",
                                       "2|Build|0.00|1.75|0.00 %|On site"}));
    EXPECT_FLOAT_EQ(Stored(QStringLiteral("SELECT ActHours FROM tblProjectTask WHERE TaskID = "
                                          "3"))
                        .toFloat(),
                    0.0f);
    // The project's own totals: every hour booked on it, every task's estimate.
    CProjStatsDlg* progress = m_window->ProgressPage();
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdActualHours), QStringLiteral("5.75"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdEstimatedHours), QStringLiteral("48.00"));
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdRatio), QStringLiteral("11.98 %"));
    EXPECT_EQ(Stored(QStringLiteral("SELECT ProjHours FROM tblProject WHERE ProjID = 2")).toFloat(),
              0.0f); // another project: left alone
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();

    // Over the estimate: red; exactly on it: the plain colour.
    Exec(QStringLiteral("UPDATE tblProjectTask SET EstHours = 5.75 WHERE TaskID = 1"));
    Exec(QStringLiteral("UPDATE tblProjectTask SET EstHours = 0 WHERE TaskID = 3"));
    m_window->OnUpdateTotals();
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdRatio), QStringLiteral("100.00 %"));
    EXPECT_NE(progress->RatioColor(), CProjStatsDlg::kOverColor);
    Book(kCleo, kBridge, kDesign, 10, 0.25f);
    m_window->OnUpdateTotals();
    EXPECT_EQ(progress->Text(CProjStatsDlg::kIdRatio), QStringLiteral("104.35 %"));
    EXPECT_EQ(progress->RatioColor(), CProjStatsDlg::kOverColor);
}

TEST_P(ShowPrjDlgTest, TheHubsRequestSwitchesTheOpenWindowAlsoToAProjectOfAnotherList)
{
    Open(kAnn, kBridge);
    CShowPrjDlg* first = m_window;
    m_hub->OnShowProjectInfo(kAnn, kApollo);
    EXPECT_EQ(m_hub->Window(ID_PROJECT_INFO), static_cast<IHubWindow*>(first));
    EXPECT_EQ(m_window->ProjectId(), kApollo);
    EXPECT_TRUE(MyActive()->isChecked());
    // Bob's project, asked for from Bob's time sheet: Bob's list.
    m_hub->OnShowProjectInfo(kBob, kDeck);
    EXPECT_EQ(m_window->ProjectId(), kDeck);
    EXPECT_EQ(m_window->EmployeeFilter(), kBob);
    EXPECT_EQ(ChooserItems(), QStringList({"Apollo", "Bridge", "O'Neil's Deck"}));
    // One nobody's list holds there: every project is offered.
    m_hub->OnShowProjectInfo(kBob, kHarbour);
    EXPECT_EQ(m_window->ProjectId(), kHarbour);
    EXPECT_FALSE(MyActive()->isChecked());
    EXPECT_EQ(Chooser()->currentText(), QStringLiteral("Harbour"));

    // Closing clears the request and stores the placement.
    m_hub->m_pendingProjId = kApollo;
    Close();
    EXPECT_EQ(m_hub->m_pendingProjId, -1);
    EXPECT_TRUE(CProfileStore().contains(QStringLiteral("Window Settings/ShowPrjDlg")));
}

TEST_P(ShowPrjDlgTest, KeysFocusTheTaskListAndOpenItsTask)
{
    Open(kAnn, kBridge);
    m_window->show();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window));
    Chooser()->setFocus();
    ASSERT_TRUE(Chooser()->hasFocus());
    QTest::keyClick(Chooser(), Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(m_window->List()->hasFocus());
    EXPECT_EQ(m_window->List()->GetFirstSelected(), 0);

    CScriptedModals modals;
    int shown = -1;
    modals.Then([&shown](CDialogBase& dialog) {
        shown = static_cast<CProjectTasksDlg&>(dialog).TaskId();
        return int(IDCANCEL);
    });
    m_window->List()->clearSelection();
    m_window->List()->SelectItem(1);
    QTest::keyClick(m_window->List(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(shown, kBuild);
    // Esc closes the window.
    QTest::keyClick(m_window->List(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_hub->Window(ID_PROJECT_INFO), nullptr);
    m_window = nullptr;
}

KELVANE_INSTANTIATE_BACKENDS(ShowPrjDlgTest);

// The picture of the README, when asked for (KELVANE_SCREENSHOT_DIR).
// Closing the program with the members page shown and the task list in hand:
// the pages leave as the window goes, and the focus they hand back must not
// reach the half-gone window.
TEST_P(ShowPrjDlgTest, TheWindowGoesCleanlyWithAPageShownAndItsListInHand)
{
    Open(kAnn, kBridge);
    m_window->OnUpdateTotals();
    m_window->Tabs()->SelectPage(3);
    m_window->List()->SelectItem(0);
    QCoreApplication::processEvents();
    m_window->grab();
    // The hub takes the window with it (TearDown).
}

TEST_P(ShowPrjDlgTest, Picture)
{
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (folder.isEmpty() || IsPostgres())
        GTEST_SKIP() << "no picture asked for";
    Exec(QStringLiteral("UPDATE tblProject SET ProjDir = '/srv/projects/bridge', ProjFilename = "
                        "'/srv/projects/bridge/bridge-plan.mpp', ProjStopDate = ? WHERE ProjID = "
                        "1"),
         {QVariant::fromValue(CDateTime(2026, 9, 30))});
    Exec(QStringLiteral("UPDATE tblProjectTask SET EstHours = 6, Comment = 'Deck and pier "
                        "drawings for the council' WHERE TaskID = 2"));
    Book(kCleo, kBridge, kBuild, 5, 3.25f);
    Open(kAnn, kBridge);
    m_window->resize(660, 640);
    m_window->OnUpdateTotals();
    m_window->Tabs()->SelectPage(3);
    m_window->List()->SelectItem(0);
    QCoreApplication::processEvents();
    m_window->grab().save(folder + QStringLiteral("/projectinfo.png"));
}
