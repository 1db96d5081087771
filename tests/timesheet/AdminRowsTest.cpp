#include "tests/timesheet/ControllerFixture.h"

#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ResourceIds.h"

// Rows the administration program writes on the shown day: the time sheet
// shows them where they are, keeps them as they are until their block is
// edited, and books nothing over them.

namespace {

class AdminRowsTest : public TimeSheetControllerTest {
protected:
    // A row of Ann's on Bridge as the other program writes it: plain SQL,
    // dates as literals ("NULL" for none).
    void Foreign(int timeId, const QString& workDate, const QString& start, const QString& stop,
                 double hours)
    {
        const auto literal = [](const QString& value) {
            return value == QLatin1String("NULL") ? value : QStringLiteral("'%1'").arg(value);
        };
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, "
                            "WorkTypeID, WorkDate, StartTime, StopTime, TimeID, HoursWorked, "
                            "InvCost, Comment) VALUES (1, 1, 1, 1, 2, %1, %2, %3, %4, %5, %6, "
                            "'from Vek')")
                 .arg(literal(workDate), literal(start), literal(stop))
                 .arg(timeId)
                 .arg(hours)
                 .arg(hours * 80));
    }
    // "WorkDate StartTime StopTime hours cost comment" of a row, as stored.
    QString Stored(int timeId)
    {
        const CQueryResult r = Query(
            QStringLiteral("SELECT WorkDate, StartTime, StopTime, HoursWorked, InvCost, Comment "
                           "FROM tblTimeSheet WHERE TimeID = ?"),
            {timeId});
        if (r.rows != 1)
            return QStringLiteral("%1 rows").arg(r.rows);
        const auto date = [&](int c) {
            const QVariant v = r.Value(0, c);
            if (v.isNull())
                return QStringLiteral("NULL");
            const CDateTime d = v.userType() == qMetaTypeId<CDateTime>()
                                    ? v.value<CDateTime>()
                                    : CDateTime::Parse(v.toString());
            return d.ToIsoText();
        };
        return QStringLiteral("%1 %2 %3 %4 %5 '%6'")
            .arg(date(0), date(1), date(2))
            .arg(r.Value(0, 3).toDouble())
            .arg(r.Value(0, 4).toDouble())
            .arg(r.Value(0, 5).toString());
    }
    // Start and stop of a row as the time sheet reads them.
    QString Times(int timeId)
    {
        const CQueryResult r = Query(QStringLiteral("SELECT StartMinute, StopMinute FROM "
                                                    "qselTimeSheetForEmployee WHERE TimeID = ?"),
                                     {timeId});
        return r.rows == 1
                   ? QStringLiteral("%1-%2").arg(r.Value(0, 0).toInt()).arg(r.Value(0, 1).toInt())
                   : QStringLiteral("%1 rows").arg(r.rows);
    }
    static CScriptedModals::Step Ok()
    {
        return [](CDialogBase& dialog) {
            dialog.OnCommand(IDOK);
            return int(IDOK);
        };
    }
};

TEST_P(AdminRowsTest, AStopAtTheNextMidnightEndsTheDayAndSaveTimesKeepsIt)
{
    Foreign(1, "2026-12-08 00:00:00", "2026-12-08 23:00:00", "2026-12-09 00:00:00", 1);
    m_ctl->Start(m_day);
    m_ctl->OnReady();
    EXPECT_EQ(m_fake->CallsOf(kSetTimesheetTimes),
              QList<QStringList>({{"1", "1380", "1440", "1", ""}}));

    // OK in Save Times, nothing changed: one hour, one hour's cost.
    CScriptedModals modals;
    modals.Then(Ok());
    m_ctl->OnWantsEdit(kBridge, 1);
    EXPECT_EQ(Times(1), QStringLiteral("1380-1440"));
    const CQueryResult r =
        Query(QStringLiteral("SELECT HoursWorked, InvCost FROM tblTimeSheet WHERE TimeID = 1"));
    EXPECT_DOUBLE_EQ(r.Value(0, 0).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(r.Value(0, 1).toDouble(), 80.0);
    EXPECT_EQ(m_ctl->Entry().stopText.trimmed(), QStringLiteral("24:00"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(AdminRowsTest, RowsTheLineCannotShowExactlyAreKeptAsStored)
{
    Foreign(1, "2026-12-08 00:00:00", "2026-12-08 00:00:00", "2026-12-09 00:00:00", 24);
    Foreign(2, "2026-12-08 00:00:00", "NULL", "NULL", 7.5);
    // The empty row the program's own editing leaves still goes.
    Foreign(3, "2026-12-08 00:00:00", "2026-12-08 12:00:00", "2026-12-08 12:00:00", 0);
    const QString day = Stored(1);
    const QString lump = Stored(2);
    m_ctl->Start(m_day);
    m_ctl->OnReady();
    EXPECT_EQ(m_fake->CallsOf(kSetTimesheetTimes),
              QList<QStringList>({{"1", "0", "1440", "1", ""}, {"2", "0", "450", "1", ""}}));
    EXPECT_EQ(Stored(3), QStringLiteral("0 rows"));

    // Shown again, on another day and back, refreshed, highlighted: never written.
    m_ctl->GoToDay(m_day.addDays(1));
    m_ctl->GoToDay(m_day);
    m_ctl->RefreshTimesheet();
    m_ctl->OnHighlightTime(1, 0, 1440, kBridge);
    m_ctl->OnHighlightTime(2, 0, 450, kBridge);
    EXPECT_EQ(Stored(1), day);
    EXPECT_EQ(Stored(2), lump);
    EXPECT_EQ(Stored(1), QStringLiteral("2026-12-08 00:00:00 2026-12-08 00:00:00 "
                                        "2026-12-09 00:00:00 24 1920 'from Vek'"));
    EXPECT_EQ(Stored(2), QStringLiteral("2026-12-08 00:00:00 NULL NULL 7.5 600 'from Vek'"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();

    // Edited, the whole day stays a whole day.
    CScriptedModals modals;
    modals.Then(Ok());
    m_ctl->OnWantsEdit(kBridge, 1);
    EXPECT_EQ(Times(1), QStringLiteral("0-1440"));
    EXPECT_DOUBLE_EQ(Query(QStringLiteral("SELECT HoursWorked FROM tblTimeSheet WHERE TimeID = 1"))
                         .Value(0, 0)
                         .toDouble(),
                     24.0);
    // The lump sum, edited, is booked where the line shows it, its hours
    // kept (once the whole day no longer covers that place).
    Exec(QStringLiteral("DELETE FROM tblTimeSheet WHERE TimeID = 1"));
    m_ctl->RefreshTimesheet();
    modals.Then(Ok());
    m_ctl->OnWantsEdit(kBridge, 2);
    EXPECT_EQ(Times(2), QStringLiteral("0-450"));
    EXPECT_DOUBLE_EQ(Query(QStringLiteral("SELECT HoursWorked FROM tblTimeSheet WHERE TimeID = 2"))
                         .Value(0, 0)
                         .toDouble(),
                     7.5);
}

TEST_P(AdminRowsTest, ARowBelongsToItsDayWhateverTimeItsWorkDateCarries)
{
    Foreign(1, "2026-12-08 12:00:00", "2026-12-08 09:00:00", "2026-12-08 10:00:00", 1);
    Open();
    m_fake->Clear();
    m_ctl->RefreshTimesheet();
    EXPECT_EQ(m_fake->CallsOf(kSetTimesheetTimes),
              QList<QStringList>({{"1", "540", "600", "1", ""}}));

    // A block drawn over its hours is refused: no second booking.
    m_ctl->OnTimeChange(2, 570, 630, kBridge);
    EXPECT_EQ(Stored(2), QStringLiteral("0 rows"));
    EXPECT_FALSE(Messages().isEmpty());
    CRecordingMessages::Current().Clear();
    // One beside it is booked.
    m_ctl->OnTimeChange(3, 600, 660, kBridge);
    EXPECT_EQ(Times(3), QStringLiteral("600-660"));

    // Moved on the line, the row follows and keeps its work date.
    m_ctl->OnTimeChange(1, 480, 540, kBridge);
    EXPECT_EQ(Times(1), QStringLiteral("480-540"));
    EXPECT_TRUE(Stored(1).startsWith(QStringLiteral("2026-12-08 12:00:00 ")));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

} // namespace

KELVANE_INSTANTIATE_BACKENDS(AdminRowsTest);
