#include "ui/MyTreeCtrl.h"
#include "tests/support/TestEnv.h"

TEST(MyTreeCtrl, FindsNothingInAnEmptyTree)
{
    CMyTreeCtrl tree;
    EXPECT_EQ(tree.FindItemByText(nullptr, QStringLiteral("x")), nullptr);
}

TEST(MyTreeCtrl, FindsTheFirstMatchDepthFirst)
{
    CMyTreeCtrl tree;
    QTreeWidgetItem* first = tree.InsertItem(QStringLiteral("first"));
    QTreeWidgetItem* inner = tree.InsertItem(QStringLiteral("inner"), first);
    QTreeWidgetItem* deep = tree.InsertItem(QStringLiteral("twin"), inner);
    QTreeWidgetItem* second = tree.InsertItem(QStringLiteral("twin"));
    // A parent's descendants come before the parent's next sibling.
    EXPECT_EQ(tree.FindItemByText(QStringLiteral("twin")), deep);
    EXPECT_EQ(tree.FindItemByText(second, QStringLiteral("twin")), second);
    EXPECT_EQ(tree.FindItemByText(QStringLiteral("Twin")), nullptr); // exact case
    // From an item the search covers it and its following siblings only.
    EXPECT_EQ(tree.FindItemByText(second, QStringLiteral("inner")), nullptr);
    EXPECT_EQ(tree.FindItemByText(inner, QStringLiteral("inner")), inner);
}

TEST(MyTreeCtrl, APendingSelectionIsAppliedOnlyWithAValue)
{
    CMyTreeCtrl tree;
    QTreeWidgetItem* a = tree.InsertItem(QStringLiteral("a"));
    QTreeWidgetItem* b = tree.InsertItem(QStringLiteral("b"), nullptr, 3, 42);
    tree.setCurrentItem(a);
    tree.SetPendingSelection(b, -1);
    tree.ApplyPendingSelection();
    EXPECT_EQ(tree.currentItem(), a);
    tree.SetPendingSelection(b, 0);
    tree.ApplyPendingSelection();
    EXPECT_EQ(tree.currentItem(), b);
    EXPECT_EQ(CMyTreeCtrl::ItemData(b), 42);
}

TEST(MyTreeCtrl, EveryImageIsTheTreesIcon)
{
    QWidget parent;
    auto* tree = new CMyTreeCtrl;
    tree->setParent(&parent);
    ASSERT_TRUE(tree->CreateTree(1083, QRect(0, 0, 100, 100), nullptr));
    EXPECT_EQ(tree->objectName(), QStringLiteral("id1083"));
    EXPECT_FALSE(tree->Image(0).isNull());
    EXPECT_FALSE(tree->Image(CMyTreeCtrl::kImageCount - 1).isNull());
    EXPECT_TRUE(tree->Image(CMyTreeCtrl::kImageCount).isNull());
}
