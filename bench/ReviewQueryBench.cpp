#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqliteFunctions.h"
#include "data/records/HoursSumSet.h"

#include <QCoreApplication>
#include <QHash>

#include "bench/RawSqlite.h"
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

// The week review's query for all employees over a year of the generated
// million-row database: the hours per project, task, day and employee read
// through the record class as the review reads them (its filter, forward
// only), beside the faster of two hand-written statements giving the same
// records in the same order, prepared once, the dates inside: the rows joined
// to their names and grouped by ids, and the rows grouped by ids first with
// the names joined to the groups (the saved query takes one form or the other
// by back end). For reference, also the totals grouped by ids alone with the names
// looked up by the client (three statements, names not in the records).

namespace {

const CDateTime kFirst(2023, 1, 1);
const CDateTime kLast(2023, 12, 31);

// Joined first, then grouped by ids.
const char* kJoinFirstSql =
    "SELECT p.ProjName, k.Task, t.WorkDate, substr(CAST(t.WorkDate AS TEXT), 1, 10) AS DateStr, "
    "t.EmpID, SUM(CAST(t.HoursWorked AS DOUBLE PRECISION)), t.ProjID, t.TaskID FROM tblTimeSheet t "
    "LEFT JOIN tblProject p ON p.ProjID = t.ProjID LEFT JOIN tblProjectTask k ON k.TaskID = "
    "t.TaskID WHERE t.WorkDate BETWEEN $1 AND $2 GROUP BY t.ProjID, t.TaskID, t.WorkDate, t.EmpID, "
    "p.ProjID, k.TaskID ORDER BY t.ProjID, t.TaskID, t.WorkDate, t.EmpID, p.ProjID, k.TaskID";
// Grouped by ids first, the names joined to the groups.
const char* kGroupFirstSql =
    "SELECT p.ProjName, k.Task, g.WorkDate, substr(CAST(g.WorkDate AS TEXT), 1, 10) AS DateStr, "
    "g.EmpID, g.SumOfHoursWorked, g.ProjID, g.TaskID FROM (SELECT ProjID, TaskID, WorkDate, EmpID, "
    "SUM(CAST(HoursWorked AS DOUBLE PRECISION)) AS SumOfHoursWorked FROM tblTimeSheet WHERE "
    "WorkDate BETWEEN $1 AND $2 GROUP BY ProjID, TaskID, WorkDate, EmpID) g LEFT JOIN tblProject p "
    "ON p.ProjID = g.ProjID LEFT JOIN tblProjectTask k ON k.TaskID = g.TaskID ORDER BY g.ProjID, "
    "g.TaskID, g.WorkDate, g.EmpID";
const char* kTotalsSql =
    "SELECT ProjID, TaskID, WorkDate, EmpID, SUM(CAST(HoursWorked AS DOUBLE PRECISION)) FROM "
    "tblTimeSheet WHERE WorkDate BETWEEN $1 AND $2 GROUP BY ProjID, TaskID, WorkDate, EmpID ORDER "
    "BY ProjID, TaskID, WorkDate, EmpID";
const char* kProjectNamesSql = "SELECT ProjID, ProjName FROM tblProject";
const char* kTaskNamesSql = "SELECT TaskID, Task FROM tblProjectTask";

// What a grid makes of the rows: a row per project and task, the hours.
struct CGridSum {
    qint64 rows = 0;
    qint64 gridRows = 0;
    double hours = 0;
    qint64 textBytes = 0;
};

CGridSum ReviewThroughRecord(CDBConnection& conn, CursorMode mode)
{
    CHoursSumSet set(&conn);
    set.Recordset()->SetCursorMode(mode);
    const QString filter = QStringLiteral("[WorkDate] BETWEEN %1 AND %2")
                               .arg(conn.Dialect().DateLiteral(kFirst, false),
                                    conn.Dialect().DateLiteral(kLast, false));
    CGridSum sum;
    if (!set.OpenTableWithQuery(nullptr, filter, QString()))
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

// ---- SQLite ------------------------------------------------------------------

std::string SqliteText(const char* sql)
{
    // $1, $2 read as ?1, ?2.
    std::string text(sql);
    for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at))
        text[at] = '?';
    return text;
}

class CRawSqlite {
public:
    explicit CRawSqlite(const QString& file)
    {
        m_db = OpenRawSqlite(file, SQLITE_OPEN_READONLY);
        RegisterSqliteFunctions(m_db);
        sqlite3_prepare_v2(m_db, SqliteText(kJoinFirstSql).c_str(), -1, &m_view[0], nullptr);
        sqlite3_prepare_v2(m_db, SqliteText(kGroupFirstSql).c_str(), -1, &m_view[1], nullptr);
        sqlite3_prepare_v2(m_db, SqliteText(kTotalsSql).c_str(), -1, &m_totals, nullptr);
        sqlite3_prepare_v2(m_db, kProjectNamesSql, -1, &m_projects, nullptr);
        sqlite3_prepare_v2(m_db, kTaskNamesSql, -1, &m_tasks, nullptr);
    }
    ~CRawSqlite()
    {
        for (sqlite3_stmt* s : {m_view[0], m_view[1], m_totals, m_projects, m_tasks})
            sqlite3_finalize(s);
        sqlite3_close(m_db);
    }
    CRawSqlite(const CRawSqlite&) = delete;
    CRawSqlite& operator=(const CRawSqlite&) = delete;

    CGridSum View(int form)
    {
        sqlite3_stmt* view = m_view[form];
        Bind(view);
        CGridSum sum;
        std::string project;
        std::string task;
        while (sqlite3_step(view) == SQLITE_ROW) {
            ++sum.rows;
            const char* p = reinterpret_cast<const char*>(sqlite3_column_text(view, 0));
            const char* k = reinterpret_cast<const char*>(sqlite3_column_text(view, 1));
            sum.textBytes += sqlite3_column_bytes(view, 2) + sqlite3_column_bytes(view, 3);
            if (project != (p ? p : "") || task != (k ? k : "")) {
                ++sum.gridRows;
                project = p ? p : "";
                task = k ? k : "";
            }
            sum.hours += sqlite3_column_double(view, 5) + sqlite3_column_int(view, 4) * 0;
        }
        sqlite3_reset(view);
        return sum;
    }

    CGridSum Totals()
    {
        QHash<int, std::string> projects = Names(m_projects);
        QHash<int, std::string> tasks = Names(m_tasks);
        Bind(m_totals);
        CGridSum sum;
        int project = -1;
        int task = -1;
        while (sqlite3_step(m_totals) == SQLITE_ROW) {
            ++sum.rows;
            const int p = sqlite3_column_int(m_totals, 0);
            const int k = sqlite3_column_int(m_totals, 1);
            sum.textBytes += sqlite3_column_bytes(m_totals, 2);
            if (p != project || k != task) {
                ++sum.gridRows;
                project = p;
                task = k;
                sum.textBytes += projects.value(p).size() + tasks.value(k).size();
            }
            sum.hours += sqlite3_column_double(m_totals, 4) + sqlite3_column_int(m_totals, 3) * 0;
        }
        sqlite3_reset(m_totals);
        return sum;
    }

private:
    void Bind(sqlite3_stmt* stmt)
    {
        m_from = kFirst.ToIsoText().toStdString();
        m_to = kLast.ToIsoText().toStdString();
        sqlite3_bind_text(stmt, 1, m_from.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, m_to.c_str(), -1, SQLITE_STATIC);
    }
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

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_view[2] = {};
    sqlite3_stmt* m_totals = nullptr;
    sqlite3_stmt* m_projects = nullptr;
    sqlite3_stmt* m_tasks = nullptr;
    std::string m_from;
    std::string m_to;
};

// ---- PostgreSQL ---------------------------------------------------------------

class CRawPg {
public:
    explicit CRawPg(const QByteArray& conninfo)
        : m_conn(PQconnectdb(conninfo.constData()))
    {
        PQclear(PQprepare(m_conn, "view0", kJoinFirstSql, 2, nullptr));
        PQclear(PQprepare(m_conn, "view1", kGroupFirstSql, 2, nullptr));
        PQclear(PQprepare(m_conn, "totals", kTotalsSql, 2, nullptr));
        PQclear(PQprepare(m_conn, "projects", kProjectNamesSql, 0, nullptr));
        PQclear(PQprepare(m_conn, "tasks", kTaskNamesSql, 0, nullptr));
    }
    ~CRawPg() { PQfinish(m_conn); }
    CRawPg(const CRawPg&) = delete;
    CRawPg& operator=(const CRawPg&) = delete;

    CGridSum View(int form)
    {
        PGresult* r = Exec(form == 0 ? "view0" : "view1");
        CGridSum sum;
        std::string project;
        std::string task;
        for (int row = 0; row < PQntuples(r); ++row) {
            ++sum.rows;
            const char* p = PQgetvalue(r, row, 0);
            const char* k = PQgetvalue(r, row, 1);
            sum.textBytes += PQgetlength(r, row, 2) + PQgetlength(r, row, 3);
            if (project != p || task != k) {
                ++sum.gridRows;
                project = p;
                task = k;
            }
            sum.hours += std::strtod(PQgetvalue(r, row, 5), nullptr) +
                         std::strtol(PQgetvalue(r, row, 4), nullptr, 10) * 0;
        }
        PQclear(r);
        return sum;
    }

    CGridSum Totals()
    {
        const QHash<int, std::string> projects = Names("projects");
        const QHash<int, std::string> tasks = Names("tasks");
        PGresult* r = Exec("totals");
        CGridSum sum;
        int project = -1;
        int task = -1;
        for (int row = 0; row < PQntuples(r); ++row) {
            ++sum.rows;
            const int p = std::atoi(PQgetvalue(r, row, 0));
            const int k = std::atoi(PQgetvalue(r, row, 1));
            sum.textBytes += PQgetlength(r, row, 2);
            if (p != project || k != task) {
                ++sum.gridRows;
                project = p;
                task = k;
                sum.textBytes += projects.value(p).size() + tasks.value(k).size();
            }
            sum.hours +=
                std::strtod(PQgetvalue(r, row, 4), nullptr) + std::atoi(PQgetvalue(r, row, 3)) * 0;
        }
        PQclear(r);
        return sum;
    }

private:
    PGresult* Exec(const char* name)
    {
        const std::string from = kFirst.ToIsoText().toStdString();
        const std::string to = kLast.ToIsoText().toStdString();
        const char* values[] = {from.c_str(), to.c_str()};
        return PQexecPrepared(m_conn, name, 2, values, nullptr, nullptr, 0);
    }
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

// The faster of the two hand-written forms, chosen on a warm run of each.
int BestForm(const std::function<CGridSum(int)>& view)
{
    qint64 best = 0;
    int form = 0;
    for (int f = 0; f < 2; ++f) {
        view(f);
        QElapsedTimer t;
        t.start();
        view(f);
        if (f == 0 || t.nsecsElapsed() < best) {
            best = t.nsecsElapsed();
            form = f;
        }
    }
    return form;
}

void Compare(const char* label, CDBConnection& conn, const std::function<CGridSum(int)>& view,
             const std::function<CGridSum()>& totals)
{
    const int form = BestForm(view);
    CGridSum ours;
    CGridSum theirs;
    const BenchPair pair = TimePair(
        5, [&] { ours = ReviewThroughRecord(conn, CursorMode::ForwardOnly); },
        [&] { theirs = view(form); });
    std::printf("[%s] %lld rows in %lld grid rows, %.0f hours (raw: %lld rows, %lld grid rows, "
                "%.0f hours; %s)\n",
                label, static_cast<long long>(ours.rows), static_cast<long long>(ours.gridRows),
                ours.hours, static_cast<long long>(theirs.rows),
                static_cast<long long>(theirs.gridRows), theirs.hours,
                form == 0 ? "joined first, grouped by ids" : "grouped by ids, names joined after");
    PrintPair("  week review of all employees over a year", pair, 1.5);
    const BenchPair reference = TimePair(
        5, [&] { ours = ReviewThroughRecord(conn, CursorMode::ForwardOnly); },
        [&] { theirs = totals(); });
    std::printf("  (beside totals by ids with the names looked up by the client: %.2f ms, ratio "
                "%.2f)\n",
                reference.baselineMs, reference.Ratio());
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
            CRawSqlite raw(file);
            Compare(
                "SQLite", conn, [&](int form) { return raw.View(form); },
                [&] { return raw.Totals(); });
        },
        [](CDBConnection& conn, const CBenchServerDatabase& server) {
            CRawPg raw(server.conninfo);
            Compare(
                "PostgreSQL", conn, [&](int form) { return raw.View(form); },
                [&] { return raw.Totals(); });
        });
}
