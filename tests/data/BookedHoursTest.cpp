#include "data/DBClass.h"
#include "data/TimeSheetImport.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TimeZoneScope.h"

namespace {

constexpr int kAnn = 1; // rate factor 1.5
constexpr int kProject = 5;
constexpr int kOrder = 7; // 100 an hour
constexpr int kTask = 9;

// Hours booked on the nights the clock changes, on both back ends: what the
// write stores, the cost it stores and the cost text the time sheet shows.
class BookedHoursTest : public FacadeDbTest {
protected:
    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, HourRateFactor) VALUES (1, 'Ann', 'ann', 1, 1, 1.5)"));
        Exec(QStringLiteral(
            "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (5, 'Apollo', 0)"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (7, 'A-7', 5, 1, 0, 100)"));
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                            "DefaultWorkTypeID) VALUES (9, 'Build', 5, 2, 2)"));
    }

    int Write(const QDate& day, int timeId, int start, int stop, bool update = false)
    {
        CTimeSheetWrite e;
        e.IsUpdate = update;
        e.WorkDate = CDateTime(day);
        e.EmpID = kAnn;
        e.ProjID = kProject;
        e.OrderID = kOrder;
        e.TaskID = kTask;
        e.OrderHourRate = 100;
        e.Start = start;
        e.Stop = stop;
        e.Comment = QStringLiteral("night shift");
        e.TimeID = timeId;
        return m_db.UpdateTimeData(nullptr, e);
    }
    // HoursWorked and InvCost of the day's row, as stored.
    std::pair<double, double> Stored(const QDate& day, int timeId)
    {
        const CQueryResult row =
            Query(QStringLiteral("SELECT HoursWorked, InvCost FROM tblTimeSheet WHERE WorkDate = ? "
                                 "AND TimeID = ?"),
                  {QVariant::fromValue(CDateTime(day)), timeId});
        EXPECT_EQ(row.rows, 1);
        return {row.Value(0, 0).toFloat(), row.Value(0, 1).toDouble()};
    }
};

} // namespace

TEST_P(BookedHoursTest, ABlockOverTheChangeOfTheClockBooksTheTimeThatPassed)
{
    struct Case {
        const char* zone;
        QDate day;
        int interval, start, stop;
        double hours;
        const char* cost;
    };
    const Case cases[] = {
        {"Europe/Berlin", {2026, 3, 29}, 15, 30, 210, 2, "300.00"},
        {"Europe/Berlin", {2026, 10, 25}, 15, 30, 210, 4, "600.00"},
        {"America/New_York", {2026, 3, 8}, 15, 30, 210, 2, "300.00"},
        {"America/New_York", {2026, 11, 1}, 15, 30, 210, 4, "600.00"},
        // An ordinary night; the other zone's change is not this one's.
        {"Europe/Berlin", {2026, 3, 28}, 15, 30, 210, 3, "450.00"},
        {"America/New_York", {2026, 10, 25}, 15, 30, 210, 3, "450.00"},
        // The time that passed is rounded down to the interval as ever:
        // 00:30 to 03:20 is 1 h 50 min on the night the clock goes forward.
        {"Europe/Berlin", {2026, 3, 29}, 15, 30, 200, 1.75, "262.50"},
        {"Europe/Berlin", {2026, 3, 29}, 6, 30, 200, 1.8, "270.00"},
        {"America/New_York", {2026, 11, 1}, 6, 50, 220, 3.8, "570.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3-%4 by %5")
                         .arg(QLatin1String(c.zone), c.day.toString(Qt::ISODate))
                         .arg(c.start)
                         .arg(c.stop)
                         .arg(c.interval)
                         .toStdString());
        const CTimeZoneScope zone(c.zone);
        m_db.StartupInfo().BookingInterval = c.interval;
        Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
        ASSERT_EQ(Write(c.day, 1, c.start, c.stop), kWriteOk);
        const auto [hours, cost] = Stored(c.day, 1);
        EXPECT_FLOAT_EQ(hours, float(c.hours));
        EXPECT_NEAR(cost, 150 * c.hours, 1e-6);
        QString text;
        EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, kOrder, c.start, c.stop, kAnn, c.day));
        EXPECT_EQ(text, QLatin1String(c.cost));
    }
}

TEST_P(BookedHoursTest, AMovedBlockIsBookedAgainOnItsDay)
{
    const CTimeZoneScope zone("Europe/Berlin");
    m_db.StartupInfo().BookingInterval = 15;
    const QDate back(2026, 10, 25);
    ASSERT_EQ(Write(back, 1, 60, 120), kWriteOk);
    EXPECT_EQ(Stored(back, 1), std::make_pair(1.0, 150.0));
    // Stretched over the hour the clock shows twice.
    ASSERT_EQ(Write(back, 1, 60, 210, true), kWriteOk);
    EXPECT_EQ(Stored(back, 1), std::make_pair(3.5, 525.0));
    // The cost text of the day shown, when no day is named.
    m_db.SetDisplayedDay(back);
    QString text;
    EXPECT_TRUE(m_db.FormatEntryCost(text, kProject, kOrder, 60, 210, kAnn));
    EXPECT_EQ(text, QStringLiteral("525.00"));
}

TEST_P(BookedHoursTest, ImportedLinesAndScheduledCopiesBookTheTimeThatPassedOnTheirDay)
{
    const CTimeZoneScope zone("Europe/Berlin");
    m_db.StartupInfo().BookingInterval = 15;
    // 00:30 to 03:30 on an ordinary night and on the two nights of change.
    const QList<QDate> days = {{2026, 3, 28}, {2026, 3, 29}, {2026, 10, 25}};
    const QList<std::pair<double, double>> booked = {{3, 450}, {2, 300}, {4, 600}};

    QList<CImportRow> lines;
    for (const QDate& day : days) {
        CImportRow line;
        line.Line = static_cast<int>(lines.size()) + 3;
        line.EmpID = kAnn;
        line.ProjID = kProject;
        line.OrderID = kOrder;
        line.TaskID = kTask;
        line.WorkDate = day;
        line.Start = 30;
        line.Stop = 210;
        line.TimeID = 1;
        lines << line;
    }
    CTimeSheetImport import(m_db);
    ASSERT_EQ(import.Run(lines), CTimeSheetImport::kDone) << import.Reason().toStdString();
    for (int i = 0; i < days.size(); ++i)
        EXPECT_EQ(Stored(days.at(i), 1), booked.at(i)) << days.at(i).toString().toStdString();

    // The block of the ordinary day, as Schedule Time hands it over.
    Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
    CScheduleCopy block;
    block.EmpID = kAnn;
    block.ProjID = kProject;
    block.OrderID = kOrder;
    block.TaskID = kTask;
    block.Start = 30;
    block.Stop = 210;
    block.MinutesWorked = 180;
    block.InvCost = 450;
    QString reason;
    ASSERT_TRUE(m_db.StageScheduleCopies(block, days, reason)) << reason.toStdString();
    int count = 0;
    ASSERT_TRUE(m_db.ImportSchedule(kAnn, count, reason)) << reason.toStdString();
    ASSERT_EQ(count, 3);
    for (int i = 0; i < days.size(); ++i)
        EXPECT_EQ(Stored(days.at(i), 10030), booked.at(i)) << days.at(i).toString().toStdString();
}

KELVANE_INSTANTIATE_BACKENDS(BookedHoursTest);
