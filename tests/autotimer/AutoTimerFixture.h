#pragma once

#include "tests/support/FacadeFixture.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestEnv.h"

#include <QDateTime>
#include <QStringList>

// A database with Ann Lee, who books on Bridge (order B-100, tasks Design
// and Build) and Apollo (order A-1, task Launch), a 15-minute booking
// interval, and a clock the test sets.
class AutoTimerTest : public FacadeDbTest {
protected:
    AutoTimerTest()
        : FacadeDbTest(Connect::ByWindows)
    {}

    static constexpr int kBridge = 1;
    static constexpr int kApollo = 2;
    static constexpr int kDesign = 1;

    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        Option("USER/DefUserName", QStringLiteral("Ann Lee"));
        m_db.StartupInfo().BookingInterval = 15;
    }
    // The program's clock: a time of m_day, or of a day after it.
    void At(int hour, int minute, int days = 0) { m_clock.Set(m_day.addDays(days), hour, minute); }
    // Another entry of Ann's on m_day.
    void Book(int timeId, int start, int stop, const QDate& day = QDate())
    {
        const CDateTime date(day.isValid() ? day : m_day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                            "StartTime, StopTime, TimeID, HoursWorked, Comment, WorkTypeID) "
                            "VALUES (1, 2, 2, 3, ?, ?, ?, ?, 1, 'mine', 3)"),
             {QVariant::fromValue(date), QVariant::fromValue(date.AddSecs(start * 60)),
              QVariant::fromValue(date.AddSecs(stop * 60)), timeId});
    }
    // "TimeID start-stop comment" of Ann's rows of a day in start order; a
    // stop stored as 23:59 is midnight, 1440.
    QStringList Rows(const QDate& day = QDate())
    {
        const CQueryResult rows =
            Query(QStringLiteral("SELECT TimeID, StartTime, StopTime, Comment, HoursWorked FROM "
                                 "tblTimeSheet WHERE EmpID = 1 AND WorkDate = ? ORDER BY "
                                 "StartTime"),
                  {QVariant::fromValue(CDateTime(day.isValid() ? day : m_day))});
        QStringList out;
        for (int r = 0; r < rows.rows; ++r) {
            const auto minutes = [&](int c) {
                const QVariant v = rows.Value(r, c);
                const int m = v.userType() == qMetaTypeId<CDateTime>()
                                  ? v.value<CDateTime>().MinutesOfDay()
                                  : CDateTime::Parse(v.toString()).MinutesOfDay();
                return m == 1439 ? 1440 : m;
            };
            out << QStringLiteral("%1 %2-%3 %4")
                       .arg(rows.Value(r, 0).toInt())
                       .arg(minutes(1))
                       .arg(minutes(2))
                       .arg(rows.Value(r, 3).toString());
        }
        return out;
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    const QDate m_day{2026, 3, 5};
    CTestClock m_clock{m_day, 9, 0};
};
