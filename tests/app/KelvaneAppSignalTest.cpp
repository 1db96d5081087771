#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "office/OfficeError.h"
#include "office/OfficeSession.h"
#include "tests/support/Processes.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

// The program ended by SIGTERM or SIGINT, as a desktop logout or Ctrl+C in
// a terminal ends it. A child process (this test program again, running the
// child's test below) starts the program on a first-start database and its
// office; the signal closes the program through the hub's Close command,
// and the office ends with it.

namespace {

constexpr char kChildVariable[] = "KELVANE_SIGNAL_CHILD";

std::string SignalName(const ::testing::TestParamInfo<int>& info)
{
    return info.param == SIGTERM ? "Term" : "Int";
}

} // namespace

// What the child process runs; skipped in an ordinary run.
TEST(KelvaneAppSignalChild, RunsTheProgramWithItsOfficeUntilItEnds)
{
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "the child of KelvaneAppSignal";
    QApplication::setQuitOnLastWindowClosed(false);
    COfficeSession office;
    COfficeSession::SetCurrent(&office);
    const auto current = qScopeGuard([] { COfficeSession::SetCurrent(nullptr); });
    CKelvaneApp kelvane;
    kelvane.CloseOnTerminationSignals();
    ASSERT_TRUE(kelvane.Start()) << CRecordingMessages::Current().Last().toStdString();
    try {
        office.Start();
    } catch (const COfficeError& e) {
        FAIL() << "office: " << e.what();
    }
    std::printf("ready %lld\n", static_cast<long long>(office.ProcessGroup()));
    std::fflush(stdout);
    EXPECT_EQ(kelvane.RunHub(), 0);
    // The Close command hides the hub on its way out.
    if (!kelvane.Hub()->isVisible())
        std::printf("closed by the hub\n");
    std::fflush(stdout);
    kelvane.Shutdown();
}

class KelvaneAppSignal : public ::testing::TestWithParam<int> {};

TEST_P(KelvaneAppSignal, EndsTheProgramAsItsCloseCommandDoesAndTheOfficeWithIt)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=KelvaneAppSignalChild.*")});
    ASSERT_TRUE(child.waitForStarted());
    qint64 group = 0;
    // Whatever happens, nothing of the child outlives the test.
    const auto cleanUp = qScopeGuard([&] {
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
        }
        if (group > 1)
            ::kill(-static_cast<pid_t>(group), SIGKILL);
    });

    QByteArray output;
    const QRegularExpression ready(QStringLiteral("ready (\\d+)"));
    QElapsedTimer timer;
    timer.start();
    while (group == 0 && timer.elapsed() < 90000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(500);
        output += child.readAllStandardOutput();
        const QRegularExpressionMatch match = ready.match(QString::fromUtf8(output));
        if (match.hasMatch())
            group = match.captured(1).toLongLong();
    }
    ASSERT_GT(group, 1) << output.toStdString();
    ASSERT_FALSE(GroupProcesses(group).isEmpty());

    ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), GetParam()), 0);
    ASSERT_TRUE(child.waitForFinished(60000)) << output.toStdString();
    output += child.readAllStandardOutput();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("closed by the hub")) << output.toStdString();
    // The office's launcher and office process are gone with the program.
    timer.restart();
    while (!GroupProcesses(group).isEmpty() && timer.elapsed() < 60000)
        QThread::msleep(50);
    EXPECT_TRUE(GroupProcesses(group).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Signals, KelvaneAppSignal, ::testing::Values(SIGTERM, SIGINT), SignalName);
