#include "tests/timeline/FakeHost.h"

#include <gtest/gtest.h>

namespace {

using Ev = PlentorEvent;
using Args = std::vector<std::int32_t>;

class Blocks : public ::testing::Test, protected CEngineFixture {
protected:
    Args LastChange() const
    {
        const auto changes = m_host.Events(Ev::OnNotifyTimeChange);
        return changes.empty() ? Args{} : changes.back().args;
    }
    std::vector<Args> Changes() const
    {
        std::vector<Args> all;
        for (const auto& e : m_host.Events(Ev::OnNotifyTimeChange))
            all.push_back(e.args);
        return all;
    }
    void Hover(int minutes) { Move(Y(minutes)); }
};

} // namespace

// --- Ids -------------------------------------------------------------------------

TEST_F(Blocks, TheLastLoadedIdDecidesTheNextNewOne)
{
    m_engine.SetTimesheetTimes(7, 60, 120, 4, QString());
    m_engine.SetTimesheetTimes(3, 180, 240, 4, QString());
    m_engine.SetTimesheetTimes(5, 300, 360, 4, QString());
    EXPECT_EQ(m_engine.NextEntryId(), 6);
    Drag(9 * 60, 10 * 60);
    EXPECT_EQ(LastChange().front(), 6);
    Drag(11 * 60, 12 * 60);
    EXPECT_EQ(LastChange().front(), 8);
}

TEST_F(Blocks, APastedBlockNeverTakesALoadedBlocksId)
{
    m_engine.SetTimesheetTimes(5, 60, 120, 4, QString());
    m_engine.SetTimesheetTimes(4, 180, 240, 4, QString());
    ASSERT_EQ(m_engine.NextEntryId(), 5);
    m_engine.OnRButtonDown(X(), Y(200));
    m_engine.OnCopy();
    m_engine.SetLastPoint(QPoint(X(), Y(9 * 60)));
    m_engine.OnPaste();
    m_host.RunPosted();
    const auto pasted = m_host.Events(Ev::NotifyCopyData);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0].args, (Args{6, 9 * 60, 10 * 60, 4}));
    EXPECT_EQ(Block(5)->m_start, 60);
}

TEST_F(Blocks, PastingOverABlockDoesNothing)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 10 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 11 * 60, 12 * 60, 4, QString());
    m_engine.OnRButtonDown(X(), Y(9 * 60));
    m_engine.OnCopy();
    // Two hours from 10:30 would cover the inner rows of the block at 11.
    m_engine.SetLastPoint(QPoint(X(), Y(10 * 60 + 30)));
    m_engine.OnPaste();
    m_host.RunPosted();
    EXPECT_EQ(m_engine.GetCount(), 2);
    EXPECT_EQ(m_host.Count(Ev::NotifyCopyData), 0);
}

// --- Loading and reporting ----------------------------------------------------------

TEST_F(Blocks, ALoadedBlockIsReportedOnlyOnceChanged)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    Drag(10 * 60, 11 * 60);
    EXPECT_EQ(Changes(), (std::vector<Args>{{2, 10 * 60, 11 * 60, 4}}));
    m_engine.EditObjById(1, 8 * 60, 8 * 60 + 30, 4);
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 1);
}

TEST_F(Blocks, LoadingIsRefusedMidDrawAndForTimesOutsideTheDay)
{
    const int y = Y(9 * 60);
    Move(y);
    Press(y);
    Move(y + 30);
    EXPECT_FALSE(m_engine.SetTimesheetTimes(1, 60, 120, 4, QString()));
    Release(y + 30);
    EXPECT_TRUE(m_engine.SetTimesheetTimes(1, 60, 120, 4, QString()));
    EXPECT_FALSE(m_engine.SetTimesheetTimes(2, -5, 120, 4, QString()));
    EXPECT_FALSE(m_engine.SetTimesheetTimes(2, 1500, 1600, 4, QString()));
    EXPECT_TRUE(m_engine.SetTimesheetTimes(3, 1400, 1600, 4, QString()));
    EXPECT_EQ(Block(3)->m_stop, 1440);
}

TEST_F(Blocks, ABlockWithoutAProjectIsReportedThenDropped)
{
    m_engine.SetCurrentProjID(-1);
    m_engine.ClearProjInfo();
    m_engine.Redraw();
    Drag(9 * 60, 10 * 60);
    ASSERT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 1);
    EXPECT_EQ(LastChange().back(), -1);
    EXPECT_EQ(m_engine.GetCount(), 0);
}

// --- Overlaps -----------------------------------------------------------------------

TEST_F(Blocks, ADownwardBlockOverANeighbourLosesItsEnd)
{
    m_engine.SetTimesheetTimes(1, 9 * 60 + 30, 11 * 60, 7, QString());
    m_engine.SetTimesheetTimes(2, 9 * 60, 10 * 60, 4, QString());
    m_engine.EditObjById(2, 9 * 60, 10 * 60, 4);
    const_cast<CTimeBlock*>(Block(2))->m_sent = false;
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(LastChange(), (Args{2, 9 * 60, 9 * 60 + 30, 4}));
}

TEST_F(Blocks, AnUpwardBlockUnderANeighbourLosesItsStart)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60 + 30, 7, QString());
    m_engine.SetTimesheetTimes(2, 9 * 60, 10 * 60, 4, QString());
    CTimeBlock* a = const_cast<CTimeBlock*>(Block(2));
    a->m_dir = DragDir::UP;
    a->m_sent = false;
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(LastChange(), (Args{2, 9 * 60 + 30, 10 * 60, 4}));
}

TEST_F(Blocks, ABlockInsideAnotherGoesUnreported)
{
    m_engine.SetTimesheetTimes(1, 9 * 60, 10 * 60, 7, QString());
    m_engine.SetTimesheetTimes(2, 9 * 60 + 15, 9 * 60 + 45, 4, QString());
    const_cast<CTimeBlock*>(Block(2))->m_sent = false;
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(Block(2), nullptr);
    EXPECT_EQ(m_engine.GetCount(), 1);
}

TEST_F(Blocks, TouchingBlocksAreNotClipped)
{
    m_engine.SetTimesheetTimes(1, 9 * 60, 10 * 60, 7, QString());
    // Drawn up to the neighbour's bottom edge (a press on it would grab it).
    Drag(11 * 60, 10 * 60);
    EXPECT_EQ(LastChange(), (Args{2, 10 * 60, 11 * 60, 4}));
    EXPECT_EQ(Block(1)->m_stop, 10 * 60);
}

TEST_F(Blocks, AChainOfNeighboursIsClippedSixTimesAtMost)
{
    // Seven neighbours, latest first, so each pass cuts one off.
    for (int i = 7; i >= 1; --i)
        m_engine.SetTimesheetTimes(i, (i + 1) * 60, (i + 1) * 60 + 30, 7, QString());
    m_engine.SetTimesheetTimes(20, 60, 9 * 60, 4, QString());
    const_cast<CTimeBlock*>(Block(20))->m_sent = false;
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    // Cut back to the sixth neighbour's start; the seventh still overlaps.
    EXPECT_EQ(LastChange(), (Args{20, 60, 3 * 60, 4}));
}

TEST_F(Blocks, ABlockClippedToNothingIsNeitherReportedNorKept)
{
    m_engine.SetTimesheetTimes(1, 9 * 60, 10 * 60, 7, QString());
    m_engine.SetTimesheetTimes(2, 9 * 60, 10 * 60, 4, QString());
    const_cast<CTimeBlock*>(Block(2))->m_sent = false;
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(m_engine.GetCount(), 1);
}

// --- Deleting -----------------------------------------------------------------------

TEST_F(Blocks, DeletingTheHighlightedBlockReportsItAsEmpty)
{
    m_engine.SetTimesheetTimes(17, 9 * 60, 10 * 60, 4, QString());
    Hover(9 * 60 + 30);
    m_engine.OnDeleteHighlighted(-1);
    EXPECT_EQ(LastChange(), (Args{17, 0, 0, 4}));
    EXPECT_EQ(m_engine.GetCount(), 0);
    EXPECT_EQ(m_engine.Highlighted(), nullptr);
}

TEST_F(Blocks, DeletingByIdTellsNobody)
{
    m_engine.SetTimesheetTimes(17, 9 * 60, 10 * 60, 4, QString());
    Hover(9 * 60 + 30);
    m_engine.OnDeleteHighlighted(17);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(m_engine.GetCount(), 0);
    EXPECT_EQ(m_engine.Highlighted(), nullptr);
}

TEST_F(Blocks, NothingIsDeletedWhileTheLeftButtonDraws)
{
    m_engine.SetTimesheetTimes(17, 9 * 60, 10 * 60, 4, QString());
    Hover(9 * 60 + 30);
    Press(Y(12 * 60));
    m_engine.OnDeleteHighlighted(-1);
    EXPECT_EQ(m_engine.GetCount(), 1);
    Release(Y(12 * 60));
}

TEST_F(Blocks, DeleteAllAnsweredNoKeepsEveryBlock)
{
    m_engine.SetTimesheetTimes(1, 60, 120, 4, QString());
    m_engine.SetTimesheetTimes(2, 180, 240, 7, QString());
    m_host.On(Ev::NotifyDeleteAll, [this](const Args&) { m_engine.DeleteAllOKRet(false); });
    m_engine.DeleteAllToday();
    EXPECT_EQ(m_engine.GetCount(), 2);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
}

TEST_F(Blocks, DeleteAllAnsweredYesReportsEachBlock)
{
    m_engine.SetTimesheetTimes(1, 60, 120, 4, QString());
    m_engine.SetTimesheetTimes(2, 180, 240, 7, QString());
    m_host.On(Ev::NotifyDeleteAll, [this](const Args&) { m_engine.DeleteAllOKRet(true); });
    m_engine.DeleteAllToday();
    EXPECT_EQ(m_engine.GetCount(), 0);
    EXPECT_EQ(Changes(), (std::vector<Args>{{1, 0, 0, 4}, {2, 0, 0, 7}}));
    EXPECT_EQ(m_engine.HoursWorked(), 0.0);
}

TEST_F(Blocks, AnEarlierYesIsNoAnswerToTheNextQuestion)
{
    m_engine.SetTimesheetTimes(1, 60, 120, 4, QString());
    m_host.On(Ev::NotifyDeleteAll, [this](const Args&) { m_engine.DeleteAllOKRet(true); });
    m_engine.DeleteAllToday();
    ASSERT_EQ(m_engine.GetCount(), 0);
    // This container says nothing: that means no.
    m_engine.SetTimesheetTimes(2, 180, 240, 4, QString());
    m_host.On(Ev::NotifyDeleteAll, [](const Args&) {});
    m_engine.DeleteAllToday();
    EXPECT_EQ(m_engine.GetCount(), 1);
    // An answer given outside the question does not count either.
    m_engine.DeleteAllOKRet(true);
    m_engine.DeleteAllToday();
    EXPECT_EQ(m_engine.GetCount(), 1);
}

TEST_F(Blocks, DeleteAllIsRefusedWhileReadOnly)
{
    m_engine.SetTimesheetTimes(1, 60, 120, 4, QString());
    m_engine.SetControlFlags(CTimeLine::kReadOnly);
    m_engine.DeleteAllToday();
    EXPECT_EQ(m_host.Count(Ev::NotifyDeleteAll), 0);
    EXPECT_EQ(m_engine.GetCount(), 1);
}

// --- Copy, cut, schedule --------------------------------------------------------------

TEST_F(Blocks, CuttingCopiesFirstThenReportsTheBlockGone)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 4, QString());
    Hover(9 * 60 + 30);
    ASSERT_TRUE(m_engine.OnCutHighlight());
    ASSERT_GE(m_host.m_events.size(), 2u);
    const auto copy = std::find_if(m_host.m_events.begin(), m_host.m_events.end(),
                                   [](const auto& e) { return e.event == Ev::NotifyCopyRec; });
    const auto gone = std::find_if(m_host.m_events.begin(), m_host.m_events.end(),
                                   [](const auto& e) { return e.event == Ev::OnNotifyTimeChange; });
    ASSERT_NE(copy, m_host.m_events.end());
    ASSERT_NE(gone, m_host.m_events.end());
    EXPECT_LT(copy - m_host.m_events.begin(), gone - m_host.m_events.begin());
    EXPECT_EQ(copy->args, (Args{3, 9 * 60, 10 * 60, 4}));
    EXPECT_EQ(gone->args, (Args{3, 0, 0, 4}));
    EXPECT_EQ(m_engine.GetCount(), 0);
    ASSERT_TRUE(m_engine.Copied());
    EXPECT_FALSE(m_engine.OnCutHighlight());
}

TEST_F(Blocks, SchedulingHandsOverACopyWithoutAnId)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 7, QString());
    Hover(9 * 60 + 30);
    m_engine.OnSchedule();
    EXPECT_EQ(m_host.Count(Ev::NotifySchedData), 0);
    m_host.RunPosted();
    ASSERT_EQ(m_host.Count(Ev::NotifySchedData), 1);
    EXPECT_EQ(m_host.Events(Ev::NotifySchedData)[0].args, (Args{-1, 9 * 60, 10 * 60, 7}));
    EXPECT_EQ(m_engine.GetCount(), 1);
    EXPECT_EQ(m_engine.InHand(), nullptr);
}

TEST_F(Blocks, PrivateMessagesAreNotButtonPresses)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 7, QString());
    m_engine.SetIncrTime(15);
    ASSERT_TRUE(m_engine.ScrollToLater(4));
    const int first = m_engine.FirstRowMinutes();
    m_engine.OnSendMessage(EngineMessage::PasteDone);
    m_engine.OnSendMessage(EngineMessage::CopyDone);
    EXPECT_EQ(m_engine.FirstRowMinutes(), first);
    m_host.Clear();
    m_engine.OnButtonPress(CTimeLine::kScrollUpButton);
    EXPECT_EQ(m_engine.FirstRowMinutes(), first - 15);
    EXPECT_EQ(m_host.Count(Ev::NotifyCopyData), 0);
    EXPECT_EQ(m_host.Count(Ev::NotifyCopyRec), 0);
}

// --- Changes by id -------------------------------------------------------------------

TEST_F(Blocks, AProjectMovesOnlyFromTheProjectNamed)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 4, QString());
    EXPECT_FALSE(m_engine.UpdateProjForTimeObj(3, 7, 9));
    EXPECT_TRUE(m_engine.UpdateProjForTimeObj(3, 4, 9));
    EXPECT_EQ(Block(3)->m_projId, 9);
    EXPECT_EQ(Block(3)->m_colour, 0x0000FFu); // its colour stays
    EXPECT_TRUE(m_engine.ChangeProject(3, 7));
    EXPECT_EQ(Block(3)->m_colour, 0x00FF00u);
    EXPECT_TRUE(m_engine.ChangeProject(3, 99));
    EXPECT_EQ(Block(3)->m_colour, kUnknownProjectColour);
    EXPECT_FALSE(m_engine.ChangeProject(42, 7));
}

TEST_F(Blocks, EditingByIdMovesTheBlockSilently)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 4, QString());
    EXPECT_TRUE(m_engine.EditObjById(3, 11 * 60, 12 * 60, 7));
    EXPECT_EQ(Block(3)->m_start, 11 * 60);
    EXPECT_EQ(Block(3)->m_projId, 7);
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Active 11:00 to 12:00 Beta"));
    EXPECT_FALSE(m_engine.EditObjById(4, 11 * 60, 12 * 60, 7));
    EXPECT_FALSE(m_engine.EditObjById(3, -1, 12 * 60, 7));
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
}

// --- Blocks made without the mouse ------------------------------------------------------

TEST_F(Blocks, DrawTSEntryStStpSaysWhetherItMadeABlock)
{
    m_engine.SetTimesheetTimes(3, 9 * 60, 10 * 60, 4, QString());
    EXPECT_EQ(m_engine.DrawTSEntryStStp(9 * 60, 9 * 60 + 30), -1);
    EXPECT_EQ(m_engine.DrawTSEntryStStp(13 * 60, 13 * 60 + 45), 4);
    m_host.RunPosted();
    EXPECT_EQ(LastChange(), (Args{4, 13 * 60, 13 * 60 + 45, 4}));
    EXPECT_EQ(m_engine.DrawTSEntryAt(15 * 60), 5);
    m_host.RunPosted();
    EXPECT_EQ(LastChange(), (Args{5, 15 * 60, 15 * 60 + 6, 4}));
}

TEST_F(Blocks, ARectangleFromTheContainerIsAnnouncedOnlyWhenAsked)
{
    EXPECT_EQ(m_engine.DrawRectStartStop(30, 9 * 60, 10 * 60, 7, true), 30);
    m_host.RunPosted();
    EXPECT_EQ(LastChange(), (Args{30, 9 * 60, 10 * 60, 7}));
    EXPECT_GE(m_host.Count(Ev::NotifyTimeStart), 1);
    m_host.Clear();
    EXPECT_EQ(m_engine.DrawRectStartStop(31, 11 * 60, 12 * 60, -1, false), 31);
    m_host.RunPosted();
    Drag(14 * 60, 15 * 60);
    // Only the drawn block is reported; the container made the other one.
    EXPECT_EQ(Changes().size(), 1u);
    EXPECT_EQ(Block(31)->m_projId, 4);
    // A stop before the start is one interval after it; taken spans are refused.
    EXPECT_EQ(m_engine.DrawRectStartStop(-1, 9 * 60 + 30, 0, 4, false), -1);
    EXPECT_GE(m_engine.DrawRectStartStop(-1, 16 * 60, 0, 4, false), 0);
    EXPECT_EQ(m_engine.FindById(m_engine.SelectedId())->m_stop, 16 * 60 + 6);
}

TEST_F(Blocks, TheNowButtonMakesABlockAtTheCurrentHourOrSaysWhyNot)
{
    m_host.m_now = 14 * 60 + 25;
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    m_host.RunPosted();
    EXPECT_EQ(LastChange(), (Args{0, 14 * 60, 15 * 60, 4}));

    // The hour is taken now: nothing is made, and the status says so.
    m_host.Clear();
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    m_host.RunPosted();
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(m_host.m_texts.last(),
              QStringLiteral("Now 14:00 to 15:00 is taken by an existing entry"));
    // Part of an hour taken is taken too.
    m_engine.SetTimesheetTimes(9, 16 * 60 + 30, 17 * 60, 4, QString());
    m_host.m_now = 16 * 60 + 5;
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    EXPECT_EQ(m_host.m_texts.last(),
              QStringLiteral("Now 16:00 to 17:00 is taken by an existing entry"));
    m_engine.SetControlFlags(CTimeLine::kReadOnly);
    m_host.m_now = 18 * 60;
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    EXPECT_EQ(m_host.m_texts.last(),
              QStringLiteral("Now 18:00 to 19:00: this time sheet cannot be changed"));
}

TEST_F(Blocks, ABlockAtNowIsMadeOnTheDayItIsNow)
{
    // Yesterday is shown; the container moves to today, whose hour is free.
    m_engine.SetTimesheetTimes(1, 0, 60, 4, QString());
    m_host.m_bookNow = [this] {
        m_engine.ClearTimeInfo();
        return 7;
    };
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    m_host.RunPosted();
    EXPECT_EQ(m_host.m_bookNowAsked, 1);
    ASSERT_EQ(Changes().size(), 1u);
    const Args made = LastChange();
    EXPECT_EQ(Args(made.begin() + 1, made.end()), (Args{0, 60, 4}));

    // A container that cannot change the day now: nothing is made.
    m_engine.ClearTimeInfo();
    m_host.Clear();
    m_host.m_bookNow = [] { return -1; };
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    m_host.RunPosted();
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(m_engine.GetCount(), 0);
    // A line that takes no blocks does not ask to change the day.
    m_engine.SetControlFlags(CTimeLine::kAutoTiming);
    m_engine.OnButtonPress(CTimeLine::kNowButton);
    EXPECT_EQ(m_host.m_bookNowAsked, 2);
}

TEST_F(Blocks, APasteLiesWhereItsRoundedStartPutsIt)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 12 * 60, 13 * 60, 4, QString());
    m_engine.OnRButtonDown(X(), Y(8 * 60 + 30));
    m_engine.OnCopy();
    // A pointer a few pixels below the 11:00 line rounds up to 11:06, where
    // the hour-long copy would run into the block at 12:00: only 11:00 fits.
    for (int dy = 3; dy >= 0; --dy) {
        m_engine.SetLastPoint(QPoint(X(), Y(11 * 60) + dy));
        m_engine.OnPaste();
        m_host.RunPosted();
    }
    const auto pasted = m_host.Events(Ev::NotifyCopyData);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0].args, (Args{3, 11 * 60, 12 * 60, 4}));
    for (const auto& a : m_engine.Entries()) {
        for (const auto& b : m_engine.Entries()) {
            if (a != b) {
                EXPECT_FALSE(a->m_start < b->m_stop && b->m_start < a->m_stop)
                    << a->m_start << "-" << a->m_stop << " and " << b->m_start << "-" << b->m_stop;
            }
        }
    }
}

// --- Keyboard selection --------------------------------------------------------------

TEST_F(Blocks, SelectionStepsThroughBlocksByStartTime)
{
    m_engine.SetTimesheetTimes(1, 11 * 60, 12 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 8 * 60, 9 * 60, 4, QString());
    m_engine.SetTimesheetTimes(3, 14 * 60, 15 * 60, 4, QString());
    EXPECT_EQ(m_engine.ForceHighlight(-1, true), 2);
    EXPECT_EQ(m_engine.ForceHighlight(-1, true), 1);
    EXPECT_EQ(m_engine.ForceHighlight(-1, true), 3);
    EXPECT_EQ(m_engine.ForceHighlight(-1, true), 2);
    EXPECT_EQ(m_engine.ForceHighlight(-1, false), 3);
    EXPECT_EQ(m_engine.ForceHighlight(1, true), 1);
    EXPECT_EQ(m_engine.Highlighted(), Block(1));
    EXPECT_EQ(m_engine.ForceHighlight(99, true), -1);
    m_engine.ForceHighlight(3, true);
    EXPECT_EQ(m_engine.ForceEditHighlight(), 3);
    EXPECT_EQ(m_host.Events(Ev::WantsEdit).back().args, (Args{4, 3}));
}

TEST_F(Blocks, TheInsertionPointSaysWhatItFallsOn)
{
    m_engine.SetTimesheetTimes(1, 9 * 60, 10 * 60, 4, QString());
    m_engine.ShowInsertionPoint(9 * 60 + 30);
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Cursor 09:30 INSIDE 09:00 to 10:00 Alpha"));
    m_engine.ShowInsertionPoint(10 * 60);
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Cursor 10:00 On EDGE 09:00 to 10:00 Alpha"));
    m_host.m_now = 13 * 60 + 29;
    EXPECT_EQ(m_engine.ShowCursorNow(), 13 * 60 + 24);
    EXPECT_TRUE(m_engine.InsertionShown());
    // From the insertion point the selection goes on to the next block.
    m_engine.ShowInsertionPoint(8 * 60);
    EXPECT_EQ(m_engine.ForceHighlight(-1, true), 1);
}

// --- Hours -------------------------------------------------------------------------------

TEST_F(Blocks, TheHoursTotalNeverDrifts)
{
    m_engine.SetTimeHHMM(true);
    m_engine.SetTimesheetTimes(1, 60, 120, 4, QString());
    for (int i = 0; i < 300; ++i) {
        m_engine.SetTimesheetTimes(100 + i, 200, 206, 4, QString());
        m_engine.OnDeleteHighlighted(100 + i);
    }
    m_engine.SetTimesheetTimes(2, 300, 359, 4, QString());
    EXPECT_EQ(m_engine.HoursText(), QStringLiteral("01:59"));
    m_engine.SetTimesheetTimes(3, 400, 401, 4, QString());
    EXPECT_EQ(m_engine.HoursText(), QStringLiteral("02:00"));
    m_engine.SetTimeHHMM(false);
    EXPECT_EQ(m_engine.HoursText(), QStringLiteral("2.00"));
    m_engine.CreateHoursWorkedMsg();
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Hours Worked 2.00"));
}

TEST_F(Blocks, TheHoursWorkedAreTheTimeThatPassedOnTheDayShown)
{
    // As on the night the clock goes forward: 02:00 to 03:00 never happens.
    m_host.m_elapsed = [](int start, int stop) {
        const auto moment = [](int m) { return m < 120 ? m : m < 180 ? 120 : m - 60; };
        return moment(stop) - moment(start);
    };
    m_engine.SetTimesheetTimes(1, 30, 210, 4, QString());
    m_engine.SetTimesheetTimes(2, 9 * 60, 10 * 60, 4, QString());
    m_engine.CreateHoursWorkedMsg();
    EXPECT_EQ(m_host.m_texts.last(), QStringLiteral("Hours Worked 3.00"));
}

// --- Posted events and their slots ------------------------------------------------------

TEST_F(Blocks, AFullSlotPoolDropsPostedEventsUntilItDrains)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 10 * 60, 11 * 60, 4, QString());
    // 101 highlights with no message loop in between.
    for (int i = 0; i < 101; ++i)
        Hover(i % 2 == 0 ? 8 * 60 + 30 : 10 * 60 + 30);
    EXPECT_EQ(m_host.m_slots.InUse(), CMsgSlotPool::kSlotCount);
    m_host.RunPosted();
    EXPECT_EQ(m_host.Count(Ev::HighlightTime), 100);
    EXPECT_EQ(m_host.m_slots.InUse(), 0);
    Hover(10 * 60 + 30);
    const CMsgSlot* slot = m_host.m_slots.GetFreeMsgSlot(0, 0, 0, 0);
    EXPECT_EQ(m_host.m_slots.IndexOf(slot), 1);
}

TEST_F(Blocks, BookingsAreNeverLostToAFullSlotPool)
{
    while (m_host.m_slots.GetFreeMsgSlot(0, 0, 0, 0)) {
    }
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    const int edge = Y(9 * 60);
    Move(edge);
    Press(edge);
    Move(edge + 10);
    EXPECT_FALSE(m_host.Events(Ev::OnNotifyTimeEdit).empty());
    Move(edge + 20);
    Release(edge + 20);
    EXPECT_EQ(LastChange(), (Args{1, 8 * 60, 9 * 60 + 60, 4}));
}

// --- Resize ------------------------------------------------------------------------------

TEST_F(Blocks, ACopyForANewSizeKeepsTheDayWithoutReportingIt)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    Drag(10 * 60, 11 * 60);
    m_engine.SetTimeHHMM(true);
    m_engine.SetGrabWidth(4);
    Hover(8 * 60 + 30);
    m_host.Clear();

    CTimeLine bigger(m_host);
    m_engine.CopyDataTo(bigger);
    m_host.m_engine = &bigger;
    bigger.OnInit(QRect(0, 0, 300, 700), 1.0, 1.0);
    bigger.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(m_host.Count(Ev::OnNotifyTimeChange), 0);
    ASSERT_EQ(bigger.GetCount(), 2);
    EXPECT_EQ(bigger.Projects().size(), 2u);
    EXPECT_EQ(bigger.FindById(1)->m_start, 8 * 60);
    EXPECT_EQ(bigger.FindById(1)->m_owner, &bigger);
    EXPECT_EQ(bigger.NextEntryId(), m_engine.NextEntryId());
    EXPECT_EQ(bigger.GrabWidth(), 4);
    EXPECT_EQ(bigger.HoursText(), QStringLiteral("02:00"));
    EXPECT_EQ(bigger.Highlighted(), nullptr);
    EXPECT_EQ(bigger.RowHeight(), (700 - 30) / 24);
    EXPECT_EQ(m_host.Count(Ev::Ready), 1);
    m_host.m_engine = &m_engine;
}

// --- Containers that call back from inside events ------------------------------------

TEST_F(Blocks, AContainerMayClearTheDayFromInsideAStatusText)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 10 * 60, 11 * 60, 4, QString());
    m_host.m_onText = [this](const QString& text) {
        if (text.startsWith(QStringLiteral("Active")))
            m_engine.ClearTimeInfo();
    };
    Hover(8 * 60 + 30);
    EXPECT_EQ(m_engine.GetCount(), 0);
    EXPECT_EQ(m_engine.Highlighted(), nullptr);
    m_engine.SetTimesheetTimes(3, 12 * 60, 13 * 60, 4, QString());
    EXPECT_EQ(m_engine.ForceHighlight(3, true), -1);
    m_host.m_onText = nullptr;
    EXPECT_EQ(m_engine.DrawRectStartStop(4, 14 * 60, 15 * 60, 4, false), 4);
}

TEST_F(Blocks, AContainerMayDeleteBlocksWhileTheyAreReported)
{
    m_engine.SetTimesheetTimes(1, 8 * 60, 9 * 60, 4, QString());
    m_engine.SetTimesheetTimes(2, 10 * 60, 11 * 60, 4, QString());
    for (const auto& block : m_engine.Entries())
        block->m_sent = false;
    m_host.On(Ev::OnNotifyTimeChange, [this](const Args& args) {
        if (args[0] == 1)
            m_engine.OnDeleteHighlighted(2);
    });
    m_engine.OnSendMessage(EngineMessage::ReportChanges);
    EXPECT_EQ(Changes(), (std::vector<Args>{{1, 8 * 60, 9 * 60, 4}}));
    EXPECT_EQ(m_engine.GetCount(), 1);
}

TEST_F(Blocks, TheMousePositionIsNotToldAgainFromItsOwnHandler)
{
    int told = 0;
    m_host.On(Ev::NotifyTimePos, [this, &told](const Args&) {
        ++told;
        m_engine.RemoveHighlight();
    });
    Hover(9 * 60);
    EXPECT_EQ(told, 1);
}

TEST_F(Blocks, WhatWouldHaveBeenAMessageBoxBecomesAStatusText)
{
    const int y = Y(9 * 60);
    Move(y);
    Press(y);
    Move(y + 20);
    // Blocks cannot be made while one is being drawn.
    EXPECT_EQ(m_engine.DrawTSEntryAt(15 * 60), -1);
    EXPECT_EQ(m_host.m_messages,
              (QStringList{QStringLiteral("Error creating time - please try again")}));
    Release(y + 20);
}
