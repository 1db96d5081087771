#include "tests/treelist/SarvexFixture.h"

#include <QImage>

using namespace SarvexIds;

namespace {

using SarvexTree = SarvexTest;

} // namespace

TEST_F(SarvexTree, SaysReadyOnceAtItsFirstPaintWithItsPanesInPlace)
{
    Create();
    ASSERT_TRUE(TreeWindow());
    ASSERT_TRUE(ListWindow());
    ASSERT_TRUE(Splitter());
    EXPECT_FALSE(BrowserWindow());
    EXPECT_EQ(TreeWindow()->geometry(), QRect(0, 0, 150, 300));
    EXPECT_EQ(Splitter()->geometry(), QRect(150, 0, 3, 300));
    EXPECT_EQ(ListWindow()->geometry(), QRect(153, 0, 347, 300));

    m_host.hide();
    m_host.show();
    m_host.ControlWidget()->repaint();
    Pump();
    EXPECT_EQ(Count(kNotifyReady), 1);

    int big = 0;
    int small = 0;
    m_host.GetVersion(big, small);
    EXPECT_EQ(big, 1);
    EXPECT_EQ(small, 3);
    EXPECT_EQ(m_host.ReturnVerBig(), 1);
    EXPECT_EQ(m_host.ReturnVerSml(), 3);
}

TEST_F(SarvexTree, ATreeFilledBeforeItsFirstPaintShowsWhenItIsReady)
{
    ASSERT_TRUE(m_host.Create());
    m_host.SetParent(QStringLiteral("root"), 0, 0, 1, QString(), 0, 0, 0);
    m_host.SetChild(QStringLiteral("child"), 1, 0, 0, 1, QString(), 0, 0, 0);
    m_host.ExpandNode(0, kExpand);
    EXPECT_EQ(m_host.NumberChildren(0), 1);
    m_host.resize(400, 300);
    m_host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    Pump();
    ASSERT_TRUE(TreeItem(QStringLiteral("child")));
    EXPECT_TRUE(TreeItem(QStringLiteral("root"))->isExpanded());
}

TEST_F(SarvexTree, WithNothingSelectedTheLowestKeyBecomesTheSelectedOne)
{
    Create();
    int key = -7;
    EXPECT_TRUE(m_host.GetTreeSelKey(key));
    EXPECT_EQ(key, -7); // an empty tree leaves it alone

    BuildGroups();
    EXPECT_TRUE(m_host.GetTreeSelKey(key));
    EXPECT_EQ(key, 0);
    EXPECT_EQ(TreeWindow()->currentItem(), TreeItem(QStringLiteral("jbloggs")));
    EXPECT_EQ(m_host.RetSelKey(), 0);
    // A query is no selection by the user.
    EXPECT_EQ(Count(kTreeLButDown), 0);
}

TEST_F(SarvexTree, TheUsersSelectionShowsTheKeysListAndIsToldAfterwards)
{
    Create();
    BuildGroups();
    m_host.ExpandNode(0, kExpand);
    Pump();
    QStringList shownWhenTold;
    OnEvent(kTreeLButDown, [&](const Heard&) { shownWhenTold = ListColumn(1); });

    ClickTree(QStringLiteral("My Projects"));
    ASSERT_EQ(Count(kTreeLButDown), 1);
    EXPECT_EQ(Last(kTreeLButDown).numbers, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(Last(kTreeLButDown).text, QStringLiteral("My Projects"));
    EXPECT_EQ(shownWhenTold, (QStringList{"Gamma", "Alpha", "Beta"}));
    EXPECT_EQ(Headings(), (QStringList{"Id", "Name"}));
    EXPECT_EQ(ListColumn(0), (QStringList{"9", "10", "7"}));

    // The first item the user ever clicks counts too, and so does a
    // double-click, with the key and text of the selected node.
    DoubleClick(TreeWindow()->viewport(), TreePoint(QStringLiteral("My TimeSheets")));
    EXPECT_EQ(Last(kTreeLButDown).numbers, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(Count(kTreeLButDown), 2);
    ASSERT_EQ(Count(kTreeDblClick), 1);
    EXPECT_EQ(Last(kTreeDblClick).numbers, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(Last(kTreeDblClick).text, QStringLiteral("My TimeSheets"));
    EXPECT_EQ(ListColumn(1), (QStringList{"Week 10", "Week 11"}));

    // The container's own selection is told at once.
    EXPECT_TRUE(m_host.SetSelectKey(3));
    EXPECT_EQ(Last(kTreeLButDown).numbers, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(ListColumn(1), (QStringList{"Note"}));
    const int told = Count(kTreeLButDown);
    EXPECT_TRUE(m_host.SetSelectKey(3));
    EXPECT_EQ(Count(kTreeLButDown), told);
    EXPECT_TRUE(m_host.SetSelectKey(404));
    EXPECT_EQ(m_host.RetSelKey(), 3);
}

TEST_F(SarvexTree, DeletingAGroupTakesItsSubtreeListsAndPlaceInTheParent)
{
    Create();
    BuildGroups();
    m_host.SetTreeStorageStr(6, QStringLiteral("kept"));
    m_host.SetSelectKey(6);
    ASSERT_EQ(m_host.NumberChildren(0), 3);
    Forget();

    // The selected node goes with its group; the key named instead of it
    // is selected, and told.
    EXPECT_TRUE(m_host.DeleteAtKey(1, 2));
    EXPECT_EQ(m_host.NumberChildren(0), 2);
    EXPECT_EQ(m_host.GetChildkey(0, 0), 2);
    for (const int key : {1, 5, 6, 7})
        EXPECT_EQ(m_host.QueryForKeyParent(key), -1) << key;
    EXPECT_EQ(m_host.GetTreeStorageStr(6), QString());
    EXPECT_FALSE(TreeItem(QStringLiteral("Alpha")));
    EXPECT_FALSE(TreeItem(QStringLiteral("My Projects")));
    EXPECT_EQ(m_host.RetSelKey(), 2);
    EXPECT_EQ(Last(kTreeLButDown).numbers, (std::vector<std::int32_t>{2}));
    int rows = -5;
    EXPECT_EQ(m_host.GetListStr(1, rows, 5, 1), QString());
    EXPECT_EQ(rows, -5);
    EXPECT_EQ(m_host.RetListStr(2, 8, 1), QStringLiteral("Week 10"));

    // A key that cannot be selected leaves the first node selected.
    EXPECT_TRUE(m_host.DeleteAtKey(2, 404));
    EXPECT_EQ(m_host.RetSelKey(), 0);
    EXPECT_EQ(TreeWindow()->currentItem(), TreeItem(QStringLiteral("jbloggs")));

    // Deleting a node that is not selected changes no selection.
    Forget();
    EXPECT_TRUE(m_host.DeleteAtKey(10, 0));
    EXPECT_EQ(m_host.NumberChildren(3), 0);
    EXPECT_EQ(Count(kTreeLButDown), 0);
    EXPECT_TRUE(m_host.DeleteAtKey(12345, 0));
}

TEST_F(SarvexTree, ARebuildKeepsWhatWasCollapsedCollapsed)
{
    Create();
    BuildGroups();
    for (const int key : {0, 1, 2, 3})
        m_host.ExpandNode(key, kExpand);
    m_host.SetSelectKey(2);
    // The user collapses the node with the highest key.
    QTreeWidgetItem* comments = TreeItem(QStringLiteral("My Comments"));
    ASSERT_TRUE(comments->isExpanded());
    TreeWindow()->collapseItem(comments);

    m_host.doRefresh(true, false);
    EXPECT_TRUE(TreeItem(QStringLiteral("My Projects"))->isExpanded());
    EXPECT_TRUE(TreeItem(QStringLiteral("My TimeSheets"))->isExpanded());
    EXPECT_FALSE(TreeItem(QStringLiteral("My Comments"))->isExpanded());
    EXPECT_EQ(TreeWindow()->currentItem(), TreeItem(QStringLiteral("My TimeSheets")));
    EXPECT_EQ(TreeWindow()->topLevelItemCount(), 1);
    EXPECT_EQ(TreeItem(QStringLiteral("My Projects"))->childCount(), 3);

    m_host.ExpandNode(1, kToggle);
    EXPECT_FALSE(TreeItem(QStringLiteral("My Projects"))->isExpanded());
    m_host.ExpandNode(1, kToggle);
    EXPECT_TRUE(TreeItem(QStringLiteral("My Projects"))->isExpanded());
    m_host.ExpandNode(404, kCollapse);
}

TEST_F(SarvexTree, ModifyNodeChangesTheItemAndTheRowButNotTheNodesText)
{
    Create();
    BuildGroups();
    m_host.SetSelectKey(1);
    EXPECT_TRUE(m_host.ModifyNode(6, 6, QStringLiteral("Alpha II"), QStringLiteral("x")));
    EXPECT_TRUE(TreeItem(QStringLiteral("Alpha II")));
    EXPECT_EQ(m_host.GetChildTreeText(1, 1), QStringLiteral("Alpha"));

    // Key 1's own list holds the row with tag key 6: it changes, on screen
    // too, as far as the text has cells.
    EXPECT_TRUE(m_host.ModifyNode(1, 6, QStringLiteral("My Projects"), QStringLiteral("11")));
    EXPECT_EQ(m_host.RetListStr(1, 6, 0), QStringLiteral("11"));
    EXPECT_EQ(m_host.RetListStr(1, 6, 1), QStringLiteral("Alpha"));
    EXPECT_EQ(ListColumn(0), (QStringList{"9", "11", "7"}));

    m_host.doRefresh(true, false);
    EXPECT_TRUE(TreeItem(QStringLiteral("Alpha")));
    EXPECT_FALSE(TreeItem(QStringLiteral("Alpha II")));
}

TEST_F(SarvexTree, ChildrenAndStorageAreFoundByKey)
{
    Create();
    BuildGroups();
    EXPECT_EQ(m_host.NumberChildren(1), 3);
    EXPECT_EQ(m_host.GetChildkey(1, 2), 7);
    EXPECT_EQ(m_host.GetChildTreeText(1, 2), QStringLiteral("Beta"));
    EXPECT_EQ(m_host.GetChildkey(1, 3), -1);
    EXPECT_EQ(m_host.GetChildTreeText(1, 3), QString());
    EXPECT_EQ(m_host.GetChildkey(1, -1), -1);
    EXPECT_EQ(m_host.GetChildkey(404, 0), -1);
    EXPECT_EQ(m_host.GetChildkey(7, 0), -1);
    EXPECT_EQ(m_host.NumberChildren(404), 0);
    EXPECT_EQ(m_host.QueryForKeyParent(7), 1);
    EXPECT_EQ(m_host.QueryForKeyParent(1), 0);
    EXPECT_EQ(m_host.QueryForKeyParent(404), -1);

    m_host.SetTreeStorageStr(7, QStringLiteral("a,b,c"));
    m_host.SetTreeStorageStr(404, QStringLiteral("nowhere"));
    EXPECT_EQ(m_host.GetTreeStorageStr(7), QStringLiteral("a,b,c"));
    EXPECT_EQ(m_host.GetTreeStorageStr(404), QString());

    // A child under an unknown parent, or under itself, is not stored.
    m_host.SetChild(QStringLiteral("orphan"), 50, 49, 0, 1, QString(), 0, 0, 0);
    m_host.SetChild(QStringLiteral("self"), 51, 51, 0, 1, QString(), 0, 0, 0);
    EXPECT_EQ(m_host.QueryForKeyParent(50), -1);
    EXPECT_EQ(m_host.QueryForKeyParent(51), -1);
    EXPECT_FALSE(TreeItem(QStringLiteral("orphan")));
}

TEST_F(SarvexTree, DeleteAllItemsTreeEmptiesTreeListsAndTreeMenus)
{
    Create();
    BuildGroups();
    m_host.SetPopTreeMenu(0, 111, QStringLiteral("Print"), QStringLiteral("Print, jbloggs"));
    m_host.SetSelectKey(1);
    EXPECT_EQ(m_host.GetSelMenuText(true), QString());
    m_host.SetSelectKey(0);
    EXPECT_EQ(m_host.GetSelMenuText(true), QStringLiteral("Print, jbloggs"));

    EXPECT_TRUE(m_host.DeleteAllItemsTree());
    EXPECT_EQ(TreeWindow()->topLevelItemCount(), 0);
    EXPECT_EQ(m_host.NumberChildren(0), 0);
    EXPECT_EQ(ListWindow()->topLevelItemCount(), 0);
    int rows = -1;
    EXPECT_EQ(m_host.GetListStr(1, rows, 5, 0), QString());
    EXPECT_EQ(rows, -1);

    // Refilled, the tree has no menus until the container adds them again.
    m_host.SetParent(QStringLiteral("jbloggs"), 0, 0, 1, QStringLiteral("Projects"), 0, 100, 0);
    m_host.SetSelectKey(0);
    EXPECT_EQ(m_host.GetSelMenuText(true), QString());
}

TEST_F(SarvexTree, IconsComeFromFilesAndABadFileKeepsTheImage)
{
    Create();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QString icon = TestEnv::TestDir() + QStringLiteral("/project.ico");
    ASSERT_TRUE(image.save(icon, "ICO"));
    EXPECT_TRUE(m_host.SetTreeImageListValueatPos(icon, icon, 2, 2, 24));
    EXPECT_TRUE(
        m_host.SetTreeImageListValueatPos(QStringLiteral("/nonexistent.ico"), QString(), 4, 4, 40));
    EXPECT_FALSE(m_host.SetTreeImageListValueatPos(icon, icon, 2, 40000, 24));
    BuildGroups();
    m_host.ExpandNode(0, kExpand);
    Pump();
    // The project group's image is the red icon.
    QTreeWidgetItem* group = TreeItem(QStringLiteral("My Projects"));
    const QRect row = TreeWindow()->visualItemRect(group);
    const QImage shot = TreeWindow()->viewport()->grab(row).toImage();
    bool red = false;
    for (int x = 0; x < shot.width() && !red; ++x)
        red = shot.pixelColor(x, shot.height() / 2) == QColor(Qt::red);
    EXPECT_TRUE(red);
}
