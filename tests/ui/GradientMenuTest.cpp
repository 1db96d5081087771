#include "ui/GradientMenu.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QTest>

namespace {

QList<CMenuEntry> TrayLikeEntries()
{
    return {
        {QStringLiteral("Timesheets"), ID_TIMESHEETS, {}},
        {QStringLiteral("Review"), ID_REVIEW, {}},
        {QString(), 0, {}},
        {QStringLiteral("&Help"),
         0,
         {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
          {QStringLiteral("About"), ID_ABOUT, {}}}},
        {QStringLiteral("Reload"), ID_RELOAD_EMPLOYEES, {}},
        {QStringLiteral("&Close"), ID_CLOSE_APP, {}},
    };
}

} // namespace

TEST(GradientMenu, ANearCornerMenuOpensUpAndToTheLeft)
{
    const QRect desktop(0, 0, 1000, 800);
    const QSize size(200, 300);
    EXPECT_EQ(CGradientMenu::PlaceMenu(QPoint(100, 100), size, desktop), QPoint(100, 100));
    EXPECT_EQ(CGradientMenu::PlaceMenu(QPoint(990, 790), size, desktop), QPoint(790, 490));
    EXPECT_EQ(CGradientMenu::PlaceMenu(QPoint(900, 100), size, desktop), QPoint(700, 100));
    EXPECT_EQ(CGradientMenu::PlaceMenu(QPoint(100, 700), size, desktop), QPoint(100, 400));
    // Nothing fits: the menu stays at the point.
    EXPECT_EQ(CGradientMenu::PlaceMenu(QPoint(50, 50), QSize(2000, 2000), desktop), QPoint(50, 50));
}

TEST(GradientMenu, IconsAreFoundByCommandAndPopupsByTheirText)
{
    int index = -2;
    EXPECT_FALSE(CGradientMenu::GetMenuIcon(ID_TIMESHEETS, QString(), index).isNull());
    EXPECT_EQ(index, 0);
    CGradientMenu::GetMenuIcon(ID_HELP_TOPICS, QStringLiteral("Help Topics"), index);
    EXPECT_EQ(index, 17);
    // A popup has no command: its text names it.
    CGradientMenu::GetMenuIcon(-1, QStringLiteral("&Help"), index);
    EXPECT_EQ(index, 16);
    CGradientMenu::GetMenuIcon(-1, QStringLiteral("xls ts STUFF"), index);
    EXPECT_EQ(index, 19);
    // High ids are looked up by their text too; no text, no icon.
    EXPECT_TRUE(
        CGradientMenu::GetMenuIcon(ID_RELOAD_EMPLOYEES, QStringLiteral("Reload"), index).isNull());
    EXPECT_EQ(index, -1);
    CGradientMenu::GetMenuIcon(ID_RELOAD_EMPLOYEES, QStringLiteral("About"), index);
    EXPECT_EQ(index, 18);
    // The placeholders match no command.
    CGradientMenu::GetMenuIcon(12799, QString(), index);
    EXPECT_EQ(index, -1);
}

TEST(GradientMenu, ItemsGetTheirIconsAndPopupsBecomeGradientMenus)
{
    CGradientMenu menu(24, true);
    menu.SetCaption(QStringLiteral("Kelvane Pro"));
    menu.SetGradient(QColor(0, 0, 128), Qt::white);
    QList<int> chosen;
    menu.SetEntries(TrayLikeEntries(), [&](int id) { chosen << id; });

    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_FALSE(actions.at(0)->icon().isNull());
    EXPECT_TRUE(actions.at(4)->icon().isNull()); // no icon for that command
    auto* help = qobject_cast<CGradientMenu*>(actions.at(3)->menu());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Caption(), QStringLiteral("Help"));
    EXPECT_EQ(help->GradientStart(), QColor(0, 0, 128));
    EXPECT_EQ(help->SideBarWidth(), 24);
    EXPECT_FALSE(actions.at(3)->icon().isNull());
    EXPECT_FALSE(help->actions().at(1)->icon().isNull());

    help->actions().at(1)->trigger();
    actions.at(5)->trigger();
    EXPECT_EQ(chosen, QList<int>({ID_ABOUT, ID_CLOSE_APP}));
}

TEST(GradientMenu, TheSideBarRunsFromTheStartColourToTheEndColour)
{
    CGradientMenu menu(24, true);
    menu.SetGradient(QColor(0, 0, 200), QColor(255, 255, 255));
    menu.SetEntries(TrayLikeEntries(), {});
    menu.resize(menu.sizeHint());
    const QRect bar = menu.SideBarRect();
    ASSERT_EQ(bar.width(), 24);
    const QImage image = menu.grab().toImage();
    const QColor top = image.pixelColor(bar.right() - 1, bar.top());
    const QColor bottom = image.pixelColor(bar.right() - 1, bar.bottom());
    EXPECT_LE(top.red(), 10);
    EXPECT_GE(top.blue(), 195);
    EXPECT_GE(bottom.red(), 245);
    // The items start right of the bar.
    EXPECT_GE(menu.actionGeometry(menu.actions().first()).left(), bar.right());
}

TEST(GradientMenu, TrackPopupShowsWithoutWaiting)
{
    CGradientMenu menu(20, true);
    QList<int> chosen;
    menu.SetEntries(TrayLikeEntries(), [&](int id) { chosen << id; });
    menu.TrackPopup(QPoint(10, 10));
    EXPECT_TRUE(menu.isVisible());
    // A unique mnemonic chooses at once.
    QTest::keyClick(&menu, Qt::Key_C);
    EXPECT_EQ(chosen, QList<int>({ID_CLOSE_APP}));
    EXPECT_FALSE(menu.isVisible());
}
