#pragma once

#include "platform/Clock.h"
#include "platform/LocalTime.h"

#include <QDate>

// The program's clock in a test: it stands where the test puts it and moves
// only when told. Installed while it lives; the clock before it comes back.
class CTestClock : public CClock {
public:
    CTestClock(const QDate& day, int hour, int minute)
    {
        Set(day, hour, minute);
        m_previous = SetInstance(this);
    }
    ~CTestClock() override { SetInstance(m_previous); }
    CTestClock(const CTestClock&) = delete;
    CTestClock& operator=(const CTestClock&) = delete;

    // A time of the clock on a day, in the time zone of the moment (a time
    // the clock skips is the moment it changes).
    void Set(const QDate& day, int hour, int minute, int second = 0)
    {
        m_msecs = CLocalTime::Moment(day, hour * 60 + minute).addSecs(second).toMSecsSinceEpoch();
    }
    void Advance(qint64 seconds) { m_msecs += seconds * 1000; }

    qint64 CurrentMSecsSinceEpoch() const override { return m_msecs; }

private:
    qint64 m_msecs = 0;
    const CClock* m_previous = nullptr;
};
