#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

// The numbers received, waiting up to a second for `count` of them.
QList<int> Receive(CTerminationSignals& catcher, int count, const std::function<void()>& send)
{
    QList<int> received;
    QObject::connect(&catcher, &CTerminationSignals::Received,
                     [&received](int number) { received << number; });
    send();
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return received;
}

void (*CurrentHandler(int number))(int)
{
    struct sigaction current = {};
    ::sigaction(number, nullptr, &current);
    return current.sa_handler;
}

int s_testHandlerCalls = 0;
void TestHandler(int)
{
    ++s_testHandlerCalls;
}

// Puts a handler in place for one signal while it lives.
class CHandlerInPlace {
public:
    CHandlerInPlace(int number, void (*handler)(int))
        : m_number(number)
    {
        struct sigaction action = {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        ::sigaction(number, &action, &m_old);
    }
    ~CHandlerInPlace() { ::sigaction(m_number, &m_old, nullptr); }
    CHandlerInPlace(const CHandlerInPlace&) = delete;
    CHandlerInPlace& operator=(const CHandlerInPlace&) = delete;

private:
    int m_number;
    struct sigaction m_old = {};
};

} // namespace

TEST(TerminationSignals, TermAndIntArriveInTheEventLoopAndEndNothing)
{
    CTerminationSignals catcher;
    ASSERT_TRUE(catcher.IsActive());
    const QList<int> received = Receive(catcher, 3, [] {
        std::raise(SIGTERM);
        std::raise(SIGINT);
        std::raise(SIGTERM);
    });
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGTERM}));
}

TEST(TerminationSignals, TheEarlierHandlersComeBackAndAnIgnoredSignalStaysIgnored)
{
    CHandlerInPlace term(SIGTERM, &TestHandler);
    CHandlerInPlace ignored(SIGINT, SIG_IGN);
    {
        CTerminationSignals catcher;
        ASSERT_TRUE(catcher.IsActive());
        EXPECT_NE(CurrentHandler(SIGTERM), &TestHandler);
        // A background job started with Ctrl+C ignored goes on ignoring it.
        EXPECT_EQ(CurrentHandler(SIGINT), SIG_IGN);
        EXPECT_EQ(Receive(catcher, 1, [] { std::raise(SIGINT); }), QList<int>());
    }
    EXPECT_EQ(CurrentHandler(SIGTERM), &TestHandler);
    EXPECT_EQ(CurrentHandler(SIGINT), SIG_IGN);
    s_testHandlerCalls = 0;
    std::raise(SIGTERM);
    EXPECT_EQ(s_testHandlerCalls, 1);
}

TEST(TerminationSignals, OneObjectAtATime)
{
    CTerminationSignals first;
    ASSERT_TRUE(first.IsActive());
    {
        CTerminationSignals second;
        EXPECT_FALSE(second.IsActive());
    }
    // The second going takes nothing from the first.
    EXPECT_EQ(Receive(first, 1, [] { std::raise(SIGTERM); }), QList<int>{SIGTERM});
}
