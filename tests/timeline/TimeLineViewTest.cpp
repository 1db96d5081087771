#include "tests/timeline/FakeHost.h"

#include <gtest/gtest.h>

namespace {

class Layout : public ::testing::Test {
protected:
    Layout()
        : m_engine(m_host)
    {
        m_host.m_engine = &m_engine;
    }

    void Init(int height, int width = 240)
    {
        m_engine.OnInit(QRect(0, 0, width, height), 1.0, 1.0);
    }

    CFakeHost m_host;
    CTimeLine m_engine;
};

} // namespace

TEST_F(Layout, ATinyControlStillHasEightRows)
{
    Init(100);
    EXPECT_EQ(m_engine.RowCount(), 8);
    EXPECT_EQ(m_engine.RowHeight(), 8);
}

TEST_F(Layout, EightRowsShareAHundredPixels)
{
    Init(130);
    EXPECT_EQ(m_engine.RowCount(), 8);
    EXPECT_EQ(m_engine.RowHeight(), 12);
    EXPECT_EQ(m_engine.GridBottom(), 8 * 12 + 30);
}

TEST_F(Layout, ATallControlStretchesADaysRows)
{
    Init(530);
    EXPECT_EQ(m_engine.RowCount(), 24);
    EXPECT_EQ(m_engine.RowHeight(), 20);
}

TEST_F(Layout, HalfHourRowsAreTallerInSixMinuteMode)
{
    Init(330);
    ASSERT_TRUE(m_engine.SetMinIntervalVal(6.0f));
    m_engine.OnIntervalChange(QStringLiteral("30 mins"));
    EXPECT_EQ(m_engine.Increment(), 30);
    EXPECT_EQ(m_engine.RowHeight(), 20);
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    EXPECT_EQ(m_engine.RowHeight(), 14);
}

TEST_F(Layout, OnlySixAndFifteenAreIntervalModes)
{
    Init(330);
    const int rows = m_engine.RowCount();
    const int height = m_engine.RowHeight();
    EXPECT_FALSE(m_engine.SetMinIntervalVal(7.0f));
    EXPECT_FALSE(m_engine.SetMinIntervalVal(10.0f));
    EXPECT_EQ(m_engine.MinInterval(), 6);
    EXPECT_EQ(m_engine.RowCount(), rows);
    EXPECT_EQ(m_engine.RowHeight(), height);
}

TEST_F(Layout, TheIntervalMenuFollowsTheMode)
{
    Init(330);
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    ASSERT_EQ(m_engine.Intervals().size(), 3u);
    EXPECT_EQ(m_engine.Intervals()[0].name, QStringLiteral("1 hour"));
    EXPECT_EQ(m_engine.Intervals()[2].minutes, 15);
    ASSERT_TRUE(m_engine.SetMinIntervalVal(6.0f));
    EXPECT_EQ(m_engine.Intervals()[0].minutes, 30);
    EXPECT_EQ(m_engine.Intervals()[2].name, QStringLiteral("6 mins"));
}

TEST_F(Layout, ALongerIncrementAlignsTheFirstRowToIt)
{
    Init(30 + 8 * 14);
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    m_engine.OnIntervalChange(QStringLiteral("15 MINS"));
    m_engine.SetStartPosHour(9, 45, false);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 9 * 60 + 45);
    m_host.Clear();
    m_engine.OnIntervalChange(QStringLiteral("1 hour"));
    EXPECT_EQ(m_engine.Increment(), 60);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 9 * 60);
    EXPECT_EQ(m_engine.FirstHour(), 9);
    // The container is asked to rebuild the control at its size.
    EXPECT_EQ(m_host.Count(PlentorEvent::DoResizeMe), 1);
}

TEST_F(Layout, IncrementWithoutANewLayoutKeepsTheFirstRowsTime)
{
    Init(30 + 8 * 14);
    m_engine.SetStartPosHour(9, 0, false);
    m_engine.SetIncrTime(15);
    EXPECT_EQ(m_engine.Increment(), 15);
    EXPECT_EQ(m_engine.RowHeight(), 14);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 9 * 60);
}

TEST_F(Layout, TheStartMovesBackSoTheGridEndsWithTheDay)
{
    Init(30 + 8 * 14);
    m_engine.SetStartPosHour(20, 0, false);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 16 * 60);
    EXPECT_EQ(m_engine.LastRowMinutes(), 1440);
    // A whole day fits: it starts at midnight.
    Init(530);
    m_engine.SetStartPosHour(8, 0, false);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 0);
}

TEST_F(Layout, ScrollingStaysInsideTheDay)
{
    Init(30 + 8 * 14);
    EXPECT_FALSE(m_engine.ScrollToEarlier(1));
    EXPECT_EQ(m_engine.ScrollRows(), 0);
    EXPECT_TRUE(m_engine.AtTop());

    EXPECT_TRUE(m_engine.ScrollToLater(3));
    EXPECT_EQ(m_engine.FirstRowMinutes(), 180);
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Grid 03:00 to 11:00, by 60's"));
    EXPECT_TRUE(m_engine.ScrollToEarlier(1));
    EXPECT_EQ(m_engine.FirstRowMinutes(), 120);

    m_engine.SetStartPosHour(16, 0, false);
    EXPECT_TRUE(m_engine.AtBottom());
    EXPECT_FALSE(m_engine.ScrollToLater(1));
    EXPECT_EQ(m_engine.FirstRowMinutes(), 16 * 60);
}

TEST_F(Layout, ScrollingDownToAnHourStopsAtTheEndOfTheDay)
{
    Init(30 + 8 * 14);
    m_engine.ScrollDownTo(23, 0);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 16 * 60);
    EXPECT_EQ(m_engine.LastRowMinutes(), 1440);
    // Every row of the grid is a time a block can be drawn to.
    const int lastRowMiddle = m_engine.RowTop(m_engine.RowCount() - 1) + m_engine.RowHeight() / 2;
    m_engine.KeyStateMask() |= CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN;
    m_engine.OnLButtonDown(0, m_engine.ColumnLeft() + 10, lastRowMiddle);
    EXPECT_TRUE(m_host.m_messages.isEmpty()) << m_host.m_messages.join('|').toStdString();
    m_engine.ScrollDownTo(9, 0);
    EXPECT_EQ(m_engine.FirstRowMinutes(), 9 * 60);
}

TEST_F(Layout, TheTimeColumnTakesTheWidthTheLabelsAndProjectsLeave)
{
    Init(530);
    EXPECT_EQ(m_engine.ColumnWidth(), CTimeLine::kColumnWidth);
    Init(530, 800);
    const int wide = 800 - m_engine.ColumnLeft() - m_engine.ProjectColumnWidth();
    EXPECT_EQ(m_engine.ColumnWidth(), wide);
    // The buttons and project labels move along with it, inside the control.
    EXPECT_GT(m_engine.ScrollUpRect().left(), m_engine.ColumnRight());
    EXPECT_LE(m_engine.ProjLabels().empty() ? 0 : m_engine.ProjLabels().front().x, 800);
    EXPECT_TRUE(m_engine.InGrid(m_engine.ColumnRight() - 1, 100));
    // A new width later lays the columns out again, the rows stay.
    const int rows = m_engine.RowCount();
    m_engine.SetWidth(600);
    EXPECT_EQ(m_engine.ColumnWidth(), 600 - m_engine.ColumnLeft() - m_engine.ProjectColumnWidth());
    EXPECT_EQ(m_engine.RowCount(), rows);
    m_engine.SetWidth(200);
    EXPECT_EQ(m_engine.ColumnWidth(), CTimeLine::kColumnWidth);
}

TEST_F(Layout, ScrollingToATimeBringsItToTheTop)
{
    Init(30 + 8 * 14);
    EXPECT_TRUE(m_engine.ScrollToTime(10 * 60 + 20));
    EXPECT_EQ(m_engine.FirstRowMinutes(), 10 * 60);
    // Near the end of the day the grid stops at the day's end.
    m_engine.ScrollToTime(22 * 60);
    EXPECT_EQ(m_engine.LastRowMinutes(), 1440);
    EXPECT_FALSE(m_engine.ScrollToTime(m_engine.FirstRowMinutes()));
}

TEST_F(Layout, ProjectsComeInPagesThatWrap)
{
    Init(30 + 8 * 14);
    for (int i = 0; i < 12; ++i)
        m_engine.SetProjInfo(QStringLiteral("P%1").arg(i), 100 + i, 0x808080);
    const int perPage = m_engine.ProjectsPerPage();
    ASSERT_GT(perPage, 0);
    ASSERT_LT(perPage, 12);
    EXPECT_TRUE(m_engine.PageButtonEnabled());
    EXPECT_EQ(static_cast<int>(m_engine.ProjLabels().size()), perPage);

    m_host.Clear();
    m_engine.PageProjects();
    EXPECT_EQ(m_engine.ProjectPageStart(), perPage);
    EXPECT_EQ(m_engine.CurrentProjIndex(), perPage);
    EXPECT_EQ(m_engine.CurrentProjId(), 100 + perPage);
    ASSERT_EQ(m_host.Count(PlentorEvent::NotifyProjectSelChng), 1);
    EXPECT_EQ(m_host.Events(PlentorEvent::NotifyProjectSelChng)[0].args[0], 100 + perPage);
    EXPECT_EQ(m_host.Count(PlentorEvent::ObjectDrawn), 1);

    while (m_engine.ProjectPageStart() != 0)
        m_engine.PageProjects();
    EXPECT_EQ(m_engine.CurrentProjIndex(), 0);
}

TEST_F(Layout, StepsThroughTheProjectButtonsWrapAround)
{
    Init(30 + 8 * 14);
    for (int i = 0; i < 3; ++i)
        m_engine.SetProjInfo(QStringLiteral("P%1").arg(i), 100 + i, 0x808080);
    EXPECT_EQ(m_engine.ActivateProjBut(1), 1);
    EXPECT_EQ(m_engine.ActivateProjBut(1), 2);
    EXPECT_EQ(m_engine.ActivateProjBut(1), 0);
    EXPECT_EQ(m_engine.ActivateProjBut(-1), 2);
    EXPECT_EQ(m_engine.CurrentProjId(), 102);
}

TEST_F(Layout, WithoutProjectsTheColumnSaysSoInRed)
{
    Init(330);
    m_engine.Redraw();
    ASSERT_EQ(m_engine.Projects().size(), 1u);
    EXPECT_EQ(m_engine.Projects()[0]->m_name, QStringLiteral("No Projects created"));
    EXPECT_EQ(m_engine.Projects()[0]->m_projId, -1);
    EXPECT_EQ(m_engine.Projects()[0]->m_colour, 0x0000FFu);
    // The first real project takes its place.
    m_engine.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    ASSERT_EQ(m_engine.Projects().size(), 1u);
    EXPECT_EQ(m_engine.CurrentProjId(), 4);
}

TEST_F(Layout, AtMostAHundredAndTwentyOneProjects)
{
    Init(330);
    for (int i = 0; i < 121; ++i)
        ASSERT_TRUE(m_engine.SetProjInfo(QStringLiteral("P"), i, 0));
    EXPECT_FALSE(m_engine.SetProjInfo(QStringLiteral("P"), 121, 0));
    EXPECT_EQ(m_engine.Projects().size(), 121u);
}

TEST_F(Layout, TheFirstLayoutSaysReady)
{
    Init(330);
    EXPECT_EQ(m_engine.Ready(), 1);
    EXPECT_EQ(m_host.Count(PlentorEvent::Ready), 1);
    EXPECT_EQ(m_host.m_events.back().event, PlentorEvent::Ready);
}

TEST_F(Layout, SetCurrentProjIdMakesItsButtonCurrent)
{
    Init(330);
    m_engine.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    m_engine.SetProjInfo(QStringLiteral("Beta"), 7, 0xFF00);
    m_engine.SetCurrentProjID(7);
    EXPECT_EQ(m_engine.CurrentProjIndex(), 1);
    EXPECT_EQ(m_engine.CurrentProjId(), 7);
    // An unknown project is kept for blocks made while no button fits.
    m_engine.SetCurrentProjID(99);
    EXPECT_EQ(m_engine.CurrentProjId(), 7);
}
