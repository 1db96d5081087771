#include "records/TabPrjOverview.h"
#include "records/CommentDlg.h"
#include "review/SearchResultTable.h"
#include "review/SearchViewDlg.h"
#include "tests/records/ProjectInfoFixture.h"

#include <QPushButton>

namespace {

class TabPrjOverviewTest : public ProjectInfoTest {
protected:
    void TearDown() override
    {
        UnregisterHubWindow(ID_TASKS);
        UnregisterHubWindow(ID_CHANGE_REQUESTS);
        ProjectInfoTest::TearDown();
    }
    CTabPrjOverview* Page() const { return m_window->OverviewPage(); }
    QPushButton* Button(int id) const { return Page()->Control<QPushButton>(id); }
    // The results windows the page opened, oldest first.
    QList<CSearchViewDlg*> Views() const
    {
        QList<CSearchViewDlg*> views;
        for (const QPointer<QObject>& view : m_window->SearchViews())
            if (auto* dialog = qobject_cast<CSearchViewDlg*>(view.data()))
                views << dialog;
        return views;
    }
};

} // namespace

TEST_P(TabPrjOverviewTest, TheViewButtonsFollowTheOptionsTheTimeSheetsButtonAlwaysWorks)
{
    Option("Admin/UseToDo", 0);
    Option("Admin/UseChgrqsts", 0);
    Open(kAnn, kBridge);
    EXPECT_FALSE(Button(CTabPrjOverview::kIdViewComments)->isEnabled());
    EXPECT_FALSE(Button(CTabPrjOverview::kIdViewToDos)->isEnabled());
    EXPECT_FALSE(Button(CTabPrjOverview::kIdViewChangeRequests)->isEnabled());
    EXPECT_TRUE(Button(CTabPrjOverview::kIdViewTimeSheets)->isEnabled());
    Close();
    Option("Admin/UseToDo", 1);
    Option("Admin/UseChgrqsts", 1);
    Open(kAnn, kBridge);
    EXPECT_TRUE(Button(CTabPrjOverview::kIdViewComments)->isEnabled());
    EXPECT_TRUE(Button(CTabPrjOverview::kIdViewChangeRequests)->isEnabled());
}

TEST_P(TabPrjOverviewTest, ToDosCommentsAndChangeRequestsOpenTheirWindowsOnTheProject)
{
    RegisterHubWindow(ID_TASKS, [this](CDummyDlg& hub) -> IHubWindow* {
        return new CCommentDlg(&hub, m_db, &hub);
    });
    int requestedProject = -2;
    bool changeRequests = false;
    RegisterHubWindow(ID_CHANGE_REQUESTS, [&](CDummyDlg& hub) -> IHubWindow* {
        requestedProject = hub.m_pendingProjId;
        changeRequests = hub.m_pendingFlags[0];
        return nullptr;
    });
    Open(kAnn, kBridge);
    Button(CTabPrjOverview::kIdViewToDos)->click();
    auto* comments = dynamic_cast<CCommentDlg*>(m_hub->Window(ID_TASKS));
    ASSERT_NE(comments, nullptr) << Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(comments->NodeId(), kBridge);
    EXPECT_EQ(comments->CommentRowCount(), 1); // the to-do

    Choose(kApollo);
    Button(CTabPrjOverview::kIdViewComments)->click();
    EXPECT_EQ(m_hub->Window(ID_TASKS), static_cast<IHubWindow*>(comments));
    EXPECT_EQ(comments->NodeId(), kApollo);

    Button(CTabPrjOverview::kIdViewChangeRequests)->click();
    EXPECT_EQ(requestedProject, kApollo);
    EXPECT_TRUE(changeRequests);
}

TEST_P(TabPrjOverviewTest, TheTimeSheetsOfTheProjectOpenInASearchResultsWindow)
{
    // A name with an apostrophe: the rows are chosen by the project's id.
    Open(kBob, kDeck);
    EXPECT_EQ(Page()->Text(CTabPrjOverview::kIdTimeSheets), QStringLiteral("1"));
    // No comments or change requests: the summary has no row, the counts are 0.
    EXPECT_EQ(Page()->Text(CTabPrjOverview::kIdComments), QStringLiteral("0"));
    EXPECT_EQ(Page()->Text(CTabPrjOverview::kIdChangeRequests), QStringLiteral("0"));
    EXPECT_TRUE(Page()->OnViewTimesheets());
    ASSERT_EQ(Views().size(), 1);
    CSearchViewDlg* deck = Views().first();
    EXPECT_TRUE(deck->isVisible());
    EXPECT_EQ(deck->Table().RowCount(), 1);
    EXPECT_EQ(deck->Table().Text(0, 0), QStringLiteral("O'Neil's Deck"));
    EXPECT_TRUE(deck->windowTitle().endsWith(QStringLiteral(" - O'Neil's Deck")));

    Choose(kBridge);
    Button(CTabPrjOverview::kIdViewTimeSheets)->click();
    ASSERT_EQ(Views().size(), 2);
    const CSearchResultTable& bridge = Views().last()->Table();
    ASSERT_EQ(bridge.RowCount(), 3);
    // Latest first: Ann's Design of the 2nd, then the two of the 1st.
    QStringList rows;
    for (int r = 0; r < bridge.RowCount(); ++r)
        rows << bridge.Text(r, 0) + QLatin1Char(' ') + bridge.Text(r, 2);
    EXPECT_EQ(rows.first(), QStringLiteral("Bridge Design"));
    EXPECT_EQ(rows.mid(1).size(), 2);
    EXPECT_TRUE(rows.mid(1).contains(QStringLiteral("Bridge Build")));

    // No rows: no window and no message.
    m_window->OnMyActiveProjects();
    Choose(kHarbour);
    EXPECT_TRUE(Page()->OnViewTimesheets());
    EXPECT_EQ(Views().size(), 2);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
    // The window takes its results windows with it.
    const QPointer<CSearchViewDlg> kept(deck);
    Close();
    EXPECT_TRUE(kept.isNull());
}

KELVANE_INSTANTIATE_BACKENDS(TabPrjOverviewTest);
