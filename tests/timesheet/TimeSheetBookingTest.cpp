#include "tests/timesheet/ControllerFixture.h"

#include "data/UndoHistory.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/Waiting.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "ui/ResourceIds.h"

#include <QTest>
#include <QTextEdit>

// The time sheet keeps what the user booked: replayed steps, pastes from
// other days, blocks that end at midnight, rich-text comments, schedules.

namespace {

class TimeSheetBookingTest : public TimeSheetControllerTest {
protected:
    void SetUp() override
    {
        TimeSheetControllerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Ann's hours cost half as much again, and Bridge has a dearer order.
        Exec(QStringLiteral("UPDATE tblFinEmployee SET HourRateFactor = 1.5 WHERE EmpID = 1"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (3, 'B-120', 1, ?, ?, 120)"),
             {false, false});
    }
    // "TimeID order hours cost" of the rows of a day.
    QStringList Costs(const QDate& day = QDate())
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT TimeID, OrderID, HoursWorked, InvCost FROM tblTimeSheet WHERE "
                           "WorkDate = ? ORDER BY TimeID"),
            {QVariant::fromValue(CDateTime(day.isValid() ? day : m_day))});
        QStringList out;
        for (int r = 0; r < rows.rows; ++r)
            out << QStringLiteral("%1 o%2 %3 %4")
                       .arg(rows.Value(r, 0).toInt())
                       .arg(rows.Value(r, 1).toInt())
                       .arg(rows.Value(r, 2).toDouble())
                       .arg(rows.Value(r, 3).toDouble());
        return out;
    }
    QString Comment(int timeId, const QDate& day = QDate())
    {
        return Query(QStringLiteral("SELECT Comment FROM tblTimeSheet WHERE TimeID = ? AND "
                                    "WorkDate = ?"),
                     {timeId, QVariant::fromValue(CDateTime(day.isValid() ? day : m_day))})
            .Value(0, 0)
            .toString();
    }
    void Highlight(int timeId, int start, int stop, int proj)
    {
        m_ctl->OnHighlightTime(timeId, start, stop, proj);
    }
    // Save Times, answered with a comment typed and OK.
    static CScriptedModals::Step Typing(const QString& comment)
    {
        return [comment](CDialogBase& dialog) {
            dialog.Control<QTextEdit>(1116)->setPlainText(comment);
            dialog.OnCommand(IDOK);
            return int(IDOK);
        };
    }
};

} // namespace

TEST_P(TimeSheetBookingTest, UndoAndRedoBookARowAtTheRateOfItsOwnOrder)
{
    Book(1, 540, 600, kBridge, 1, 3); // 120 an hour: 180 with Ann's factor
    Book(2, 600, 660, kApollo, 3, 2); // 100 an hour: 150
    Open();
    const QStringList before = Rows();

    // Removed, and undone while another block has the focus.
    Highlight(2, 600, 660, kApollo);
    m_ctl->OnTimeChange(1, 0, 0, kBridge);
    Highlight(2, 600, 660, kApollo);
    m_ctl->OnUndo();
    EXPECT_EQ(Costs().first(), QStringLiteral("1 o3 1 180"));

    // Delete all, then both back.
    CRecordingMessages::Current().Answer(kIdYes);
    m_ctl->OnDeleteAll();
    m_ctl->OnTimeChange(1, 0, 0, kBridge);
    m_ctl->OnTimeChange(2, 0, 0, kApollo);
    EXPECT_TRUE(Costs().isEmpty());
    m_ctl->OnUndo();
    m_ctl->OnUndo();
    EXPECT_EQ(Costs(), QStringList({"1 o3 1 180", "2 o2 1 150"}));
    EXPECT_EQ(Rows(), before);

    // Moved while another block has the focus; undone and redone likewise.
    Highlight(2, 600, 660, kApollo);
    m_ctl->OnTimeChange(1, 480, 540, kBridge);
    EXPECT_EQ(Costs().first(), QStringLiteral("1 o3 1 180"));
    Highlight(2, 600, 660, kApollo);
    m_ctl->OnUndo();
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(Costs().first(), QStringLiteral("1 o3 1 180"));
    Highlight(2, 600, 660, kApollo);
    m_ctl->OnRedo();
    EXPECT_EQ(Rows().first(), QStringLiteral("1 480-540 t1 o3 w2 p1 'old'"));
    EXPECT_EQ(Costs().first(), QStringLiteral("1 o3 1 180"));
    EXPECT_EQ(Messages(), QStringList({"Do you really want to delete all entries today?"}));
    EXPECT_FALSE(m_ui.statuses.contains(QStringLiteral("ERROR on order rate")));
}

TEST_P(TimeSheetBookingTest, UndoKeepsTheLastQuarterOfABlockEndingAtMidnight)
{
    Book(1, 1380, 1439); // midnight is stored as 23:59
    Open();
    m_ctl->OnTimeChange(1, 0, 0, kBridge);
    m_ctl->OnUndo();
    EXPECT_EQ(Costs(), QStringList({"1 o1 1 120"})); // 80 an hour, Ann's factor
    m_ctl->OnTimeChange(1, 1425, 1440, kBridge);
    EXPECT_EQ(Costs(), QStringList({"1 o1 0.25 30"}));
    m_ctl->OnTimeChange(1, 0, 0, kBridge);
    m_ctl->OnUndo();
    EXPECT_EQ(Costs(), QStringList({"1 o1 0.25 30"}));
    m_ctl->OnUndo(); // and the shortening
    EXPECT_EQ(Costs(), QStringList({"1 o1 1 120"}));
}

TEST_P(TimeSheetBookingTest, ARedoneChangeMovesBackToTheUndoList)
{
    Book(1, 540, 600);
    Open();
    m_ctl->OnTimeChange(1, 480, 540, kBridge);
    m_ctl->OnUndo();
    EXPECT_EQ(Rows(), QStringList({"1 540-600 t1 o1 w2 p1 'old'"}));
    EXPECT_FALSE(m_ui.undo);
    EXPECT_TRUE(m_ui.redo);
    m_ctl->OnRedo();
    EXPECT_EQ(Rows(), QStringList({"1 480-540 t1 o1 w2 p1 'old'"}));
    EXPECT_TRUE(m_ui.undo);
    EXPECT_FALSE(m_ui.redo);
    m_ctl->OnRedo(); // nothing left to redo
    EXPECT_EQ(Rows(), QStringList({"1 480-540 t1 o1 w2 p1 'old'"}));
    m_ctl->OnUndo();
    EXPECT_EQ(Rows(), QStringList({"1 540-600 t1 o1 w2 p1 'old'"}));

    // A change made in Save Times comes back whole.
    CScriptedModals modals;
    modals.Then(Typing(QStringLiteral("changed")));
    m_ctl->OnWantsEdit(kBridge, 1);
    EXPECT_EQ(Comment(1), QStringLiteral("changed"));
    m_ctl->OnUndo();
    EXPECT_EQ(Comment(1), QStringLiteral("old"));
    m_ctl->OnRedo();
    EXPECT_EQ(Comment(1), QStringLiteral("changed"));
    EXPECT_TRUE(m_ui.undo);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(TimeSheetBookingTest, APasteOnAnotherDayCarriesTheCopiedBlocksOwnValues)
{
    const QDate next = m_day.addDays(1);
    Book(1, 540, 600, kApollo, 3, 2, QStringLiteral("launch plan"));
    // The next day holds a row of the same id on another project.
    Book(1, 600, 660, kBridge, 1, 1, QStringLiteral("bridge work"), next);
    Open();
    CScriptedModals modals;
    const auto ok = [](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return int(IDOK);
    };
    modals.Then(ok);
    m_ctl->OnCopyRec(1, 540, 600, kApollo);
    m_ctl->GoToDay(next);
    m_ctl->OnCopyData(2, 780, 840, kApollo);
    EXPECT_EQ(Costs(next), QStringList({"1 o1 1 0", "2 o2 1 150"}));
    EXPECT_EQ(Comment(2, next), QStringLiteral("launch plan"));
    EXPECT_EQ(Query(QStringLiteral("SELECT ProjID, TaskID FROM tblTimeSheet WHERE TimeID = 2"))
                  .Value(0, 1)
                  .toInt(),
              3);
    EXPECT_FALSE(m_ui.statuses.contains(QStringLiteral("ERROR on order rate")));

    // The copy is the value the block had when copied: a later change of
    // the row under its number is not pasted.
    Exec(QStringLiteral("UPDATE tblTimeSheet SET Comment = 'launch plan, v2' WHERE TimeID = 1 "
                        "AND WorkDate = ?"),
         {QVariant::fromValue(CDateTime(m_day))});
    m_ctl->GoToDay(m_day);
    modals.Then(ok);
    m_ctl->OnCopyData(3, 660, 720, kApollo);
    EXPECT_EQ(Comment(3), QStringLiteral("launch plan"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(TimeSheetBookingTest, RichTextCommentsShowAsTextAndStoreWhatIsTyped)
{
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 "
        "Site visit\\par\n}");
    Book(1, 540, 600, kBridge, 1, 1, rtf);
    Open();
    CScriptedModals modals;
    QString shown;
    modals.Then([&shown](CDialogBase& dialog) {
        shown = dialog.Control<QTextEdit>(1116)->toPlainText();
        // The dialog as the user sees it, saved when pictures are asked for.
        const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            dialog.show();
            dialog.grab().save(folder + QStringLiteral("/savetimes-rtf.png"));
            dialog.hide();
        }
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    m_ctl->OnWantsEdit(kBridge, 1);
    EXPECT_EQ(shown, QStringLiteral("Site visit"));
    EXPECT_EQ(Comment(1), rtf); // left as it was: kept as it was
    // The details of the highlighted block, a line a second, tell it as text too.
    Highlight(1, 540, 600, kBridge);
    m_ctl->OnKeyCommand('I', 17);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return m_ui.statuses.contains(QStringLiteral("Comment Site visit")); },
        Waiting::kCeilingMs))
        << m_ui.statuses.join('|').toStdString();

    modals.Then(Typing(QStringLiteral("Site visit, then report")));
    m_ctl->OnWantsEdit(kBridge, 1);
    EXPECT_EQ(Comment(1), QStringLiteral("Site visit, then report"));
}

TEST_P(TimeSheetBookingTest, ScheduleBooksADayThatHoldsTheCopysNumberToo)
{
    Book(1, 600, 660); // Tuesday the 8th
    // Wednesday already holds a copy of another block under the same number.
    Book(10600, 840, 900, kBridge, 1, 1, QStringLiteral("earlier copy"), m_day.addDays(1));
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto& dlg = static_cast<CScheduleTimeDlg&>(dialog);
        dlg.OnCommand(1202); // Thursday as well as Wednesday
        dlg.OnCommand(IDOK);
        return dlg.EndCode();
    });
    m_ctl->OnSchedData(1, 600, 660, kBridge);
    EXPECT_EQ(Costs(m_day.addDays(1)), QStringList({"10600 o1 1 0", "10601 o1 1 120"}));
    EXPECT_EQ(Costs(m_day.addDays(2)), QStringList({"10600 o1 1 120"}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetBookingTest);
