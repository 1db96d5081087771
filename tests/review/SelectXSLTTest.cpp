#include "review/SelectXSLT.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "app/TxtVDlg.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <sys/stat.h>

namespace {

// Types a pair and presses OK; the dialog's end code (0 while it stays open).
int Register(CSelectXSLT& dialog, const QString& file, const QString& nick)
{
    dialog.Control<QLineEdit>(CSelectXSLT::kFileName)->setText(file);
    dialog.Control<QLineEdit>(CSelectXSLT::kNickname)->setText(nick);
    dialog.OnCommand(IDOK);
    return dialog.EndCode();
}

void Select(CSelectXSLT& dialog, int row)
{
    auto* list = dialog.Control<QListWidget>(CSelectXSLT::kList);
    list->setCurrentRow(row);
}

QStringList Stored()
{
    QStringList nicks;
    QStringList files;
    CKelvaneApp::LoadSaveXsltList(QStringLiteral("TS"), nicks, files, true);
    return nicks;
}

} // namespace

TEST(SelectXSLT, RegistersAPairOnlyWithFileAndNickname)
{
    CSelectXSLT dialog(ID_TIMESHEETS);
    CScriptedModals modals;
    modals.Then([](CDialogBase& d) {
        auto& select = static_cast<CSelectXSLT&>(d);
        EXPECT_EQ(select.windowTitle(), QStringLiteral("Select XSLT"));
        EXPECT_EQ(Register(select, QString(), QStringLiteral("Hours")), 0);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You need to specify a filename"));
        EXPECT_EQ(Register(select, QStringLiteral("/x/hours.xslt"), QString()), 0);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You need to specify a nickname"));
        EXPECT_TRUE(Stored().isEmpty());
        return Register(select, QStringLiteral("/x/hours.xslt"), QStringLiteral("Hours"));
    });
    EXPECT_EQ(dialog.DoModal(), int(IDOK));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("Hours")});

    // The list shows it at the next run.
    CSelectXSLT again(ID_TIMESHEETS);
    CScriptedModals more;
    more.Then([](CDialogBase& d) {
        EXPECT_EQ(static_cast<CSelectXSLT&>(d).Lines(),
                  QStringList{QStringLiteral("Hours\t/x/hours.xslt")});
        return int(IDCANCEL);
    });
    again.DoModal();
}

TEST(SelectXSLT, TheEleventhIsRefusedAndTheDialogStaysOpen)
{
    for (int i = 0; i < 10; ++i) {
        QStringList n{QStringLiteral("n%1").arg(i)};
        QStringList f{QStringLiteral("/x/f%1.xslt").arg(i)};
        ASSERT_TRUE(CKelvaneApp::LoadSaveXsltList(QStringLiteral("TS"), n, f, false));
    }
    CSelectXSLT dialog(ID_TIMESHEETS);
    CScriptedModals modals;
    modals.Then([](CDialogBase& d) {
        auto& select = static_cast<CSelectXSLT&>(d);
        EXPECT_EQ(select.Lines().size(), 10);
        EXPECT_EQ(Register(select, QStringLiteral("/x/more.xslt"), QStringLiteral("More")), 0);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You already have 10 stored - cannot save another"));
        // Room made, the same pair goes in.
        Select(select, 0);
        select.OnCommand(CSelectXSLT::kDelete);
        return Register(select, QStringLiteral("/x/more.xslt"), QStringLiteral("More"));
    });
    EXPECT_EQ(dialog.DoModal(), int(IDOK));
    EXPECT_EQ(Stored().first(), QStringLiteral("More"));
}

TEST(SelectXSLT, DeleteClearsTheSlotOfTheLineAlsoBehindAGap)
{
    for (const char* nick : {"a", "b", "c", "d"}) {
        QStringList n{QLatin1String(nick)};
        QStringList f{QStringLiteral("/x/%1.xslt").arg(QLatin1String(nick))};
        CKelvaneApp::LoadSaveXsltList(QStringLiteral("TS"), n, f, false);
    }
    CKelvaneApp::DeleteXsltEntry(QStringLiteral("TS"), 1); // "b": a gap at slot 1
    CSelectXSLT dialog(ID_TIMESHEETS);
    CScriptedModals modals;
    modals.Then([](CDialogBase& d) {
        auto& select = static_cast<CSelectXSLT&>(d);
        EXPECT_EQ(select.Lines(), QStringList({"a\t/x/a.xslt", "c\t/x/c.xslt", "d\t/x/d.xslt"}));
        // The second line is slot 2, not slot 1.
        Select(select, 1);
        select.OnCommand(CSelectXSLT::kDelete);
        EXPECT_EQ(select.Lines(), QStringList({"a\t/x/a.xslt", "d\t/x/d.xslt"}));
        // Nothing selected: nothing deleted.
        select.Control<QListWidget>(CSelectXSLT::kList)->clearSelection();
        select.OnCommand(CSelectXSLT::kDelete);
        EXPECT_EQ(select.Lines().size(), 2);
        return int(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(Stored(), QStringList({"a", "d"}));
}

TEST(SelectXSLT, ViewShowsTheSheetOrSaysItCannotBeRead)
{
    const QString sheet = WriteTestFile(QStringLiteral("hours.xslt"), "<xsl:stylesheet/>");
    const QString gone = TestEnv::TestDir() + QStringLiteral("/gone.xslt");
    // A pipe in a sheet's place is never read (nothing would ever write it).
    const QString pipe = TestEnv::TestDir() + QStringLiteral("/pipe.xslt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& file : {sheet, gone, pipe}) {
        QStringList n{QFileInfo(file).baseName()};
        QStringList f{file};
        CKelvaneApp::LoadSaveXsltList(QStringLiteral("TS"), n, f, false);
    }
    CSelectXSLT dialog(ID_TIMESHEETS);
    CScriptedModals modals;
    QString shown;
    modals.Then([](CDialogBase& d) {
        auto& select = static_cast<CSelectXSLT&>(d);
        Select(select, 0);
        select.OnCommand(CSelectXSLT::kView);
        Select(select, 1);
        select.OnCommand(CSelectXSLT::kView);
        Select(select, 2);
        select.OnCommand(CSelectXSLT::kView);
        return int(IDCANCEL);
    });
    modals.Then([&shown](CDialogBase& d) {
        shown = static_cast<CTxtVDlg&>(d).TextControl()->toPlainText();
        return int(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(shown, QStringLiteral("<xsl:stylesheet/>"));
    EXPECT_EQ(CRecordingMessages::Current().Texts(),
              QStringList({QStringLiteral("Error reading ") + gone,
                           QStringLiteral("Error reading ") + pipe}));
}

TEST(SelectXSLT, BrowseFillsTheFileName)
{
    CRecordingChooser chooser;
    chooser.answer = QStringLiteral("/sheets/hours.xslt");
    CSelectXSLT dialog(ID_CHANGE_REQUESTS);
    CScriptedModals modals;
    modals.Then([](CDialogBase& d) {
        d.OnCommand(CSelectXSLT::kBrowse);
        EXPECT_EQ(d.Control<QLineEdit>(CSelectXSLT::kFileName)->text(),
                  QStringLiteral("/sheets/hours.xslt"));
        return int(IDCANCEL);
    });
    dialog.DoModal();
    ASSERT_EQ(chooser.asked.size(), 3);
    EXPECT_EQ(chooser.asked.at(2), QStringLiteral("XSLT Files (*.xslt *.xsl);;All Files (*)"));
    EXPECT_EQ(chooser.asked.at(1), CProfile::DefDirectory());
}
