#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "bench/RawSqlite.h"
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>

// Saving one new time block through the facade (validation, overlap test,
// write, undo step, day cache) on the million-row database, beside the same
// statements prepared once: on SQLite a transaction doing the overlap SELECT
// and the INSERT through SQLite's own interface, once with the file on disk
// (where fsync dominates) and once on tmpfs (where the program's own work
// shows); on PostgreSQL the stored function the facade calls, through libpq.

namespace {

constexpr int kEmployee = 23;
constexpr int kRuns = 200;
// Blocks go late in the evening, after every generated one; each save gets a
// working day of its own.
constexpr int kFacadeTimeId = 901;
constexpr int kRawTimeId = 902;
constexpr int kFacadeStart = 22 * 60;
constexpr int kRawStart = 22 * 60 + 30;
constexpr int kLength = 30;

const char* kOverlapSql = "SELECT TimeID FROM tblTimeSheet WHERE EmpID = ?1 AND WorkDate = ?2 AND "
                          "TimeID <> ?3 AND StartTime < ?4 AND StopTime > ?5 LIMIT 1";
const char* kInsertSql =
    "INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, "
    "HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID, ObjectID) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, NULL, NULL, NULL)";

// What the employee books on.
struct CBooking {
    int projId = 0;
    int orderId = 0;
    int taskId = 0;
    double rate = 0;
};

QList<QDate> WorkingDays()
{
    QList<QDate> days;
    for (QDate d(kBenchFirstYear, 1, 1); d < QDate(kBenchFirstYear + 5, 1, 1); d = d.addDays(1))
        if (d.dayOfWeek() <= 5)
            days << d;
    return days;
}

std::string Iso(const QDate& day, int minute)
{
    return CDateTime(day).AddSecs(minute * 60).ToIsoText().toStdString();
}

bool FindBooking(CDBConnection& connection, CBooking* booking)
{
    CQueryResult rows;
    if (!CSqlExecutor::RunNative(
            connection,
            QStringLiteral("SELECT t.ProjID, t.OrderID, t.TaskID, o.OrderHourRate FROM "
                           "tblTimeSheet t JOIN tblProjectOrderBook o ON o.OrderID = t.OrderID "
                           "WHERE t.EmpID = ? ORDER BY t.TimesheetID LIMIT 1"),
            {kEmployee}, &rows, nullptr) ||
        rows.rows == 0)
        return false;
    *booking = {rows.Value(0, 0).toInt(), rows.Value(0, 1).toInt(), rows.Value(0, 2).toInt(),
                rows.Value(0, 3).toDouble()};
    return true;
}

// One facade save a call, each on the next working day.
class CFacadeSaver {
public:
    CFacadeSaver(CDBClass& db, const CBooking& booking, const QList<QDate>& days)
        : m_db(db)
        , m_booking(booking)
        , m_days(days)
    {}
    int failures = 0;

    void operator()()
    {
        const QDate day = m_days.at(m_next++);
        // The time-sheet window holds the day it saves on.
        m_db.SetDayKey(CDateTime(day), kEmployee);
        CTimeSheetWrite e;
        e.WorkDate = CDateTime(day);
        e.EmpID = kEmployee;
        e.ProjID = m_booking.projId;
        e.OrderID = m_booking.orderId;
        e.TaskID = m_booking.taskId;
        e.OrderHourRate = static_cast<float>(m_booking.rate);
        e.Start = kFacadeStart;
        e.Stop = kFacadeStart + kLength;
        e.Comment = QStringLiteral("Benchmark block");
        e.TimeID = kFacadeTimeId;
        if (m_db.UpdateTimeData(nullptr, e) != kWriteOk)
            ++failures;
    }

private:
    CDBClass& m_db;
    CBooking m_booking;
    QList<QDate> m_days;
    int m_next = 0;
};

// The same through SQLite's own interface, statements prepared once.
class CRawSqliteSaver {
public:
    CRawSqliteSaver(const QString& file, const CBooking& booking, const QList<QDate>& days)
        : m_booking(booking)
        , m_days(days)
    {
        m_db = OpenRawSqlite(file, SQLITE_OPEN_READWRITE);
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_prepare_v2(m_db, kOverlapSql, -1, &m_overlap, nullptr);
        sqlite3_prepare_v2(m_db, kInsertSql, -1, &m_insert, nullptr);
    }
    ~CRawSqliteSaver()
    {
        sqlite3_finalize(m_overlap);
        sqlite3_finalize(m_insert);
        sqlite3_close(m_db);
    }
    CRawSqliteSaver(const CRawSqliteSaver&) = delete;
    CRawSqliteSaver& operator=(const CRawSqliteSaver&) = delete;
    int failures = 0;

    void operator()()
    {
        const QDate day = m_days.at(m_next++);
        const std::string date = Iso(day, 0);
        const std::string start = Iso(day, kRawStart);
        const std::string stop = Iso(day, kRawStart + kLength);
        sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_bind_int(m_overlap, 1, kEmployee);
        sqlite3_bind_text(m_overlap, 2, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(m_overlap, 3, kRawTimeId);
        sqlite3_bind_text(m_overlap, 4, stop.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(m_overlap, 5, start.c_str(), -1, SQLITE_TRANSIENT);
        const bool clash = sqlite3_step(m_overlap) == SQLITE_ROW;
        sqlite3_reset(m_overlap);
        bool ok = !clash;
        if (ok) {
            const double hours = kLength / 60.0;
            sqlite3_bind_int(m_insert, 1, kEmployee);
            sqlite3_bind_int(m_insert, 2, m_booking.projId);
            sqlite3_bind_int(m_insert, 3, m_booking.orderId);
            sqlite3_bind_text(m_insert, 4, date.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(m_insert, 5, start.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(m_insert, 6, stop.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(m_insert, 7, hours);
            sqlite3_bind_int(m_insert, 8, m_booking.taskId);
            sqlite3_bind_text(m_insert, 9, "Benchmark block", -1, SQLITE_STATIC);
            sqlite3_bind_double(m_insert, 10, m_booking.rate * hours);
            sqlite3_bind_int(m_insert, 11, 1);
            sqlite3_bind_int(m_insert, 12, kRawTimeId);
            ok = sqlite3_step(m_insert) == SQLITE_DONE;
            sqlite3_reset(m_insert);
        }
        sqlite3_exec(m_db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
        if (!ok)
            ++failures;
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_overlap = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    CBooking m_booking;
    QList<QDate> m_days;
    int m_next = 0;
};

// The same through libpq: the stored function the facade calls, prepared once.
class CRawPgSaver {
public:
    CRawPgSaver(const QByteArray& conninfo, const CBooking& booking, const QList<QDate>& days)
        : m_booking(booking)
        , m_days(days)
    {
        m_conn = PQconnectdb(conninfo.constData());
        PQclear(PQprepare(m_conn, "insert",
                          "SELECT * FROM sp_TimeSheetInsert($1, $2, $3, $4, $5, $6, $7, $8, $9, "
                          "$10, $11, $12, $13, $14, $15)",
                          15, nullptr));
    }
    ~CRawPgSaver() { PQfinish(m_conn); }
    CRawPgSaver(const CRawPgSaver&) = delete;
    CRawPgSaver& operator=(const CRawPgSaver&) = delete;
    int failures = 0;

    void operator()()
    {
        const QDate day = m_days.at(m_next++);
        const std::string date = Iso(day, 0);
        const std::string start = Iso(day, kRawStart);
        const std::string stop = Iso(day, kRawStart + kLength);
        const std::string emp = std::to_string(kEmployee);
        const std::string timeId = std::to_string(kRawTimeId);
        const double hours = kLength / 60.0;
        const std::string proj = std::to_string(m_booking.projId);
        const std::string order = std::to_string(m_booking.orderId);
        const std::string task = std::to_string(m_booking.taskId);
        const std::string hoursText = std::to_string(hours);
        const std::string cost = std::to_string(m_booking.rate * hours);
        const char* values[] = {
            emp.c_str(),  proj.c_str(),      order.c_str(), date.c_str(),      start.c_str(),
            stop.c_str(), hoursText.c_str(), task.c_str(),  "Benchmark block", cost.c_str(),
            "1",          timeId.c_str(),    nullptr,       nullptr,           nullptr};
        PGresult* r = PQexecPrepared(m_conn, "insert", 15, values, nullptr, nullptr, 0);
        const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                        QByteArray(PQgetvalue(r, 0, 1)) == "0";
        PQclear(r);
        if (!ok)
            ++failures;
    }

private:
    PGconn* m_conn = nullptr;
    CBooking m_booking;
    QList<QDate> m_days;
    int m_next = 0;
};

void Report(const char* label, const BenchPair& pair, int facadeFailures, int rawFailures)
{
    std::printf("[%s] block save: facade %.3f ms, raw %.3f ms\n", label, pair.subjectMs,
                pair.baselineMs);
    PrintPair("  block save (validate, overlap, write, undo, cache)", pair, 1.5);
    if (facadeFailures + rawFailures > 0)
        std::printf("  FAILED saves: facade %d, raw %d\n", facadeFailures, rawFailures);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_save");
    QString error;
    const CGeneratorOptions options;
    const QString cached = BenchDatabaseFile(options, &error);
    if (cached.isEmpty()) {
        std::fprintf(stderr, "bench_save: %s\n", qPrintable(error));
        return 1;
    }
    const QList<QDate> days = WorkingDays();
    const QString source = CConnectionString(cached).Value(QStringLiteral("Data Source"));
    // Saves go into copies, so the generated file stays as other benchmarks
    // expect it.
    const struct {
        const char* label;
        QString file;
    } places[] = {
        {"SQLite on disk", QFileInfo(source).absolutePath() + QStringLiteral("/bench-save.db")},
        {"SQLite on tmpfs", QStringLiteral("/dev/shm/kelvane-bench-save-%1.db")
                                .arg(QCoreApplication::applicationPid())},
    };
    for (const auto& place : places) {
        const QString& file = place.file;
        if (!QFileInfo(file).absoluteDir().exists())
            continue;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(file + QLatin1String(suffix));
        if (!QFile::copy(source, file)) {
            std::fprintf(stderr, "bench_save: cannot copy %s\n", qPrintable(source));
            return 1;
        }
        {
            CDBClass db;
            db.Connection()->UseConnectionString(CConnectionString::SqliteString(file));
            CBooking booking;
            if (!db.OpenConnection() || !FindBooking(*db.Connection(), &booking)) {
                std::fprintf(stderr, "bench_save: cannot open %s\n", qPrintable(file));
                return 1;
            }
            CFacadeSaver facade(db, booking, days);
            CRawSqliteSaver raw(file, booking, days);
            const BenchPair pair = TimePair(kRuns, std::ref(facade), std::ref(raw));
            Report(place.label, pair, facade.failures, raw.failures);
            db.ReleaseConnection(true, true);
        }
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(file + QLatin1String(suffix));
    }

    CBenchServerDatabase server;
    if (int exitCode = 0; !BenchServerOrExit("bench_save", options, false, &server, &exitCode))
        return exitCode;
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    CBooking booking;
    if (!db.OpenConnection() || !FindBooking(*db.Connection(), &booking))
        return 1;
    {
        CFacadeSaver facade(db, booking, days);
        CRawPgSaver raw(server.conninfo, booking, days);
        const BenchPair pair = TimePair(kRuns, std::ref(facade), std::ref(raw));
        Report("PostgreSQL", pair, facade.failures, raw.failures);
    }
    // The server's database is shared with the other benchmarks: leave it as found.
    CSqlExecutor::RunNative(*db.Connection(),
                            QStringLiteral("DELETE FROM tblTimeSheet WHERE EmpID = ? AND TimeID IN "
                                           "(?, ?)"),
                            {kEmployee, kFacadeTimeId, kRawTimeId}, nullptr, nullptr);
    db.ReleaseConnection(true, true);
    return 0;
}
