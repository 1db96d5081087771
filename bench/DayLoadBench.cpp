#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "data/records/TimeSheetSet.h"

#include <QCoreApplication>

#include "bench/RawSqlite.h"
#include <sqlite3.h>

#include <cstdio>

// Opening one employee's day on the generated million-row database through
// the time-sheet record class, as the facade's day load does (bound values,
// read forward), beside the same SELECT through SQLite's own interface,
// prepared once and stepped cell by cell.

namespace {

constexpr int kEmployee = 17;
constexpr int kLoadsPerSample = 100;
const CDateTime kDay(2023, 5, 16);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_dayload");
    QString error;
    const QString connectionString = BenchDatabaseFile(CGeneratorOptions(), &error);
    if (connectionString.isEmpty()) {
        std::fprintf(stderr, "bench_dayload: %s\n", qPrintable(error));
        return 1;
    }
    CDBConnection conn;
    conn.UseConnectionString(connectionString);
    if (!conn.Connect(false))
        return 1;

    // The facade's own filter: the day as a range of WorkDate.
    const QString filter = CDBClass::DayFilterText();
    const QString sort = QStringLiteral("[TimeID]");
    const QVariantList values = CDBClass::DayFilterValues(kEmployee, kDay);
    int rows = 0;
    qint64 sink = 0;
    const auto load = [&] {
        CTimeSheetSet set(&conn);
        set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
        set.OpenTableWithQuery(nullptr, filter, sort, values);
        rows = 0;
        while (!set.Recordset()->IsEOF()) {
            ++rows;
            sink += set.m_StartTime.MinutesOfDay() + set.m_Comment.size();
            set.MoveNext();
        }
        set.Close();
    };

    // The same text as the record class runs.
    QString select;
    {
        CTimeSheetSet set(&conn);
        set.Recordset()->BuildSelect(select, &filter, &sort);
    }
    const QByteArray statement = conn.Dialect().Translate(select).toUtf8();
    const QString file = CConnectionString(connectionString).Value(QStringLiteral("Data Source"));
    sqlite3* db = OpenRawSqlite(file, SQLITE_OPEN_READONLY);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, statement.constData(), -1, &stmt, nullptr);
    const QByteArray day = kDay.ToIsoText().toUtf8();
    const QByteArray nextDay = kDay.AddDays(1).ToIsoText().toUtf8();
    const auto raw = [&] {
        sqlite3_bind_int(stmt, 1, kEmployee);
        sqlite3_bind_text(stmt, 2, day.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 3, nextDay.constData(), -1, SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sink += sqlite3_column_type(stmt, c) == SQLITE_TEXT ? sqlite3_column_bytes(stmt, c)
                                                                    : sqlite3_column_int64(stmt, c);
        sqlite3_reset(stmt);
    };

    const BenchPair pair = TimePair(
        21,
        [&] {
            for (int i = 0; i < kLoadsPerSample; ++i)
                load();
        },
        [&] {
            for (int i = 0; i < kLoadsPerSample; ++i)
                raw();
        });
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    std::printf("day load: %d rows of one employee's day\n", rows);
    const BenchPair perLoad{pair.subjectMs / kLoadsPerSample, pair.baselineMs / kLoadsPerSample};
    PrintPair("day load through the time-sheet record (per open)", perLoad, 1.5);
    std::printf("  (%.1f us against %.1f us through the C API; checksum %lld)\n",
                perLoad.subjectMs * 1e3, perLoad.baselineMs * 1e3, static_cast<long long>(sink));
    return 0;
}
