#include "tests/timesheet/ControllerFixture.h"

#include "platform/ProfileStore.h"

namespace {

enum : int {
    kEditObjById = 63,
    kRemoveHighlight = 42,
    kCreateRectStStp = 51,
    kIsHighlightObj = 47,
    kIsMenuActive = 48,
    kScrollOne = 35,
    kShowInsertionPoint = 53,
    kSetReadOnlyId = 69,
};

constexpr int kDown = 0x100;
constexpr int kUp = 0x101;

// The time sheet worked from the keyboard.
class TimeSheetKeysTest : public TimeSheetControllerTest {
protected:
    void SetUp() override
    {
        TimeSheetControllerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SetHighlight(false);
        m_fake->answers.insert(kIsMenuActive, Variant(false));
    }
    void SetHighlight(bool on) { m_fake->answers.insert(kIsHighlightObj, Variant(on)); }
    // The control reports a block as highlighted.
    void Highlight(int timeId, int start, int stop)
    {
        SetHighlight(true);
        m_ctl->OnHighlightTime(timeId, start, stop, kBridge);
    }
};

} // namespace

TEST_P(TimeSheetKeysTest, MovesOfTheHighlightedBlockByOneInterval)
{
    Book(1, 9 * 60, 10 * 60);
    Book(2, 10 * 60, 10 * 60 + 15);
    Book(3, 7 * 60, 8 * 60 + 45);
    Open();
    Highlight(1, 540, 600);
    m_ctl->RunKeyCommand(12869); // move up
    EXPECT_EQ(Rows().at(0), QStringLiteral("1 525-600 t1 o1 w2 p1 'old'"));
    EXPECT_EQ(m_fake->CallsOf(kEditObjById), QList<QStringList>({{"1", "525", "600", "1"}}));
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnlyId).last(), QStringList({"False"}));

    // Against the row ending at 08:45: refused, said in the status line only.
    m_fake->Clear();
    m_ctl->RunKeyCommand(12869);
    EXPECT_EQ(Rows().at(0), QStringLiteral("1 525-600 t1 o1 w2 p1 'old'"));
    EXPECT_EQ(m_ui.statuses.last(), QStringLiteral("Entry constrained by existing entry"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(m_fake->Count(kEditObjById), 0);
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnlyId).last(), QStringList({"False"}));

    // A quarter-hour block cannot lose its last quarter.
    Highlight(2, 600, 615);
    m_ctl->RunKeyCommand(12876); // bottom up
    EXPECT_EQ(Rows().at(1), QStringLiteral("2 600-615 t1 o1 w2 p1 'old'"));
    m_ctl->RunKeyCommand(12877); // bottom down
    EXPECT_EQ(Rows().at(1), QStringLiteral("2 600-630 t1 o1 w2 p1 'old'"));
}

TEST_P(TimeSheetKeysTest, AMoveOfAVanishedRowReadsTheDayAgain)
{
    Book(1, 9 * 60, 10 * 60);
    Open();
    Highlight(1, 540, 600);
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    m_ctl->RunKeyCommand(12870);
    EXPECT_TRUE(Messages().value(0).startsWith(QStringLiteral("This record you are editing")));
    EXPECT_GE(m_fake->Count(14), 1); // ClearTimeInfo: the day is read again
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnlyId).last(), QStringList({"False"}));
}

TEST_P(TimeSheetKeysTest, EscapeTakesBackWhatIsShownThenCloses)
{
    Open();
    Highlight(1, 540, 600);
    EXPECT_EQ(m_ctl->HandleKey(27, kDown), 1);
    EXPECT_EQ(m_fake->Count(kRemoveHighlight), 1);
    EXPECT_EQ(m_ui.closed, 0);
    SetHighlight(false);
    EXPECT_EQ(m_ctl->HandleKey(27, kDown), 0);
    EXPECT_EQ(m_ui.closed, 1);
    // The open menu of the control keeps its Escape.
    m_fake->answers.insert(kIsMenuActive, Variant(true));
    EXPECT_EQ(m_ctl->HandleKey(27, kDown), 0);
    EXPECT_EQ(m_ui.closed, 1);
}

TEST_P(TimeSheetKeysTest, TheUsersKeysRunTheirCommands)
{
    Open();
    m_ctl->OnTimePos(9 * 60);
    // "t" adds a block at the cursor.
    EXPECT_EQ(m_ctl->HandleKey('T', kDown), 1);
    EXPECT_EQ(m_fake->CallsOf(kCreateRectStStp).value(0).value(1), QStringLiteral("540"));
    // "c" shows the insertion point; the arrows move it by the interval.
    EXPECT_EQ(m_ctl->HandleKey('C', kDown), 0);
    EXPECT_TRUE(m_ctl->IsInsertionShown());
    m_ctl->HandleKey(0x28, kDown);
    EXPECT_EQ(m_fake->CallsOf(kShowInsertionPoint).last(), QStringList({"555"}));
    // Ctrl with Shift is never a command.
    m_fake->Clear();
    m_ctl->HandleKey(16, kDown);
    m_ctl->HandleKey(17, kDown);
    EXPECT_EQ(m_ctl->HandleKey('P', kDown), 0);
    EXPECT_EQ(m_fake->calls.size(), 3); // the three state questions only
    m_ctl->HandleKey(16, kUp);
    m_ctl->HandleKey(17, kUp);
    // Page Down scrolls four rows.
    m_ctl->HandleKey(0x1B, kDown); // Escape hides the insertion point first
    m_ctl->HandleKey(0x22, kDown);
    EXPECT_EQ(m_fake->CallsOf(kScrollOne).last(), QStringList({"False", "4"}));
    // A key in the user combo is the combo's.
    m_ui.comboFocus = true;
    EXPECT_EQ(m_ctl->HandleKey('T', kDown), 0);
}

TEST_P(TimeSheetKeysTest, AcceleratorsMoveTheFocusOrAskTheLine)
{
    Open();
    m_ctl->OnKeyCommand('<', 18);
    m_ctl->OnKeyCommand('.', 18);
    m_ctl->OnKeyCommand('C', 18);
    m_ctl->OnKeyCommand('D', 18);
    m_ctl->OnKeyCommand('U', 18);
    EXPECT_EQ(m_ui.focused, QList<int>({1131, 1132, 1144, 1139, 1001}));
    m_ctl->OnKeyCommand('T', 18);
    EXPECT_EQ(m_ui.statuses.last(), QStringLiteral("Timesheet Control"));
    m_ctl->OnKeyCommand('W', 18);
    EXPECT_EQ(m_fake->Count(65), 1); // CreateHoursWorkedMsg
}

TEST_P(TimeSheetKeysTest, LeftAndRightChangeTheDayWithoutAHighlight)
{
    Open();
    m_ctl->RunKeyCommand(12874);
    EXPECT_EQ(m_ctl->ShownDay(), m_day.addDays(1));
    Highlight(1, 540, 600);
    m_ctl->RunKeyCommand(12873);
    EXPECT_EQ(m_ctl->ShownDay(), m_day.addDays(1));
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetKeysTest);
