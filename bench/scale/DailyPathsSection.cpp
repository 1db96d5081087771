#include "app/ControlRegistration.h"
#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "data/UndoHistory.h"
#include "data/records/HoursSumSet.h"
#include "data/records/TimeSheetSet.h"
#include "platform/ProfileStore.h"
#include "review/ReviewDlg.h"
#include "timesheet/TimeAppDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

// The paths a user takes every day, at the small size and at scale, through
// the program's own code: the time sheet's open (and what its caches then
// hold), a day's load, a switch to the next day, a block's save (its rows
// removed again) and a month's review of everybody. The day's load and the
// review's query also run raw (the same statement through the back end's own
// interface) as their baselines.

namespace {

constexpr int kEmployee = 17;
// A Monday that every size of the company has booked.
const QDate kDay(2021, 3, 15);
// Blocks saved late in the evening, after every generated one.
constexpr int kSaveTimeId = 901;
constexpr int kSaveStart = 22 * 60;

struct CDailyFigures {
    double openMs = 0;
    qsizetype orders = 0;
    qsizetype projects = 0;
    qsizetype tasks = 0;
    double dayLoadMs = 0;
    double daySwitchMs = 0;
    double saveMs = 0;
    double reviewMs = 0;
    double rawDayLoadMs = 0;
    double rawReviewMs = 0;
    // What the paths read: a day's rows, and the month's records.
    qint64 dayRows = 0;
    QString reviewed;
};

void ChooseDay()
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Employee 17"));
    profile.setValue(QStringLiteral("Admin/OpenCurDay"), 0);
    profile.setValue(QStringLiteral("Admin/CurYear"), kDay.year());
    profile.setValue(QStringLiteral("Admin/CurMonth"), kDay.month());
    profile.setValue(QStringLiteral("Admin/CurDay"), kDay.day());
    profile.sync();
}

bool Connect(CDBClass& db, const CScaleDatabase& database)
{
    db.Connection()->UseConnectionString(database.connectionString);
    if (!db.Connect())
        return false;
    if (db.StartupInfo().BookingInterval <= 0)
        db.StartupInfo().BookingInterval = 15;
    return true;
}

// The time sheet opened on a connected facade, until its day is on the line.
CTimeAppDlg* OpenTimeSheet(CDBClass& db)
{
    ChooseDay();
    CTimeAppDlg* window = CTimeAppDlg::Create(nullptr, db);
    if (!window)
        return nullptr;
    window->resize(900, 700);
    window->show();
    if (!QTest::qWaitFor([window] { return window->Controller().DayLoaded(); }, 20000)) {
        delete window;
        return nullptr;
    }
    QApplication::processEvents();
    return window;
}

void MeasureOpen(const CScaleDatabase& database, CDailyFigures* out)
{
    std::vector<double> opens;
    for (int i = 0; i < 5; ++i) {
        CDBClass db;
        if (!Connect(db, database))
            return;
        QElapsedTimer timer;
        timer.start();
        CTimeAppDlg* window = OpenTimeSheet(db);
        opens.push_back(timer.nsecsElapsed() / 1e6);
        out->orders = db.Orders().size();
        out->projects = db.Projects().size();
        out->tasks = db.Tasks().size();
        delete window;
        db.ReleaseConnection(true, true);
    }
    out->openMs = MedianOf(opens);
}

// A statement of the program run raw on the database's own interface.
class CRawRead {
public:
    CRawRead(CDBConnection& connection, const CScaleDatabase& database, const QByteArray& name,
             const QString& select, const QVariantList& values)
    {
        const QString sql = CSqlExecutor::Translate(connection, select);
        const QVariantList bound = ProgramValues(connection, values);
        if (database.postgres) {
            m_pg = PQconnectdb(database.conninfo.constData());
            m_pgStatement = std::make_unique<CRawPgStatement>(m_pg, name, sql, bound);
        } else {
            m_sqlite = OpenRawSqlite(database.file, SQLITE_OPEN_READONLY);
            m_sqliteStatement = std::make_unique<CRawSqliteStatement>(m_sqlite, sql, bound);
        }
    }
    ~CRawRead()
    {
        m_pgStatement.reset();
        m_sqliteStatement.reset();
        if (m_pg)
            PQfinish(m_pg);
        if (m_sqlite)
            sqlite3_close(m_sqlite);
    }
    CRawRead(const CRawRead&) = delete;
    CRawRead& operator=(const CRawRead&) = delete;
    // Milliseconds, the median of `runs` reads of every row.
    double Time(int runs, int readsPerRun)
    {
        std::vector<double> times;
        qint64 rows = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            for (int k = 0; k < readsPerRun; ++k)
                m_sum += m_pgStatement ? m_pgStatement->Read(true, &rows)
                                       : m_sqliteStatement->Read(&rows);
            times.push_back(timer.nsecsElapsed() / 1e6 / readsPerRun);
        }
        return MedianOf(times);
    }

private:
    PGconn* m_pg = nullptr;
    sqlite3* m_sqlite = nullptr;
    std::unique_ptr<CRawPgStatement> m_pgStatement;
    std::unique_ptr<CRawSqliteStatement> m_sqliteStatement;
    qint64 m_sum = 0;
};

void MeasureDay(CDBClass& db, const CScaleDatabase& database, CDailyFigures* out)
{
    const QString filter = CDBClass::DayFilterText();
    const QVariantList values = CDBClass::DayFilterValues(kEmployee, CDateTime(kDay));
    std::vector<double> loads;
    qint64 sink = 0;
    for (int sample = 0; sample < 11; ++sample) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 100; ++i) {
            CTimeSheetSet set(db.Connection());
            set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
            set.OpenTableWithQuery(nullptr, filter, QStringLiteral("[TimeID]"), values);
            out->dayRows = 0;
            for (; !set.Recordset()->IsEOF(); set.MoveNext(), ++out->dayRows)
                sink += set.m_StartTime.MinutesOfDay() + set.m_Comment.size();
            set.Close();
        }
        loads.push_back(timer.nsecsElapsed() / 1e6 / 100);
    }
    out->dayLoadMs = MedianOf(loads) + 0 * sink;
    QString select;
    {
        CTimeSheetSet set(db.Connection());
        const QString sort = QStringLiteral("[TimeID]");
        set.Recordset()->BuildSelect(select, &filter, &sort);
    }
    CRawRead raw(*db.Connection(), database, "daily_day", select, values);
    out->rawDayLoadMs = raw.Time(11, 100);
}

void MeasureSwitch(CDBClass& db, CDailyFigures* out)
{
    CTimeAppDlg* window = OpenTimeSheet(db);
    if (!window)
        return;
    std::vector<double> times;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        window->OnDayButtonMsg(1132); // ">>"
        QCoreApplication::processEvents();
        window->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    out->daySwitchMs = MedianOf(times);
    delete window;
}

void MeasureSave(CDBClass& db, CDailyFigures* out)
{
    CQueryResult booking;
    if (!CSqlExecutor::RunNative(
            *db.Connection(),
            QStringLiteral("SELECT t.ProjID, t.OrderID, t.TaskID, o.OrderHourRate FROM "
                           "tblTimeSheet t JOIN tblProjectOrderBook o ON o.OrderID = t.OrderID "
                           "WHERE t.EmpID = ? AND t.WorkDate >= ? ORDER BY t.TimesheetID LIMIT 1"),
            {kEmployee, QVariant::fromValue(CDateTime(kDay))}, &booking, nullptr) ||
        booking.rows == 0)
        return;
    std::vector<double> saves;
    int failures = 0;
    QDate day = kDay;
    for (int i = 0; i < 40; ++i, day = day.addDays(day.dayOfWeek() == 5 ? 3 : 1)) {
        db.SetDayKey(CDateTime(day), kEmployee);
        CTimeSheetWrite e;
        e.WorkDate = CDateTime(day);
        e.EmpID = kEmployee;
        e.ProjID = booking.Value(0, 0).toInt();
        e.OrderID = booking.Value(0, 1).toInt();
        e.TaskID = booking.Value(0, 2).toInt();
        e.OrderHourRate = booking.Value(0, 3).toFloat();
        e.Start = kSaveStart;
        e.Stop = kSaveStart + 30;
        e.Comment = QStringLiteral("Benchmark block");
        e.TimeID = kSaveTimeId;
        QElapsedTimer timer;
        timer.start();
        if (db.UpdateTimeData(nullptr, e) != kWriteOk)
            ++failures;
        saves.push_back(timer.nsecsElapsed() / 1e6);
    }
    CSqlExecutor::RunNative(
        *db.Connection(), QStringLiteral("DELETE FROM tblTimeSheet WHERE EmpID = ? AND TimeID = ?"),
        {kEmployee, kSaveTimeId}, nullptr, nullptr);
    db.UndoHistory().Clear();
    if (failures > 0)
        std::printf("  FAILED saves: %d\n", failures);
    out->saveMs = MedianOf(saves);
}

void MeasureReview(CDBClass& db, const CScaleDatabase& database, CDailyFigures* out)
{
    const CReviewPeriod month{QDate(kDay.year(), kDay.month(), 1),
                              QDate(kDay.year(), kDay.month(), 1).addMonths(1).addDays(-1)};
    {
        CHoursSumSet set(db.Connection());
        CReviewDlg::SelectGridRecords(set, db.GetEmpIdByName(QStringLiteral("All")), month,
                                      QStringLiteral("All"));
        CRawRead raw(*db.Connection(), database, "daily_review",
                     ProgramStatement(*db.Connection(), *set.Recordset()),
                     set.Recordset()->FilterValues());
        out->rawReviewMs = raw.Time(5, 1);
    }
    CReviewDlg window(nullptr, db);
    window.resize(1000, 600);
    window.show();
    QApplication::processEvents();
    window.Control<QDateEdit>(CReviewDlg::kIdStart)->setDate(month.start);
    window.Control<QDateEdit>(CReviewDlg::kIdEnd)->setDate(month.end);
    window.Control<QComboBox>(CReviewDlg::kIdUser)->setCurrentIndex(0); // "All"
    std::vector<double> reviews;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.OnReview();
        QApplication::processEvents();
        if (i > 0)
            reviews.push_back(timer.nsecsElapsed() / 1e6);
    }
    out->reviewed = window.StatusText();
    out->reviewMs = MedianOf(reviews);
    window.close();
}

bool Measure(const CScaleDatabase& database, CDailyFigures* out)
{
    MeasureOpen(database, out);
    CDBClass db;
    if (!Connect(db, database) || !db.LoadEmployees())
        return false;
    CQueryResult before;
    CSqlExecutor::RunNative(*db.Connection(), QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet"),
                            {}, &before, nullptr);
    MeasureDay(db, database, out);
    MeasureSwitch(db, out);
    MeasureSave(db, out);
    MeasureReview(db, database, out);
    CQueryResult after;
    CSqlExecutor::RunNative(*db.Connection(), QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet"),
                            {}, &after, nullptr);
    if (before.Value(0, 0) != after.Value(0, 0))
        std::printf("  BOOKINGS CHANGED: %s -> %s\n", qPrintable(before.Value(0, 0).toString()),
                    qPrintable(after.Value(0, 0).toString()));
    db.ReleaseConnection(true, true);
    std::printf("[%s] %lld bookings: time sheet open %.1f ms (caches: %lld orders, %lld projects, "
                "%lld tasks), day load %.3f ms, day switch %.2f ms, save %.2f ms, month's review "
                "%.1f ms\n",
                database.Backend(), static_cast<long long>(database.rows), out->openMs,
                static_cast<long long>(out->orders), static_cast<long long>(out->projects),
                static_cast<long long>(out->tasks), out->dayLoadMs, out->daySwitchMs, out->saveMs,
                out->reviewMs);
    std::printf("[%s]   (a day holds %lld rows; the review: %s; raw statements: day load "
                "%.3f ms, the review's query %.1f ms)\n",
                database.Backend(), static_cast<long long>(out->dayRows), qPrintable(out->reviewed),
                out->rawDayLoadMs, out->rawReviewMs);
    return true;
}

void Compare(const char* backend, const char* what, double small, double large)
{
    PrintFigure(backend, what, small > 0 ? large / small : 0, "x", 2);
}

const bool s_registered = RegisterScaleSection(
    {"daily", "the time sheet's open, day load and switch, a save and a month's review",
     [](const CScaleBackend& backend) {
         PrintLoad("daily");
         QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
         QApplication::setApplicationName(QLatin1String(kProfileApplication));
         RegisterControlsBeside(QCoreApplication::applicationDirPath());
         CScaleDatabase small;
         CScaleDatabase large;
         CDailyFigures atSmall;
         CDailyFigures atLarge;
         if (!backend.Database(kSmallRows, &small) || !backend.Database(ScaleRows(), &large) ||
             !Measure(small, &atSmall) || !Measure(large, &atLarge))
             return;
         const char* name = backend.Name();
         Compare(name, "time sheet open, at scale / at 100,000", atSmall.openMs, atLarge.openMs);
         Compare(name, "day load, at scale / at 100,000", atSmall.dayLoadMs, atLarge.dayLoadMs);
         Compare(name, "day switch, at scale / at 100,000", atSmall.daySwitchMs,
                 atLarge.daySwitchMs);
         Compare(name, "block save, at scale / at 100,000", atSmall.saveMs, atLarge.saveMs);
         Compare(name, "month's review, at scale / at 100,000", atSmall.reviewMs, atLarge.reviewMs);
     }});

} // namespace
