#include "app/TrayIcon.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace {

QStringList Texts(const QList<CMenuEntry>& items)
{
    QStringList texts;
    for (const CMenuEntry& item : items)
        texts << (item.text.isEmpty() ? QStringLiteral("-") : item.text);
    return texts;
}

CTrayIcon::CMenuState SignedOn()
{
    CTrayIcon::CMenuState state;
    state.edition = QStringLiteral("Pro");
    state.dbVersion = 2.2;
    state.userName = QStringLiteral("Ann Lee");
    state.exportImport = true;
    return state;
}

} // namespace

TEST(TrayIcon, WithoutAUserTheMenuOffersNoTimerOrExchange)
{
    CTrayIcon::CMenuState state;
    state.useContacts = true;
    const QList<CMenuEntry> items = CTrayIcon::BuildPopupMenu(state);
    EXPECT_EQ(Texts(items),
              QStringList({"Timesheets", "Review", "Search", "Contacts", "Project Info", "-",
                           "Set User", "-", "Properties", "-", "Help", "-", "&Close"}));
    EXPECT_EQ(items.last().command, ID_CLOSE_APP);
    EXPECT_EQ(Texts(items.at(10).items), QStringList({"Online Help", "Help Topics", "About"}));
    // Every kind can be searched from the tray.
    EXPECT_EQ(Texts(items.at(2).items),
              QStringList({"&Timesheets", "Co&mpanies", "C&omments", "C&hange Requests"}));
    EXPECT_EQ(items.at(2).items.at(0).command, ID_SEARCH);
    EXPECT_EQ(items.at(2).items.at(3).command, ID_SEARCH_CHANGE_REQUESTS);
}

TEST(TrayIcon, ASignedOnUserSeesTimerAndExchangeAndOnAServerTheOverview)
{
    CTrayIcon::CMenuState state = SignedOn();
    state.useToDo = true;
    state.useChangeRequests = true;
    EXPECT_EQ(Texts(CTrayIcon::BuildPopupMenu(state)),
              QStringList({"Timesheets", "Review", "Search", "Comments", "Change Requests", "-",
                           "Set User (Ann Lee)", "Auto Timer", "-", "Export", "Import",
                           "Project Info", "Properties", "-", "Help", "-", "&Close"}));

    state.server = true;
    state.autoTimerRunning = true;
    state.xlsOffered = true;
    state.xlsWorkbook = QStringLiteral("/srv/ts.xlsm");
    const QList<CMenuEntry> items = CTrayIcon::BuildPopupMenu(state);
    EXPECT_EQ(
        Texts(items),
        QStringList({"Timesheets", "Review", "Search", "Comments", "Change Requests", "-",
                     "Set User (Ann Lee)", "Stop Timer", "-", "Overview", "Export", "Import",
                     "XLS TS stuff", "Project Info", "Properties", "-", "Help", "-", "&Close"}));
    EXPECT_EQ(items.at(7).command, ID_STOP_TIMING);
    ASSERT_EQ(items.at(12).items.size(), 1);
    EXPECT_EQ(items.at(12).items.at(0).text, QStringLiteral("Run> /srv/ts.xlsm"));
    EXPECT_EQ(items.at(12).items.at(0).command, ID_XLS_TIMESHEET);
}

TEST(TrayIcon, NamesInTheMenuKeepTheirAmpersands)
{
    CTrayIcon::CMenuState state = SignedOn();
    state.userName = QStringLiteral("Smith & Sons");
    state.xlsOffered = true;
    state.xlsWorkbook = QStringLiteral("/srv/R&D.xlsm");
    const QList<CMenuEntry> items = CTrayIcon::BuildPopupMenu(state);
    EXPECT_TRUE(Texts(items).contains(QStringLiteral("Set User (Smith && Sons)")));
    bool run = false;
    for (const CMenuEntry& item : items)
        for (const CMenuEntry& sub : item.items)
            run = run || sub.text == QStringLiteral("Run> /srv/R&&D.xlsm");
    EXPECT_TRUE(run);
}

TEST(TrayIcon, TitleNamesEditionAndDatabaseVersion)
{
    CTrayIcon::CMenuState state = SignedOn();
    state.edition = QStringLiteral("Enterprise");
    state.dbVersion = 2.25;
    EXPECT_EQ(CTrayIcon::MenuTitle(state), QStringLiteral("Kelvane Enterprise 2.2.00 - DB 2.25"));
}

TEST(TrayIcon, ClicksMapToTheStartWindow)
{
    CTrayIcon tray;
    int start = 0;
    tray.SetNotificationHandler([](int) {}, [](int) {}, [&start] { return start; },
                                [] { return SignedOn(); });
    // No start window: a click opens the time sheet, a double-click nothing.
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId, CTrayIcon::kLeftUp), ID_TIMESHEETS);
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId, CTrayIcon::kLeftDoubleClick), 0);
    start = ID_REVIEW;
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId, CTrayIcon::kLeftUp), ID_REVIEW);
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId, CTrayIcon::kLeftDoubleClick), ID_REVIEW);
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId, CTrayIcon::kLeftDown), 0);
    EXPECT_EQ(tray.OnTrayNotification(CTrayIcon::kIconId + 1, CTrayIcon::kLeftUp), 0);
}

TEST(TrayIcon, WithoutANotificationAreaNothingIsHeld)
{
    CTrayIcon tray;
    // The offscreen desktop has no notification area.
    EXPECT_FALSE(tray.SetIconById(IDS_TRAY_TIP));
    EXPECT_FALSE(tray.IsShown());
    EXPECT_TRUE(tray.SetIconById(0));
    EXPECT_EQ(tray.ContextMenu(), nullptr);
}
