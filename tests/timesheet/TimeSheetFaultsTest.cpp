#include "tests/timesheet/ControllerFixture.h"

#include "data/UndoHistory.h"
#include "tests/support/ScriptedModals.h"
#include "tests/timesheet/DatabaseOutage.h"
#include "ui/ResourceIds.h"

#include <QMap>

#include <memory>

// The time sheet while the database fails: a step whose write failed stays
// in the history, the line keeps what it showed, and once the database
// answers again the line shows what is stored.

namespace {

using Outage = CDatabaseOutage::Kind;

constexpr int kIsMenuActive = 48;

class TimeSheetFaultsTest : public TimeSheetControllerTest {
protected:
    void SetUp() override
    {
        TimeSheetControllerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Another session's lock is not waited for long.
        m_db.Connection()->SetWaitLimits({300, 3000});
        m_fake->answers.insert(kIsMenuActive, Variant(false));
        // The window is up; every call to the line is kept, so the line can
        // be told from them.
        m_ctl->Start(m_day);
        m_ctl->OnReady();
        CRecordingMessages::Current().Clear();
    }
    void TearDown() override
    {
        m_outage.reset();
        TimeSheetControllerTest::TearDown();
    }

    void Break(Outage kind)
    {
        m_outage =
            std::make_unique<CDatabaseOutage>(kind, m_connectionString, *m_db.Connection(), m_conn);
        ASSERT_TRUE(m_outage->Began());
    }
    void Heal() { m_outage.reset(); }
    static void NextAction() { CDatabaseOutage::NextAction(); }

    // A block drawn, moved, pasted or removed on the line by hand: the line
    // shows it before the controller hears of it.
    void Draw(int timeId, int start, int stop)
    {
        m_fake->calls.append({kSetTimesheetTimes,
                              {QString::number(timeId), QString::number(start),
                               QString::number(stop), QString::number(kBridge), QString()}});
    }
    void Store(int timeId, int start, int stop)
    {
        NextAction();
        Draw(timeId, start, stop);
        m_ctl->OnTimeChange(timeId, start, stop, kBridge);
    }
    void Remove(int timeId)
    {
        NextAction();
        m_fake->calls.append({kDeleteObjByID, {QString::number(timeId)}});
        m_ctl->OnTimeChange(timeId, 0, 0, kBridge);
    }
    // "TimeID start-stop" of the blocks on the line, as its calls left it.
    QStringList Line() const
    {
        QMap<int, QString> blocks;
        for (const CRecordingControl::CCall& call : std::as_const(m_fake->calls)) {
            if (call.dispId == kClearTimeInfo)
                blocks.clear();
            else if (call.dispId == kSetTimesheetTimes)
                blocks.insert(call.args.at(0).toInt(),
                              QStringLiteral("%1 %2-%3")
                                  .arg(call.args.at(0), call.args.at(1), call.args.at(2)));
            else if (call.dispId == kDeleteObj || call.dispId == kDeleteObjByID)
                blocks.remove(call.args.at(0).toInt());
        }
        return blocks.values();
    }
    // The same of the rows stored.
    QStringList Stored()
    {
        QStringList out;
        for (const QString& row : Rows())
            out << row.section(QLatin1Char(' '), 0, 1);
        return out;
    }
    const CUndoHistory& History() { return m_db.UndoHistory(); }

    // The action just done told its failure once, saying what was not done,
    // in words of the program's own.
    void ExpectToldOnce(const QString& notDone)
    {
        CRecordingMessages& messages = CRecordingMessages::Current();
        ASSERT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
        EXPECT_TRUE(messages.Last().startsWith(notDone + QLatin1Char('\n')))
            << messages.Last().toStdString();
        EXPECT_GT(messages.Last().size(), notDone.size() + 10) << "the reason is told too";
        for (const char* driver : {"QPSQL", "server closed", "canceling statement",
                                   "database is locked", "terminating connection"})
            EXPECT_FALSE(messages.Last().contains(QLatin1String(driver)))
                << messages.Last().toStdString();
        messages.Clear();
    }

    // Two blocks stored; the newest is undone while the database fails, then
    // once it answers again.
    void UndoThrough(Outage kind)
    {
        Store(1, 480, 540);
        Store(2, 600, 660);
        const QStringList both = {QStringLiteral("1 480-540"), QStringLiteral("2 600-660")};
        ASSERT_EQ(Stored(), both);
        ASSERT_EQ(History().UndoCount(), 2);

        Break(kind);
        NextAction();
        m_ctl->OnUndo();
        ExpectToldOnce(QStringLiteral("Undo was not done."));
        // Nothing moved: the step is still the next to undo.
        EXPECT_EQ(History().UndoCount(), 2);
        EXPECT_EQ(History().RedoCount(), 0);
        ASSERT_NE(History().NewestUndo(), nullptr);
        EXPECT_EQ(History().NewestUndo()->m_record->m_TimeID, 2);
        EXPECT_EQ(Line(), both);
        // Nor does a refresh empty the line.
        NextAction();
        m_ctl->RefreshTimesheet();
        EXPECT_EQ(Line(), both);

        Heal();
        EXPECT_EQ(Stored(), both);
        NextAction();
        m_ctl->OnUndo();
        EXPECT_EQ(Stored(), QStringList({QStringLiteral("1 480-540")}));
        EXPECT_EQ(Line(), Stored());
        EXPECT_EQ(History().UndoCount(), 1);
        ASSERT_EQ(History().RedoCount(), 1);
        EXPECT_EQ(History().NewestRedo()->m_record->m_TimeID, 2);
        // And redone, the block is back where it was.
        NextAction();
        m_ctl->OnRedo();
        EXPECT_EQ(Stored(), both);
        EXPECT_EQ(Line(), both);
    }

    // Blocks drawn, moved, removed and pasted while the database fails;
    // none of it is stored, and the next action shows what is.
    void SaveThrough(Outage kind)
    {
        Store(1, 480, 540);
        Store(4, 840, 900);
        m_ctl->OnCopyRec(1, 480, 540, kBridge);
        CScriptedModals modals;
        modals.Then([](CDialogBase& dialog) {
            dialog.OnCommand(IDOK);
            return int(IDOK);
        });
        const QStringList before = {QStringLiteral("1 480-540"), QStringLiteral("4 840-900")};

        Break(kind);
        Store(2, 600, 660);
        ExpectToldOnce(QStringLiteral("The block was not stored."));
        Store(1, 420, 540);
        ExpectToldOnce(QStringLiteral("The block was not stored."));
        Remove(4);
        ExpectToldOnce(QStringLiteral("The block was not deleted."));
        NextAction();
        Draw(5, 960, 1020);
        m_ctl->OnCopyData(5, 960, 1020, kBridge);
        EXPECT_EQ(modals.seen.size(), 1);
        EXPECT_FALSE(Line().isEmpty());
        Heal();
        EXPECT_EQ(Stored(), before);

        Store(3, 720, 780);
        EXPECT_EQ(Stored(), QStringList({QStringLiteral("1 480-540"), QStringLiteral("3 720-780"),
                                         QStringLiteral("4 840-900")}));
        EXPECT_EQ(Line(), Stored());
    }

    std::unique_ptr<CDatabaseOutage> m_outage;
};

} // namespace

TEST_P(TimeSheetFaultsTest, AnUndoWhileAnotherSessionHoldsTheTableIsNotLost)
{
    UndoThrough(Outage::Locked);
}

TEST_P(TimeSheetFaultsTest, AnUndoWhileTheDatabaseIsLostIsNotLost)
{
    UndoThrough(Outage::Lost);
}

TEST_P(TimeSheetFaultsTest, BlocksNotStoredUnderALockGiveWayToTheStoredOnes)
{
    SaveThrough(Outage::Locked);
}

TEST_P(TimeSheetFaultsTest, BlocksNotStoredWhileTheDatabaseIsLostGiveWayToTheStoredOnes)
{
    SaveThrough(Outage::Lost);
}

TEST_P(TimeSheetFaultsTest, ARowAnotherDeskStoredUnderABlocksNumberIsNotTheBlocks)
{
    const auto toldOnce = [] {
        CRecordingMessages& messages = CRecordingMessages::Current();
        EXPECT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
        messages.Clear();
    };
    // A block stored here; another desk removes its row and stores one of
    // its own under the number. Undo leaves that row alone and stays.
    Store(1, 480, 540);
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    Book(1, 600, 660, kBridge, 1, 1, QStringLiteral("desk"));
    NextAction();
    m_ctl->OnUndo();
    toldOnce();
    EXPECT_EQ(Stored(), QStringList({QStringLiteral("1 600-660")}));
    EXPECT_EQ(Line(), Stored());
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_EQ(History().RedoCount(), 0);

    // A block drawn while the database is lost, never stored; another desk
    // stores a row under its number meanwhile. Deleting the block deletes
    // no row.
    Break(Outage::Lost);
    Store(2, 720, 780);
    ExpectToldOnce(QStringLiteral("The block was not stored."));
    Heal();
    Book(2, 900, 960, kBridge, 1, 1, QStringLiteral("desk"));
    NextAction();
    m_ctl->OnHighlightTime(2, 720, 780, kBridge);
    Remove(2);
    const QStringList desk = {QStringLiteral("1 600-660"), QStringLiteral("2 900-960")};
    EXPECT_EQ(Stored(), desk);
    EXPECT_EQ(Line(), desk);
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetFaultsTest);
