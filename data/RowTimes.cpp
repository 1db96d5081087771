#include "data/RowTimes.h"

#include <QtGlobal>

#include <cmath>

namespace {

constexpr int kDayMinutes = 24 * 60;

int HoursAsMinutes(double hours)
{
    if (!std::isfinite(hours) || hours <= 0)
        return 0;
    return static_cast<int>(std::lround(qMin(hours, 24.0) * 60.0));
}

int RoundUp(int minute, int interval)
{
    if (interval > 0 && minute % interval != 0)
        minute = (minute / interval + 1) * interval;
    return qBound(0, minute, kDayMinutes);
}

} // namespace

CRowTimes CRowTimes::Read(const CDateTime& workDate, const CDateTime& startTime,
                          const CDateTime& stopTime)
{
    CRowTimes r;
    r.day = workDate.Date();
    if (startTime.IsNull() || stopTime.IsNull())
        return r;
    r.start = StoredMinutes(startTime, r.day);
    r.stop = StoredMinutes(stopTime, r.day);
    r.zeroLength = startTime == stopTime && !(r.day.isValid() && stopTime.Date() > r.day);
    return r;
}

CRowTimes::CSpan CRowTimes::Span(double hours) const
{
    if (HasTimes())
        return {start, stop};
    return {0, HoursAsMinutes(hours)};
}

CRowTimes::CSpan CRowTimes::LineBlock(int interval, double hours) const
{
    const int step = interval > 0 ? interval : 1;
    const CSpan span = Span(hours);
    int a = RoundUp(span.start, interval);
    int b = RoundUp(span.stop, interval);
    if (b <= a) {
        b = qMin(a + step, kDayMinutes);
        a = b - step;
    }
    return {a, b};
}
