#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "review/BrowserDlg.h"
#include "review/SearchWindows.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/HtmlView.h"
#include "ui/MenuBuilder.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Trigger(QObject* owner, int command)
{
    auto* action = owner->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
    ASSERT_TRUE(action) << command;
    action->trigger();
}

} // namespace

// The whole program on a new embedded database: Search from the hub's menu,
// the tray's menu and the time sheet opens the search dialog of its kind;
// Online Help and the tray's Help Topics show the manual installed beside
// the program.
TEST(SearchProgramTest, SearchOpensFromHubTrayAndTimeSheetAndHelpShowsTheManual)
{
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    RegisterTimeSheetWindows();
    RegisterSearchWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    CDummyDlg& hub = *app.Hub();
    hub.SetStartupDelayOverride(1000000);
    hub.Create();

    CScriptedModals modals;
    QStringList titles;
    const auto look = [&titles](CDialogBase& dialog) {
        titles << dialog.windowTitle();
        return int(IDCANCEL);
    };
    // While a search is open the program does not close.
    modals.Then([&titles, &hub](CDialogBase& dialog) {
        titles << dialog.windowTitle();
        hub.OnCommand(ID_CLOSE_APP);
        return int(IDCANCEL);
    });
    Trigger(&hub, ID_SEARCH);
    EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("Close search dialog first!"));

    QMenu tray;
    AddMenuEntries(&tray, CTrayIcon::BuildPopupMenu(hub.TrayMenuState()),
                   [&hub](int command) { hub.OnCommand(command); });
    modals.Then(look);
    Trigger(&tray, ID_SEARCH_CHANGE_REQUESTS);
    modals.Then(look);
    Trigger(&hub, ID_SEARCH_COMMENTS);

    hub.OnCommand(ID_TIMESHEETS);
    auto* sheet = dynamic_cast<CTimeAppDlg*>(hub.Window(ID_TIMESHEETS));
    ASSERT_TRUE(sheet);
    modals.Then(look);
    sheet->OnCommand(ID_SEARCH);
    EXPECT_EQ(titles, QStringList({"Search Timesheets", "Search Change Requests", "Search Comments",
                                   "Search Timesheets"}));

    QString page;
    modals.Then([&titles, &page](CDialogBase& dialog) {
        titles << dialog.windowTitle();
        page = static_cast<CBrowserDlg&>(dialog).View()->toPlainText();
        return int(IDCANCEL);
    });
    Trigger(&hub, ID_ONLINE_HELP);
    const QString manual =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Kelvane_Manual.htm"));
    EXPECT_EQ(titles.last(), QUrl::fromLocalFile(manual).toString());
    EXPECT_TRUE(page.contains(QStringLiteral("Searching"))) << page.left(300).toStdString();
    EXPECT_EQ(CProfile::ManualFile(), manual);
    // The tray's Help Topics shows the same manual.
    page.clear();
    modals.Then([&titles, &page](CDialogBase& dialog) {
        titles << dialog.windowTitle();
        page = static_cast<CBrowserDlg&>(dialog).View()->toPlainText();
        return int(IDCANCEL);
    });
    Trigger(&tray, ID_HELP_TOPICS);
    EXPECT_EQ(titles.last(), QUrl::fromLocalFile(manual).toString());
    EXPECT_TRUE(page.contains(QStringLiteral("Searching"))) << page.left(300).toStdString();
    EXPECT_EQ(modals.seen, QStringList({"CSearchDlg", "CSearchDlg", "CSearchDlg", "CSearchDlg",
                                        "CBrowserDlg", "CBrowserDlg"}));

    app.Shutdown();
    for (int command : {ID_TIMESHEETS, ID_SEARCH, ID_SEARCH_CONTACTS, ID_SEARCH_COMMENTS,
                        ID_SEARCH_CHANGE_REQUESTS, ID_ONLINE_HELP})
        UnregisterHubWindow(command);
}
