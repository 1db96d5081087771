#include "tests/timeline/FakeHost.h"

#include <gtest/gtest.h>

namespace {

using Ev = PlentorEvent;

class Editing : public ::testing::Test, protected CEngineFixture {
protected:
    std::vector<std::int32_t> LastChange() const
    {
        const auto changes = m_host.Events(Ev::OnNotifyTimeChange);
        return changes.empty() ? std::vector<std::int32_t>{} : changes.back().args;
    }
};

} // namespace

TEST_F(Editing, DrawingDownwardsMakesAndReportsABlock)
{
    Drag(9 * 60, 10 * 60);
    ASSERT_EQ(m_engine.GetCount(), 1);
    const CTimeBlock& block = *m_engine.Entries().front();
    EXPECT_EQ(block.m_start, 9 * 60);
    EXPECT_EQ(block.m_stop, 10 * 60);
    EXPECT_EQ(block.m_projId, 4);
    EXPECT_TRUE(block.m_sent);
    // Begun, reported once with its new id, and the release told.
    const auto starts = m_host.Events(Ev::NotifyTimeStart);
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(starts.front().args, (std::vector<std::int32_t>{4, 9 * 60, 2}));
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 1);
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{0, 9 * 60, 10 * 60, 4}));
    EXPECT_EQ(m_engine.NextEntryId(), 1);
    EXPECT_EQ(m_engine.State(), CTimeLine::ObjectState::NONE);
}

TEST_F(Editing, DrawingUpwardsWorksTheSame)
{
    Drag(11 * 60, 10 * 60 + 30);
    ASSERT_EQ(m_engine.GetCount(), 1);
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{0, 10 * 60 + 30, 11 * 60, 4}));
}

TEST_F(Editing, TheMousePositionIsToldInMinutes)
{
    Move(Y(9 * 60));
    const auto positions = m_host.Events(Ev::NotifyTimePos);
    ASSERT_EQ(positions.size(), 1u);
    EXPECT_EQ(positions[0].args[0], 9 * 60);
    Move(Y(9 * 60), 300);
    EXPECT_EQ(m_host.Events(Ev::NotifyTimePos).back().args[0], -1);
}

TEST_F(Editing, ANewBlockStopsAtTheNextBlock)
{
    m_engine.SetTimesheetTimes(50, 10 * 60, 11 * 60, 7, QString());
    m_host.Clear();
    Drag(9 * 60, 10 * 60 + 40);
    ASSERT_EQ(m_engine.GetCount(), 2);
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{51, 9 * 60, 10 * 60, 4}));
    const CTimeBlock* loaded = Block(50);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->m_start, 10 * 60);
    EXPECT_EQ(loaded->m_stop, 11 * 60);
}

TEST_F(Editing, AClickWithoutADragMakesNothing)
{
    const int y = Y(9 * 60);
    Move(y);
    Press(y);
    Release(y);
    EXPECT_EQ(m_engine.GetCount(), 0);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(m_engine.InHand(), nullptr);
}

TEST_F(Editing, AReleaseBelowTheGridIsTakenAtItsBottom)
{
    m_engine.SetStartPosHour(0, 0, false);
    Move(Y(23 * 60));
    Press(Y(23 * 60));
    Move(Y(23 * 60) + 10);
    Release(m_engine.GridBottom() + 40);
    ASSERT_EQ(m_engine.GetCount(), 1);
    EXPECT_EQ(m_engine.Entries().front()->m_stop, 1440);
}

TEST_F(Editing, LeavingTheColumnEndsTheDragWhereItLeft)
{
    const int y1 = Y(9 * 60);
    const int y2 = Y(9 * 60 + 30);
    Move(y1);
    Press(y1);
    for (int y = y1 + 3; y < y2; y += 3)
        Move(y);
    Move(y2);
    // Out sideways, then on down with the button still held.
    Move(y2, 300);
    m_host.RunPosted();
    Move(Y(12 * 60), 300);
    Release(Y(12 * 60), 300);
    ASSERT_EQ(m_engine.GetCount(), 1);
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{0, 9 * 60, 9 * 60 + 30, 4}));
}

TEST_F(Editing, DraggingABottomEdgeMovesTheStop)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_host.Clear();
    const int edge = Y(10 * 60);
    Move(edge);
    EXPECT_EQ(m_engine.LastHit(), CTimeLine::Hit::ON_EDGE);
    EXPECT_EQ(m_host.m_cursor, TimeLineCursor::SizeVertical);
    Press(edge);
    EXPECT_EQ(m_engine.State(), CTimeLine::ObjectState::EDITING);
    for (int y = edge + 3; y < Y(11 * 60); y += 3)
        Move(y);
    Move(Y(11 * 60));
    // The container hears the edit while it happens.
    const auto edits = m_host.Events(Ev::OnNotifyTimeEdit);
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.back().args, (std::vector<std::int32_t>{4, 9 * 60, 11 * 60}));
    Release(Y(11 * 60));
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{20, 9 * 60, 11 * 60, 4}));
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 1);
}

TEST_F(Editing, DraggingATopEdgeUpStopsAtTheBlockAbove)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_engine.SetTimesheetTimes(21, 7 * 60, 8 * 60, 7, QString());
    m_host.Clear();
    const int edge = Y(9 * 60);
    Move(edge);
    Press(edge);
    ASSERT_EQ(m_engine.GrabbedEdge(), CTimeLine::GrabEdge::GRAB_TOP);
    for (int y = edge - 3; y > Y(7 * 60 + 30); y -= 3)
        Move(y);
    Release(Y(7 * 60 + 30));
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{20, 8 * 60, 10 * 60, 4}));
}

TEST_F(Editing, ABottomEdgeDraggedOntoTheTopLeavesOneInterval)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_host.Clear();
    const int edge = Y(10 * 60);
    Move(edge);
    Press(edge);
    for (int y = edge - 3; y > Y(9 * 60); y -= 3)
        Move(y);
    Move(Y(9 * 60));
    Release(Y(9 * 60));
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{20, 9 * 60, 9 * 60 + 6, 4}));
}

TEST_F(Editing, InFifteenMinuteModeTheShortestBlockIsFifteen)
{
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_host.Clear();
    const int edge = Y(10 * 60);
    Move(edge);
    Press(edge);
    for (int y = edge - 3; y > Y(9 * 60); y -= 3)
        Move(y);
    Release(Y(9 * 60));
    EXPECT_EQ(LastChange(), (std::vector<std::int32_t>{20, 9 * 60, 9 * 60 + 15, 4}));
}

TEST_F(Editing, ReadOnlyIgnoresPressesAndShowsEdgesAsInside)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_engine.SetControlFlags(CTimeLine::kReadOnly);
    Move(Y(10 * 60));
    EXPECT_EQ(m_engine.LastHit(), CTimeLine::Hit::INSIDE_EXISTING);
    Drag(12 * 60, 13 * 60);
    Move(Y(10 * 60));
    Press(Y(10 * 60));
    Release(Y(11 * 60));
    EXPECT_EQ(m_engine.GetCount(), 1);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(Block(20)->m_stop, 10 * 60);
}

TEST_F(Editing, AutoTimingLocksEditingToo)
{
    m_engine.SetControlFlags(CTimeLine::kAutoTiming);
    Drag(12 * 60, 13 * 60);
    EXPECT_EQ(m_engine.GetCount(), 0);
}

TEST_F(Editing, HoveringNeverDeletesABlock)
{
    // Without projects every block's id reads -1 through the engine.
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_engine.ClearProjInfo();
    ASSERT_EQ(m_engine.GetEntryId(Block(20)), -1);
    for (int y = Y(8 * 60); y < Y(11 * 60); y += 2)
        Move(y);
    EXPECT_EQ(m_engine.GetCount(), 1);
}

TEST_F(Editing, HoveringABlockHighlightsItAndPostsItsTimes)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_host.Clear();
    Move(Y(9 * 60 + 30));
    EXPECT_EQ(m_engine.Highlighted(), Block(20));
    // Posted: not before the message loop runs.
    EXPECT_EQ(m_host.Count(Ev::HighlightTime), 0);
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Active 09:00 to 10:00 Alpha"));
    m_host.RunPosted();
    ASSERT_EQ(m_host.Count(Ev::HighlightTime), 1);
    EXPECT_EQ(m_host.Events(Ev::HighlightTime)[0].args,
              (std::vector<std::int32_t>{20, 9 * 60, 10 * 60, 4}));
    EXPECT_EQ(m_host.m_slots.InUse(), 0);
    Move(Y(12 * 60));
    EXPECT_EQ(m_engine.Highlighted(), nullptr);
}

TEST_F(Editing, DoubleClicksEditBlocksAddRowsAndShowProjects)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 7, QString());
    m_host.Clear();
    m_engine.OnLButtonDblClk(0, X(), Y(9 * 60 + 30));
    ASSERT_EQ(m_host.Count(Ev::WantsEdit), 1);
    EXPECT_EQ(m_host.Events(Ev::WantsEdit)[0].args, (std::vector<std::int32_t>{7, 20}));

    m_engine.OnLButtonDblClk(0, X(), Y(13 * 60 + 20));
    m_host.RunPosted();
    ASSERT_EQ(m_engine.GetCount(), 2);
    EXPECT_EQ(m_host.Events(Ev::OnNotifyTimeChange).back().args,
              (std::vector<std::int32_t>{21, 13 * 60, 14 * 60, 4}));

    const CTimeLine::ProjLabel& beta = m_engine.ProjLabels().at(1);
    m_engine.OnLButtonDblClk(0, beta.x + 5, beta.y + 5);
    ASSERT_EQ(m_host.Count(Ev::NotifyShowProjInfo), 1);
    EXPECT_EQ(m_host.Events(Ev::NotifyShowProjInfo)[0].args, (std::vector<std::int32_t>{7, -1}));
}

TEST_F(Editing, APressOnAProjectLabelMakesItCurrentOnce)
{
    const CTimeLine::ProjLabel& beta = m_engine.ProjLabels().at(1);
    Press(beta.y + 5, beta.x + 5);
    Release(beta.y + 5, beta.x + 5);
    EXPECT_EQ(m_engine.CurrentProjId(), 7);
    EXPECT_EQ(m_host.Count(Ev::NotifyProjectSelChng), 1);
    Press(beta.y + 5, beta.x + 5);
    Release(beta.y + 5, beta.x + 5);
    EXPECT_EQ(m_host.Count(Ev::NotifyProjectSelChng), 1);
    // New blocks take it.
    Drag(9 * 60, 10 * 60);
    EXPECT_EQ(LastChange().back(), 7);
}

TEST_F(Editing, TheMenuOfABlockAndOfAnEmptyRow)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_engine.OnRButtonDown(X(), Y(9 * 60 + 30));
    auto items = m_engine.ContextMenu(X(), Y(9 * 60 + 30), true);
    QStringList texts;
    for (const auto& item : items)
        texts << item.text;
    EXPECT_EQ(texts, (QStringList{"Edit", "Delete", "", "Copy", "Cut", "Schedule",
                                  "Delete all Today", "", "6 mins", "12 mins", "30 mins"}));

    m_engine.OnRButtonDown(X(), Y(13 * 60 + 10));
    items = m_engine.ContextMenu(X(), Y(13 * 60 + 10), true);
    EXPECT_EQ(items.front().id, CTimeLine::kCmdAddBlock);
    EXPECT_EQ(items.front().text, QStringLiteral("Add Block 13:00 - 14:00"));
    EXPECT_EQ(m_engine.BuildAddBlockItem(5), QStringLiteral("Add Block"));
}

TEST_F(Editing, WhileAutoTimingOnlyEditAndScheduleAreOffered)
{
    m_engine.SetTimesheetTimes(20, 9 * 60, 10 * 60, 4, QString());
    m_engine.OnRButtonDown(X(), Y(9 * 60 + 30));
    for (const auto& item : m_engine.ContextMenu(X(), Y(9 * 60 + 30), false)) {
        if (item.id == 0)
            continue;
        const bool interval =
            item.id >= CTimeLine::kCmdInterval3 && item.id <= CTimeLine::kCmdInterval1;
        const bool always =
            item.id == CTimeLine::kCmdEdit || item.id == CTimeLine::kCmdSchedule || interval;
        EXPECT_EQ(item.enabled, always) << item.text.toStdString();
    }
}

TEST_F(Editing, TheIntervalItemsMarkTheCurrentIncrement)
{
    ASSERT_TRUE(m_engine.SetMinIntervalVal(15.0f));
    const auto items = m_engine.ContextMenu(X(), Y(13 * 60), true);
    int checked = 0;
    for (const auto& item : items) {
        if (item.checked) {
            ++checked;
            EXPECT_EQ(item.id, CTimeLine::kCmdInterval1);
            EXPECT_EQ(item.text, QStringLiteral("1 hour"));
        }
    }
    EXPECT_EQ(checked, 1);
    m_engine.OnMenuCommand(CTimeLine::kCmdInterval3, QPoint(X(), Y(13 * 60)));
    EXPECT_EQ(m_engine.Increment(), 15);
}
