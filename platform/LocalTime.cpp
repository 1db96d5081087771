#include "platform/LocalTime.h"

#include <QTime>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr qint64 kDaySecs = 24 * 60 * 60;

int OffsetAt(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::LocalTime).offsetFromUtc();
}

// The first second at which the zone's offset is `after`, between a second
// before the change and one after it.
qint64 ChangeBetween(qint64 before, qint64 after, int offsetAfter)
{
    while (after - before > 1) {
        const qint64 middle = before + (after - before) / 2;
        if (OffsetAt(middle) == offsetAfter)
            after = middle;
        else
            before = middle;
    }
    return after;
}

} // namespace

QDateTime CLocalTime::Moment(const QDate& day, int minute)
{
    // The clock's face as if it were UTC; the offsets a day either side tell
    // whether the zone changes around it (never twice within two days).
    const qint64 face = QDateTime(day, QTime(0, 0), Qt::UTC).toSecsSinceEpoch() +
                        qint64(std::clamp(minute, 0, 1440)) * 60;
    const int early = OffsetAt(face - kDaySecs);
    const int late = OffsetAt(face + kDaySecs);
    const qint64 asEarly = face - early;
    const qint64 asLate = face - late;
    const bool earlyHolds = OffsetAt(asEarly) == early;
    const bool lateHolds = OffsetAt(asLate) == late;
    qint64 secs = asEarly;
    if (earlyHolds && lateHolds)
        secs = std::min(asEarly, asLate); // shown twice: the first time
    else if (lateHolds)
        secs = asLate;
    else if (!earlyHolds && early != late)
        secs = ChangeBetween(std::min(asEarly, asLate), std::max(asEarly, asLate), late);
    return QDateTime::fromSecsSinceEpoch(secs, Qt::LocalTime);
}

bool CLocalTime::ClockRunsEvenlyOn(const QDate& day)
{
    // Every moment Moment() reads for a minute of the day lies between a day
    // before its midnight and a day after its end; the same offset at both
    // ends is no change in between (never two within three days). Two
    // conversions instead of ten: each one reads the zone anew.
    const qint64 midnight = QDateTime(day, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    return OffsetAt(midnight - kDaySecs) == OffsetAt(midnight + 2 * kDaySecs);
}

int CLocalTime::ElapsedMinutes(const QDate& day, int start, int stop)
{
    if (!day.isValid())
        return std::abs(stop - start);
    const int low = std::clamp(std::min(start, stop), 0, 1440);
    const int high = std::clamp(std::max(start, stop), 0, 1440);
    if (ClockRunsEvenlyOn(day))
        return high - low;
    return static_cast<int>(Moment(day, low).secsTo(Moment(day, high)) / 60);
}
