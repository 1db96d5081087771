#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "data/SqliteFunctions.h"
#include "platform/MessageBox.h"
#include "review/ExportTimeSheetsDlg.h"
#include "review/ImportTimeSheetsDlg.h"
#include "review/TimeSheetFile.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Importing a time-sheet file of 100,000 lines, a tenth of them over booked
// rows, into the generated million-row database through the Import dialog,
// beside loading the same lines into a plain table with the database's own
// bulk loader (the sqlite3 shell's .import, PostgreSQL's COPY) and writing
// the lines that overlap no booked row to the time sheet with one set-based
// statement in the order of the table's index, committed, in the same run. Then the export of about
// 100,000 rows through the Export dialog.

namespace {

constexpr int kLines = 100000;
constexpr int kOverlapping = kLines / 10;
// BENCH_IMPORT_LINES=1000000: one import of that many lines on each back
// end, its time and its longest statement, against the statement limit.
int LineCount()
{
    const int lines = qEnvironmentVariableIntValue("BENCH_IMPORT_LINES");
    return lines > 0 ? lines : kLines;
}
constexpr int kTimeId = 100;
constexpr int kRuns = 5;
constexpr int kEmployees = 200;
constexpr int kProjects = 1000;

QList<QDate> WorkingDays(int count = 1000)
{
    QList<QDate> days;
    for (QDate d(kBenchFirstYear, 1, 1); days.size() < count; d = d.addDays(1))
        if (d.dayOfWeek() <= 5)
            days << d;
    return days;
}

// The generated days run from 08:00 for four to nine hours: 20:00 is free,
// 08:00 never is.
QByteArray MakeFile(const QString& database, int lines = kLines)
{
    const QList<QDate> days = WorkingDays(qMax(1000, lines / kEmployees + 1));
    QByteArray text = database.toUtf8() + '\n' + TimeSheetFile::kHeader.toUtf8() + '\n';
    text.reserve(qsizetype(lines) * 150);
    for (int i = 0; i < lines; ++i) {
        const bool overlap = i % 10 == 9;
        const int emp = 1 + i % kEmployees;
        const QDate day = overlap ? days.at(500 + (i / 10) / kEmployees) : days.at(i / kEmployees);
        const int project = 1 + i % kProjects;
        const int hour = overlap ? 8 : 20;
        const QByteArray date = day.toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
        char line[256];
        const int n = std::snprintf(
            line, sizeof line,
            "%d,%d,%d,1.000000,%d,Imported item %d,85.500000,%d,%d,%s %02d:00:00,%s %02d:00:00,"
            "%s,,,\n",
            emp, project, (project - 1) * 2 + 1, (project - 1) * 5 + 1, i, 1 + i % 6, kTimeId,
            date.constData(), hour, date.constData(), hour + 1, date.constData());
        text.append(line, n);
    }
    return text;
}

struct CResult {
    int imported = -1;
    int refused = -1;
};

// Runs a dialog as a user would: `prepare` fills it in, OK is timed, `read`
// takes what it did; then the dialog is closed.
template <typename Dialog>
double TimeOk(CDBClass& db, const std::function<void(Dialog&)>& prepare,
              const std::function<void(Dialog&)>& read)
{
    struct CUser : IModalHook {
        std::function<void(Dialog&)> prepare;
        std::function<void(Dialog&)> read;
        double ms = 0;
        int Run(CDialogBase& dialog) override
        {
            auto& dlg = static_cast<Dialog&>(dialog);
            prepare(dlg);
            QElapsedTimer timer;
            timer.start();
            dlg.OnCommand(IDOK);
            ms = timer.nsecsElapsed() / 1e6;
            read(dlg);
            dlg.OnCommand(IDCANCEL);
            return dlg.EndCode();
        }
    } user;
    user.prepare = prepare;
    user.read = read;
    SetModalHook(&user);
    {
        Dialog dlg(db, nullptr);
        dlg.DoModal();
    }
    SetModalHook(nullptr);
    return user.ms;
}

double ImportThroughDialog(CDBClass& db, const QString& file, CResult* result)
{
    return TimeOk<CImportTimeSheetsDlg>(
        db, [&](CImportTimeSheetsDlg& dlg) { dlg.SetFileName(file); },
        [&](CImportTimeSheetsDlg& dlg) {
            *result = {dlg.Imported(), dlg.Refused()};
        });
}

// Exports everybody's rows of a period; `written` gets their number.
double ExportThroughDialog(CDBClass& db, const QString& file, const QDate& first, const QDate& last,
                           int* written)
{
    return TimeOk<CExportTimeSheetsDlg>(
        db,
        [&](CExportTimeSheetsDlg& dlg) {
            dlg.SetFileName(file);
            dlg.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
            dlg.SetPeriod(first, last);
        },
        [&](CExportTimeSheetsDlg& dlg) { *written = dlg.Written(); });
}

// "dd/mm/yyyy[ hh:mm:ss]" to the stored text, in SQLite's SQL.
QString IsoOf(const QString& column, bool withTime)
{
    return QStringLiteral("substr(%1,7,4)||'-'||substr(%1,4,2)||'-'||substr(%1,1,2)||%2")
        .arg(column, withTime ? QStringLiteral("substr(%1,11)").arg(column)
                              : QStringLiteral("' 00:00:00'"));
}

const char* const kPlainColumns =
    "EmpID integer, ProjID integer, OrderID integer, HoursWorked real, TaskID integer, "
    "Comment text, InvCost real, WorkTypeID integer, TimeID integer, StartTime text, "
    "StopTime text, WorkDate text, ObjectTypeID integer, ObjectID integer, InvID integer";

// What the import writes of a line, in the order of its columns.
const char* const kWrittenColumns =
    "EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked, TaskID, Comment, "
    "InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID, ObjectID";

// The sqlite3 shell: .import into a plain table, then the lines that overlap
// no booked row written to the time sheet and committed.
double SqliteShellBaseline(const QString& databaseFile, const QString& file, int* written)
{
    const QString overlap =
        QStringLiteral("EXISTS (SELECT 1 FROM tblTimeSheet t WHERE t.EmpID = i.EmpID AND "
                       "t.WorkDate = %1 AND t.StartTime < %2 AND t.StopTime > %3)")
            .arg(IsoOf(QStringLiteral("i.WorkDate"), false),
                 IsoOf(QStringLiteral("i.StopTime"), true),
                 IsoOf(QStringLiteral("i.StartTime"), true));
    const QString script =
        QStringLiteral("PRAGMA cache_size = -%8;\nCREATE TEMP TABLE imp(%1);\n"
                       ".import --csv --skip 2 %2 imp\nBEGIN;\n"
                       "INSERT INTO tblTimeSheet (%3) SELECT i.EmpID, i.ProjID, i.OrderID, %4, "
                       "%5, %6, i.HoursWorked, i.TaskID, i.Comment, i.InvCost, i.WorkTypeID, "
                       "i.TimeID, NULLIF(i.InvID, ''), NULLIF(i.ObjectTypeID, ''), "
                       "NULLIF(i.ObjectID, '') FROM imp i WHERE NOT %7 ORDER BY i.EmpID, "
                       "%4;\n"
                       "SELECT changes();\nCOMMIT;\n")
            .arg(QLatin1String(kPlainColumns), file, QLatin1String(kWrittenColumns),
                 IsoOf(QStringLiteral("i.WorkDate"), false),
                 IsoOf(QStringLiteral("i.StartTime"), true),
                 IsoOf(QStringLiteral("i.StopTime"), true), overlap)
            .arg(CDBConnection::kSqlitePageCacheKb);
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {databaseFile});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const double ms = timer.nsecsElapsed() / 1e6;
    *written = shell.readAllStandardOutput().trimmed().toInt();
    return ms;
}

// COPY into a plain table through libpq, then the lines that overlap no
// booked row written to the time sheet and committed.
double CopyBaseline(PGconn* conn, const QByteArray& lines, int* written)
{
    QElapsedTimer timer;
    timer.start();
    PQclear(PQexec(conn, "BEGIN"));
    PQclear(PQexec(conn, "SET LOCAL jit = off"));
    PQclear(PQexec(
        conn,
        (std::string("CREATE TEMP TABLE imp(") + kPlainColumns + ") ON COMMIT DROP").c_str()));
    PQclear(PQexec(conn, "COPY imp FROM STDIN (FORMAT csv)"));
    PQputCopyData(conn, lines.constData(), static_cast<int>(lines.size()));
    PQputCopyEnd(conn, nullptr);
    PQclear(PQgetResult(conn));
    const std::string insert =
        std::string("INSERT INTO tblTimeSheet (") + kWrittenColumns +
        ") SELECT i.EmpID, i.ProjID, i.OrderID, d.WorkDate, d.StartTime, d.StopTime, "
        "i.HoursWorked, i.TaskID, i.Comment, i.InvCost, i.WorkTypeID, i.TimeID, i.InvID, "
        "i.ObjectTypeID, i.ObjectID FROM imp i CROSS JOIN LATERAL (SELECT "
        "to_timestamp(i.WorkDate, 'DD/MM/YYYY')::timestamp AS WorkDate, "
        "to_timestamp(i.StartTime, 'DD/MM/YYYY HH24:MI:SS')::timestamp AS StartTime, "
        "to_timestamp(i.StopTime, 'DD/MM/YYYY HH24:MI:SS')::timestamp AS StopTime) d "
        "WHERE NOT EXISTS (SELECT 1 FROM tblTimeSheet t WHERE t.EmpID = i.EmpID AND "
        "t.WorkDate = d.WorkDate AND t.StartTime < d.StopTime AND t.StopTime > d.StartTime) "
        "ORDER BY i.EmpID, d.WorkDate";
    PGresult* r = PQexec(conn, insert.c_str());
    *written = PQresultStatus(r) == PGRES_COMMAND_OK ? std::atoi(PQcmdTuples(r)) : -1;
    if (*written < 0)
        std::fprintf(stderr, "bench_import: %s\n", PQresultErrorMessage(r));
    PQclear(r);
    PQclear(PQexec(conn, "COMMIT"));
    return timer.nsecsElapsed() / 1e6;
}

void Compare(const char* label, const std::function<double(CResult*)>& subject,
             const std::function<double(int*)>& baseline, const std::function<void()>& reset)
{
    std::vector<double> a;
    std::vector<double> b;
    CResult result;
    int written = -1;
    reset();
    baseline(&written); // warm up
    reset();
    subject(&result);
    for (int i = 0; i < kRuns; ++i) {
        // Each starts from the generated rows: neither sees what the other wrote.
        reset();
        b.push_back(baseline(&written));
        reset();
        a.push_back(subject(&result));
    }
    reset();
    std::printf("[%s] %d lines: %d imported, %d refused (baseline: %d written)\n", label, kLines,
                result.imported, result.refused, written);
    PrintPair("  import 100,000 lines (read, check, write, error file)", {MedianOf(a), MedianOf(b)},
              1.5);
    if (result.imported != kLines - kOverlapping || result.imported != written)
        std::printf("  MISMATCH: expected %d imported and written\n", kLines - kOverlapping);
}

void TimeExport(const char* label, CDBClass& db, const QString& file)
{
    // About 100,000 rows: the first 125 working days, 800 rows a day.
    const QList<QDate> days = WorkingDays();
    int written = 0;
    std::vector<double> times;
    ExportThroughDialog(db, file, days.first(), days.at(124), &written);
    for (int i = 0; i < kRuns; ++i)
        times.push_back(ExportThroughDialog(db, file, days.first(), days.at(124), &written));
    std::printf("[%s] export %d rows through the dialog: %.1f ms (median of %d)\n", label, written,
                MedianOf(times), kRuns);
}

// The longest statement of the program's connection while it imports.
struct CLongest {
    double ms = 0;
    std::string sql;
    void Note(double at, const char* text)
    {
        if (at > ms) {
            ms = at;
            sql = std::string(text).substr(0, 90);
        }
    }
};

int OnSqliteProfile(unsigned type, void* context, void* statement, void* nanoseconds)
{
    if (type == SQLITE_TRACE_PROFILE)
        static_cast<CLongest*>(context)->Note(*static_cast<sqlite3_int64*>(nanoseconds) / 1e6,
                                              sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

// The server's view of the program's running statement, looked at every
// 20 ms from a connection of its own.
class CServerWatch {
public:
    explicit CServerWatch(const QByteArray& conninfo)
        : m_thread([this, conninfo] {
            PGconn* conn = PQconnectdb(conninfo.constData());
            while (!m_stop) {
                PGresult* r =
                    PQexec(conn, "SELECT extract(epoch FROM clock_timestamp() - query_start) * "
                                 "1000, left(query, 90) FROM pg_stat_activity WHERE datname = "
                                 "current_database() AND state = 'active' AND pid <> "
                                 "pg_backend_pid() ORDER BY 1 DESC LIMIT 1");
                if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1)
                    longest.Note(std::atof(PQgetvalue(r, 0, 0)), PQgetvalue(r, 0, 1));
                PQclear(r);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            PQfinish(conn);
        })
    {}
    ~CServerWatch() { Stop(); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    CLongest longest;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void PrintOnce(const char* label, int lines, double ms, const CResult& result,
               const CLongest& longest)
{
    std::printf("[%s] import of %d lines once: %.1f s, %d imported, %d refused\n", label, lines,
                ms / 1000, result.imported, result.refused);
    std::printf("  longest statement: %.1f s (limit %.0f s): %s\n", longest.ms / 1000,
                CDBConnection::kCommandTimeoutMs / 1000.0, longest.sql.c_str());
}

} // namespace

// The refused lines' message, answered without a word.
class CQuietMessages : public IMessageBoxHook {
public:
    int Show(const QString&, const QString&, unsigned type) override
    {
        return CautiousAnswer(type);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    PrintLoad("bench_import");
    CQuietMessages quiet;
    SetMessageBoxHook(&quiet);
    QString error;
    const CGeneratorOptions options;
    const QString cached = BenchDatabaseFile(options, &error);
    if (cached.isEmpty()) {
        std::fprintf(stderr, "bench_import: %s\n", qPrintable(error));
        return 1;
    }
    const QString source = CConnectionString(cached).Value(QStringLiteral("Data Source"));
    QTemporaryDir dir(QFileInfo(source).absolutePath() + QStringLiteral("/import-XXXXXX"));
    const QString reset = QStringLiteral("DELETE FROM tblTimeSheet WHERE TimeID = %1").arg(kTimeId);
    {
        // The import writes into a copy, so the generated file stays as
        // other benchmarks expect it.
        const QString file = dir.filePath(QStringLiteral("bench-import.db"));
        if (!QFile::copy(source, file)) {
            std::fprintf(stderr, "bench_import: cannot copy %s\n", qPrintable(source));
            return 1;
        }
        CDBClass db;
        db.Connection()->UseConnectionString(CConnectionString::SqliteString(file));
        if (!db.OpenConnection()) {
            std::fprintf(stderr, "bench_import: cannot open %s\n", qPrintable(file));
            return 1;
        }
        const QString lines = dir.filePath(QStringLiteral("lines-sqlite.txt"));
        QFile out(lines);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(
                MakeFile(CConnectionString(CConnectionString::SqliteString(file)).DatabaseName(),
                         LineCount())) < 0)
            return 1;
        out.close();
        if (LineCount() != kLines) {
            CLongest longest;
            sqlite3_trace_v2(SqliteHandle(db.Connection()->Database()), SQLITE_TRACE_PROFILE,
                             &OnSqliteProfile, &longest);
            CResult result;
            const double ms = ImportThroughDialog(db, lines, &result);
            PrintOnce("SQLite", LineCount(), ms, result, longest);
            sqlite3_trace_v2(SqliteHandle(db.Connection()->Database()), 0, nullptr, nullptr);
        } else {
            Compare(
                "SQLite", [&](CResult* r) { return ImportThroughDialog(db, lines, r); },
                [&](int* written) { return SqliteShellBaseline(file, lines, written); },
                [&] {
                    CSqlExecutor::RunNative(*db.Connection(), reset, {}, nullptr, nullptr);
                    CSqlExecutor::RunNative(*db.Connection(),
                                            QStringLiteral("PRAGMA wal_checkpoint"), {}, nullptr,
                                            nullptr);
                });
        }
        if (LineCount() == kLines)
            TimeExport("SQLite", db, dir.filePath(QStringLiteral("export-sqlite.txt")));
        db.ReleaseConnection(true, true);
    }

    CBenchServerDatabase server;
    if (!BenchServerDatabase(QStringLiteral("kelvane_bench"), options, false, &server, &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_import: %s\n", qPrintable(error));
        return 1;
    }
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection())
        return 1;
    const QByteArray text =
        MakeFile(CConnectionString(server.connectionString).DatabaseName(), LineCount());
    const QString lines = dir.filePath(QStringLiteral("lines-server.txt"));
    QFile out(lines);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) < 0)
        return 1;
    out.close();
    // COPY reads the data lines only.
    const QByteArray data = text.mid(text.indexOf('\n', text.indexOf('\n') + 1) + 1);
    PGconn* conn = PQconnectdb(server.conninfo.constData());
    if (LineCount() != kLines) {
        CResult result;
        double ms = 0;
        CLongest longest;
        {
            CServerWatch watch(server.conninfo);
            ms = ImportThroughDialog(db, lines, &result);
            watch.Stop();
            longest = watch.longest;
        }
        PrintOnce("PostgreSQL", LineCount(), ms, result, longest);
        PQclear(PQexec(conn, reset.toUtf8().constData()));
        PQfinish(conn);
        db.ReleaseConnection(true, true);
        return 0;
    }
    Compare(
        "PostgreSQL", [&](CResult* r) { return ImportThroughDialog(db, lines, r); },
        [&](int* written) { return CopyBaseline(conn, data, written); },
        [&] {
            PQclear(PQexec(conn, reset.toUtf8().constData()));
            PQclear(PQexec(conn, "VACUUM tblTimeSheet"));
        });
    TimeExport("PostgreSQL", db, dir.filePath(QStringLiteral("export-server.txt")));
    PQfinish(conn);
    db.ReleaseConnection(true, true);
    return 0;
}
