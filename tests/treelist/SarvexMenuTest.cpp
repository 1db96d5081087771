#include "tests/treelist/SarvexFixture.h"

#include <QFile>

using namespace SarvexIds;

namespace {

class SarvexMenu : public SarvexTest {
protected:
    // The projects group's filter menu, as the employee overview makes it.
    void FilterMenu(int removeFlags = kMenuGrayed)
    {
        m_host.AppendToTreeMenu(removeFlags, 1, 1000, QStringLiteral("Remove Filter"),
                                QStringLiteral("Remove"));
        m_host.AppendToTreeMenu(kMenuSeparator, 1, 113, QString(), QStringLiteral("separator"));
        m_host.AppendToTreeMenu(kMenuPopup, 1, 999, QStringLiteral("Filter by"),
                                QStringLiteral("Filterby"));
        m_host.AppendToTreeMenu(0, 999, 1001, QStringLiteral(" Active"), QStringLiteral("Active"));
        m_host.AppendToTreeMenu(kMenuGrayed, 999, 1002, QStringLiteral(" Closed"),
                                QStringLiteral("Closed"));
        m_host.SetPopTreeMenu(2, 110, QStringLiteral("View"), QStringLiteral("row"));
    }

    QPoint BrowserPoint() const { return BrowserWindow()->viewport()->rect().center(); }

    void ShowPage()
    {
        const QString page = TestEnv::TestDir() + QStringLiteral("/page.htm");
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><body><p>A page</p></body></html>");
        file.close();
        m_host.ChangeView(kBrowseView);
        m_host.NavigateTo(page);
    }
};

} // namespace

TEST_F(SarvexMenu, TheTreePopupHoldsTheClickedKeysItemsWithSubMenusLast)
{
    Create();
    BuildGroups();
    FilterMenu();
    m_host.ExpandNode(0, kExpand);
    Pump();

    QStringList top;
    QStringList sub;
    bool removeEnabled = true;
    bool closedEnabled = true;
    const bool opened = RightClickMenu(
        TreeWindow()->viewport(), TreePoint(QStringLiteral("My Projects")), [&](QMenu& menu) {
            top = Texts(menu);
            removeEnabled = Action(menu, QStringLiteral("Remove Filter"))->isEnabled();
            QMenu* filters = Action(menu, QStringLiteral("Filter by"))->menu();
            ASSERT_TRUE(filters);
            sub = Texts(*filters);
            closedEnabled = Action(*filters, QStringLiteral(" Closed"))->isEnabled();
            Action(*filters, QStringLiteral(" Active"))->trigger();
        });
    ASSERT_TRUE(opened);
    EXPECT_EQ(top, (QStringList{"Remove Filter", "-", "Filter by"}));
    EXPECT_EQ(sub, (QStringList{" Active", " Closed"}));
    EXPECT_FALSE(removeEnabled);
    EXPECT_FALSE(closedEnabled);
    // The right click selected the node first.
    EXPECT_EQ(Last(kTreeLButDown).numbers, (std::vector<std::int32_t>{1}));
    ASSERT_EQ(Count(kMenuItemClick), 1);
    EXPECT_EQ(Last(kMenuItemClick).numbers, (std::vector<std::int32_t>{1, 1001}));
    EXPECT_EQ(Last(kMenuItemClick).text, QStringLiteral("Active"));
}

TEST_F(SarvexMenu, ItemsAreChangedByTheIdsTheLastPopupGaveThem)
{
    Create();
    BuildGroups();
    FilterMenu();
    m_host.ExpandNode(0, kExpand);
    Pump();
    RightClickMenu(TreeWindow()->viewport(), TreePoint(QStringLiteral("My Projects")),
                   [](QMenu&) {});
    // 1225 "Remove Filter", 1226 the separator, 1227 the sub-menu, 1228-9
    // its items. A uid is no command id.
    EXPECT_TRUE(m_host.ChangeToTreeMenuItem(0, 1000, QStringLiteral("by uid")));
    EXPECT_TRUE(m_host.ChangeToTreeMenuItem(0, 1225, QStringLiteral("Remove All")));
    EXPECT_TRUE(m_host.DeleteTreeMenuItem(1226));
    EXPECT_TRUE(m_host.ChangeToTreeMenuItem(0, -1, QStringLiteral("never shown")));

    QStringList top;
    bool removeEnabled = false;
    RightClickMenu(TreeWindow()->viewport(), TreePoint(QStringLiteral("My Projects")),
                   [&](QMenu& menu) {
                       top = Texts(menu);
                       removeEnabled = Action(menu, QStringLiteral("Remove All"))->isEnabled();
                       Action(menu, QStringLiteral("Remove All"))->trigger();
                   });
    EXPECT_EQ(top, (QStringList{"Remove All", "Filter by"}));
    EXPECT_TRUE(removeEnabled);
    EXPECT_EQ(Last(kMenuItemClick).numbers, (std::vector<std::int32_t>{1, 1000}));
    EXPECT_EQ(Last(kMenuItemClick).text, QStringLiteral("Remove"));

    // Another key's popup: the projects' items are no longer shown, so
    // their ids are gone.
    m_host.ExpandNode(1, kExpand);
    RightClickMenu(TreeWindow()->viewport(), TreePoint(QStringLiteral("Gamma")), [](QMenu&) {});
    EXPECT_TRUE(m_host.ChangeToTreeMenuItem(kMenuGrayed, 1226, QStringLiteral("no such")));
    m_host.SetSelectKey(2);
    EXPECT_EQ(m_host.GetSelMenuText(true), QStringLiteral("row"));
}

TEST_F(SarvexMenu, AClickOnEmptySpaceShowsKeyZerosItems)
{
    Create();
    BuildGroups();
    m_host.SetPopTreeMenu(0, 111, QStringLiteral("Print"), QStringLiteral("Print, jbloggs"));
    QStringList top;
    RightClickMenu(TreeWindow()->viewport(), QPoint(100, TreeWindow()->height() - 10),
                   [&](QMenu& menu) { top = Texts(menu); });
    EXPECT_EQ(top, (QStringList{"Print"}));
}

TEST_F(SarvexMenu, TheListPopupHoldsTheTreeKeysItemsWithoutFlags)
{
    Create();
    BuildGroups();
    m_host.ExpandNode(0, kExpand);
    m_host.SetPopListMenu(1, 50, QStringLiteral("Open"), QStringLiteral("open"));
    m_host.AppendToListMenu(kMenuGrayed, 1, 51, QStringLiteral("Greyed?"), QStringLiteral("g"));
    m_host.SetPopListMenu(2, 60, QStringLiteral("Other"), QStringLiteral("other"));
    ClickTree(QStringLiteral("My Projects"));
    ClickList(1);

    QStringList texts;
    bool enabled = false;
    RightClickMenu(ListWindow()->viewport(), ListPoint(2), [&](QMenu& menu) {
        texts = Texts(menu);
        enabled = Action(menu, QStringLiteral("Greyed?"))->isEnabled();
        Action(menu, QStringLiteral("Greyed?"))->trigger();
    });
    EXPECT_EQ(texts, (QStringList{"Open", "Greyed?"}));
    EXPECT_TRUE(enabled);
    // The list's selection at the last click names the row.
    EXPECT_EQ(Last(kMenuItemClick).numbers, (std::vector<std::int32_t>{1, 51}));
    EXPECT_EQ(Last(kMenuItemClick).text, QStringLiteral("g"));
    EXPECT_EQ(m_host.GetSelMenuText(false), QStringLiteral("open"));

    // Items the popup left out have no id to be changed by.
    EXPECT_TRUE(m_host.ChangeToListMenuItem(0, 1025, QStringLiteral("Open now")));
    EXPECT_TRUE(m_host.DeleteListMenuItem(1026));
    RightClickMenu(ListWindow()->viewport(), ListPoint(0),
                   [&](QMenu& menu) { texts = Texts(menu); });
    EXPECT_EQ(texts, (QStringList{"Open now"}));
}

TEST_F(SarvexMenu, TheBrowserPopupHoldsEveryItemAndTellsNoKey)
{
    Create();
    ShowPage();
    m_host.SetPopBrowseMenu(2, 1, QStringLiteral("B"), QStringLiteral("b"));
    m_host.SetPopBrowseMenu(1, 2, QStringLiteral("A"), QStringLiteral("a"));
    m_host.SetPopBrowseMenu(2, 3, QStringLiteral("C"), QStringLiteral("c"));
    ASSERT_TRUE(BrowserWindow());
    QStringList texts;
    RightClickMenu(BrowserWindow()->viewport(), BrowserPoint(), [&](QMenu& menu) {
        texts = Texts(menu);
        Action(menu, QStringLiteral("A"))->trigger();
    });
    EXPECT_EQ(texts, (QStringList{"A", "B", "C"}));
    ASSERT_EQ(Count(kMenuItemClick), 1);
    EXPECT_EQ(Last(kMenuItemClick).numbers, (std::vector<std::int32_t>{-1, 2}));
    EXPECT_EQ(Last(kMenuItemClick).text, QStringLiteral("a"));
}

TEST_F(SarvexMenu, APaneShowsNoMoreItemsThanItHasIds)
{
    Create();
    ShowPage();
    for (int i = 0; i < 201; ++i)
        m_host.SetPopBrowseMenu(i, 5000 + i, QStringLiteral("Item %1").arg(i),
                                QStringLiteral("r%1").arg(i));
    int count = 0;
    RightClickMenu(BrowserWindow()->viewport(), BrowserPoint(), [&](QMenu& menu) {
        count = static_cast<int>(menu.actions().size());
        // The last one shown has command id 1624, the browser's last.
        EXPECT_EQ(menu.actions().back()->data().toInt(), 1624);
        menu.actions().back()->trigger();
    });
    EXPECT_EQ(count, 200);
    EXPECT_EQ(Last(kMenuItemClick).numbers, (std::vector<std::int32_t>{-1, 5199}));
}

TEST_F(SarvexMenu, TheContainerMayRebuildTheTreeFromAMenuChoice)
{
    Create();
    BuildGroups();
    FilterMenu();
    m_host.ExpandNode(0, kExpand);
    Pump();
    int rebuilds = 0;
    OnEvent(kMenuItemClick, [&](const Heard&) {
        ++rebuilds;
        EXPECT_TRUE(m_host.DeleteAllItemsTree());
        BuildGroups();
        FilterMenu(0);
        m_host.ExpandNode(0, kExpand);
        m_host.ExpandNode(1, kExpand);
    });
    RightClickMenu(
        TreeWindow()->viewport(), TreePoint(QStringLiteral("My Projects")), [](QMenu& menu) {
            Action(*Action(menu, QStringLiteral("Filter by"))->menu(), QStringLiteral(" Active"))
                ->trigger();
        });
    EXPECT_EQ(rebuilds, 1);
    ASSERT_TRUE(TreeItem(QStringLiteral("Gamma")));
    EXPECT_TRUE(TreeItem(QStringLiteral("My Projects"))->isExpanded());
    bool removeEnabled = false;
    RightClickMenu(TreeWindow()->viewport(), TreePoint(QStringLiteral("My Projects")),
                   [&](QMenu& menu) {
                       removeEnabled = Action(menu, QStringLiteral("Remove Filter"))->isEnabled();
                   });
    EXPECT_TRUE(removeEnabled);
}
