#include "app/AboutDlg.h"
#include "app/ControlRegistration.h"
#include "app/TxtVDlg.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

TEST(AboutDlg, ShowsTheLiveTimeLineAndLetsTheConnectionGo)
{
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    CDBClass db;
    db.Connection()->UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
    ASSERT_TRUE(db.OpenConnection());
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    CAboutDlg about(&db);
    ASSERT_NE(about.TimeLine(), nullptr);
    EXPECT_EQ(about.UsingVersionText(), QStringLiteral("Using OCX Version 2, 1, 0, 7  EXE"));
    EXPECT_EQ(about.Control<QLabel>(1219)->text(),
              QStringLiteral("Built for OCX Version 2, 1, 0, 7 "));
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_FALSE(db.Connection()->IsConnected());
}

TEST(AboutDlg, OpensWithoutTheControlLibrary)
{
    // An empty class registry: the time line is not there.
    CAboutDlg about(nullptr);
    EXPECT_EQ(about.TimeLine(), nullptr);
    EXPECT_EQ(about.UsingVersionText(), QStringLiteral("Using OCX Version "));
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    EXPECT_EQ(about.DoModal(), IDOK);
}

TEST(TxtVDlg, ShowsTextAndKeepsItsPlace)
{
    {
        CTxtVDlg viewer;
        viewer.m_text = QStringLiteral("{\\rtf1\\ansi Hello {\\b world}\\par}");
        viewer.show();
        EXPECT_EQ(viewer.TextControl()->toPlainText().trimmed(), QStringLiteral("Hello world"));
        EXPECT_TRUE(viewer.TextControl()->isReadOnly());
        viewer.resize(500, 300);
        viewer.close();
    }
    EXPECT_FALSE(
        CProfileStore().value(QStringLiteral("Window Settings/CTxtVDlg")).toString().isEmpty());
    CTxtVDlg again;
    again.m_text = QStringLiteral("plain <b>text</b>");
    again.show();
    EXPECT_EQ(again.TextControl()->toPlainText(), QStringLiteral("plain <b>text</b>"));
    EXPECT_EQ(again.width(), 500);
}
