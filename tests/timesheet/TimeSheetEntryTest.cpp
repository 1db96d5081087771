#include "tests/timesheet/ControllerFixture.h"

#include "data/SqlDialect.h"

namespace {

// What the info area and the status line say of the entry in hand.
class TimeSheetEntryTest : public TimeSheetControllerTest {
protected:
    QString Status() const { return m_ui.statuses.isEmpty() ? QString() : m_ui.statuses.last(); }
    QString Times() const
    {
        return m_ui.shown.startText.trimmed() + QLatin1Char('-') + m_ui.shown.stopText.trimmed() +
               QLatin1Char(' ') + m_ui.shown.lengthText.trimmed();
    }
};

} // namespace

TEST_P(TimeSheetEntryTest, UndoAndRedoTellTheBlockAsStored)
{
    Open();
    m_ctl->OnTimeChange(5, 540, 630, kBridge);
    EXPECT_EQ(Status(), QStringLiteral("Active 09:00 to 10:30 Bridge"));
    EXPECT_EQ(Times(), QStringLiteral("09:00-10:30 01:30"));
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    EXPECT_EQ(Status(), QStringLiteral("Active 09:00 to 10:00 Bridge"));

    // Undo: the block's old span, in both places.
    m_ctl->OnUndo();
    EXPECT_EQ(Status(), QStringLiteral("Active 09:00 to 10:30 Bridge"));
    EXPECT_EQ(Times(), QStringLiteral("09:00-10:30 01:30"));
    // Undoing its creation: it has gone, and the info area says no time.
    m_ctl->OnUndo();
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(Status(), QStringLiteral("Delete  09:00, to  10:30"));
    EXPECT_EQ(Times(), QStringLiteral("00:00-00:00 "));
    m_ctl->OnRedo();
    EXPECT_EQ(Status(), QStringLiteral("Active 09:00 to 10:30 Bridge"));
    EXPECT_EQ(Times(), QStringLiteral("09:00-10:30 01:30"));
}

TEST_P(TimeSheetEntryTest, UndoingACutBringsTheBlockBackIntoTheStatusLine)
{
    Book(3, 600, 660);
    Open();
    m_ctl->OnHighlightTime(3, 600, 660, kBridge);
    EXPECT_EQ(m_ui.shown.comment, QStringLiteral("old"));
    // The control cuts it: reported as removed, with its own "Delete" words.
    m_ui.SetStatusText(QStringLiteral("Delete  10:00, to  11:00"));
    m_ctl->OnTimeChange(3, 0, 0, kBridge);
    EXPECT_TRUE(Rows().isEmpty());
    m_ctl->OnUndo();
    EXPECT_EQ(Rows().size(), 1);
    EXPECT_EQ(Status(), QStringLiteral("Active 10:00 to 11:00 Bridge"));
    EXPECT_EQ(m_ui.shown.comment, QStringLiteral("old"));
}

TEST_P(TimeSheetEntryTest, WhileDrawingTheStopFollowsThePointer)
{
    Open();
    m_ctl->OnTimeStart(kBridge, 540, 2);
    EXPECT_EQ(Times(), QStringLiteral("09:00-09:00 00:00"));
    m_ctl->OnTimePos(600);
    EXPECT_EQ(Times(), QStringLiteral("09:00-10:00 01:00"));
    // Upwards: the span is shown in order.
    m_ctl->OnTimePos(510);
    EXPECT_EQ(Times(), QStringLiteral("08:30-09:00 00:30"));
}

TEST_P(TimeSheetEntryTest, ABlockClippedByItsNeighbourIsToldAsStored)
{
    Book(1, 600, 660);
    Open();
    // Drawn from 12:00 up to 10:45; the line clips it at its neighbour's
    // end before reporting it, after it said what was drawn.
    m_ui.SetStatusText(QStringLiteral("Entry 10:45 to 12:00"));
    m_ctl->OnTimeChange(5, 660, 720, kBridge);
    EXPECT_EQ(Status(), QStringLiteral("Active 11:00 to 12:00 Bridge"));
    EXPECT_EQ(Times(), QStringLiteral("11:00-12:00 01:00"));
}

TEST_P(TimeSheetEntryTest, ABlockBookedOnAnotherDayStaysOutOfTheInfoArea)
{
    Open();
    m_ctl->SetCurrentEntry(m_day.addDays(1), kApollo, QString(), kAnn, 600, 615,
                           QStringLiteral("Logged"));
    EXPECT_NE(m_ui.shown.comment, QStringLiteral("Logged"));
    m_ctl->SetCurrentEntry(m_day, kApollo, QString(), kAnn + 1, 600, 615, QStringLiteral("Logged"));
    EXPECT_NE(m_ui.shown.comment, QStringLiteral("Logged"));
    m_ctl->SetCurrentEntry(m_day, kApollo, QString(), kAnn, 600, 615, QStringLiteral("Logged"));
    EXPECT_EQ(m_ui.shown.comment, QStringLiteral("Logged"));
    EXPECT_EQ(m_ui.shown.projName, QStringLiteral("Apollo"));
    EXPECT_EQ(Times(), QStringLiteral("10:00-10:15 00:15"));
}

TEST_P(TimeSheetEntryTest, TheCaptionNamesEditionAndCompanyInEveryEditableState)
{
    m_db.StartupInfo().CompanyName = QStringLiteral("Dunmere Ltd");
    Open();
    const QString caption = IsPostgres() ? QStringLiteral("Kelvane - Enterprise - Ann Lee")
                                         : QStringLiteral("Kelvane Pro- Dunmere Ltd - Ann Lee");
    m_ctl->UpdateReadOnlyState(2);
    EXPECT_EQ(m_ui.caption, QStringLiteral("Kelvane [Read Only - Auto Timing] - Ann Lee"));
    // Timing over: the caption the window started with, not a bare title.
    m_ctl->UpdateReadOnlyState(0);
    EXPECT_EQ(m_ui.caption, caption);
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetEntryTest);
