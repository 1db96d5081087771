#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "data/SqlExecutor.h"
#include "timesheet/ScheduleDays.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bench/RawSqlite.h"
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Schedule Time on the generated million-row database: one block copied onto
// every weekday of a year (Schedule without Verify: stage the copies, count
// the clashes, mark them and book the rest, in one transaction), beside the
// same statements run raw in one transaction through SQLite's own interface
// and through libpq.

namespace {

constexpr int kEmployee = 23;
constexpr int kRuns = 31;
// 13:00-14:00: the generated days run from 08:00 for four to nine hours, so
// about half the copies clash.
constexpr int kStart = 13 * 60;
constexpr int kStop = 14 * 60;
constexpr int kTimeId = 10000 + kStart;
// A Sunday: the first day box is Monday, 1 January 2024.
const QDate kBlockDay(2023, 12, 31);
const QDate kLastDay(2024, 12, 31);

const char* kDeleteStaged = "DELETE FROM tblTimeSheet_ImportExport WHERE EmpID = ? AND BatchID = ?";
constexpr int kChunk = CSqlDialect::kStageRowsPerStatement;
const char* kCountClashes = "SELECT * FROM qsumTimeSheetClash WHERE EmpID = ? AND BatchID = ?";
// The baseline's own session number for its staged copies.
constexpr int kRawBatch = 1;

struct CRun {
    int clashes = -1;
    int booked = -1;
};

CScheduleBlock Block(CDBConnection& connection)
{
    CScheduleBlock block;
    block.date = kBlockDay;
    block.copy.EmpID = kEmployee;
    block.copy.Start = kStart;
    block.copy.Stop = kStop;
    block.copy.MinutesWorked = kStop - kStart;
    block.copy.Comment = QStringLiteral("Weekly planning");
    CQueryResult rows;
    if (CSqlExecutor::RunNative(
            connection,
            QStringLiteral("SELECT t.ProjID, t.OrderID, t.TaskID, t.WorkTypeID, o.OrderHourRate "
                           "FROM tblTimeSheet t JOIN tblProjectOrderBook o ON o.OrderID = "
                           "t.OrderID WHERE t.EmpID = ? ORDER BY t.TimesheetID LIMIT 1"),
            {kEmployee}, &rows, nullptr) &&
        rows.rows > 0) {
        block.copy.ProjID = rows.Value(0, 0).toInt();
        block.copy.OrderID = rows.Value(0, 1).toInt();
        block.copy.TaskID = rows.Value(0, 2).toInt();
        block.copy.WorkTypeID = rows.Value(0, 3).toInt();
        block.copy.InvCost = rows.Value(0, 4).toDouble() * block.copy.MinutesWorked / 60;
    }
    return block;
}

QList<QDate> Weekdays()
{
    return ScheduleCopyDays(kBlockDay.addDays(1), kLastDay,
                            {false, true, true, true, true, true, false});
}

std::string Iso(const QDate& day, int minute)
{
    return CDBClass::MinutesOnDay(day, minute).ToIsoText().toStdString();
}

// Runs the dialog through the modal hook: the user ticks Tuesday to Friday
// (Monday is ticked already), sets the year's end and presses Schedule; only
// the Schedule is timed.
class CScheduleUser : public IModalHook {
public:
    double ms = 0;
    CRun run;

    int Run(CDialogBase& dialog) override
    {
        auto& dlg = static_cast<CScheduleTimeDlg&>(dialog);
        for (int id : {1202, 1203, 1214, 1205})
            dlg.OnCommand(id);
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->setDate(kLastDay);
        QElapsedTimer timer;
        timer.start();
        dlg.OnCommand(IDOK);
        ms = timer.nsecsElapsed() / 1e6;
        run = {dlg.ClashCount(), dlg.BookedCount()};
        return dlg.EndCode();
    }
};

double ScheduleThroughDialog(CDBClass& db, const CScheduleBlock& block, CRun* run)
{
    CScheduleUser user;
    SetModalHook(&user);
    CScheduleTimeDlg dlg(db, block);
    dlg.DoModal();
    SetModalHook(nullptr);
    *run = user.run;
    return user.ms;
}

// The same statements through SQLite's own interface, each prepared once.
class CRawSqlite {
public:
    CRawSqlite(const QString& file, const CScheduleBlock& block)
        : m_block(block)
    {
        m_db = OpenRawSqlite(file, SQLITE_OPEN_READWRITE);
        sqlite3_busy_timeout(m_db, 5000);
        const CSqlDialect dialect(kProviderSqlite);
        m_delete = Prepare(QString::fromLatin1(kDeleteStaged));
        m_count = Prepare(QString::fromLatin1(kCountClashes));
        m_mark = Prepare(dialect.ClashMarkStatement());
        m_freeId = Prepare(dialect.ScheduleFreeIdStatement());
        m_import = Prepare(dialect.ScheduleImportStatement());
    }
    ~CRawSqlite()
    {
        for (sqlite3_stmt* stmt : {m_delete, m_count, m_mark, m_freeId, m_import})
            sqlite3_finalize(stmt);
        for (sqlite3_stmt* stmt : m_inserts)
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }
    CRawSqlite(const CRawSqlite&) = delete;
    CRawSqlite& operator=(const CRawSqlite&) = delete;

    sqlite3* Handle() const { return m_db; }

    double operator()(CRun* run)
    {
        QElapsedTimer timer;
        timer.start();
        const QList<QDate> days = Weekdays();
        const CScheduleCopy& c = m_block.copy;
        bool ok = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
        ok = ok && Step(m_delete, c.EmpID);
        const std::string comment = c.Comment.toStdString();
        for (qsizetype first = 0; ok && first < days.size(); first += kChunk) {
            const int rows = static_cast<int>(qMin<qsizetype>(kChunk, days.size() - first));
            sqlite3_stmt* insert = Insert(rows);
            int p = 0;
            for (const QDate& day : days.mid(first, rows)) {
                const std::string date = Iso(day, 0);
                const std::string start = Iso(day, c.Start);
                const std::string stop = Iso(day, c.Stop);
                sqlite3_bind_int(insert, ++p, c.EmpID);
                sqlite3_bind_int(insert, ++p, c.ProjID);
                sqlite3_bind_int(insert, ++p, c.OrderID);
                sqlite3_bind_text(insert, ++p, date.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, ++p, start.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, ++p, stop.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_double(insert, ++p, c.MinutesWorked / 60.0);
                sqlite3_bind_int(insert, ++p, c.TaskID);
                sqlite3_bind_text(insert, ++p, comment.c_str(), -1, SQLITE_STATIC);
                sqlite3_bind_double(insert, ++p, c.InvCost);
                sqlite3_bind_int(insert, ++p, c.WorkTypeID);
                sqlite3_bind_int(insert, ++p, kTimeId);
                sqlite3_bind_int(insert, ++p, kRawBatch);
            }
            ok = sqlite3_step(insert) == SQLITE_DONE;
            sqlite3_reset(insert);
        }
        sqlite3_bind_int(m_count, 1, c.EmpID);
        sqlite3_bind_int(m_count, 2, kRawBatch);
        run->clashes = sqlite3_step(m_count) == SQLITE_ROW ? sqlite3_column_int(m_count, 0) : 0;
        sqlite3_reset(m_count);
        ok = ok && Step(m_mark, c.EmpID) && Step(m_freeId, c.EmpID) && Step(m_import, c.EmpID);
        run->booked = ok ? sqlite3_changes(m_db) : -1;
        sqlite3_exec(m_db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
        return timer.nsecsElapsed() / 1e6;
    }

private:
    sqlite3_stmt* Prepare(const QString& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        return stmt;
    }
    // The staging statement for this many copies, prepared on first use.
    sqlite3_stmt* Insert(int rows)
    {
        sqlite3_stmt*& stmt = m_inserts[static_cast<std::size_t>(rows)];
        if (!stmt)
            stmt = Prepare(CSqlDialect(kProviderSqlite).StageCopiesStatement(rows));
        return stmt;
    }
    static bool Step(sqlite3_stmt* stmt, int empId)
    {
        sqlite3_bind_int(stmt, 1, empId);
        sqlite3_bind_int(stmt, 2, kRawBatch);
        const bool ok = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_reset(stmt);
        return ok;
    }

    sqlite3* m_db = nullptr;
    CScheduleBlock m_block;
    sqlite3_stmt* m_delete = nullptr;
    sqlite3_stmt* m_count = nullptr;
    sqlite3_stmt* m_mark = nullptr;
    sqlite3_stmt* m_freeId = nullptr;
    sqlite3_stmt* m_import = nullptr;
    std::vector<sqlite3_stmt*> m_inserts = std::vector<sqlite3_stmt*>(kChunk + 1, nullptr);
};

// '?' to $1, $2 ... for libpq (the texts above hold no literal '?').
std::string Numbered(const QString& sql)
{
    std::string out;
    int n = 0;
    for (const QChar ch : sql) {
        if (ch == QLatin1Char('?')) {
            out += '$';
            out += std::to_string(++n);
        } else {
            out += ch.toLatin1();
        }
    }
    return out;
}

// The same statements through libpq, each prepared once.
class CRawPg {
public:
    CRawPg(const QByteArray& conninfo, const CScheduleBlock& block)
        : m_block(block)
    {
        m_conn = PQconnectdb(conninfo.constData());
        const CSqlDialect dialect(kProviderPostgres);
        m_setup = dialect.ScheduleSetupStatement().toStdString();
        Prepare("lock", dialect.ScheduleLockStatement());
        Prepare("delete", QString::fromLatin1(kDeleteStaged));
        Prepare("count", QString::fromLatin1(kCountClashes));
        Prepare("mark", dialect.ClashMarkStatement());
        Prepare("freeid", dialect.ScheduleFreeIdStatement());
        Prepare("import", dialect.ScheduleImportStatement());
    }
    ~CRawPg() { PQfinish(m_conn); }
    CRawPg(const CRawPg&) = delete;
    CRawPg& operator=(const CRawPg&) = delete;

    PGconn* Handle() const { return m_conn; }

    double operator()(CRun* run)
    {
        QElapsedTimer timer;
        timer.start();
        const QList<QDate> days = Weekdays();
        const CScheduleCopy& c = m_block.copy;
        const std::string emp = std::to_string(c.EmpID);
        const std::string batch = std::to_string(kRawBatch);
        PQclear(PQexec(m_conn, "BEGIN"));
        PQclear(PQexec(m_conn, m_setup.c_str()));
        bool ok = Exec("lock", {emp.c_str(), emp.c_str(), batch.c_str()}) &&
                  Exec("delete", {emp.c_str(), batch.c_str()});
        const std::string proj = std::to_string(c.ProjID);
        const std::string order = std::to_string(c.OrderID);
        const std::string hours = std::to_string(c.MinutesWorked / 60.0);
        const std::string task = std::to_string(c.TaskID);
        const std::string comment = c.Comment.toStdString();
        const std::string cost = std::to_string(c.InvCost);
        const std::string work = std::to_string(c.WorkTypeID);
        const std::string timeId = std::to_string(kTimeId);
        for (qsizetype first = 0; ok && first < days.size(); first += kChunk) {
            const int rows = static_cast<int>(qMin<qsizetype>(kChunk, days.size() - first));
            std::vector<std::string> texts;
            texts.reserve(static_cast<std::size_t>(rows) * 3);
            std::vector<const char*> values;
            for (const QDate& day : days.mid(first, rows)) {
                texts.push_back(Iso(day, 0));
                texts.push_back(Iso(day, c.Start));
                texts.push_back(Iso(day, c.Stop));
                const std::size_t t = texts.size() - 3;
                values.insert(values.end(),
                              {emp.c_str(), proj.c_str(), order.c_str(), texts[t].c_str(),
                               texts[t + 1].c_str(), texts[t + 2].c_str(), hours.c_str(),
                               task.c_str(), comment.c_str(), cost.c_str(), work.c_str(),
                               timeId.c_str(), batch.c_str()});
            }
            ok = Exec(Insert(rows), values);
        }
        PGresult* r = nullptr;
        ok = ok && Exec("count", {emp.c_str(), batch.c_str()}, &r);
        run->clashes = r && PQntuples(r) > 0 ? std::atoi(PQgetvalue(r, 0, 0)) : 0;
        PQclear(r);
        r = nullptr;
        ok = ok && Exec("mark", {emp.c_str(), batch.c_str()}) &&
             Exec("freeid", {emp.c_str(), batch.c_str()}) &&
             Exec("import", {emp.c_str(), batch.c_str()}, &r);
        run->booked = ok && r && PQntuples(r) > 0 ? std::atoi(PQgetvalue(r, 0, 0)) : -1;
        PQclear(r);
        PQclear(PQexec(m_conn, ok ? "COMMIT" : "ROLLBACK"));
        return timer.nsecsElapsed() / 1e6;
    }

private:
    void Prepare(const std::string& name, const QString& sql)
    {
        PQclear(PQprepare(m_conn, name.c_str(), Numbered(sql).c_str(), 0, nullptr));
    }
    // The staging statement for this many copies, prepared on first use.
    std::string Insert(int rows)
    {
        std::string& name = m_inserts[static_cast<std::size_t>(rows)];
        if (name.empty()) {
            name = "insert" + std::to_string(rows);
            Prepare(name, CSqlDialect(kProviderPostgres).StageCopiesStatement(rows));
        }
        return name;
    }
    bool Exec(const std::string& name, const std::vector<const char*>& values,
              PGresult** keep = nullptr)
    {
        PGresult* r = PQexecPrepared(m_conn, name.c_str(), static_cast<int>(values.size()),
                                     values.data(), nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(r);
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        if (keep)
            *keep = r;
        else
            PQclear(r);
        return ok;
    }

    PGconn* m_conn = nullptr;
    CScheduleBlock m_block;
    std::string m_setup;
    std::vector<std::string> m_inserts = std::vector<std::string>(kChunk + 1);
};

// Runs both ways in turn, each from the same state: the copies booked by
// the previous run are removed, untimed, before the next.
void Compare(const char* label, const std::function<double(CRun*)>& subject,
             const std::function<double(CRun*)>& baseline, const std::function<void()>& reset)
{
    std::vector<double> a;
    std::vector<double> b;
    CRun subjectRun;
    CRun baselineRun;
    reset();
    subject(&subjectRun); // warm up
    reset();
    baseline(&baselineRun);
    for (int i = 0; i < kRuns; ++i) {
        reset();
        a.push_back(subject(&subjectRun));
        reset();
        b.push_back(baseline(&baselineRun));
    }
    reset();
    const BenchPair pair{MedianOf(a), MedianOf(b)};
    std::printf("[%s] %lld copies, %d clash, %d booked (raw: %d clash, %d booked)\n", label,
                static_cast<long long>(Weekdays().size()), subjectRun.clashes, subjectRun.booked,
                baselineRun.clashes, baselineRun.booked);
    PrintPair("  schedule a year of weekdays (stage, count, mark, book)", pair, 2.0);
    if (subjectRun.booked != baselineRun.booked || subjectRun.booked < 0)
        std::printf("  MISMATCH: the two ways booked different rows\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintLoad("bench_schedule");
    QString error;
    const CGeneratorOptions options;
    const QString cached = BenchDatabaseFile(options, &error);
    if (cached.isEmpty()) {
        std::fprintf(stderr, "bench_schedule: %s\n", qPrintable(error));
        return 1;
    }
    {
        // The schedule writes into a copy, so the generated file stays as
        // other benchmarks expect it.
        const QString source = CConnectionString(cached).Value(QStringLiteral("Data Source"));
        QTemporaryDir dir(QFileInfo(source).absolutePath() + QStringLiteral("/schedule-XXXXXX"));
        const QString file = dir.filePath(QStringLiteral("bench-schedule.db"));
        if (!QFile::copy(source, file)) {
            std::fprintf(stderr, "bench_schedule: cannot copy %s\n", qPrintable(source));
            return 1;
        }
        CDBClass db;
        db.Connection()->UseConnectionString(CConnectionString::SqliteString(file));
        if (!db.OpenConnection()) {
            std::fprintf(stderr, "bench_schedule: cannot open %s\n", qPrintable(file));
            return 1;
        }
        const CScheduleBlock block = Block(*db.Connection());
        CRawSqlite raw(file, block);
        const std::string cleanup =
            "DELETE FROM tblTimeSheet WHERE EmpID = " + std::to_string(kEmployee) +
            " AND TimeID = " + std::to_string(kTimeId);
        Compare(
            "SQLite", [&](CRun* run) { return ScheduleThroughDialog(db, block, run); },
            [&](CRun* run) { return raw(run); },
            [&] { sqlite3_exec(raw.Handle(), cleanup.c_str(), nullptr, nullptr, nullptr); });
        db.ReleaseConnection(true, true);
    }

    CBenchServerDatabase server;
    if (int exitCode = 0; !BenchServerOrExit("bench_schedule", options, false, &server, &exitCode))
        return exitCode;
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection())
        return 1;
    const CScheduleBlock block = Block(*db.Connection());
    CRawPg raw(server.conninfo, block);
    const std::string cleanup =
        "DELETE FROM tblTimeSheet WHERE EmpID = " + std::to_string(kEmployee) +
        " AND TimeID = " + std::to_string(kTimeId);
    Compare(
        "PostgreSQL", [&](CRun* run) { return ScheduleThroughDialog(db, block, run); },
        [&](CRun* run) { return raw(run); },
        [&] {
            PQclear(PQexec(raw.Handle(), cleanup.c_str()));
            // Every run leaves dead rows on the same days; without this each
            // run would wade through more of them than the one before.
            PQclear(PQexec(raw.Handle(), "VACUUM tblTimeSheet, tblTimeSheet_ImportExport"));
        });
    // The server's database is shared with the other benchmarks: leave it as found.
    CSqlExecutor::RunNative(*db.Connection(),
                            QStringLiteral("DELETE FROM tblTimeSheet_ImportExport WHERE EmpID = ?"),
                            {kEmployee}, nullptr, nullptr);
    db.ReleaseConnection(true, true);
    return 0;
}
