#include "autotimer/BookTime.h"
#include "tests/autotimer/AutoTimerFixture.h"

#include <functional>
#include <memory>

namespace {

// The window and the program around the engine, as far as the engine reaches.
class CFakeOwner : public IBookTimeOwner {
public:
    void UpdateWindowText() override {}
    void OnGo() override
    {
        ++goes;
        engine->StopTiming();
    }
    void OnTimingStopped() override {}
    void PassRecordToTimesheet(const QDate&, int, const QString&, int, int start, int stop,
                               const QString& text) override
    {
        passed << QStringLiteral("%1-%2 %3").arg(start).arg(stop).arg(text);
    }
    void SetTimesheetReadOnly(int state) override { readOnly << state; }
    void EnableTimesheetEditing(bool) override {}
    void RefreshTimesheet(const QDate& day) override { refreshed << day; }
    void SetTrayIcon(int iconId, const QString& tip) override
    {
        icons << iconId;
        tips << tip;
    }

    CBookTime* engine = nullptr;
    int goes = 0;
    QStringList passed;
    QList<int> readOnly;
    QList<QDate> refreshed;
    QList<int> icons;
    QStringList tips;
};

// Answers yes and runs something while its question is open.
class CQuestionHook : public IMessageBoxHook {
public:
    int Show(const QString&, const QString&, unsigned) override
    {
        whileOpen();
        return kIdYes;
    }
    std::function<void()> whileOpen;
};

class BookTimeTest : public AutoTimerTest {
protected:
    void SetUp() override
    {
        AutoTimerTest::SetUp();
        m_engine = std::make_unique<CBookTime>(m_db, m_owner);
        m_owner.engine = m_engine.get();
    }
    void TearDown() override
    {
        m_engine.reset();
        AutoTimerTest::TearDown();
    }
    // Go, a booking tick and Stop at a time of m_day plus days.
    int Go(int hour, int minute, int days = 0)
    {
        At(hour, minute, days);
        int start = 0;
        int stop = 0;
        return m_engine->StartTiming(kBridge, kDesign, start, stop);
    }
    void Tick(int hour, int minute, int days = 0)
    {
        At(hour, minute, days);
        m_engine->TimerProc(CBookTime::kBookTimerId);
    }
    void Stop(int hour, int minute, int days = 0)
    {
        At(hour, minute, days);
        m_engine->StopTiming();
    }
    static void Answer(int answer) { CRecordingMessages::Current().Answer(answer); }

    CFakeOwner m_owner;
    std::unique_ptr<CBookTime> m_engine;
};

const QString kClash = QStringLiteral("You already have a timesheet entry at this time - do you "
                                      "want to add this entry at the next free time interval?");

} // namespace

TEST_P(BookTimeTest, GoBooksTheCurrentIntervalAndTicksStretchIt)
{
    ASSERT_EQ(Go(10, 7), CBookTime::kBooked);
    EXPECT_EQ(Rows(), QStringList({"1 600-615 Logged"}));
    EXPECT_EQ(m_owner.passed, QStringList({"600-615 Logged"}));
    // The open time sheet reloads its day, so the block is on its line.
    EXPECT_EQ(m_owner.refreshed, QList<QDate>({m_day}));
    EXPECT_EQ(m_engine->TimerInterval(CBookTime::kBookTimerId), 5 * 60000);
    EXPECT_TRUE(m_engine->IsTimerActive(CBookTime::kTrayTimerId));
    EXPECT_EQ(Go(10, 9), CBookTime::kFailed); // already running
    Tick(10, 13);
    Tick(10, 30);
    Tick(10, 31);
    EXPECT_EQ(Rows(), QStringList({"1 600-645 Logged"}));
    EXPECT_EQ(m_owner.passed.last(), QStringLiteral("600-645 Logged"));
    EXPECT_EQ(m_owner.refreshed.last(), m_day);
    const CQueryResult row = Query(QStringLiteral("SELECT HoursWorked, InvCost FROM tblTimeSheet"));
    EXPECT_DOUBLE_EQ(row.Value(0, 0).toDouble(), 0.75);
    EXPECT_DOUBLE_EQ(row.Value(0, 1).toDouble(), 60.0);

    // Stored 0 is the options' "nearest": 10:08 starts at 10:15, 10:07 did not.
    Option("Admin/AutoLogRoundStart", 0);
    Stop(10, 40);
    ASSERT_EQ(Go(10, 8, 1), CBookTime::kBooked);
    Tick(10, 13, 1); // before the block: nothing to stretch
    EXPECT_EQ(Rows(m_day.addDays(1)), QStringList({"1 615-630 Logged"}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(BookTimeTest, StopGivesBackOnlyALittleUsedIntervalThisRunBooked)
{
    // Stored 1, "the end of the current interval", keeps the block.
    ASSERT_EQ(Go(10, 5), CBookTime::kBooked);
    Tick(10, 20);
    Stop(10, 20);
    EXPECT_EQ(Rows(), QStringList({"1 600-630 Logged"}));

    // A run that books nothing (its clash declined) leaves that block alone.
    Option("Admin/AutoLogRoundStop", 0);
    Answer(kIdNo);
    ASSERT_EQ(Go(10, 22), CBookTime::kFailed);
    Stop(10, 22);
    EXPECT_EQ(Rows(), QStringList({"1 600-630 Logged"}));
    EXPECT_EQ(Messages().size(), 1); // the clash question only

    ASSERT_EQ(Go(10, 35), CBookTime::kBooked);
    Tick(10, 50);
    Stop(10, 51);
    const int uses = m_db.Connection()->UseCount();
    Stop(10, 51); // twice: nothing more happens, no other use is released
    EXPECT_EQ(Rows(), QStringList({"1 600-630 Logged", "2 630-645 Logged"}));
    EXPECT_EQ(m_db.Connection()->UseCount(), uses);
    EXPECT_EQ(m_engine->PreviousProjectId(), kBridge);

    // A block of one interval goes altogether.
    ASSERT_EQ(Go(11, 16), CBookTime::kBooked);
    Stop(11, 20);
    EXPECT_EQ(Rows().size(), 2);
    EXPECT_FALSE(m_engine->IsTimerActive(CBookTime::kBookTimerId));
    EXPECT_EQ(m_owner.readOnly.last(), 0);
}

TEST_P(BookTimeTest, MidnightEndsTheDayWithoutCuttingItsLastBlock)
{
    Option("Admin/AutoLogStopHrVal", 0); // no daily stop time
    Option("Admin/AutoLogStopMinVal", 0);
    Option("Admin/AutoLogRoundStart", 0);
    Option("Admin/AutoLogRoundStop", 0);
    ASSERT_EQ(Go(23, 35), CBookTime::kBooked);
    Tick(23, 50);
    Tick(0, 2, 1);
    EXPECT_FALSE(m_engine->IsRunning());
    EXPECT_EQ(Rows(), QStringList({"1 1410-1440 Logged"}));
    EXPECT_TRUE(Rows(m_day.addDays(1)).isEmpty());

    // Rounding to the nearest never starts a block at midnight.
    ASSERT_EQ(Go(23, 53, 1), CBookTime::kBooked);
    EXPECT_EQ(Rows(m_day.addDays(1)), QStringList({"1 1425-1440 Logged"}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(BookTimeTest, ClashesMoveOnToTheAdvanceLimitOrEndTiming)
{
    Book(1, 600, 615);
    Book(2, 615, 630);
    Option("Admin/AutoLogAdvBook", 1);
    Answer(kIdYes);
    EXPECT_EQ(Go(10, 5), CBookTime::kTooManyAdvances);
    EXPECT_EQ(m_owner.readOnly, QList<int>({1}));
    m_engine->StopTiming();

    Option("Admin/AutoLogAdvBook", 3);
    Answer(kIdYes);
    EXPECT_EQ(Go(10, 5), CBookTime::kBooked);
    EXPECT_EQ(Rows().last(), QStringLiteral("3 630-645 Logged"));
    Stop(10, 6);

    // Declined: No ends timing; no tick asks again or books.
    Book(9, 600, 660, m_day.addDays(1));
    m_owner.passed.clear();
    Answer(kIdNo);
    ASSERT_EQ(Go(10, 7, 1), CBookTime::kFailed);
    EXPECT_FALSE(m_engine->IsRunning());
    EXPECT_FALSE(m_engine->IsTimerActive(CBookTime::kBookTimerId));
    EXPECT_FALSE(m_engine->IsTimerActive(CBookTime::kTrayTimerId));
    EXPECT_EQ(m_owner.readOnly.last(), 0);
    Tick(10, 20, 1);
    Tick(11, 2, 1);
    EXPECT_EQ(Rows(m_day.addDays(1)), QStringList({"9 600-660 mine"}));
    EXPECT_TRUE(m_owner.passed.isEmpty());
    EXPECT_EQ(Messages(), QStringList({kClash, kClash, kClash}));
}

TEST_P(BookTimeTest, ATickWhileAQuestionIsOpenBooksAndShowsNothing)
{
    Book(1, 600, 615);
    CQuestionHook hook;
    QStringList during;
    hook.whileOpen = [&] {
        Tick(10, 6);
        during = QStringList(m_owner.passed)
                 << QString::number(Rows().size()) << QString::number(m_owner.refreshed.size());
    };
    SetMessageBoxHook(&hook);
    const int result = Go(10, 5);
    SetMessageBoxHook(&CRecordingMessages::Current());
    EXPECT_EQ(result, CBookTime::kBooked);
    EXPECT_EQ(during, QStringList({"1", "0"}));
    // Only the booking's own reload of the open time sheet.
    EXPECT_EQ(m_owner.refreshed, QList<QDate>({m_day}));
    EXPECT_EQ(Rows(), QStringList({"1 600-615 mine", "2 615-630 Logged"}));
}

TEST_P(BookTimeTest, StretchingStopsAtTheNextRow)
{
    Book(1, 650, 720);
    ASSERT_EQ(Go(10, 31), CBookTime::kBooked);
    Tick(10, 46);
    Tick(10, 58);
    EXPECT_EQ(Rows(), QStringList({"2 630-650 Logged", "1 650-720 mine"}));
    EXPECT_TRUE(m_engine->IsRunning());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(BookTimeTest, StretchingStopsAtARowWhoseWorkDateCarriesATimeOfDay)
{
    // As the administration program may store it: the day at noon.
    const CDateTime day(m_day);
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                        "StartTime, StopTime, TimeID, HoursWorked, Comment, WorkTypeID) "
                        "VALUES (1, 2, 2, 3, ?, ?, ?, 1, 1, 'admin', 3)"),
         {QVariant::fromValue(day.AddSecs(12 * 3600)), QVariant::fromValue(day.AddSecs(650 * 60)),
          QVariant::fromValue(day.AddSecs(720 * 60))});
    ASSERT_EQ(Go(10, 31), CBookTime::kBooked);
    Tick(10, 46);
    Tick(10, 58);
    EXPECT_EQ(Rows(), QStringList({"2 630-650 Logged"}));
    EXPECT_TRUE(m_engine->IsRunning());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(BookTimeTest, TheDailyStopTimeEndsTimingUnlessAgreedToOncePerRun)
{
    // 17 and choice 2: 17:30.
    ASSERT_EQ(Go(17, 10), CBookTime::kBooked);
    Tick(17, 26);
    Tick(17, 31);
    EXPECT_EQ(m_owner.goes, 1);
    EXPECT_EQ(Rows(), QStringList({"1 1020-1050 Logged"}));

    Option("Admin/AutoLogRoundStart", 0);
    Answer(kIdYes);
    ASSERT_EQ(Go(17, 23, 1), CBookTime::kBooked);
    Tick(17, 50, 1);
    Tick(18, 10, 1);
    Stop(18, 10, 1);
    EXPECT_EQ(Rows(m_day.addDays(1)), QStringList({"1 1050-1095 Logged"}));

    Answer(kIdNo);
    EXPECT_EQ(Go(17, 40, 2), CBookTime::kRefused);
    EXPECT_FALSE(m_engine->IsTimerActive(CBookTime::kBookTimerId));
    EXPECT_TRUE(Rows(m_day.addDays(2)).isEmpty());
    EXPECT_EQ(Messages().size(), 2);
}

TEST_P(BookTimeTest, TheTrayCyclesThroughItsSixFramesOncePerSecond)
{
    ASSERT_EQ(Go(10, 7), CBookTime::kBooked);
    for (int second = 0; second < 7; ++second)
        m_engine->TimerProc(CBookTime::kTrayTimerId);
    EXPECT_EQ(m_owner.icons, QList<int>({178, 179, 180, 181, 182, 183, 178, 179}));
    EXPECT_EQ(m_owner.tips.last(), QStringLiteral("Auto logging: Ann Lee, Bridge, 10:00 to 10:15"));
    Stop(10, 8);
    m_engine->TimerProc(CBookTime::kTrayTimerId); // idle: nothing to animate
    EXPECT_EQ(m_owner.icons.mid(8), QList<int>({102}));
    EXPECT_EQ(m_owner.tips.last(), QStringLiteral("Kelvane : Right-Click to view menu"));
}

KELVANE_INSTANTIATE_BACKENDS(BookTimeTest);
