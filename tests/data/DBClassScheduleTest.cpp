#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/Faults.h"

#include <QElapsedTimer>

namespace {

class DBClassScheduleTest : public FacadeDbTest {
protected:
    static CScheduleCopy Copy()
    {
        CScheduleCopy copy;
        copy.EmpID = 1;
        copy.ProjID = 1;
        copy.Start = 600;
        copy.Stop = 660;
        copy.MinutesWorked = 60;
        copy.Comment = QString(300, QLatin1Char('x'));
        return copy;
    }
    // Whether another connection could take the day lock of employee 1.
    bool DayIsFree(const QDate& day)
    {
        return Query(QStringLiteral("SELECT pg_try_advisory_xact_lock(?, ?)"),
                     {1, CSqlDialect::DayNumber(day)})
            .Value(0, 0)
            .toBool();
    }
};

TEST_P(DBClassScheduleTest, StagingReplacesTheEmployeesCopiesAndKeepsOthers)
{
    // This session's copy of employee 1 goes; another session's and another
    // employee's stay.
    Exec(QStringLiteral("INSERT INTO tblTimeSheet_ImportExport (EmpID, WorkDate, TimeID, "
                        "BatchID) VALUES (1, ?, 1, ?), (1, ?, 2, ?), (2, ?, 1, ?)"),
         {QVariant::fromValue(CDateTime(2026, 1, 1)), m_db.ScheduleBatch(),
          QVariant::fromValue(CDateTime(2026, 1, 1)), m_db.ScheduleBatch() + 1,
          QVariant::fromValue(CDateTime(2026, 1, 1)), m_db.ScheduleBatch()});
    // More days than one statement takes.
    QList<QDate> days;
    for (int i = 0; i < 250; ++i)
        days << QDate(2026, 1, 1).addDays(i);
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(Copy(), days, reason)) << reason.toStdString();
    const CQueryResult rows = Query(
        QStringLiteral("SELECT EmpID, TimeID, Comment, WorkDate FROM tblTimeSheet_ImportExport "
                       "ORDER BY EmpID, WorkDate, TimeID"));
    ASSERT_EQ(rows.rows, 252);
    EXPECT_EQ(rows.Value(0, 1).toInt(), 2); // the other session's
    EXPECT_EQ(rows.Value(1, 1).toInt(), 10600);
    // Comments are cut to the column's 255 characters.
    EXPECT_EQ(rows.Value(1, 2).toString().size(), 255);
    const QVariant last = rows.Value(250, 3);
    const CDateTime lastDay = last.userType() == qMetaTypeId<CDateTime>()
                                  ? last.value<CDateTime>()
                                  : CDateTime::Parse(last.toString());
    EXPECT_EQ(lastDay.Date(), days.last());
    EXPECT_EQ(rows.Value(251, 0).toInt(), 2);
}

TEST_P(DBClassScheduleTest, TwoSessionsOfOneEmployeeCountAndBookOnlyTheirOwnCopies)
{
    CDBClass other; // the same employee at a second workstation
    other.Connection()->UseConnectionString(m_connectionString);
    ASSERT_TRUE(other.OpenConnection());
    ASSERT_NE(other.ScheduleBatch(), m_db.ScheduleBatch());
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, WorkDate, StartTime, StopTime, "
                        "TimeID) VALUES (1, 1, ?, ?, ?, 1)"),
         {QVariant::fromValue(CDateTime(2026, 12, 11)),
          QVariant::fromValue(CDateTime(2026, 12, 11, 10, 0, 0)),
          QVariant::fromValue(CDateTime(2026, 12, 11, 11, 0, 0))});
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(Copy(), {QDate(2026, 12, 10)}, reason));
    ASSERT_TRUE(other.StageScheduleCopies(
        Copy(), {QDate(2026, 12, 11), QDate(2026, 12, 12), QDate(2026, 12, 13)}, reason));
    int clashes = -1;
    ASSERT_TRUE(m_db.CountScheduleClashes(1, clashes, reason));
    EXPECT_EQ(clashes, 0);
    ASSERT_TRUE(other.CountScheduleClashes(1, clashes, reason));
    EXPECT_EQ(clashes, 1);
    int booked = 0;
    ASSERT_TRUE(m_db.ImportSchedule(1, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 1);
    ASSERT_TRUE(other.ImportSchedule(1, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 2);
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet")).Value(0, 0).toInt(), 4);
    ASSERT_TRUE(m_db.DiscardScheduleCopies(1, reason));
    EXPECT_EQ(
        Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet_ImportExport")).Value(0, 0).toInt(),
        3);
    other.ReleaseConnection(true, true);
}

TEST_P(DBClassScheduleTest, AWriterWaitsForAnotherWritersLongStepInsteadOfFailing)
{
    if (IsPostgres())
        GTEST_SKIP() << "server writers wait for locks without a limit";
    // Another user's long schedule holds the file's write lock for six seconds.
    CLockHolder schedule(m_connectionString, QStringLiteral("tblTimeSheet"),
                         CLockHolder::Hold::Writers);
    ASSERT_TRUE(schedule.Holding());
    schedule.ReleaseAfter(6000);
    QElapsedTimer timer;
    timer.start();
    QString reason;
    EXPECT_TRUE(m_db.StageScheduleCopies(Copy(), {QDate(2026, 12, 10)}, reason))
        << reason.toStdString();
    EXPECT_GE(timer.elapsed(), 5000);
}

TEST_P(DBClassScheduleTest, BookingHoldsTheDaysOfTheCopiesUntilItEnds)
{
    if (!IsPostgres())
        GTEST_SKIP() << "the file back end locks the whole database for a write";
    QString reason;
    ASSERT_TRUE(
        m_db.StageScheduleCopies(Copy(), {QDate(2026, 12, 10), QDate(2026, 12, 14)}, reason));
    ASSERT_TRUE(m_db.Connection()->BeginTrans());
    int booked = 0;
    ASSERT_TRUE(m_db.ImportSchedule(1, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 2);
    // The time-sheet procedures take these same locks before they write.
    EXPECT_FALSE(DayIsFree(QDate(2026, 12, 10)));
    EXPECT_FALSE(DayIsFree(QDate(2026, 12, 14)));
    EXPECT_TRUE(DayIsFree(QDate(2026, 12, 11)));
    m_db.Connection()->RollbackTrans();
    EXPECT_TRUE(DayIsFree(QDate(2026, 12, 10)));
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet")).Value(0, 0).toInt(), 0);
}

TEST_P(DBClassScheduleTest, ACopyWhoseNumberItsDayHoldsTakesTheNextFreeOne)
{
    // The 10th already holds 10600 and 10601 at other times; the 11th holds 10601 only.
    const auto book = [this](const QDate& day, int timeId, int start) {
        const CDateTime date(day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, "
                            "StartTime, StopTime, TimeID) VALUES (1, 1, 1, ?, ?, ?, ?)"),
             {QVariant::fromValue(date), QVariant::fromValue(date.AddSecs(start * 60)),
              QVariant::fromValue(date.AddSecs((start + 30) * 60)), timeId});
    };
    book(QDate(2026, 12, 10), 10600, 900);
    book(QDate(2026, 12, 10), 10601, 960);
    book(QDate(2026, 12, 11), 10601, 900);
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(
        Copy(), {QDate(2026, 12, 10), QDate(2026, 12, 11), QDate(2026, 12, 12)}, reason));
    int booked = 0;
    ASSERT_TRUE(m_db.ImportSchedule(1, booked, reason)) << reason.toStdString();
    EXPECT_EQ(booked, 3);
    // The copies are the rows with a comment.
    const CQueryResult rows = Query(QStringLiteral(
        "SELECT TimeID FROM tblTimeSheet WHERE Comment IS NOT NULL ORDER BY WorkDate"));
    ASSERT_EQ(rows.rows, 3);
    EXPECT_EQ(rows.Value(0, 0).toInt(), 10602);
    EXPECT_EQ(rows.Value(1, 0).toInt(), 10600);
    EXPECT_EQ(rows.Value(2, 0).toInt(), 10600);
}

} // namespace

KELVANE_INSTANTIATE_BACKENDS(DBClassScheduleTest);
