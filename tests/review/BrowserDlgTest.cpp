#include "review/BrowserDlg.h"
#include "app/Profile.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"
#include "ui/HtmlView.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace {

QString FileUrl(const QString& path)
{
    return QUrl::fromLocalFile(path).toString();
}

// What the dialog shows when its run begins.
struct CShown {
    QString address;
    QString caption;
    QString page;
};

CShown RunAndLook(CBrowserDlg& dialog, const std::function<void(CBrowserDlg&)>& more = {})
{
    CShown shown;
    CScriptedModals modals;
    modals.Then([&shown, &more](CDialogBase& d) {
        auto& browser = static_cast<CBrowserDlg&>(d);
        if (more)
            more(browser);
        shown.address = browser.Control<QLineEdit>(CBrowserDlg::kAddress)->text();
        shown.caption = browser.windowTitle();
        shown.page = browser.View()->toPlainText();
        return int(IDCANCEL);
    });
    dialog.DoModal();
    return shown;
}

} // namespace

TEST(BrowserDlg, AnExistingFileIsShownAtOnceUnderItsAddress)
{
    const QString xml = WriteTestFile(QStringLiteral("rows.xml"), "<rows><row a='1'/></rows>");
    CBrowserDlg dialog(nullptr, xml, QString());
    const CShown shown = RunAndLook(dialog);
    EXPECT_EQ(shown.address, FileUrl(xml));
    EXPECT_EQ(shown.caption, FileUrl(xml));
    EXPECT_TRUE(shown.page.contains(QStringLiteral("<row a=\"1\"/>"))) << shown.page.toStdString();
    EXPECT_EQ(dialog.Address(), FileUrl(xml));
}

TEST(BrowserDlg, AFileNameIsLookedForBesideTheProgram)
{
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("browser-test.htm"));
    {
        QFile file(beside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<p>beside the program</p>");
    }
    CBrowserDlg dialog(nullptr, QString(), QStringLiteral("browser-test.htm"));
    const CShown shown = RunAndLook(dialog);
    QFile::remove(beside);
    EXPECT_EQ(shown.address, FileUrl(beside));
    EXPECT_TRUE(shown.page.contains(QStringLiteral("beside the program")));
}

TEST(BrowserDlg, WithNothingToShowTheUserIsAskedAndMayCancel)
{
    CRecordingChooser chooser;
    CBrowserDlg dialog(nullptr, QString(), QStringLiteral("no-such-manual.htm"));
    const CShown shown = RunAndLook(dialog);
    ASSERT_EQ(chooser.asked.size(), 3);
    EXPECT_EQ(chooser.asked.at(0), QStringLiteral("Select a help file..."));
    EXPECT_EQ(chooser.asked.at(2), QStringLiteral("Doc Files (*.htm *.html *.xml);;All Files (*)"));
    EXPECT_EQ(shown.address, QString());
    EXPECT_EQ(shown.page, QString());
    EXPECT_TRUE(CRecordingMessages::Current().Texts().isEmpty());

    // "&.." chooses another page at any time.
    chooser.answer = WriteTestFile(QStringLiteral("chosen.html"), "<p>chosen page</p>");
    CBrowserDlg again(nullptr, QString(), QString());
    const CShown second =
        RunAndLook(again, [](CBrowserDlg& browser) { browser.OnCommand(CBrowserDlg::kChoose); });
    EXPECT_EQ(second.address, FileUrl(chooser.answer));
    EXPECT_TRUE(second.page.contains(QStringLiteral("chosen page")));
}

TEST(BrowserDlg, GoShowsATypedPathAndRefusesWhatIsNotHere)
{
    const QString first = WriteTestFile(QStringLiteral("first.htm"), "<p>first</p>");
    const QString second = WriteTestFile(QStringLiteral("second.htm"), "<p>second</p>");
    CBrowserDlg dialog(nullptr, first, QString());
    const CShown shown = RunAndLook(dialog, [&second](CBrowserDlg& browser) {
        auto* edit = browser.Control<QLineEdit>(CBrowserDlg::kAddress);
        edit->setText(QStringLiteral("https://www.dunmere.com/kelvane"));
        browser.OnCommand(CBrowserDlg::kGo);
        edit->setText(TestEnv::TestDir() + QStringLiteral("/missing.htm"));
        browser.OnCommand(CBrowserDlg::kGo);
        edit->setText(second);
        browser.OnCommand(CBrowserDlg::kGo);
    });
    EXPECT_EQ(CRecordingMessages::Current().Texts(),
              QStringList({"Only pages stored on this computer can be shown; "
                           "https://www.dunmere.com/kelvane is not one.",
                           TestEnv::TestDir() + QStringLiteral("/missing.htm does not exist")}));
    EXPECT_EQ(shown.address, FileUrl(second));
    EXPECT_EQ(shown.caption, FileUrl(second));
    EXPECT_TRUE(shown.page.contains(QStringLiteral("second")));
}

TEST(BrowserDlg, ARefusedAddressLeavesTheCaptionOnThePageShown)
{
    const QString first = WriteTestFile(QStringLiteral("first.htm"), "<p>first</p>");
    CBrowserDlg dialog(nullptr, first, QString());
    const CShown shown = RunAndLook(dialog, [](CBrowserDlg& browser) {
        browser.Control<QLineEdit>(CBrowserDlg::kAddress)
            ->setText(QStringLiteral("https://www.dunmere.com/kelvane"));
        browser.OnCommand(CBrowserDlg::kGo);
    });
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_EQ(shown.caption, FileUrl(first));
    EXPECT_TRUE(shown.page.contains(QStringLiteral("first")));
}

TEST(BrowserDlg, TheManualsAddressIsKeptWhenAsked)
{
    const QString manual = WriteTestFile(QStringLiteral("manual.htm"), "<p>manual</p>");
    CBrowserDlg dialog(nullptr, manual, QStringLiteral("Kelvane_Manual.htm"));
    dialog.SetKeepsManualAddress(true);
    RunAndLook(dialog);
    EXPECT_EQ(CProfile::ManualFile(), manual);
}
