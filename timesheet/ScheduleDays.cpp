#include "timesheet/ScheduleDays.h"

namespace {

// By weekday index, Sunday first.
const std::array<QString, 7> kLabels = {
    QStringLiteral("Sun"),   QStringLiteral("Mon"), QStringLiteral("Tues"), QStringLiteral("Wed"),
    QStringLiteral("Thurs"), QStringLiteral("Fri"), QStringLiteral("Sat"),
};

} // namespace

int ScheduleWeekday(const QDate& day)
{
    // Qt counts Monday 1 ... Sunday 7.
    return day.dayOfWeek() % 7 + 1;
}

std::array<CScheduleDayBox, 7> ScheduleDayBoxes(const QDate& blockDate)
{
    const int first = ScheduleWeekday(blockDate.addDays(1));
    std::array<CScheduleDayBox, 7> boxes;
    for (int k = 0; k < 7; ++k) {
        const int index = (first - 1 + k) % 7;
        boxes[static_cast<std::size_t>(k)] = {kLabels[static_cast<std::size_t>(index)], index};
    }
    return boxes;
}

QList<QDate> ScheduleCopyDays(const QDate& first, const QDate& last,
                              const std::array<bool, 7>& weekdayFlags)
{
    QList<QDate> days;
    if (!first.isValid() || !last.isValid())
        return days;
    for (QDate day = first; day <= last; day = day.addDays(1))
        if (weekdayFlags[static_cast<std::size_t>(ScheduleWeekday(day) - 1)])
            days << day;
    return days;
}
