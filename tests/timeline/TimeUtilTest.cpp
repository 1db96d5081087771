#include "timeline/TimeUtil.h"
#include "tests/timeline/FakeHost.h"

#include <gtest/gtest.h>

using namespace TimeUtil;

TEST(TimeFormat, TwentyFourHourFormatsDropTheirSeconds)
{
    bool twelve = true;
    EXPECT_EQ(ConvertTimeFormat(QStringLiteral("HH:mm:ss"), &twelve), QStringLiteral("%H:%M"));
    EXPECT_FALSE(twelve);
    EXPECT_EQ(ConvertTimeFormat(QStringLiteral("H.mm"), &twelve), QStringLiteral("%#H.%M"));
    EXPECT_EQ(ConvertTimeFormat(QStringLiteral("HH:mm:ss"), &twelve, true),
              QStringLiteral("%H:%M:%S"));
}

TEST(TimeFormat, TheMarkerMakesATwelveHourClock)
{
    bool twelve = false;
    EXPECT_EQ(ConvertTimeFormat(QStringLiteral("h:mm:ss tt"), &twelve), QStringLiteral("%#I:%M"));
    EXPECT_TRUE(twelve);
    EXPECT_EQ(ConvertTimeFormat(QStringLiteral("hh:mm tt"), &twelve), QStringLiteral("%I:%M"));
    EXPECT_TRUE(twelve);
}

TEST(TimeFormat, QtFormatsAreReadTheDesktopWay)
{
    EXPECT_EQ(DesktopTimeFormat(QStringLiteral("h:mm AP")), QStringLiteral("h:mm tt"));
    EXPECT_EQ(DesktopTimeFormat(QStringLiteral("HH:mm:ss t")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(DesktopTimeFormat(QStringLiteral("H' h 'mm")), QStringLiteral("H h mm"));
}

TEST(TimeFormat, MinutesAsClockTexts)
{
    EXPECT_EQ(FormatMinutes(9 * 60 + 5, QStringLiteral("%H:%M")), QStringLiteral("09:05"));
    EXPECT_EQ(FormatMinutes(1440, QStringLiteral("%H:%M")), QStringLiteral("24:00"));
    EXPECT_EQ(FormatMinutes(13 * 60 + 5, QStringLiteral("%#I:%M")), QStringLiteral("1:05"));
    EXPECT_EQ(FormatMinutes(0, QStringLiteral("%I:%M")), QStringLiteral("12:00"));
    EXPECT_EQ(HourMinute(7 * 60 + 3), QStringLiteral("07:03"));
}

TEST(TimeFormat, LimitsOfTheDayByIncrement)
{
    EXPECT_EQ(RowsPerDay(6), 96);
    EXPECT_EQ(RowsPerDay(15), 96);
    EXPECT_EQ(RowsPerDay(30), 48);
    EXPECT_EQ(RowsPerDay(60), 24);
    EXPECT_EQ(RowsPerDay(120), 24);
    EXPECT_EQ(LatestTime(60, true), 1440);
    EXPECT_EQ(LatestTime(15, false), 1425);
    EXPECT_TRUE(IsValidStart(0, 23, 45, 15, false));
    EXPECT_FALSE(IsValidStart(2, 23, 30, 15, false));
    EXPECT_EQ(LatestTime(30, false), 1410);
    EXPECT_EQ(LatestTime(120, false), 1320);
    EXPECT_EQ(LatestTime(12, false), 1380);
}

namespace {

class TimeLabelTest : public ::testing::Test {
protected:
    TimeLabelTest()
        : m_engine(m_host)
    {
        m_engine.OnInit(QRect(0, 0, 200, 510), 1.0, 1.0);
    }

    CFakeHost m_host;
    CTimeLine m_engine;
};

} // namespace

TEST_F(TimeLabelTest, TwentyFourHourLabelsEndAtTwentyFour)
{
    m_engine.SetLocaleFormats(QStringLiteral("HH:mm"), QString(), QString());
    EXPECT_EQ(m_engine.TimeLabel(0), QStringLiteral("00:00"));
    EXPECT_EQ(m_engine.TimeLabel(13), QStringLiteral("13:00"));
    EXPECT_EQ(m_engine.TimeLabel(24), QStringLiteral("24:00"));
    EXPECT_EQ(m_engine.TimeLabel(25), QString());
}

TEST_F(TimeLabelTest, TwelveHourLabelsSayNoonAndTheirHalfOfTheDay)
{
    m_engine.SetLocaleFormats(QStringLiteral("h:mm tt"), QStringLiteral("a.m."),
                              QStringLiteral("p.m."));
    EXPECT_TRUE(m_engine.Use12Hour());
    EXPECT_EQ(m_engine.TimeLabel(12), QStringLiteral("12:00 noon"));
    EXPECT_EQ(m_engine.TimeLabel(13), QStringLiteral("1:00 pm"));
    EXPECT_EQ(m_engine.TimeLabel(9), QStringLiteral("9:00 am"));
    // Midnight reads as the zero hour, not as twelve.
    EXPECT_EQ(m_engine.TimeLabel(0), QStringLiteral("0:00 am"));
    EXPECT_EQ(m_engine.TimeLabel(24), QStringLiteral("12:00 pm"));
    EXPECT_EQ(m_engine.FormatTime(720), QStringLiteral("12:00 noon"));
}

TEST_F(TimeLabelTest, MinorTickTypesWriteQuarterHoursShort)
{
    m_engine.SetLocaleFormats(QStringLiteral("HH:mm"), QString(), QString());
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    m_engine.OnIntervalChange(QStringLiteral("15 mins"));
    const int row = (9 * 60 + 15 - m_engine.FirstRowMinutes()) / 15;
    EXPECT_EQ(m_engine.TimeLabel(row), QStringLiteral("09:15"));
    m_engine.SetTickTypes(1, 2);
    EXPECT_EQ(m_engine.TimeLabel(row), QStringLiteral("    09:15"));
    m_engine.SetTickTypes(1, 3);
    EXPECT_EQ(m_engine.TimeLabel(row), QStringLiteral("        15"));
}

TEST_F(TimeLabelTest, ToolTipsNameTheProjectAndTheChangeRequest)
{
    m_engine.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    m_engine.SetTimesheetTimes(3, 8 * 60, 9 * 60 + 5, 4, QString());
    const CTimeBlock& block = *m_engine.FindById(3);
    EXPECT_EQ(m_engine.BuildToolTipText(block),
              QStringLiteral("Project : Alpha\n Start: 08:00\n Stop: 09:05"));
    m_engine.SetChgRqstStr(QStringLiteral("CR-9"), 3);
    ASSERT_EQ(m_engine.BlockTips().size(), 1u);
    EXPECT_EQ(m_engine.BlockTips().front().text,
              QStringLiteral("Project : Alpha\n Start: 08:00\n Stop: 09:05\n ChgRqst: CR-9"));
    EXPECT_EQ(m_engine.BlockTips().front().entryId, 3);
}
