#include "timesheet/ScheduleDays.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QStringList Labels(const std::array<CScheduleDayBox, 7>& boxes)
{
    QStringList out;
    for (const CScheduleDayBox& box : boxes)
        out << box.label;
    return out;
}

QList<int> Indexes(const std::array<CScheduleDayBox, 7>& boxes)
{
    QList<int> out;
    for (const CScheduleDayBox& box : boxes)
        out << box.weekdayIndex;
    return out;
}

constexpr std::array<bool, 7> kWorkingDays = {false, true, true, true, true, true, false};

} // namespace

TEST(ScheduleDaysTest, WeekdaysCountFromSunday)
{
    EXPECT_EQ(ScheduleWeekday(QDate(2026, 12, 13)), 1); // Sunday
    EXPECT_EQ(ScheduleWeekday(QDate(2026, 12, 14)), 2); // Monday
    EXPECT_EQ(ScheduleWeekday(QDate(2026, 12, 19)), 7); // Saturday
}

TEST(ScheduleDaysTest, TheFirstBoxIsTheDayAfterTheBlock)
{
    // A block on a Wednesday.
    const auto wednesday = ScheduleDayBoxes(QDate(2026, 12, 9));
    EXPECT_EQ(Labels(wednesday), QStringList({"Thurs", "Fri", "Sat", "Sun", "Mon", "Tues", "Wed"}));
    EXPECT_EQ(Indexes(wednesday), QList<int>({4, 5, 6, 0, 1, 2, 3}));

    // Saturday's next day wraps round to Sunday; the last day of a year to
    // the first of the next.
    const auto saturday = ScheduleDayBoxes(QDate(2026, 12, 12));
    EXPECT_EQ(Labels(saturday), QStringList({"Sun", "Mon", "Tues", "Wed", "Thurs", "Fri", "Sat"}));
    EXPECT_EQ(Indexes(saturday), QList<int>({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ScheduleDayBoxes(QDate(2026, 12, 31)).front().label, QStringLiteral("Fri"));
}

TEST(ScheduleDaysTest, CopiesFallOnTheChosenWeekdaysOfTheRangeBothEndsIncluded)
{
    const QList<QDate> year =
        ScheduleCopyDays(QDate(2027, 1, 1), QDate(2027, 12, 31), kWorkingDays);
    EXPECT_EQ(year.size(), 261);
    EXPECT_EQ(year.front(), QDate(2027, 1, 1)); // a Friday
    EXPECT_EQ(year.back(), QDate(2027, 12, 31));
    for (const QDate& day : year)
        EXPECT_LE(day.dayOfWeek(), 5) << day.toString(Qt::ISODate).toStdString();

    std::array<bool, 7> sundays{};
    sundays[0] = true;
    EXPECT_EQ(ScheduleCopyDays(QDate(2026, 12, 10), QDate(2026, 12, 27), sundays),
              QList<QDate>({QDate(2026, 12, 13), QDate(2026, 12, 20), QDate(2026, 12, 27)}));
}

TEST(ScheduleDaysTest, AnEmptyOrBackwardRangeHasNoCopies)
{
    // One day whose weekday is not chosen (a Saturday).
    EXPECT_TRUE(ScheduleCopyDays(QDate(2026, 12, 12), QDate(2026, 12, 12), kWorkingDays).isEmpty());
    EXPECT_TRUE(ScheduleCopyDays(QDate(2026, 12, 20), QDate(2026, 12, 10), kWorkingDays).isEmpty());
    EXPECT_TRUE(ScheduleCopyDays(QDate(), QDate(2026, 12, 10), kWorkingDays).isEmpty());
    EXPECT_EQ(ScheduleCopyDays(QDate(2026, 12, 14), QDate(2026, 12, 14), kWorkingDays).size(), 1);
}
