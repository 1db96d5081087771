#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/SqliteFunctions.h"

#include <QCoreApplication>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>

// The facade's day load (the day's rows and the employee's project list)
// and its overlap test on the million-row database, beside the same SQL
// through SQLite's own interface and through libpq.

namespace {

const CDateTime kDay(2023, 5, 16);
constexpr int kEmployee = 17;

const char* kDaySql =
    "SELECT * FROM tblTimeSheet WHERE EmpID = ?1 AND WorkDate = ?2 ORDER BY TimeID";
const char* kProjectSql = "SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject WHERE "
                          "EmpID = ?1 ORDER BY ProjName";

int Minutes(const unsigned char* text)
{
    // "yyyy-MM-dd HH:mm:ss"
    return ((text[11] - '0') * 10 + (text[12] - '0')) * 60 + (text[14] - '0') * 10 +
           (text[15] - '0');
}

qint64 RawSqliteDayLoad(sqlite3* db)
{
    qint64 sum = 0;
    for (const char* sql : {kDaySql, kProjectSql}) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        sqlite3_bind_int(stmt, 1, kEmployee);
        if (sql == kDaySql)
            sqlite3_bind_text(stmt, 2, "2023-05-16 00:00:00", -1, SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sum += sqlite3_column_type(stmt, c) == SQLITE_TEXT ? sqlite3_column_bytes(stmt, c)
                                                                   : sqlite3_column_int64(stmt, c);
        sqlite3_finalize(stmt);
    }
    return sum;
}

bool RawSqliteOverlap(sqlite3* db, int a, int b)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, kDaySql, -1, &stmt, nullptr);
    sqlite3_bind_int(stmt, 1, kEmployee);
    sqlite3_bind_text(stmt, 2, "2023-05-16 00:00:00", -1, SQLITE_STATIC);
    bool clash = false;
    while (!clash && sqlite3_step(stmt) == SQLITE_ROW) {
        const int start = Minutes(sqlite3_column_text(stmt, 5));
        const int stop = Minutes(sqlite3_column_text(stmt, 6));
        clash = (a <= start && start < b) || (a < stop && stop <= b) || (start <= a && b <= stop);
    }
    sqlite3_finalize(stmt);
    return clash;
}

qint64 RawPgDayLoad(PGconn* conn)
{
    qint64 sum = 0;
    const QByteArray emp = QByteArray::number(kEmployee);
    for (int q = 0; q < 2; ++q) {
        const char* values[] = {emp.constData(), "2023-05-16 00:00:00"};
        PGresult* r = PQexecParams(
            conn,
            q == 0 ? "SELECT * FROM tblTimeSheet WHERE EmpID = $1 AND WorkDate = $2 ORDER BY TimeID"
                   : "SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject WHERE "
                     "EmpID = $1 ORDER BY ProjName",
            q == 0 ? 2 : 1, nullptr, values, nullptr, nullptr, 0);
        for (int row = 0; row < PQntuples(r); ++row)
            for (int c = 0; c < PQnfields(r); ++c)
                sum += PQgetlength(r, row, c);
        PQclear(r);
    }
    return sum;
}

void Run(const char* label, CDBClass& db, const std::function<void()>& baselineLoad,
         const std::function<void()>& baselineOverlap)
{
    const auto facadeLoad = [&] {
        db.ResetDayKey();
        db.LoadDayTimeSheets(kDay, kEmployee);
        QList<CProjectEntry> projects;
        db.LoadProjects(projects, kEmployee);
    };
    const BenchPair load = TimePair(200, facadeLoad, baselineLoad);
    std::printf("[%s] day load: %lld rows, %.3f ms per load (target under 10 ms)\n", label,
                static_cast<long long>(db.DayEntries().size()), load.subjectMs);
    PrintPair("  day load (rows and project list)", load, 2.0);
    const BenchPair overlap = TimePair(
        200, [&] { db.CheckTimeOverlap(kDay, kEmployee, 600, 660, -1); }, baselineOverlap);
    PrintPair("  overlap test of a new block", overlap, 2.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const CGeneratorOptions options;
    const QString fileString = BenchDatabaseFile(options, &error);
    if (fileString.isEmpty()) {
        std::fprintf(stderr, "bench_facade: %s\n", qPrintable(error));
        return 1;
    }
    {
        CDBClass db;
        db.Connection()->UseConnectionString(fileString);
        if (!db.OpenConnection())
            return 1;
        sqlite3* raw = nullptr;
        sqlite3_open_v2(
            CConnectionString(fileString).Value(QStringLiteral("Data Source")).toUtf8().constData(),
            &raw, SQLITE_OPEN_READONLY, nullptr);
        RegisterSqliteFunctions(raw);
        qint64 sink = 0;
        Run(
            "SQLite", db, [&] { sink += RawSqliteDayLoad(raw); },
            [&] { sink += RawSqliteOverlap(raw, 600, 660); });
        sqlite3_close(raw);
        db.ReleaseConnection(true, true);
    }

    // The server: the same data generated into a database of the test server.
    CBenchServerDatabase server;
    if (!BenchServerDatabase(QStringLiteral("kelvane_bench"), options, true, &server, &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_facade: %s\n", qPrintable(error));
        return 1;
    }
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection())
        return 1;
    PGconn* raw = PQconnectdb(server.conninfo.constData());
    qint64 sink = 0;
    Run(
        "PostgreSQL", db, [&] { sink += RawPgDayLoad(raw); },
        [&] {
            const QByteArray emp = QByteArray::number(kEmployee);
            const char* values[] = {emp.constData(), "2023-05-16 00:00:00"};
            PGresult* r =
                PQexecParams(raw,
                             "SELECT StartTime, StopTime FROM tblTimeSheet WHERE EmpID = $1 AND "
                             "WorkDate = $2",
                             2, nullptr, values, nullptr, nullptr, 0);
            sink += PQntuples(r);
            PQclear(r);
        });
    PQfinish(raw);
    return 0;
}
