#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/TrayIcon.h"
#include "platform/ProfileStore.h"
#include "records/ChgRqstDlg.h"
#include "records/ChgRqstWindows.h"
#include "records/ChgRstAddDlg.h"
#include "records/ChgRstItemsPage.h"
#include "records/ChgRstRefPage.h"
#include "tests/records/ListWindowProbe.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

// The whole program on a new embedded database: the hub's Change Requests
// command, which the tray's menu sends too, opens the window once, and a
// request added there is listed.
TEST(ChgRqstProgramTest, TheHubsChangeRequestsCommandOpensTheWindow)
{
    RegisterChgRqstWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    CDummyDlg* hub = app.Hub();
    hub->SetStartupDelayOverride(1000000);
    hub->Create();

    EXPECT_TRUE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_CHANGE_REQUESTS));
    hub->OnCommand(ID_CHANGE_REQUESTS);
    auto* window = dynamic_cast<CChgRqstDlg*>(hub->Window(ID_CHANGE_REQUESTS));
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_NE(window->Tree()->FindItemByText(QStringLiteral("General")), nullptr);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Change Requests ")))
        << window->windowTitle().toStdString();
    hub->OnCommand(ID_CHANGE_REQUESTS);
    EXPECT_EQ(hub->Window(ID_CHANGE_REQUESTS), window);
    EXPECT_EQ(hub->OpenWindows(), kOpenChangeRequests);

    // A request of the user's own, on the first start's project.
    window->Tree()->setCurrentItem(window->Tree()->FindItemByText(QStringLiteral("General")));
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto& add = static_cast<CChgRstAddDlg&>(dialog);
        add.RefPage()
            ->findChild<QLineEdit*>(CDialogBase::ControlName(CChgRstRefPage::kIdReference))
            ->setText(QStringLiteral("First"));
        add.ItemsPage()->TextField()->setPlainText(QStringLiteral("Something to change"));
        add.ItemsPage()->OnTipButtonClick(CChgRstItemsPage::kIdAdd);
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    window->OnCommand(CChgRqstDlg::kCmdAdd);
    EXPECT_EQ(window->ChgRqstRowCount(), 1) << CRecordingMessages::Current().Last().toStdString();

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(hub->OpenWindows(), 0);

    // Turned off in the options: neither offered nor opened.
    CProfileStore().setValue(QStringLiteral("Admin/UseChgrqsts"), 0);
    EXPECT_FALSE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_CHANGE_REQUESTS));
    hub->OnCommand(ID_CHANGE_REQUESTS);
    EXPECT_EQ(hub->Window(ID_CHANGE_REQUESTS), nullptr);

    app.Shutdown();
    UnregisterHubWindow(ID_CHANGE_REQUESTS);
}
