#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <array>

// Weekdays as Schedule Time numbers them: 1 = Sunday ... 7 = Saturday.
int ScheduleWeekday(const QDate& day);

// One of Schedule Time's seven day boxes: its label and the weekday flag it
// sets (index 0 = Sunday).
struct CScheduleDayBox {
    QString label;
    int weekdayIndex = 0;
};

// The boxes for a block on blockDate: the first is the day after it, the
// others follow in weekday order.
std::array<CScheduleDayBox, 7> ScheduleDayBoxes(const QDate& blockDate);

// The days from first to last, both included, whose weekday flag is set
// (index 0 = Sunday); none when last is before first.
QList<QDate> ScheduleCopyDays(const QDate& first, const QDate& last,
                              const std::array<bool, 7>& weekdayFlags);
