#include "tests/support/TestEnv.h"
#include "tests/ui/RecordingTreeListDlg.h"

#include <QHeaderView>
#include <QTest>

namespace {

class TreeListDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CMyListCtrl* list = m_dlg.List();
        list->InsertRow({"alpha", "3", "01/02/2024"});
        list->InsertRow({"beta", "1", "02/02/2024"});
        CMyTreeCtrl* tree = m_dlg.Tree();
        m_groups = tree->InsertItem(QStringLiteral("Groups"));
        m_child = tree->InsertItem(QStringLiteral("Child"), m_groups);
        tree->expandAll();
        m_dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
        m_dlg.Forget();
    }

    QPoint RowPoint(int row) const
    {
        CMyListCtrl* list = m_dlg.List();
        return list->visualItemRect(list->topLevelItem(row)).center();
    }
    QPoint TreeLabelPoint(QTreeWidgetItem* item) const
    {
        const QRect rect = m_dlg.Tree()->visualItemRect(item);
        return QPoint(rect.left() + 10, rect.center().y());
    }

    CRecordingTreeListDlg m_dlg;
    QTreeWidgetItem* m_groups = nullptr;
    QTreeWidgetItem* m_child = nullptr;
};

} // namespace

TEST_F(TreeListDlgTest, AClickOnARowCallsDownUpAndSelectedInOrder)
{
    QTest::mouseClick(m_dlg.List()->viewport(), Qt::LeftButton, {}, RowPoint(1));
    EXPECT_EQ(m_dlg.log, QStringList({"9", "10", "1 1"}));
}

TEST_F(TreeListDlgTest, AClickWithNoRowSelectedReportsNoSelection)
{
    const QPoint below(20, m_dlg.List()->viewport()->height() - 5);
    QTest::mouseClick(m_dlg.List()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(m_dlg.log, QStringList({"9", "10"}));
}

TEST_F(TreeListDlgTest, ADoubleClickActivatesEvenWithoutASelection)
{
    QTest::mouseClick(m_dlg.List()->viewport(), Qt::LeftButton, {}, RowPoint(0));
    QTest::mouseDClick(m_dlg.List()->viewport(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_TRUE(m_dlg.log.contains(QStringLiteral("2 0 list")));

    m_dlg.List()->clearSelection();
    m_dlg.Forget();
    const QPoint below(20, m_dlg.List()->viewport()->height() - 5);
    QTest::mouseDClick(m_dlg.List()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(m_dlg.log.contains(QStringLiteral("2 -1 list")));
}

TEST_F(TreeListDlgTest, ARightClickOnTheListSelectsThenOpensAndClosesTheMenu)
{
    QTest::mouseClick(m_dlg.List()->viewport(), Qt::RightButton, {}, RowPoint(1));
    EXPECT_EQ(m_dlg.log, QStringList({"5 list", "6"}));
    EXPECT_EQ(m_dlg.List()->GetFirstSelected(), 1);
}

TEST_F(TreeListDlgTest, ARightClickOffTheTreesItemsKeepsTheSelection)
{
    CMyTreeCtrl* tree = m_dlg.Tree();
    tree->setCurrentItem(m_child);
    const QPoint empty(20, tree->viewport()->height() - 5);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, empty);
    EXPECT_EQ(tree->currentItem(), m_child);
    EXPECT_EQ(m_dlg.log, QStringList({"5 tree", "6"}));

    m_dlg.Forget();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, TreeLabelPoint(m_groups));
    EXPECT_EQ(tree->currentItem(), m_groups);
    EXPECT_EQ(m_dlg.log, QStringList({"5 tree", "6"}));
}

TEST_F(TreeListDlgTest, TheTreesButtonUpReachesItsOperation)
{
    QTest::mouseClick(m_dlg.Tree()->viewport(), Qt::LeftButton, {}, TreeLabelPoint(m_child));
    EXPECT_EQ(m_dlg.log, QStringList({"9", "11"}));
}

TEST_F(TreeListDlgTest, ADoubleClickOnTheTreeActivatesWithoutFolding)
{
    CMyTreeCtrl* tree = m_dlg.Tree();
    // The first click of a double click selects, the second activates.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, TreeLabelPoint(m_groups));
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, TreeLabelPoint(m_groups));
    EXPECT_EQ(m_dlg.log.last(), QStringLiteral("3 Groups"));
    EXPECT_TRUE(m_groups->isExpanded());
}

TEST_F(TreeListDlgTest, KeysOnTheListGoToTheKeyOperation)
{
    m_dlg.List()->setFocus();
    m_dlg.Forget();
    QTest::keyClick(m_dlg.List(), Qt::Key_Period);
    QTest::keyClick(m_dlg.List(), Qt::Key_M);
    EXPECT_EQ(m_dlg.log, QStringList({"13 190 list", "13 77 list"}));
}

TEST_F(TreeListDlgTest, TheEnterKeyOnTheTreeIsOnlyAKey)
{
    m_dlg.Tree()->setFocus();
    m_dlg.Forget();
    QTest::keyClick(m_dlg.Tree(), Qt::Key_Return);
    EXPECT_EQ(m_dlg.log, QStringList({"13 13 tree"}));
}

TEST_F(TreeListDlgTest, TheListReportsItsFocusWithTheSelectedRow)
{
    m_dlg.List()->SelectItem(1);
    m_dlg.Tree()->setFocus();
    m_dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dlg));
    m_dlg.Forget();
    m_dlg.List()->setFocus();
    EXPECT_EQ(m_dlg.log, QStringList({"12 1"}));
}

TEST_F(TreeListDlgTest, MouseMovesAreReportedBeforeTheControlsAct)
{
    m_dlg.logMoves = true;
    QTest::mouseMove(m_dlg.List()->viewport(), RowPoint(0));
    QTest::mouseMove(m_dlg.Tree()->viewport(), TreeLabelPoint(m_groups));
    EXPECT_TRUE(m_dlg.log.contains(QStringLiteral("7")));
    EXPECT_TRUE(m_dlg.log.contains(QStringLiteral("8")));
}

TEST_F(TreeListDlgTest, AHeaderClickSortsAndThenAsksToFillTheList)
{
    QHeaderView* header = m_dlg.List()->header();
    const QPoint first(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(m_dlg.log, QStringList({"14"}));
    EXPECT_EQ(m_dlg.List()->ItemText(0, 0), QStringLiteral("beta"));
}

TEST_F(TreeListDlgTest, DraggingTheBarReportsMovesAndTheRelease)
{
    CMyColorBut* bar = m_dlg.SplitterBar();
    EXPECT_EQ(bar->geometry().left(), m_dlg.TreeRect().right() + 1);
    QTest::mouseMove(bar, QPoint(1, 10)); // not dragging yet
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(1, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(21, 10), bar->mapToGlobal(QPointF(21, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(31, 10));
    EXPECT_EQ(m_dlg.log, QStringList({"4 0 21", "4 1 31"}));
    EXPECT_FALSE(bar->IsDragging());

    // A release without a drag is still reported.
    m_dlg.Forget();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_EQ(m_dlg.log, QStringList({"4 1 2"}));
}

TEST_F(TreeListDlgTest, OneSplitterLineIsShownWhileDragging)
{
    EXPECT_EQ(m_dlg.SplitterX(), CTreeListDlg::kNoSplitter);
    EXPECT_TRUE(m_dlg.SplitterLine().isEmpty());
    const int treeRight = m_dlg.TreeRect().right() + 1;

    m_dlg.DrawSplitterMove(10, 7);
    const QRect line = m_dlg.SplitterLine();
    EXPECT_EQ(line, QRect(treeRight + 8, 0, 4, m_dlg.TreeRect().height()));
    m_dlg.DrawSplitterMove(10, 7); // the same place again: still one line there
    EXPECT_EQ(m_dlg.SplitterLine(), line);
    m_dlg.DrawSplitterMove(30, 8);
    EXPECT_EQ(m_dlg.SplitterLine().left(), treeRight + 28);
    EXPECT_EQ(m_dlg.SplitterValue(), 8);

    m_dlg.EraseSplitter(30);
    EXPECT_EQ(m_dlg.SplitterX(), CTreeListDlg::kNoSplitter);
    EXPECT_TRUE(m_dlg.SplitterLine().isEmpty());
}

TEST_F(TreeListDlgTest, ClosingTheWindowReportsNothingMore)
{
    auto dlg = std::make_unique<CRecordingTreeListDlg>();
    dlg->show();
    dlg->List()->setFocus();
    dlg.reset(); // focus moves while the children go: no operation may run
    SUCCEED();
}
