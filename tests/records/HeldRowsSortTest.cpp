#include "tests/records/ChgRqstWindowFixture.h"
#include "tests/records/CommentFixture.h"

// A header click of the comments and change-request windows puts the rows
// they hold in order: what was written behind the window comes only with the
// next reading, and the order is the same on either back end.

namespace {

class CommentHeldRowsTest : public CommentTest {
protected:
    void Click(int kind)
    {
        emit m_window->List()->header()->sectionClicked(m_window->ColumnOf(kind));
    }
};

class ChgRqstHeldRowsTest : public ChgRqstWindowTest {
protected:
    void Click(int kind)
    {
        emit m_window->List()->header()->sectionClicked(m_window->ColumnOf(kind));
    }
};

} // namespace

TEST_P(CommentHeldRowsTest, AHeaderClickSortsTheRowsHeldByTheirValuesThenTheirIds)
{
    Open();
    ShowEverything();
    AddComment(kApollo, kAnn, kZeta, QStringLiteral("Written meanwhile"), Day(6, 8, 0), {}, 2,
               QString(), QStringLiteral("Info"), -1, QString());
    SelectRow(RowOf(2));

    // Projects down, then up; the same project by id in the same direction.
    Click(CCommentColumns::kProject);
    EXPECT_EQ(Ids(), QList<int>({5, 2, 1, 4, 3}));
    EXPECT_EQ(m_window->RowAt(m_window->List()->GetFirstSelected())->CommentID, 2);
    Click(CCommentColumns::kProject);
    EXPECT_EQ(Ids(), QList<int>({3, 4, 1, 2, 5}));
    EXPECT_EQ(Cell(0, CCommentColumns::kProject), QStringLiteral("Apollo"));

    // No company and no action date count as a blank, before the others.
    Click(CCommentColumns::kCompany);
    Click(CCommentColumns::kCompany);
    EXPECT_EQ(Ids(), QList<int>({4, 5, 1, 2, 3}));
    Click(CCommentColumns::kActioned);
    EXPECT_EQ(Ids(), QList<int>({2, 4, 5, 3, 1}));
    Click(CCommentColumns::kActioned);
    EXPECT_EQ(Ids(), QList<int>({1, 3, 5, 4, 2}));
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("5 Comments found"));

    // Read again, the new comment takes its place in the same order.
    m_window->OnCommand(CCommentDlg::kCmdRefresh);
    EXPECT_EQ(Ids(), QList<int>({1, 3, 5, 6, 4, 2}));
}

TEST_P(ChgRqstHeldRowsTest, AHeaderClickSortsTheRowsHeldByTheirValuesThenTheirIds)
{
    Open();
    ShowEverything();
    CRequest meanwhile;
    meanwhile.reference = QStringLiteral("A-1");
    meanwhile.item = QStringLiteral("Written meanwhile");
    const int added = AddRequest(meanwhile);
    SelectRow(RowOf(Id(2)));

    Click(CChgRqstColumns::kReference);
    EXPECT_EQ(Ids(), IdsOf({4, 5, 2, 1, 3}));
    EXPECT_EQ(m_window->List()->GetFirstSelected(), RowOf(Id(2)));
    Click(CChgRqstColumns::kReference);
    EXPECT_EQ(Ids(), IdsOf({3, 1, 2, 5, 4}));
    Click(CChgRqstColumns::kId);
    EXPECT_EQ(Ids(), IdsOf({5, 4, 3, 2, 1}));

    m_window->OnCommand(CChgRqstDlg::kCmdRefresh);
    EXPECT_EQ(Ids().first(), added);
    EXPECT_EQ(m_window->ChgRqstRowCount(), 6);
}

KELVANE_INSTANTIATE_BACKENDS(CommentHeldRowsTest);
KELVANE_INSTANTIATE_BACKENDS(ChgRqstHeldRowsTest);
