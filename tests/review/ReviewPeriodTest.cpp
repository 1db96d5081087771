#include "review/ReviewPeriod.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

CReviewPeriod Preset(int preset, int relative, const QDate& today)
{
    CReviewPeriod period{QDate(2000, 1, 1), QDate(2000, 1, 2)};
    EXPECT_TRUE(PresetPeriod(preset, relative, today, period));
    return period;
}

CReviewPeriod Period(int y1, int m1, int d1, int y2, int m2, int d2)
{
    return {QDate(y1, m1, d1), QDate(y2, m2, d2)};
}

} // namespace

TEST(ReviewPeriodTest, WeeksEndOrBeginOnTheDayByTheOption)
{
    const QDate day(2024, 3, 28);
    EXPECT_EQ(Preset(kPresetFourWeeks, 0, day), Period(2024, 3, 1, 2024, 3, 28));
    EXPECT_EQ(Preset(kPresetFourWeeks, 1, day), Period(2024, 3, 28, 2024, 4, 24));
    EXPECT_EQ(Preset(kPresetFourWeeks, 0, day).Days(), 28);
    EXPECT_EQ(Preset(kPresetOneWeek, 0, day), Period(2024, 3, 22, 2024, 3, 28));
    EXPECT_EQ(Preset(kPresetOneWeek, 1, day), Period(2024, 3, 28, 2024, 4, 3));
    EXPECT_EQ(Preset(kPresetTwoWeeks, 0, day).Days(), 14);
    EXPECT_EQ(Preset(kPresetThreeWeeks, 1, day).Days(), 21);
    // Across the year's end.
    EXPECT_EQ(Preset(kPresetTwoWeeks, 0, QDate(2024, 1, 5)), Period(2023, 12, 23, 2024, 1, 5));
    EXPECT_EQ(Preset(kPresetTwoWeeks, 1, QDate(2023, 12, 25)), Period(2023, 12, 25, 2024, 1, 7));
}

TEST(ReviewPeriodTest, MonthAndWeekIgnoreTheOption)
{
    EXPECT_EQ(Preset(kPresetThisMonth, 0, QDate(2024, 2, 10)), Period(2024, 2, 1, 2024, 2, 29));
    EXPECT_EQ(Preset(kPresetThisMonth, 1, QDate(2024, 2, 10)), Period(2024, 2, 1, 2024, 2, 29));
    // A Sunday belongs to the week that began on the Monday before it.
    EXPECT_EQ(Preset(kPresetThisWeek, 0, QDate(2024, 3, 10)), Period(2024, 3, 4, 2024, 3, 10));
    EXPECT_EQ(Preset(kPresetThisWeek, 1, QDate(2024, 3, 4)), Period(2024, 3, 4, 2024, 3, 10));
    EXPECT_EQ(Preset(kPresetThisWeek, 0, QDate(2024, 1, 2)), Period(2024, 1, 1, 2024, 1, 7));
    EXPECT_EQ(Preset(kPresetThisWeek, 0, QDate(2025, 1, 1)), Period(2024, 12, 30, 2025, 1, 5));
}

TEST(ReviewPeriodTest, UnknownPresetsChangeNothing)
{
    CReviewPeriod period = Period(2024, 3, 1, 2024, 3, 5);
    EXPECT_FALSE(PresetPeriod(-1, 0, QDate(2024, 3, 28), period));
    EXPECT_FALSE(PresetPeriod(6, 0, QDate(2024, 3, 28), period));
    EXPECT_EQ(period, Period(2024, 3, 1, 2024, 3, 5));
}

TEST(ReviewPeriodTest, BackAndForwardByMonthWeekOrLength)
{
    // "this month" and back on any day of January 2024 gives December 2023.
    for (int day : {1, 15, 31}) {
        const CReviewPeriod january = Preset(kPresetThisMonth, 0, QDate(2024, 1, day));
        EXPECT_EQ(StepPeriod(january, kPresetThisMonth, false), Period(2023, 12, 1, 2023, 12, 31));
    }
    EXPECT_EQ(StepPeriod(Period(2023, 12, 1, 2023, 12, 31), kPresetThisMonth, true),
              Period(2024, 1, 1, 2024, 1, 31));
    EXPECT_EQ(StepPeriod(Period(2024, 1, 31, 2024, 1, 31), kPresetThisMonth, true),
              Period(2024, 2, 1, 2024, 2, 29));
    EXPECT_EQ(StepPeriod(Period(2024, 3, 4, 2024, 3, 10), kPresetThisWeek, false),
              Period(2024, 2, 26, 2024, 3, 3));
    EXPECT_EQ(StepPeriod(Period(2024, 12, 30, 2025, 1, 5), kPresetThisWeek, true),
              Period(2025, 1, 6, 2025, 1, 12));
    // Any other preset moves by the period's own length: 10 days.
    EXPECT_EQ(StepPeriod(Period(2024, 3, 1, 2024, 3, 10), kPresetTwoWeeks, false),
              Period(2024, 2, 20, 2024, 2, 29));
    EXPECT_EQ(StepPeriod(Period(2024, 12, 25, 2025, 1, 3), kPresetOneWeek, true),
              Period(2025, 1, 4, 2025, 1, 13));
}
