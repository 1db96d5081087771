#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "tests/support/TestDatabases.h"

namespace {

class DBClassScheduleTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }
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

    CDBClass m_db;
};

TEST_P(DBClassScheduleTest, StagingReplacesTheEmployeesCopiesAndKeepsOthers)
{
    Exec(QStringLiteral("INSERT INTO tblTimeSheet_ImportExport (EmpID, WorkDate, TimeID) VALUES "
                        "(1, ?, 1), (2, ?, 1)"),
         {QVariant::fromValue(CDateTime(2026, 1, 1)), QVariant::fromValue(CDateTime(2026, 1, 1))});
    // More days than one statement takes.
    QList<QDate> days;
    for (int i = 0; i < 250; ++i)
        days << QDate(2026, 1, 1).addDays(i);
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(Copy(), days, reason)) << reason.toStdString();
    const CQueryResult rows = Query(
        QStringLiteral("SELECT EmpID, TimeID, Comment, WorkDate FROM tblTimeSheet_ImportExport "
                       "ORDER BY EmpID, WorkDate"));
    ASSERT_EQ(rows.rows, 251);
    EXPECT_EQ(rows.Value(0, 1).toInt(), 10600);
    // Comments are cut to the column's 255 characters.
    EXPECT_EQ(rows.Value(0, 2).toString().size(), 255);
    const QVariant last = rows.Value(249, 3);
    const CDateTime lastDay = last.userType() == qMetaTypeId<CDateTime>()
                                  ? last.value<CDateTime>()
                                  : CDateTime::Parse(last.toString());
    EXPECT_EQ(lastDay.Date(), days.last());
    EXPECT_EQ(rows.Value(250, 0).toInt(), 2);
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
