#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/TrayIcon.h"
#include "platform/ProfileStore.h"
#include "records/CommentDlg.h"
#include "records/CommentWindows.h"
#include "tests/support/TestEnv.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

bool Offers(const QList<CMenuEntry>& items, int command)
{
    for (const CMenuEntry& item : items)
        if (item.command == command || Offers(item.items, command))
            return true;
    return false;
}

} // namespace

// The whole program on a new embedded database: the hub's Comments command,
// which the tray's menu sends too, opens the window once.
TEST(CommentProgramTest, TheHubsAndTheTraysCommentsCommandOpenTheWindow)
{
    RegisterCommentWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    CDummyDlg* hub = app.Hub();
    hub->SetStartupDelayOverride(1000000);
    hub->Create();

    EXPECT_TRUE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_TASKS));
    hub->OnCommand(ID_TASKS);
    auto* window = dynamic_cast<CCommentDlg*>(hub->Window(ID_TASKS));
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(window->Tree()->FindItemByText(QStringLiteral("General")), nullptr);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Comments ")))
        << window->windowTitle().toStdString();
    hub->OnCommand(ID_TASKS);
    EXPECT_EQ(hub->Window(ID_TASKS), window);
    EXPECT_EQ(hub->OpenWindows(), kOpenComments);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(hub->OpenWindows(), 0);

    // Turned off in the options: neither offered nor opened.
    CProfileStore().setValue(QStringLiteral("Admin/UseToDo"), 0);
    EXPECT_FALSE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_TASKS));
    hub->OnCommand(ID_TASKS);
    EXPECT_EQ(hub->Window(ID_TASKS), nullptr);

    app.Shutdown();
    UnregisterHubWindow(ID_TASKS);
}
