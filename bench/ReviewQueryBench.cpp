#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "bench/RawStatement.h"
#include "data/DBConnection.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/HoursSumSet.h"
#include "review/ReviewDlg.h"

#include <QCoreApplication>
#include <QHash>

#include <cstdio>
#include <string>

// The week review window's query for all employees over a year of the
// generated million-row database (the hours per project, task, day and
// employee of the period, sorted by name, task and date): read through the
// record class as the window reads it (its filter, its sort, forward only),
// beside the very statement the window sends, prepared once and read directly
// through SQLite's own interface and through libpq (streamed, as the window
// streams), every column of every row. For reference, also the totals grouped
// by ids alone with the names looked up by the client (three statements, names
// not in the records).

namespace {

const QDate kFirst(2023, 1, 1);
const QDate kLast(2023, 12, 31);

const char* kTotalsSql =
    "SELECT ProjID, TaskID, WorkDate, EmpID, SUM(CAST(HoursWorked AS DOUBLE PRECISION)) FROM "
    "tblTimeSheet WHERE WorkDate >= $1 AND WorkDate < $2 GROUP BY ProjID, TaskID, WorkDate, EmpID "
    "ORDER BY ProjID, TaskID, WorkDate, EmpID";
const char* kProjectNamesSql = "SELECT ProjID, ProjName FROM tblProject";
const char* kTaskNamesSql = "SELECT TaskID, Task FROM tblProjectTask";

// What a grid makes of the rows: a row per project and task, the hours.
struct CGridSum {
    qint64 rows = 0;
    qint64 gridRows = 0;
    double hours = 0;
};

void SelectTheYear(CHoursSumSet& set)
{
    CReviewDlg::SelectGridRecords(set, -1, {kFirst, kLast}, QStringLiteral("All"));
}

CGridSum ReviewThroughRecord(CDBConnection& conn, CursorMode mode)
{
    CHoursSumSet set(&conn);
    SelectTheYear(set);
    set.Recordset()->SetCursorMode(mode);
    CGridSum sum;
    if (!set.OpenTableWithQuery(nullptr, set.Recordset()->Filter(), set.Recordset()->Sort(),
                                set.Recordset()->FilterValues()))
        return sum;
    QString project;
    QString task;
    for (; !set.Recordset()->IsEOF(); set.MoveNext()) {
        ++sum.rows;
        if (set.m_ProjName != project || set.m_Task != task) {
            ++sum.gridRows;
            project = set.m_ProjName;
            task = set.m_Task;
        }
        sum.hours += set.m_SumOfHoursWorked1 + set.m_EmpID * 0 + set.m_WorkDate.Date().day() * 0;
    }
    return sum;
}

// The window's statement and values.
void WindowStatement(CDBConnection& conn, QString* sql, QVariantList* values)
{
    CHoursSumSet set(&conn);
    SelectTheYear(set);
    *sql = ProgramStatement(conn, *set.Recordset());
    *values = ProgramValues(conn, set.Recordset()->FilterValues());
}

std::string Text(const QDate& day)
{
    return CDateTime(day).ToIsoText().toStdString();
}

// ---- SQLite ------------------------------------------------------------------------------

std::string SqliteText(const char* sql)
{
    // $1, $2 read as ?1, ?2.
    std::string text(sql);
    for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at))
        text[at] = '?';
    return text;
}

class CRawSqliteTotals {
public:
    explicit CRawSqliteTotals(sqlite3* db)
    {
        sqlite3_prepare_v2(db, SqliteText(kTotalsSql).c_str(), -1, &m_totals, nullptr);
        sqlite3_prepare_v2(db, kProjectNamesSql, -1, &m_projects, nullptr);
        sqlite3_prepare_v2(db, kTaskNamesSql, -1, &m_tasks, nullptr);
    }
    ~CRawSqliteTotals()
    {
        for (sqlite3_stmt* s : {m_totals, m_projects, m_tasks})
            sqlite3_finalize(s);
    }
    CRawSqliteTotals(const CRawSqliteTotals&) = delete;
    CRawSqliteTotals& operator=(const CRawSqliteTotals&) = delete;

    CGridSum Totals()
    {
        const QHash<int, std::string> projects = Names(m_projects);
        const QHash<int, std::string> tasks = Names(m_tasks);
        const std::string from = Text(kFirst);
        const std::string to = Text(kLast.addDays(1));
        sqlite3_bind_text(m_totals, 1, from.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(m_totals, 2, to.c_str(), -1, SQLITE_STATIC);
        CGridSum sum;
        int project = -1;
        int task = -1;
        qint64 bytes = 0;
        while (sqlite3_step(m_totals) == SQLITE_ROW) {
            ++sum.rows;
            const int p = sqlite3_column_int(m_totals, 0);
            const int k = sqlite3_column_int(m_totals, 1);
            bytes += sqlite3_column_bytes(m_totals, 2);
            if (p != project || k != task) {
                ++sum.gridRows;
                project = p;
                task = k;
                bytes += projects.value(p).size() + tasks.value(k).size();
            }
            sum.hours += sqlite3_column_double(m_totals, 4) + sqlite3_column_int(m_totals, 3) * 0;
        }
        sqlite3_reset(m_totals);
        sum.hours += bytes * 0;
        return sum;
    }

private:
    static QHash<int, std::string> Names(sqlite3_stmt* stmt)
    {
        QHash<int, std::string> names;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            names.insert(sqlite3_column_int(stmt, 0), text ? text : "");
        }
        sqlite3_reset(stmt);
        return names;
    }

    sqlite3_stmt* m_totals = nullptr;
    sqlite3_stmt* m_projects = nullptr;
    sqlite3_stmt* m_tasks = nullptr;
};

// ---- PostgreSQL ---------------------------------------------------------------------------

class CRawPgTotals {
public:
    explicit CRawPgTotals(PGconn* conn)
        : m_conn(conn)
    {
        PQclear(PQprepare(m_conn, "totals", kTotalsSql, 2, nullptr));
        PQclear(PQprepare(m_conn, "projects", kProjectNamesSql, 0, nullptr));
        PQclear(PQprepare(m_conn, "tasks", kTaskNamesSql, 0, nullptr));
    }

    CGridSum Totals()
    {
        const QHash<int, std::string> projects = Names("projects");
        const QHash<int, std::string> tasks = Names("tasks");
        const std::string from = Text(kFirst);
        const std::string to = Text(kLast.addDays(1));
        const char* values[] = {from.c_str(), to.c_str()};
        PGresult* r = PQexecPrepared(m_conn, "totals", 2, values, nullptr, nullptr, 0);
        CGridSum sum;
        int project = -1;
        int task = -1;
        qint64 bytes = 0;
        for (int row = 0; row < PQntuples(r); ++row) {
            ++sum.rows;
            const int p = std::atoi(PQgetvalue(r, row, 0));
            const int k = std::atoi(PQgetvalue(r, row, 1));
            bytes += PQgetlength(r, row, 2);
            if (p != project || k != task) {
                ++sum.gridRows;
                project = p;
                task = k;
                bytes += projects.value(p).size() + tasks.value(k).size();
            }
            sum.hours +=
                std::strtod(PQgetvalue(r, row, 4), nullptr) + std::atoi(PQgetvalue(r, row, 3)) * 0;
        }
        PQclear(r);
        sum.hours += bytes * 0;
        return sum;
    }

private:
    QHash<int, std::string> Names(const char* name)
    {
        PGresult* r = PQexecPrepared(m_conn, name, 0, nullptr, nullptr, nullptr, 0);
        QHash<int, std::string> names;
        for (int row = 0; row < PQntuples(r); ++row)
            names.insert(std::atoi(PQgetvalue(r, row, 0)), PQgetvalue(r, row, 1));
        PQclear(r);
        return names;
    }

    PGconn* m_conn;
};

void Compare(const char* label, CDBConnection& conn, const std::function<qint64(qint64*)>& raw,
             const std::function<CGridSum()>& totals)
{
    CGridSum ours;
    qint64 rawRows = 0;
    qint64 checksum = 0;
    const BenchPair pair = TimePair(
        5, [&] { ours = ReviewThroughRecord(conn, CursorMode::ForwardOnly); },
        [&] { checksum += raw(&rawRows); });
    std::printf("[%s] %lld rows in %lld grid rows, %.0f hours (the statement raw: %lld rows)\n",
                label, static_cast<long long>(ours.rows), static_cast<long long>(ours.gridRows),
                ours.hours, static_cast<long long>(rawRows));
    PrintPair("  the week review's query, all employees over a year", pair, 1.5);
    CGridSum theirs;
    const BenchPair reference = TimePair(
        5, [&] { ours = ReviewThroughRecord(conn, CursorMode::ForwardOnly); },
        [&] { theirs = totals(); });
    std::printf("  (beside totals by ids with the names looked up by the client: %.2f ms, ratio "
                "%.2f; checksum %lld)\n",
                reference.baselineMs, reference.Ratio(), static_cast<long long>(checksum));
    const double grew =
        PeakRssGrowthMb([&] { ours = ReviewThroughRecord(conn, CursorMode::ForwardOnly); });
    PrintMemory("  the same, rows held while reading", grew, 20);
    const double held =
        PeakRssGrowthMb([&] { ours = ReviewThroughRecord(conn, CursorMode::Snapshot); });
    std::printf("  (as a snapshot the rows would hold %.1f MB)\n", held);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_reviewquery");
    return RunOnBothBackEnds(
        "bench_reviewquery",
        [](CDBConnection& conn, const QString& file) {
            sqlite3* db = OpenRawSqlite(file, SQLITE_OPEN_READONLY);
            {
                QString sql;
                QVariantList values;
                WindowStatement(conn, &sql, &values);
                CRawSqliteStatement raw(db, sql, values);
                CRawSqliteTotals totals(db);
                Compare(
                    "SQLite", conn, [&](qint64* rows) { return raw.Read(rows); },
                    [&] { return totals.Totals(); });
            }
            sqlite3_close(db);
        },
        [](CDBConnection& conn, const CBenchServerDatabase& server) {
            PGconn* pg = PQconnectdb(server.conninfo.constData());
            {
                QString sql;
                QVariantList values;
                WindowStatement(conn, &sql, &values);
                CRawPgStatement raw(pg, "review", sql, values);
                CRawPgTotals totals(pg);
                Compare(
                    "PostgreSQL", conn, [&](qint64* rows) { return raw.Read(true, rows); },
                    [&] { return totals.Totals(); });
            }
            PQfinish(pg);
        });
}
