#include "review/ExchangeWindows.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/TrayIcon.h"
#include "data/DBClass.h"
#include "review/ExportTimeSheetsDlg.h"
#include "review/ImportTimeSheetsDlg.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"

#include <QAction>

#include <gtest/gtest.h>

namespace {

class ExchangeProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterExchangeWindows();
        ASSERT_TRUE(m_app.Start());
        m_app.Hub()->SetStartupDelayOverride(1000000);
        m_app.Hub()->Create();
    }
    void TearDown() override
    {
        m_app.Shutdown();
        UnregisterHubWindow(ID_EXPORT);
        UnregisterHubWindow(ID_IMPORT);
    }

    // The command of the tray menu's entry of that text.
    int TrayCommand(const QString& text) const
    {
        for (const CMenuEntry& entry : CTrayIcon::BuildPopupMenu(m_app.Hub()->TrayMenuState()))
            if (entry.text == text)
                return entry.command;
        return 0;
    }

    CKelvaneApp m_app;
};

} // namespace

TEST_F(ExchangeProgramTest, TheHubsAndTheTraysCommandsRunTheDialogsOneAtATime)
{
    CDummyDlg& hub = *m_app.Hub();
    CScriptedModals modals;
    int usesWhileOpen = 0;
    modals.Then([&](CDialogBase& dialog) {
        usesWhileOpen = m_app.Facade()->Connection()->UseCount();
        // The tray asks again while it runs: nothing more opens.
        hub.OnCommand(ID_IMPORT);
        return dialog.EndCode();
    });
    hub.OnCommand(ID_EXPORT);
    EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CExportTimeSheetsDlg")});
    EXPECT_GE(usesWhileOpen, 1);
    EXPECT_TRUE(CRecordingMessages::Current().Texts().isEmpty());
    EXPECT_FALSE(CTimeSheetExchangeDlg::IsRunning());

    // The tray's entries are the same commands.
    EXPECT_EQ(TrayCommand(QStringLiteral("Export")), int(ID_EXPORT));
    ASSERT_EQ(TrayCommand(QStringLiteral("Import")), int(ID_IMPORT));
    hub.OnCommand(TrayCommand(QStringLiteral("Import")));
    EXPECT_EQ(modals.seen, QStringList({QStringLiteral("CExportTimeSheetsDlg"),
                                        QStringLiteral("CImportTimeSheetsDlg")}));

    // And the hub's own menu offers them.
    QList<int> commands;
    for (const QAction* action : hub.findChildren<QAction*>())
        commands << action->data().toInt();
    EXPECT_TRUE(commands.contains(ID_EXPORT));
    EXPECT_TRUE(commands.contains(ID_IMPORT));
}
