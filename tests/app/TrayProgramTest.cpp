#include "tests/support/XDesktop.h"

#include <QThread>
#include <gtest/gtest.h>

// The real program on a desktop with an XEmbed notification area: its tray
// icon is the only handle once no window of the program is shown, so its
// menu must open then, and a click on it must bring the time sheet back.

namespace {

const QString kClass = QStringLiteral("kelvane");
constexpr int kWaitMs = CXDesktop::kWaitMs;

} // namespace

TEST(TrayProgram, TheMenuOpensWithNoWindowShownAndALeftClickRestoresTheTimeSheet)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    CXProgram program;
    ASSERT_TRUE(program.Start(desktop));

    // A first start: the time sheet comes up by itself after two seconds.
    qulonglong icon = 0;
    ASSERT_TRUE(
        CXDesktop::WaitFor([&] { return (icon = desktop.TrayIcon(kClass)) != 0; }, 2 * kWaitMs))
        << "no tray icon";
    qulonglong sheet = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] { return (sheet = desktop.Shown(QStringLiteral("^Kelvane Pro-"))) != 0; }, 2 * kWaitMs))
        << "no time sheet";

    // Minimised: nothing of the program is shown but the icon. A click is
    // given once nobody holds the pointer, and after a hand's pause: right
    // after its menu closes, Qt drops a press on the icon, and nothing
    // outside the program shows when it takes one again. A hand that sees
    // no menu clicks again.
    const auto menuOpens = [&] {
        for (int click = 0; click < 2; ++click) {
            if (!CXDesktop::WaitFor([&] { return desktop.InputIsFree(); }, kWaitMs))
                return false;
            QThread::msleep(300);
            desktop.Click(icon, 3);
            if (CXDesktop::WaitFor([&] { return desktop.PopupMenu(kClass) != 0; }, kWaitMs))
                return true;
        }
        return false;
    };
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"),
                                             QStringLiteral("--sync"), QString::number(sheet)});
    ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.IsIconic(sheet); }, kWaitMs));
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_TRUE(menuOpens()) << "the menu did not open, attempt " << attempt + 1;
        desktop.Key(QStringLiteral("Escape"));
        ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.PopupMenu(kClass) == 0; }, kWaitMs));
    }

    // A left click brings the minimised time sheet back.
    ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.InputIsFree(); }, kWaitMs));
    QThread::msleep(300);
    desktop.Click(icon, 1);
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] { return !desktop.IsIconic(sheet) && desktop.IsViewable(sheet); }, kWaitMs))
        << "the time sheet stayed minimised";

    // Closed: the menu still opens, and its Close ends the program.
    ASSERT_TRUE(desktop.Activate(sheet));
    desktop.Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] { return desktop.Shown(QStringLiteral("^Kelvane Pro-")) == 0; }, kWaitMs))
        << "the time sheet did not close";
    ASSERT_TRUE(menuOpens()) << "the menu did not open with every window closed";
    desktop.Key(QStringLiteral("c"));
    ASSERT_TRUE(program.Process().waitForFinished(kWaitMs)) << "Close did not end the program";
    EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.Process().exitCode(), 0);
}
