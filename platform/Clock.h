#pragma once

#include <QDate>
#include <QDateTime>
#include <QtGlobal>

// The one clock the program reads for "now". Tests install a clock of their
// own that stands at any moment and moves when told (tests/support/
// TestClock.h). A control library links a copy of this class with a state of
// its own: it asks its container for the time instead (PlentorIds::
// kDayService), and reads its copy only where no container answers.
class CClock {
public:
    virtual ~CClock() = default;

    // Now, in the user's time zone.
    static QDateTime Now();
    static QDate Today();
    // Minutes since midnight now, 0 to 1439.
    static int MinutesNow();
    // The clock Now() reads: the one installed, else the system's.
    static const CClock& Instance();

    // The moment now, in milliseconds since the epoch.
    virtual qint64 CurrentMSecsSinceEpoch() const;

protected:
    CClock() = default;
    CClock(const CClock&) = default;
    CClock& operator=(const CClock&) = default;
    // nullptr puts the system's clock back. The caller keeps the clock alive
    // while it is installed. Returns the clock installed before, if any.
    static const CClock* SetInstance(const CClock* clock);
};
