#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/SqliteFunctions.h"

#include <QCoreApplication>

#include "bench/RawSqlite.h"
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>

// The facade's day load (the day's rows and the employee's project list)
// and its overlap test on the million-row database, beside the same SQL
// through SQLite's own interface and through libpq, each statement prepared
// once as the facade's are.

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

// The raw statements, prepared once.
class CRawSqlite {
public:
    explicit CRawSqlite(sqlite3* db)
        : m_db(db)
    {
        sqlite3_prepare_v2(db, kDaySql, -1, &m_day, nullptr);
        sqlite3_prepare_v2(db, kProjectSql, -1, &m_projects, nullptr);
    }
    ~CRawSqlite()
    {
        sqlite3_finalize(m_day);
        sqlite3_finalize(m_projects);
    }
    CRawSqlite(const CRawSqlite&) = delete;
    CRawSqlite& operator=(const CRawSqlite&) = delete;

    qint64 DayLoad()
    {
        qint64 sum = 0;
        for (sqlite3_stmt* stmt : {m_day, m_projects}) {
            sqlite3_bind_int(stmt, 1, kEmployee);
            if (stmt == m_day)
                sqlite3_bind_text(stmt, 2, "2023-05-16 00:00:00", -1, SQLITE_STATIC);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                    sum += sqlite3_column_type(stmt, c) == SQLITE_TEXT
                               ? sqlite3_column_bytes(stmt, c)
                               : sqlite3_column_int64(stmt, c);
            sqlite3_reset(stmt);
        }
        return sum;
    }

    bool Overlap(int a, int b)
    {
        sqlite3_bind_int(m_day, 1, kEmployee);
        sqlite3_bind_text(m_day, 2, "2023-05-16 00:00:00", -1, SQLITE_STATIC);
        bool clash = false;
        while (!clash && sqlite3_step(m_day) == SQLITE_ROW) {
            const int start = Minutes(sqlite3_column_text(m_day, 5));
            const int stop = Minutes(sqlite3_column_text(m_day, 6));
            clash =
                (a <= start && start < b) || (a < stop && stop <= b) || (start <= a && b <= stop);
        }
        sqlite3_reset(m_day);
        return clash;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_day = nullptr;
    sqlite3_stmt* m_projects = nullptr;
};

class CRawPg {
public:
    explicit CRawPg(PGconn* conn)
        : m_conn(conn)
    {
        PQclear(PQprepare(conn, "day",
                          "SELECT * FROM tblTimeSheet WHERE EmpID = $1 AND WorkDate = $2 ORDER BY "
                          "TimeID",
                          2, nullptr));
        PQclear(PQprepare(conn, "projects",
                          "SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject WHERE "
                          "EmpID = $1 ORDER BY ProjName",
                          1, nullptr));
        PQclear(PQprepare(conn, "overlap",
                          "SELECT StartTime, StopTime FROM tblTimeSheet WHERE EmpID = $1 AND "
                          "WorkDate = $2",
                          2, nullptr));
    }

    qint64 DayLoad()
    {
        qint64 sum = 0;
        const QByteArray emp = QByteArray::number(kEmployee);
        const char* values[] = {emp.constData(), "2023-05-16 00:00:00"};
        for (const char* name : {"day", "projects"}) {
            PGresult* r = PQexecPrepared(m_conn, name, qstrcmp(name, "day") == 0 ? 2 : 1, values,
                                         nullptr, nullptr, 0);
            for (int row = 0; row < PQntuples(r); ++row)
                for (int c = 0; c < PQnfields(r); ++c)
                    sum += PQgetlength(r, row, c);
            PQclear(r);
        }
        return sum;
    }

    qint64 Overlap()
    {
        const QByteArray emp = QByteArray::number(kEmployee);
        const char* values[] = {emp.constData(), "2023-05-16 00:00:00"};
        PGresult* r = PQexecPrepared(m_conn, "overlap", 2, values, nullptr, nullptr, 0);
        const qint64 rows = PQntuples(r);
        PQclear(r);
        return rows;
    }

private:
    PGconn* m_conn;
};

void Run(const char* label, CDBClass& db, const std::function<void()>& baselineLoad,
         const std::function<void()>& baselineOverlap)
{
    const auto facadeLoad = [&] {
        db.ResetDayKey();
        db.LoadDayTimeSheets(kDay, kEmployee);
        db.ClearProjects();
        db.LoadProjects(kEmployee);
    };
    const BenchPair load = TimePair(200, facadeLoad, baselineLoad);
    std::printf("[%s] day load: %lld rows and %lld projects, %.3f ms per load (target under 10 "
                "ms)\n",
                label, static_cast<long long>(db.DayEntries().size()),
                static_cast<long long>(db.Projects().size()), load.subjectMs);
    PrintPair("  day load (rows and project list)", load, 1.5);
    const BenchPair overlap = TimePair(
        200, [&] { db.CheckTimeOverlap(kDay, kEmployee, 600, 660, -1); }, baselineOverlap);
    PrintPair("  overlap test of a new block", overlap, 2.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_facade");
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
        sqlite3* raw =
            OpenRawSqlite(CConnectionString(fileString).Value(QStringLiteral("Data Source")),
                          SQLITE_OPEN_READONLY);
        RegisterSqliteFunctions(raw);
        qint64 sink = 0;
        {
            CRawSqlite statements(raw);
            Run(
                "SQLite", db, [&] { sink += statements.DayLoad(); },
                [&] { sink += statements.Overlap(600, 660); });
        }
        sqlite3_close(raw);
        db.ReleaseConnection(true, true);
    }

    // The server: the same data generated into a database of the test server.
    CBenchServerDatabase server;
    if (int exitCode = 0; !BenchServerOrExit("bench_facade", options, false, &server, &exitCode))
        return exitCode;
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection())
        return 1;
    PGconn* raw = PQconnectdb(server.conninfo.constData());
    qint64 sink = 0;
    {
        CRawPg statements(raw);
        Run(
            "PostgreSQL", db, [&] { sink += statements.DayLoad(); },
            [&] { sink += statements.Overlap(); });
    }
    PQfinish(raw);
    return 0;
}
