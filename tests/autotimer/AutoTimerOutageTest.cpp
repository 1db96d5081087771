#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "autotimer/AutoTimerWindows.h"
#include "autotimer/AutoTimingDlg.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"
#include "tests/support/Faults.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QTest>

#include <optional>

namespace {

// The whole program with the time sheet and the auto timer open, on a seeded
// database of either back end, while the database stops taking what the
// timer books and then answers again.
class AutoTimerOutageTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        Exec(QStringLiteral("UPDATE tblFinEmployee SET SecLevel = 1"));
        CProfileStore profile;
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), m_connectionString);
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
        profile.setValue(QStringLiteral("Admin/OpenCurDay"), 1);
        profile.setValue(QStringLiteral("LoggingDlg/Default"), 1); // Bridge
        profile.sync();

        RegisterControlsBeside(QCoreApplication::applicationDirPath());
        RegisterTimeSheetWindows();
        RegisterAutoTimerWindows();
        ASSERT_TRUE(m_app.Start()) << Messages().Last().toStdString();
        m_started = true;
        m_app.Hub()->SetStartupDelayOverride(1000000);
        m_app.Hub()->Create();
        m_app.Hub()->OnCommand(ID_TIMESHEET_AND_AUTO_TIMER);
        m_sheet = dynamic_cast<CTimeAppDlg*>(m_app.Hub()->Window(ID_TIMESHEETS));
        m_timer = dynamic_cast<CAutoTimingDlg*>(m_app.Hub()->Window(ID_AUTO_TIMER));
        ASSERT_TRUE(m_sheet && m_timer) << Messages().Last().toStdString();
        ASSERT_TRUE(Waiting::Until([this] { return m_sheet->Controller().DayLoaded(); }));
        m_day = m_sheet->Controller().ShownDay();
        m_clock.emplace(m_day, 9, 0);
    }
    void TearDown() override
    {
        DatabaseBack();
        if (m_started) {
            m_app.Shutdown();
            UnregisterHubWindow(ID_TIMESHEETS);
            UnregisterHubWindow(ID_AUTO_TIMER);
        }
        KelvaneDbTest::TearDown();
    }

    // On a file the disk is full; on the server the program's session ends
    // and new ones are refused, as while the server restarts.
    void DatabaseGoes()
    {
        if (!IsPostgres()) {
            m_full.emplace(0);
            return;
        }
        m_refused = Query(QStringLiteral("SELECT current_database()")).Value(0, 0).toString();
        Admin(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(m_refused));
        Query(QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE "
                             "datname = current_database() AND pid <> pg_backend_pid()"));
    }
    void DatabaseBack()
    {
        m_full.reset();
        if (!m_refused.isEmpty())
            Admin(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(m_refused));
        m_refused.clear();
    }
    static void Admin(const QString& sql)
    {
        QString error;
        EXPECT_TRUE(TestDatabases::AdminExec(sql, &error)) << error.toStdString();
    }

    // The user's steps and the timer's ticks, each an action of its own.
    void At(int hour, int minute, int days = 0)
    {
        UserAction::Next();
        m_clock->Set(m_day.addDays(days), hour, minute);
    }
    void Go(int hour, int minute, int days = 0)
    {
        At(hour, minute, days);
        m_timer->OnGo();
    }
    void Tick(int hour, int minute, int days = 0)
    {
        At(hour, minute, days);
        m_timer->Engine().TimerProc(CBookTime::kBookTimerId);
    }
    void Stop(int hour, int minute)
    {
        At(hour, minute);
        m_app.Hub()->OnCommand(ID_STOP_TIMING);
    }
    bool ShowsTiming() const
    {
        return m_timer->IsTiming() &&
               m_timer->windowTitle().startsWith(QStringLiteral("Timer ON")) &&
               m_timer->Engine().IsTimerActive(CBookTime::kBookTimerId) &&
               m_timer->Engine().IsTimerActive(CBookTime::kTrayTimerId);
    }

    // "TimeID start-stop comment" of Ann's rows of a day.
    QStringList Rows(int days = 0)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT TimeID, StartTime, StopTime, Comment FROM tblTimeSheet WHERE "
                           "WorkDate = ? ORDER BY StartTime"),
            {QVariant::fromValue(CDateTime(m_day.addDays(days)))});
        QStringList out;
        for (int r = 0; r < rows.rows; ++r) {
            const auto minutes = [&](int c) {
                const QVariant v = rows.Value(r, c);
                const int m =
                    (v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                              : CDateTime::Parse(v.toString()))
                        .MinutesOfDay();
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
    // The hours the open time sheet's line counts.
    QString HoursOnTheSheet()
    {
        m_sheet->TimeLine().CreateHoursWorkedMsg();
        Waiting::Settle();
        return m_sheet->StatusText();
    }
    static CRecordingMessages& Messages() { return CRecordingMessages::Current(); }
    static QString NotStoredYet(const QString& since)
    {
        return QStringLiteral("The time since %1 is not stored yet: the database cannot store it "
                              "just now. Timing goes on, and the time will be stored when the "
                              "database answers again.")
            .arg(since);
    }

    CKelvaneApp m_app;
    bool m_started = false;
    CTimeAppDlg* m_sheet = nullptr;
    CAutoTimingDlg* m_timer = nullptr;
    QDate m_day;
    std::optional<CTestClock> m_clock;
    std::optional<CDiskFull> m_full;
    QString m_refused;
};

} // namespace

TEST_P(AutoTimerOutageTest, AFailedStretchKeepsTimingAndIsStoredWholeWhenTheDatabaseAnswers)
{
    Go(10, 7);
    ASSERT_EQ(Rows(), QStringList({"1 600-615 Logged"}));

    DatabaseGoes();
    Tick(10, 31);
    Tick(10, 36);
    Tick(10, 46);
    EXPECT_TRUE(ShowsTiming()) << m_timer->windowTitle().toStdString();
    EXPECT_EQ(Messages().Texts(), QStringList({NotStoredYet(QStringLiteral("10:15"))}));

    DatabaseBack();
    Tick(10, 52);
    // One block from the start, up to the last tick's interval.
    EXPECT_EQ(Rows(), QStringList({"1 600-660 Logged"}));
    EXPECT_EQ(HoursOnTheSheet(), QStringLiteral("Hours Worked 1.00"));
    EXPECT_EQ(m_sheet->Controller().Entry().stop, 660);
    EXPECT_EQ(Messages().Count(), 1);

    // A new outage is told again; stopping in it says what was lost.
    DatabaseGoes();
    Tick(11, 2);
    EXPECT_EQ(Messages().Last(), NotStoredYet(QStringLiteral("11:00")));
    Messages().Clear();
    Stop(11, 4);
    EXPECT_FALSE(m_timer->IsTiming());
    EXPECT_TRUE(m_timer->windowTitle().startsWith(QStringLiteral("Timer OFF")));
    EXPECT_EQ(Messages().Texts(),
              QStringList({QStringLiteral(
                  "Timing has stopped, but the time since 11:00 could not be stored: "
                  "the database cannot store it just now. Book it in the time sheet "
                  "when the database answers again.")}));
    DatabaseBack();
    EXPECT_EQ(Rows(), QStringList({"1 600-660 Logged"}));
}

TEST_P(AutoTimerOutageTest, GoWhileTheDatabaseFailsTimesFromThenAndStoresOnceItAnswers)
{
    DatabaseGoes();
    Go(10, 7);
    EXPECT_TRUE(ShowsTiming()) << m_timer->windowTitle().toStdString();
    EXPECT_EQ(m_timer->StatusText(), QStringLiteral("Logging started: 10:00 (8 mins)"));
    Tick(10, 20);
    EXPECT_EQ(Messages().Texts(), QStringList({NotStoredYet(QStringLiteral("10:00"))}));
    EXPECT_TRUE(Rows().isEmpty());

    DatabaseBack();
    Tick(10, 31);
    EXPECT_EQ(Rows(), QStringList({"1 600-645 Logged"}));
    EXPECT_EQ(HoursOnTheSheet(), QStringLiteral("Hours Worked 0.75"));
    Stop(10, 40);
    EXPECT_EQ(Rows(), QStringList({"1 600-645 Logged"}));
    EXPECT_EQ(Messages().Count(), 1);
}

TEST_P(AutoTimerOutageTest, ALockPastMidnightStillStoresTheDayUpToItsLastTick)
{
    {
        CProfileStore profile;
        for (const char* key : {"Admin/AutoLogStopHrVal", "Admin/AutoLogStopMinVal",
                                "Admin/AutoLogRoundStart", "Admin/AutoLogRoundStop"})
            profile.setValue(QLatin1String(key), 0);
        profile.sync();
    }
    Go(23, 35);
    ASSERT_EQ(Rows(), QStringList({"1 1410-1425 Logged"}));

    // Another session's long write holds the time sheet past the program's wait limits.
    m_app.Facade()->Connection()->SetWaitLimits({200, 2000});
    std::optional<CLockHolder> lock(std::in_place, m_connectionString,
                                    QStringLiteral("tblTimeSheet"), CLockHolder::Hold::Writers);
    ASSERT_TRUE(lock->Holding());
    Tick(23, 50);
    EXPECT_TRUE(ShowsTiming());
    lock.reset();
    Tick(0, 2, 1);
    EXPECT_FALSE(m_timer->IsTiming());
    EXPECT_EQ(Rows(), QStringList({"1 1410-1440 Logged"}));
    EXPECT_TRUE(Rows(1).isEmpty());
    EXPECT_EQ(Messages().Texts(), QStringList({NotStoredYet(QStringLiteral("23:45"))}));
}

KELVANE_INSTANTIATE_BACKENDS(AutoTimerOutageTest);
