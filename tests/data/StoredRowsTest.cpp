// Rows the administration program writes, read as the time sheet reads them:
// a stop at the next midnight, a whole day, a lump sum without times and a
// work date carrying a time of day. The reading (CRowTimes) and its SQL form
// agree, the day holds every row of its day, and every overlap check (the
// facade's, the server's procedures, scheduling and the import) sees them.

#include "data/DBClass.h"
#include "data/RowTimes.h"
#include "data/SqlDialect.h"
#include "data/TimeSheetImport.h"
#include "tests/support/ExchangeRows.h"
#include "tests/support/TestDatabases.h"

#include <QRegularExpression>

namespace {

using namespace ExchangeRows;

CDateTime At(int day, int hour = 0, int minute = 0)
{
    return CDateTime(2026, 3, day, hour, minute);
}

// ---- The reading itself ----------------------------------------------------------------------

TEST(RowTimesTest, AStopOnTheNextDayIsTheDaysEnd)
{
    const CRowTimes r = CRowTimes::Read(At(10), At(10, 23), At(11));
    EXPECT_EQ(r.day, QDate(2026, 3, 10));
    EXPECT_EQ(r.start, 1380);
    EXPECT_EQ(r.stop, 1440);
    EXPECT_FALSE(r.zeroLength);
    EXPECT_TRUE(r.Overlaps(1400, 1440));
    EXPECT_FALSE(r.Overlaps(1320, 1380));
    EXPECT_EQ(r.LineBlock(15, 1).start, 1380);
    EXPECT_EQ(r.LineBlock(15, 1).stop, 1440);

    // The program's own form of the day's end.
    const CRowTimes own = CRowTimes::Read(At(10), At(10, 23), At(10, 23, 59));
    EXPECT_EQ(own.stop, 1440);
    EXPECT_FALSE(own.zeroLength);
}

TEST(RowTimesTest, AWholeDayAndALumpSumAreNoEmptyRows)
{
    const CRowTimes day = CRowTimes::Read(At(10), At(10), At(11));
    EXPECT_EQ(day.start, 0);
    EXPECT_EQ(day.stop, 1440);
    EXPECT_FALSE(day.zeroLength);
    EXPECT_TRUE(day.Overlaps(600, 660));

    const CRowTimes lump = CRowTimes::Read(At(10), CDateTime(), CDateTime());
    EXPECT_FALSE(lump.HasTimes());
    EXPECT_FALSE(lump.zeroLength);
    EXPECT_FALSE(lump.Overlaps(0, 1440));
    // Shown from 00:00 for its hours, at least one interval.
    EXPECT_EQ(lump.LineBlock(15, 7.5).start, 0);
    EXPECT_EQ(lump.LineBlock(15, 7.5).stop, 450);
    EXPECT_EQ(lump.LineBlock(15, 0).stop, 15);
    EXPECT_EQ(lump.LineBlock(15, 30).stop, 1440);
    EXPECT_EQ(lump.Span(7.5).stop, 450);
    // Half of the times is no times.
    EXPECT_FALSE(CRowTimes::Read(At(10), At(10, 9), CDateTime()).HasTimes());

    // Only one moment stored twice on the day is empty.
    EXPECT_TRUE(CRowTimes::Read(At(10), At(10, 12), At(10, 12)).zeroLength);
    EXPECT_FALSE(CRowTimes::Read(At(10), At(11), At(11)).zeroLength);
    EXPECT_FALSE(CRowTimes::Read(At(10), At(10, 12), At(10, 12).AddSecs(30)).zeroLength);
}

TEST(RowTimesTest, TheWorkDatesTimeOfDayIsNotItsDay)
{
    const CRowTimes r = CRowTimes::Read(At(10, 12), At(10, 9), At(10, 10, 30));
    EXPECT_EQ(r.day, QDate(2026, 3, 10));
    EXPECT_EQ(r.start, 540);
    EXPECT_EQ(r.stop, 630);
    // A stop at the next midnight of a work date at noon.
    EXPECT_EQ(CRowTimes::Read(At(10, 12), At(10, 23), At(11)).stop, 1440);
}

TEST(RowTimesTest, TheLineRoundsUpAndShowsEmptyRowsOneIntervalLong)
{
    const CRowTimes r = CRowTimes::Read(At(10), At(10, 8, 7), At(10, 9, 52));
    EXPECT_EQ(r.LineBlock(15, 0).start, 495);
    EXPECT_EQ(r.LineBlock(15, 0).stop, 600);
    const CRowTimes small = CRowTimes::Read(At(10), At(10, 13, 1), At(10, 13, 14));
    EXPECT_EQ(small.LineBlock(15, 0).start, 795);
    EXPECT_EQ(small.LineBlock(15, 0).stop, 810);
    const CRowTimes late = CRowTimes::Read(At(10), At(10, 23, 59), At(11));
    EXPECT_EQ(late.LineBlock(15, 0).start, 1425);
    EXPECT_EQ(late.LineBlock(15, 0).stop, 1440);
}

// ---- In the database ----------------------------------------------------------------------------

class StoredRowsTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const QString& sql : LookupRows())
            Exec(sql);
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // A row of Ann's as the administration program writes it: plain SQL,
    // the dates as literals ("NULL" for none).
    void Foreign(int timeId, const char* workDate, const char* start, const char* stop,
                 double hours)
    {
        const auto literal = [](const char* value) {
            return qstrcmp(value, "NULL") == 0 ? QStringLiteral("NULL")
                                               : QStringLiteral("'%1'").arg(QLatin1String(value));
        };
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, "
                            "WorkTypeID, WorkDate, StartTime, StopTime, TimeID, HoursWorked, "
                            "InvCost, Comment) VALUES (1, 5, 7, 9, 2, %1, %2, %3, %4, %5, %6, "
                            "'from Vek')")
                 .arg(literal(workDate), literal(start), literal(stop))
                 .arg(timeId)
                 .arg(hours)
                 .arg(hours * 150));
    }
    // The odd rows: a stop at the next midnight on the 10th, a work date at
    // noon on the 11th, a lump sum on the 12th, a whole day on the 13th.
    void ForeignRows()
    {
        Foreign(1, "2026-03-10 00:00:00", "2026-03-10 23:00:00", "2026-03-11 00:00:00", 1);
        Foreign(2, "2026-03-11 12:00:00", "2026-03-11 09:00:00", "2026-03-11 10:30:00", 1.5);
        Foreign(3, "2026-03-12 00:00:00", "NULL", "NULL", 7.5);
        Foreign(4, "2026-03-13 00:00:00", "2026-03-13 00:00:00", "2026-03-14 00:00:00", 24);
    }
    int Write(int day, int start, int stop, int timeId, bool update = false)
    {
        return WriteOn(At(day), start, stop, timeId, update);
    }
    int WriteOn(const CDateTime& workDate, int start, int stop, int timeId, bool update = false)
    {
        CTimeSheetWrite e;
        e.IsUpdate = update;
        e.WorkDate = workDate;
        e.EmpID = kAnn;
        e.ProjID = kApollo;
        e.OrderID = kApolloOrder;
        e.TaskID = kBuild;
        e.OrderHourRate = 100;
        e.Start = start;
        e.Stop = stop;
        e.TimeID = timeId;
        return m_db.UpdateTimeData(nullptr, e);
    }
    int Count(int day)
    {
        return Query(QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet WHERE WorkDate >= ? AND "
                                    "WorkDate < ?"),
                     CSqlDialect::DayRange(QDate(2026, 3, day)))
            .Value(0, 0)
            .toInt();
    }
    // What the database holds of a row, as written: its three dates as texts.
    QString Stored(int timeId)
    {
        const CQueryResult r =
            Query(QStringLiteral("SELECT WorkDate, StartTime, StopTime, HoursWorked FROM "
                                 "tblTimeSheet WHERE TimeID = ?"),
                  {timeId});
        if (r.rows != 1)
            return QStringLiteral("%1 rows").arg(r.rows);
        const auto text = [&](int c) {
            const QVariant v = r.Value(0, c);
            if (v.isNull())
                return QStringLiteral("NULL");
            const CDateTime d = v.userType() == qMetaTypeId<CDateTime>()
                                    ? v.value<CDateTime>()
                                    : CDateTime::Parse(v.toString());
            return d.ToIsoText();
        };
        return QStringLiteral("%1 %2 %3 %4")
            .arg(text(0), text(1), text(2))
            .arg(r.Value(0, 3).toDouble());
    }

    CDBClass m_db;
};

TEST_P(StoredRowsTest, TheSqlReadingAgreesWithTheProgramsReading)
{
    ForeignRows();
    Foreign(5, "2026-03-10 00:00:00", "2026-03-10 10:30:00", "2026-03-10 23:59:00", 13.5);
    Foreign(6, "2026-03-10 00:00:00", "2026-03-10 23:59:00", "2026-03-11 00:00:00", 0);
    const CQueryResult sql = Query(QStringLiteral(
        "SELECT TimeID, StartMinute, StopMinute FROM qselTimeSheetForEmployee ORDER BY TimeID"));
    ASSERT_EQ(sql.rows, 6);
    QStringList fromSql;
    for (int r = 0; r < sql.rows; ++r) {
        const auto minute = [&](int c) {
            const QVariant v = sql.Value(r, c);
            return v.isNull() ? QStringLiteral("-") : QString::number(v.toInt());
        };
        fromSql
            << QStringLiteral("%1 %2-%3").arg(sql.Value(r, 0).toInt()).arg(minute(1), minute(2));
    }
    EXPECT_EQ(fromSql, QStringList({"1 1380-1440", "2 540-630", "3 ---", "4 0-1440", "5 630-1440",
                                    "6 1440-1440"}));

    // The program's reading of the same rows, through the day loads.
    QStringList fromProgram;
    for (int day = 10; day <= 13; ++day) {
        m_db.ResetDayKey();
        m_db.LoadDayTimeSheets(At(day), kAnn);
        for (const CTimeSheetEntry& e : m_db.DayEntries()) {
            const CRowTimes t = e.Times();
            fromProgram << (t.HasTimes()
                                ? QStringLiteral("%1 %2-%3").arg(e.TimeID).arg(t.start).arg(t.stop)
                                : QStringLiteral("%1 ---").arg(e.TimeID));
        }
    }
    fromProgram.sort();
    EXPECT_EQ(fromProgram, fromSql);
}

TEST_P(StoredRowsTest, ADayHoldsItsRowsWhateverTimeTheirWorkDateCarries)
{
    ForeignRows();
    EXPECT_TRUE(m_db.LoadDayTimeSheets(At(11), kAnn));
    ASSERT_EQ(m_db.DayEntries().size(), 1);
    EXPECT_EQ(m_db.DayEntries().first().TimeID, 2);
    // The next day number follows it.
    int next = 0;
    ASSERT_TRUE(m_db.GetNextTimeId(At(11), kAnn, next));
    EXPECT_EQ(next, 3);
    // A stop at the next midnight belongs to the day it ends, not the next.
    m_db.ResetDayKey();
    m_db.LoadDayTimeSheets(At(11), kAnn);
    EXPECT_EQ(m_db.DayEntries().size(), 1);

    // The row is edited and deleted by its day's key; its work date stays.
    EXPECT_EQ(Write(11, 480, 540, 2, true), kWriteOk);
    EXPECT_EQ(Stored(2), QStringLiteral("2026-03-11 12:00:00 2026-03-11 08:00:00 "
                                        "2026-03-11 09:00:00 1"));
    EXPECT_EQ(m_db.DeleteTimeData(nullptr, false, At(11), kAnn, 2), kWriteOk);
    EXPECT_EQ(Count(11), 0);
}

TEST_P(StoredRowsTest, TheLastDayOfTheCalendarIsADayLikeAnyOther)
{
    // Other programs book 9999-12-31 as "for ever"; its day ends at its own
    // midnight, the next one has no date.
    const CDateTime last(9999, 12, 31);
    Foreign(2, "9999-12-31 12:00:00", "9999-12-31 10:00:00", "9999-12-31 11:00:00", 1);
    const auto write = [this, &last](int start, int stop, int timeId) {
        return WriteOn(last, start, stop, timeId);
    };
    EXPECT_EQ(write(480, 540, 1), kWriteOk);
    EXPECT_NE(write(630, 690, 3), kWriteOk); // into the noon row
    EXPECT_TRUE(m_db.LoadDayTimeSheets(last, kAnn));
    EXPECT_EQ(m_db.DayEntries().size(), 2);
    int next = 0;
    ASSERT_TRUE(m_db.GetNextTimeId(last, kAnn, next));
    EXPECT_EQ(next, 3);
    EXPECT_TRUE(m_db.CheckTimeOverlap(last, kAnn, 500, 520, -1));
    EXPECT_FALSE(m_db.CheckTimeOverlap(last, kAnn, 540, 600, -1));
    int stop = -1;
    EXPECT_TRUE(m_db.FindOverlappingEntry(nullptr, last, kAnn, 650, 700, stop, -1, 0));
    EXPECT_EQ(write(1380, 1440, 3), kWriteOk); // to the day's end

    CImportRow line;
    line.Line = 1;
    line.EmpID = kAnn;
    line.ProjID = kApollo;
    line.OrderID = kApolloOrder;
    line.TaskID = kBuild;
    line.WorkTypeID = 2;
    line.WorkDate = last.Date();
    line.Start = 1400;
    line.Stop = 1420;
    line.TimeID = 4;
    CTimeSheetImport import(m_db);
    ASSERT_EQ(import.Run({line}), CTimeSheetImport::kDone) << import.Reason().toStdString();
    EXPECT_EQ(import.Refused().size(), 1);

    EXPECT_EQ(m_db.DeleteTimeData(nullptr, false, last, kAnn, 1), kWriteOk);
    m_db.ResetDayKey();
    EXPECT_TRUE(m_db.LoadDayTimeSheets(last, kAnn));
    EXPECT_EQ(m_db.DayEntries().size(), 2);
}

TEST_P(StoredRowsTest, EveryOverlapCheckSeesTheOddRows)
{
    ForeignRows();
    struct Case {
        int day, start, stop;
        bool overlap;
    };
    const Case cases[] = {
        {10, 1410, 1440, true},  // inside the hour to the next midnight
        {10, 1320, 1380, false}, // touching it
        {11, 570, 600, true},    // inside the row of the work date at noon
        {11, 630, 660, false},   // touching it
        {12, 540, 600, false},   // a lump sum lies nowhere
        {13, 720, 780, true},    // the whole day
        {14, 0, 60, false},      // the whole day ends at the 14th's midnight
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1: %2-%3").arg(c.day).arg(c.start).arg(c.stop).toStdString());
        EXPECT_EQ(m_db.CheckTimeOverlap(At(c.day), kAnn, c.start, c.stop, -1), c.overlap);
        int stop = -1;
        EXPECT_EQ(m_db.FindOverlappingEntry(nullptr, At(c.day), kAnn, c.start, c.stop, stop, -1, 0),
                  c.overlap);
        // The write: the server's procedure or the record's own check.
        const int before = Count(c.day);
        const int result = Write(c.day, c.start, c.stop, 20 + c.day);
        if (c.overlap) {
            EXPECT_NE(result, kWriteOk);
            EXPECT_EQ(Count(c.day), before);
        } else {
            EXPECT_EQ(result, kWriteOk);
            EXPECT_EQ(Count(c.day), before + 1);
        }
    }
    // The odd rows are as they were written.
    EXPECT_EQ(Stored(1), QStringLiteral("2026-03-10 00:00:00 2026-03-10 23:00:00 "
                                        "2026-03-11 00:00:00 1"));
    EXPECT_EQ(Stored(3), QStringLiteral("2026-03-12 00:00:00 NULL NULL 7.5"));
}

TEST_P(StoredRowsTest, ScheduledCopiesClashWithTheOddRows)
{
    ForeignRows();
    CScheduleCopy copy;
    copy.EmpID = kAnn;
    copy.ProjID = kApollo;
    copy.OrderID = kApolloOrder;
    copy.TaskID = kBuild;
    copy.Start = 570; // 09:30-10:00
    copy.Stop = 600;
    copy.MinutesWorked = 30;
    QString reason;
    const QList<QDate> days = {QDate(2026, 3, 10), QDate(2026, 3, 11), QDate(2026, 3, 12),
                               QDate(2026, 3, 13)};
    ASSERT_TRUE(m_db.StageScheduleCopies(copy, days, reason)) << reason.toStdString();
    int clashes = -1;
    ASSERT_TRUE(m_db.CountScheduleClashes(kAnn, clashes, reason)) << reason.toStdString();
    EXPECT_EQ(clashes, 2); // the work date at noon and the whole day
    int booked = -1;
    ASSERT_TRUE(m_db.ImportSchedule(kAnn, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 2);
    EXPECT_EQ(Count(10), 2);
    EXPECT_EQ(Count(11), 1);
    EXPECT_EQ(Count(12), 2);
    EXPECT_EQ(Count(13), 1);

    // Late in the day: the hour to the next midnight clashes too.
    copy.Start = 1395;
    copy.Stop = 1440;
    ASSERT_TRUE(m_db.StageScheduleCopies(copy, {QDate(2026, 3, 10), QDate(2026, 3, 11)}, reason));
    ASSERT_TRUE(m_db.CountScheduleClashes(kAnn, clashes, reason));
    EXPECT_EQ(clashes, 1);
}

TEST_P(StoredRowsTest, AScheduledCopyTakesANumberFreeOnTheWholeDay)
{
    // The noon row holds the number the copy would take.
    Foreign(10570, "2026-03-11 12:00:00", "2026-03-11 14:00:00", "2026-03-11 15:00:00", 1);
    CScheduleCopy copy;
    copy.EmpID = kAnn;
    copy.ProjID = kApollo;
    copy.OrderID = kApolloOrder;
    copy.TaskID = kBuild;
    copy.Start = 570;
    copy.Stop = 600;
    copy.MinutesWorked = 30;
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(copy, {QDate(2026, 3, 11)}, reason));
    int booked = -1;
    ASSERT_TRUE(m_db.ImportSchedule(kAnn, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 1);
    EXPECT_EQ(Query(QStringLiteral("SELECT COUNT(DISTINCT TimeID) FROM tblTimeSheet"))
                  .Value(0, 0)
                  .toInt(),
              2);
}

TEST_P(StoredRowsTest, ImportedLinesAreCheckedAgainstTheOddRows)
{
    ForeignRows();
    const auto line = [](int number, int day, int start, int stop, int timeId) {
        CImportRow r;
        r.Line = number;
        r.EmpID = kAnn;
        r.ProjID = kApollo;
        r.OrderID = kApolloOrder;
        r.TaskID = kBuild;
        r.WorkTypeID = 2;
        r.WorkDate = QDate(2026, 3, day);
        r.Start = start;
        r.Stop = stop;
        r.TimeID = timeId;
        return r;
    };
    const QList<CImportRow> rows = {
        line(3, 10, 1410, 1440, 7), // in the hour to the next midnight
        line(4, 10, 1320, 1380, 8), // before it
        line(5, 11, 600, 660, 9),   // in the noon row
        line(6, 11, 660, 720, 2),   // after it, with its number: renumbered
        line(7, 12, 540, 600, 10),  // beside the lump sum
        line(8, 13, 0, 60, 11),     // in the whole day
    };
    CTimeSheetImport import(m_db);
    ASSERT_EQ(import.Run(rows), CTimeSheetImport::kDone) << import.Reason().toStdString();
    QList<int> refused;
    for (const CImportRefused& r : import.Refused()) {
        EXPECT_EQ(r.Reason, ImportRefusal::Overlap);
        refused << r.Line;
    }
    EXPECT_EQ(refused, QList<int>({3, 5, 8}));
    EXPECT_EQ(import.Imported(), 3);
    EXPECT_EQ(import.Renumbered(), 1);
    EXPECT_EQ(Query(QStringLiteral("SELECT TimeID FROM tblTimeSheet WHERE WorkDate >= ? AND "
                                   "WorkDate < ? ORDER BY TimeID"),
                    CSqlDialect::DayRange(QDate(2026, 3, 11)))
                  .Value(1, 0)
                  .toInt(),
              3);
}

TEST_P(StoredRowsTest, TheOverviewListsTheOddRowsAsTheTimeSheetReadsThem)
{
    if (!IsPostgres())
        GTEST_SKIP() << "the overview is the server's";
    ForeignRows();
    Foreign(5, "2026-03-16 12:00:00", "2026-03-16 23:00:00", "2026-03-17 00:00:00", 1);
    const QString xml =
        Query(QStringLiteral("SELECT CAST(lv_GetTimesheetInfoEmpID(1, 0, 202603) AS TEXT)"))
            .Value(0, 0)
            .toString();
    const auto entry = [&xml](int day) {
        const QRegularExpression re(
            QStringLiteral("<Entry [^>]*Date=\"2026-03-%1\"[^>]*Start=\"([^\"]*)\" "
                           "Stop=\"([^\"]*)\"")
                .arg(day));
        const QRegularExpressionMatch m = re.match(xml);
        return m.hasMatch() ? m.captured(1) + QLatin1Char('-') + m.captured(2)
                            : QStringLiteral("?");
    };
    EXPECT_EQ(entry(10), QStringLiteral("23:00-24:00"));
    EXPECT_EQ(entry(11), QStringLiteral("09:00-10:30"));
    EXPECT_EQ(entry(12), QStringLiteral("-"));
    EXPECT_EQ(entry(13), QStringLiteral("00:00-24:00"));
    EXPECT_EQ(entry(16), QStringLiteral("23:00-24:00"));
}

} // namespace

KELVANE_INSTANTIATE_BACKENDS(StoredRowsTest);
