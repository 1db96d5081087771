#include "platform/LocalTime.h"

#include "data/DateTime.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestClock.h"
#include "tests/support/TimeZoneScope.h"

#include <gtest/gtest.h>

namespace {

const QDate kBerlinForward{2026, 3, 29};
const QDate kBerlinBack{2026, 10, 25};
const QDate kNewYorkForward{2026, 3, 8};
const QDate kNewYorkBack{2026, 11, 1};

int At(int hour, int minute)
{
    return hour * 60 + minute;
}

} // namespace

TEST(LocalTimeTest, TheTimeThatPassedBetweenTwoMinutesOfADay)
{
    struct Case {
        const char* zone;
        QDate day;
        int start, stop, minutes;
    };
    const Case cases[] = {
        {"Europe/Berlin", kBerlinForward, At(0, 30), At(3, 30), 120},
        {"Europe/Berlin", kBerlinBack, At(0, 30), At(3, 30), 240},
        {"America/New_York", kNewYorkForward, At(0, 30), At(3, 30), 120},
        {"America/New_York", kNewYorkBack, At(0, 30), At(3, 30), 240},
        // Either order, and the whole day.
        {"Europe/Berlin", kBerlinForward, At(3, 30), At(0, 30), 120},
        {"Europe/Berlin", kBerlinForward, 0, 1440, 23 * 60},
        {"America/New_York", kNewYorkBack, 0, 1440, 25 * 60},
        // A skipped minute is the moment of the change: a span wholly in the
        // skipped hour is no time, one into it ends at the change.
        {"Europe/Berlin", kBerlinForward, At(2, 15), At(2, 45), 0},
        {"Europe/Berlin", kBerlinForward, At(1, 30), At(2, 30), 30},
        {"America/New_York", kNewYorkForward, At(2, 30), At(3, 15), 15},
        // A minute shown twice is its first showing.
        {"Europe/Berlin", kBerlinBack, At(2, 15), At(2, 45), 30},
        {"Europe/Berlin", kBerlinBack, At(2, 30), At(3, 30), 120},
        {"America/New_York", kNewYorkBack, At(0, 30), At(1, 30), 60},
        {"America/New_York", kNewYorkBack, At(1, 30), At(2, 0), 90},
        // One zone's night of change is an ordinary night in the other.
        {"America/New_York", kBerlinForward, At(0, 30), At(3, 30), 180},
        {"Europe/Berlin", kNewYorkBack, At(0, 30), At(3, 30), 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3-%4")
                         .arg(QLatin1String(c.zone), c.day.toString(Qt::ISODate))
                         .arg(c.start)
                         .arg(c.stop)
                         .toStdString());
        const CTimeZoneScope zone(c.zone);
        EXPECT_EQ(CLocalTime::ElapsedMinutes(c.day, c.start, c.stop), c.minutes);
    }
    // Without a day, what the clock's face says.
    EXPECT_EQ(CLocalTime::ElapsedMinutes(QDate(), At(0, 30), At(3, 30)), 180);
}

TEST(LocalTimeTest, AMinuteOfADayIsOneMomentOfTheClock)
{
    const CTimeZoneScope zone("Europe/Berlin");
    // Skipped: the clock reads 03:00 at that moment.
    EXPECT_EQ(CLocalTime::Moment(kBerlinForward, At(2, 30)).time(), QTime(3, 0));
    EXPECT_EQ(CLocalTime::Moment(kBerlinForward, At(2, 30)),
              CLocalTime::Moment(kBerlinForward, At(2, 0)));
    // Shown twice: summer time still.
    EXPECT_EQ(CLocalTime::Moment(kBerlinBack, At(2, 30)).offsetFromUtc(), 2 * 3600);
    EXPECT_EQ(CLocalTime::Moment(kBerlinBack, At(3, 0)).offsetFromUtc(), 3600);
    // The day's end is the next midnight.
    EXPECT_EQ(CLocalTime::Moment(kBerlinBack, 1440),
              QDateTime(kBerlinBack.addDays(1), QTime(0, 0)));
}

TEST(ClockTest, TheInstalledClockIsReadEverywhereAndMovesOnlyWhenTold)
{
    const CTimeZoneScope zone("Europe/Berlin");
    {
        CTestClock clock(kBerlinForward.addDays(-1), 23, 50);
        EXPECT_EQ(CClock::Today(), kBerlinForward.addDays(-1));
        EXPECT_EQ(CDateTime::CurrentDateTime(), CDateTime(2026, 3, 28, 23, 50));
        // Over midnight.
        clock.Advance(17 * 60);
        EXPECT_EQ(CClock::Today(), kBerlinForward);
        EXPECT_EQ(CClock::MinutesNow(), 7);
        // Over the change: a minute after 01:59 the clock reads 03:00.
        clock.Set(kBerlinForward, 1, 59);
        clock.Advance(60);
        EXPECT_EQ(CClock::Now().time(), QTime(3, 0));
        {
            // A clock installed over another gives it back.
            const CTestClock inner(kBerlinBack, 12, 0);
            EXPECT_EQ(CClock::Today(), kBerlinBack);
        }
        EXPECT_EQ(CClock::Now().time(), QTime(3, 0));
    }
    // The system's clock again.
    EXPECT_LE(qAbs(CClock::Now().secsTo(QDateTime::currentDateTime())), 5);
}
