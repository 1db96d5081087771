#include "tests/timeline/FakeHost.h"

#include <gtest/gtest.h>

namespace {

// A short control: 8 rows of 14 pixels at 60 minutes, interval mode 6.
class TimeBlockTest : public ::testing::Test {
protected:
    TimeBlockTest()
        : m_engine(m_host)
    {
        m_engine.OnInit(QRect(0, 0, 200, 30 + 8 * 14), 1.0, 1.0);
    }

    CTimeBlock Block(int start, int stop) const
    {
        return CTimeBlock(&m_engine, 1, QString(), start, stop, 60, 0);
    }

    CFakeHost m_host;
    CTimeLine m_engine;
};

} // namespace

TEST_F(TimeBlockTest, AStopPastTheEndOfTheDayIsTheEndOfTheDay)
{
    EXPECT_EQ(Block(60, 1500).m_stop, 1440);
}

TEST_F(TimeBlockTest, NormaliseSwapsTimesRowsAndOffsetsAndSaysSo)
{
    CTimeBlock block = Block(600, 540);
    const int startRow = block.m_startRow;
    EXPECT_FALSE(block.Normalise());
    EXPECT_EQ(block.m_start, 540);
    EXPECT_EQ(block.m_stop, 600);
    EXPECT_EQ(block.m_stopRow, startRow);
    EXPECT_TRUE(block.Normalise());
}

TEST_F(TimeBlockTest, ATimeLiesInItsRowAtAWholePixelOffsetOfTheIntervalStep)
{
    ASSERT_EQ(m_engine.RowHeight(), 14);
    const CTimeBlock block = Block(0, 0);
    int y = 0;
    int row = 0;
    int offset = 0;
    // 615 rounds down to 612: 12 minutes of a 60-minute row of 14 pixels.
    ASSERT_TRUE(block.TimeToPos(615, 60, 6, &y, &row, &offset));
    EXPECT_EQ(row, 10);
    EXPECT_EQ(offset, 2);
    EXPECT_EQ(y, 30 + 10 * 14 + 2);
    EXPECT_FALSE(block.TimeToPos(615, 60, 0, &y, &row, &offset));
}

TEST_F(TimeBlockTest, ARowOutsideTheTableHasNoTop)
{
    CTimeBlock block = Block(60, 120);
    block.m_startRow = 961;
    EXPECT_EQ(block.GetTopY(), -1);
    EXPECT_EQ(block.GetBottomY(), -1);
}

TEST_F(TimeBlockTest, AYBecomesTheTimeOfTheNearestIntervalStep)
{
    const CTimeBlock block = Block(0, 0);
    int h = 0;
    int m = 0;
    // Row 2 begins at y = 58; 1.4 pixels make 6 minutes.
    ASSERT_TRUE(block.YToTime(58, &h, &m));
    EXPECT_EQ(h * 60 + m, 120);
    ASSERT_TRUE(block.YToTime(58 + 7, &h, &m));
    EXPECT_EQ(h * 60 + m, 150);
    ASSERT_TRUE(block.YToTime(57, &h, &m));
    EXPECT_EQ(h * 60 + m, 120 - 6);
    // Above the grid there is no time.
    EXPECT_FALSE(block.YToTime(5, &h, &m));
}

TEST_F(TimeBlockTest, TimesGoThereAndBackUnchanged)
{
    const CTimeBlock block = Block(0, 0);
    for (int t = 0; t <= 8 * 60; t += 6) {
        int h = 0;
        int m = 0;
        ASSERT_TRUE(block.YToTime(block.TimeToY(t, 60, 6), &h, &m)) << t;
        EXPECT_EQ(h * 60 + m, t);
    }
}

TEST_F(TimeBlockTest, ClippingTakesTheOtherBlocksRowAndOffset)
{
    CTimeBlock a = Block(60, 120);
    const CTimeBlock b = Block(90, 180);
    a.CopyStopFrom(b, true);
    EXPECT_EQ(a.m_stop, 90);
    EXPECT_EQ(a.GetBottomY(), b.GetTopY());
    a.CopyStartFrom(b, false);
    EXPECT_EQ(a.m_start, 180);
}
