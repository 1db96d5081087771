#include "app/Profile.h"
#include "tests/app/HubScenarios.h"
#include "tests/support/TestEnv.h"
#include "ui/QtMessageBoxHook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

// The hub closes every window (tray Close, Set User, a database switch, a
// termination signal) while a window runs a modal dialog, a message box or
// a chooser: the whole program on a new embedded database, with real modal
// loops. The run ends, the window goes once its loop has unwound, and
// nothing is left behind.

namespace {

using HubScenarios::CScenario;

constexpr char kChildVariable[] = "KELVANE_HUB_CLOSE_CHILD";

// The name of each scenario for the test's name.
std::string ScenarioName(const ::testing::TestParamInfo<CScenario>& info)
{
    return info.param.name;
}

class HubCloseTest : public ::testing::TestWithParam<CScenario> {
protected:
    void SetUp() override
    {
        HubScenarios::RegisterWindows();
        ASSERT_TRUE(m_app.Start()) << CRecordingMessages::Current().Last().toStdString();
        m_hub = m_app.Hub();
        m_hub->SetStartupDelayOverride(1000000);
        m_hub->Create();
        ASSERT_TRUE(HubScenarios::Seed(*m_app.Facade()));
    }
    void TearDown() override { m_app.Shutdown(); }

    int CommentCount()
    {
        CQueryResult rows;
        if (!m_app.Facade()->EnsureConnected() ||
            !CSqlExecutor::RunNative(*m_app.Facade()->Connection(),
                                     QStringLiteral("SELECT COUNT(*) FROM tblProjectComment"), {},
                                     &rows, nullptr))
            return -1;
        return rows.Value(0, 0).toInt();
    }

    QWidget* Open(int command)
    {
        m_hub->OnCommand(command);
        QCoreApplication::processEvents();
        IHubWindow* window = m_hub->Window(command);
        return window ? window->Widget() : nullptr;
    }

    // Starts the run in the window from the event loop; once a modal run is
    // up, closes; gives the class of the run seen, when the window is gone.
    QString RunAndClose(QWidget* window, const std::function<void(QWidget*)>& open,
                        const std::function<void()>& close)
    {
        QPointer<QWidget> guard(window);
        QString seen;
        QEventLoop loop;
        QTimer::singleShot(0, window, [window, open] { open(window); });
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (seen.isEmpty()) {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    seen = QLatin1String(modal->metaObject()->className());
                    close();
                }
                return;
            }
            if (!guard)
                loop.quit();
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        poll.start();
        loop.exec();
        return guard ? QStringLiteral("(the window is still there)") : seen;
    }

    CKelvaneApp m_app;
    CDummyDlg* m_hub = nullptr;
};

// Every window's modal runs, the one being closed.
class HubCloseRunsTest : public HubCloseTest {};

} // namespace

TEST_P(HubCloseRunsTest, ARunningDialogEndsAndItsWindowGoesAfterIt)
{
    const CScenario& scenario = GetParam();
    CQtMessageBoxHook boxes;
    IMessageBoxHook* recording = MessageBoxHook();
    if (scenario.messageBox)
        SetMessageBoxHook(&boxes);
    QWidget* window = Open(scenario.command);
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    const int comments = CommentCount();
    EXPECT_EQ(RunAndClose(window, scenario.open, [this] { m_hub->CloseAllWindows(false); }),
              QLatin1String(scenario.modal));
    SetMessageBoxHook(recording);
    EXPECT_EQ(m_hub->OpenWindows(), 0);
    EXPECT_EQ(m_hub->Window(scenario.command), nullptr);
    EXPECT_FALSE(QApplication::activeModalWidget());
    // Ended, not answered: the question to delete deleted nothing.
    EXPECT_EQ(CommentCount(), comments);
}

INSTANTIATE_TEST_SUITE_P(Windows, HubCloseRunsTest,
                         ::testing::ValuesIn(HubScenarios::All().begin(),
                                             HubScenarios::All().end()),
                         ScenarioName);

// What the child process runs: the program, with the scenario's run going
// when the signal comes; skipped in an ordinary run.
TEST(HubCloseSignalChild, RunsTheProgramWithADialogOpenUntilItEnds)
{
    const QString name = qEnvironmentVariable(kChildVariable);
    if (name.isEmpty())
        GTEST_SKIP() << "the child of HubCloseSignal";
    const CScenario* scenario = HubScenarios::Find(name);
    ASSERT_NE(scenario, nullptr);
    QApplication::setQuitOnLastWindowClosed(false);
    HubScenarios::RegisterWindows();
    CQtMessageBoxHook boxes;
    if (scenario->messageBox)
        SetMessageBoxHook(&boxes);
    CKelvaneApp kelvane;
    kelvane.CloseOnTerminationSignals();
    ASSERT_TRUE(kelvane.Start()) << CRecordingMessages::Current().Last().toStdString();
    CDummyDlg* hub = kelvane.Hub();
    hub->SetStartupDelayOverride(1000000);
    hub->Create();
    ASSERT_TRUE(HubScenarios::Seed(*kelvane.Facade()));
    hub->OnCommand(scenario->command);
    IHubWindow* window = hub->Window(scenario->command);
    ASSERT_NE(window, nullptr);
    QWidget* widget = window->Widget();
    QTimer::singleShot(0, widget, [scenario, widget] { scenario->open(widget); });
    // Says which run is up, once; the parent sends the signal then.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            std::printf("running %s\n", modal->metaObject()->className());
            std::fflush(stdout);
            poll.stop();
        }
    });
    poll.start(10);
    EXPECT_EQ(kelvane.RunHub(), 0);
    std::printf("closed with %d windows\n", hub->OpenWindows());
    std::fflush(stdout);
    kelvane.Shutdown();
    SetMessageBoxHook(nullptr);
}

// The program in a child process gets SIGTERM or SIGINT while each run is
// up: it ends normally, as its Close command ends it.
class HubCloseSignal : public ::testing::TestWithParam<CScenario> {};

TEST_P(HubCloseSignal, EndsTheProgramNormally)
{
    const CScenario& scenario = GetParam();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kChildVariable), QLatin1String(scenario.name));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=HubCloseSignalChild.*")});
    ASSERT_TRUE(child.waitForStarted());
    const auto cleanUp = qScopeGuard([&] {
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
        }
    });
    const QByteArray running = QByteArray("running ") + scenario.modal;
    QByteArray output;
    QElapsedTimer timer;
    timer.start();
    while (!output.contains(running) && timer.elapsed() < 60000 &&
           child.state() == QProcess::Running) {
        child.waitForReadyRead(200);
        output += child.readAll();
    }
    ASSERT_TRUE(output.contains(running)) << output.toStdString();
    // Both signals, one per scenario.
    int index = 0;
    while (QLatin1String(HubScenarios::All().at(index).name) != QLatin1String(scenario.name))
        ++index;
    const int signal = index % 2 ? SIGINT : SIGTERM;
    ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), signal), 0);
    ASSERT_TRUE(child.waitForFinished(30000)) << output.toStdString();
    output += child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("closed with 0 windows")) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, HubCloseSignal,
                         ::testing::ValuesIn(HubScenarios::All().begin(),
                                             HubScenarios::All().end()),
                         ScenarioName);
