#include "tests/support/XDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// The real program on a desktop with an XEmbed notification area: its tray
// icon is the only handle once no window of the program is shown, so its
// menu must open then, and a click on it must bring the time sheet back.

namespace {

const QString kClass = QStringLiteral("kelvane");
// Generous: the test runs beside others on a busy machine.
constexpr int kWaitMs = 15000;

} // namespace

TEST(TrayProgram, TheMenuOpensWithNoWindowShownAndALeftClickRestoresTheTimeSheet)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral(".run")));
    QFile::setPermissions(home.path() + QStringLiteral("/.run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QProcess program;
    program.setProcessEnvironment(desktop.ProgramEnvironment(home.path()));
    program.setWorkingDirectory(home.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvane"), {});
    ASSERT_TRUE(program.waitForStarted());
    const auto end = qScopeGuard([&program] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    });

    // A first start: the time sheet comes up by itself after two seconds.
    qulonglong icon = 0;
    ASSERT_TRUE(
        CXDesktop::WaitFor([&] { return (icon = desktop.TrayIcon(kClass)) != 0; }, 2 * kWaitMs))
        << "no tray icon";
    qulonglong sheet = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] {
            const QList<qulonglong> found =
                desktop.Search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                QStringLiteral("^Kelvane Pro-")});
            sheet = found.isEmpty() ? 0 : found.first();
            return sheet != 0;
        },
        2 * kWaitMs))
        << "no time sheet";

    // Minimised: nothing of the program is shown but the icon.
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"),
                                             QStringLiteral("--sync"), QString::number(sheet)});
    ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.IsIconic(sheet); }, kWaitMs));
    // The window manager lets the pointer go a moment after the window is iconic.
    QThread::msleep(500);
    for (int attempt = 0; attempt < 3; ++attempt) {
        desktop.Click(icon, 3);
        EXPECT_TRUE(CXDesktop::WaitFor([&] { return desktop.PopupMenu(kClass) != 0; }, kWaitMs))
            << "the menu did not open, attempt " << attempt + 1;
        desktop.Key(QStringLiteral("Escape"));
        ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.PopupMenu(kClass) == 0; }, kWaitMs));
        // The menu's pointer grab ends just after it is unmapped; a click
        // sooner than any hand could give it still goes to the old grab.
        QThread::msleep(300);
    }

    // A left click brings the minimised time sheet back.
    desktop.Click(icon, 1);
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] { return !desktop.IsIconic(sheet) && desktop.IsViewable(sheet); }, kWaitMs))
        << "the time sheet stayed minimised";

    // Closed: the menu still opens, and its Close ends the program.
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                             QStringLiteral("--sync"), QString::number(sheet)});
    desktop.Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] {
            return desktop
                .Search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                         QStringLiteral("^Kelvane Pro-")})
                .isEmpty();
        },
        kWaitMs))
        << "the time sheet did not close";
    QThread::msleep(300);
    desktop.Click(icon, 3);
    ASSERT_TRUE(CXDesktop::WaitFor([&] { return desktop.PopupMenu(kClass) != 0; }, kWaitMs))
        << "the menu did not open with every window closed";
    desktop.Key(QStringLiteral("c"));
    ASSERT_TRUE(program.waitForFinished(15000)) << "Close did not end the program";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
