#pragma once

#include <QCoreApplication>
#include <QTest>

#include <functional>

// Tests wait for what they expect to happen, never for a time: a machine
// kept busy by other work makes them slower, not red.
namespace Waiting {

// The most a test waits for what must come; reached only when it fails.
constexpr int kCeilingMs = 60000;

// Keeps the test's events going until the condition holds; false when it
// did not within ms.
inline bool Until(const std::function<bool()>& condition, int ms = kCeilingMs)
{
    return QTest::qWaitFor(condition, ms);
}

// Lets what the last step posted run, and what that posted in turn: a count
// of turns of the event loop, however long each takes. For a test that shows
// that something does not happen, or that has no condition to wait for.
inline void Settle(int turns = 20)
{
    for (int i = 0; i < turns; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Lets ms pass on purpose (what a person's pause or a button's own timer
// takes), then runs whatever came due: a slow turn of the loop cannot end
// the pause before it.
inline void Pass(int ms)
{
    QTest::qWait(ms);
    Settle();
}

} // namespace Waiting
