#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/TimeSheetSet.h"

#include <QCoreApplication>

#include "bench/RawStatement.h"

#include <cstdio>

// Walking the generated million-row time sheet through the time-sheet record
// class: 100,000 rows streamed forward (as fills and exports read) and as a
// snapshot (as lists that sort and move back read), beside the same SELECT
// read cell by cell through SQLite's own interface and through libpq, each
// prepared once as the recordset's statement is; libpq streams in single-row
// mode where the program streams and takes the whole result where the
// program takes a snapshot, on the program's own connection. Then the memory
// a forward-only walk of all 1,000,000 rows holds.

namespace {

constexpr int kRows = 100000;
const QString kFilter = QStringLiteral("[TimesheetID] <= ?");

qint64 WalkRecordset(CDBConnection& conn, CursorMode mode, const QString& filter,
                     const QVariantList& values)
{
    CTimeSheetSet set(&conn);
    set.Recordset()->SetCursorMode(mode);
    if (!set.OpenTableWithQuery(nullptr, filter, QString(), values))
        return -1;
    qint64 sum = 0;
    while (!set.Recordset()->IsEOF()) {
        sum += set.m_EmpID + set.m_StartTime.MinutesOfDay() + set.m_Comment.size();
        set.MoveNext();
    }
    set.Close();
    return sum;
}

class CRawSqlite {
public:
    explicit CRawSqlite(const QString& file)
    {
        m_db = OpenRawSqlite(file, SQLITE_OPEN_READONLY);
        sqlite3_prepare_v2(m_db, "SELECT * from tblTimeSheet WHERE TimesheetID <= ?", -1, &m_stmt,
                           nullptr);
    }
    ~CRawSqlite()
    {
        sqlite3_finalize(m_stmt);
        sqlite3_close(m_db);
    }
    CRawSqlite(const CRawSqlite&) = delete;
    CRawSqlite& operator=(const CRawSqlite&) = delete;

    qint64 Walk()
    {
        sqlite3_bind_int(m_stmt, 1, kRows);
        qint64 rows = 0;
        return ReadSqliteRows(m_stmt, &rows);
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// raw(true) reads the rows as a stream, raw(false) takes them all at once.
void Compare(const char* label, CDBConnection& conn, const std::function<qint64(bool)>& raw,
             const char* rawName)
{
    qint64 sink = 0;
    const BenchPair stream = TimePair(
        5, [&] { sink += WalkRecordset(conn, CursorMode::ForwardOnly, kFilter, {kRows}); },
        [&] { sink += raw(true); });
    std::printf("[%s] 100,000 rows of 16 columns, beside %s\n", label, rawName);
    PrintPair("  walk forward-only (record class)", stream, 1.5);
    const BenchPair snapshot = TimePair(
        5, [&] { sink += WalkRecordset(conn, CursorMode::Snapshot, kFilter, {kRows}); },
        [&] { sink += raw(false); });
    PrintPair("  open a snapshot and walk it (record class)", snapshot, 1.5);
    const double grew = PeakRssGrowthMb(
        [&] { sink += WalkRecordset(conn, CursorMode::ForwardOnly, QString(), {}); });
    PrintMemory("  walk all 1,000,000 rows forward-only", grew, 20);
    if (qEnvironmentVariableIsSet("BENCH_SNAPSHOT_MEMORY")) {
        const double held = PeakRssGrowthMb(
            [&] { sink += WalkRecordset(conn, CursorMode::Snapshot, QString(), {}); });
        PrintMemory("  the same as a snapshot", held, 20);
    }
    std::printf("  (checksum %lld)\n", static_cast<long long>(sink));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_recordset");
    return RunOnBothBackEnds(
        "bench_recordset",
        [](CDBConnection& conn, const QString& file) {
            CRawSqlite raw(file);
            Compare(
                "SQLite", conn, [&](bool) { return raw.Walk(); }, "the sqlite3 C API");
        },
        [](CDBConnection& conn, const CBenchServerDatabase&) {
            // On the program's own connection: both sides then meet the same
            // server process, wherever the machine placed it.
            CRawPgStatement raw(ProgramHandle(conn), "walk",
                                QStringLiteral("SELECT * from tblTimeSheet WHERE TimesheetID <= ?"),
                                {kRows});
            Compare(
                "PostgreSQL", conn,
                [&](bool singleRow) {
                    qint64 rows = 0;
                    return raw.Read(singleRow, &rows);
                },
                "libpq (single-row mode for the stream)");
        });
}
