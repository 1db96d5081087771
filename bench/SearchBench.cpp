#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqlDialect.h"
#include "platform/ProfileStore.h"
#include "review/SearchDlg.h"
#include "review/SearchResultTable.h"
#include "review/SearchViewDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include "bench/RawStatement.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

// Search on the generated million-row database: time sheets whose comment
// holds a word, at most 50 of them, through the search dialog as the user
// runs it (sections, Search, the results view), beside the same SELECT run
// directly through SQLite's own interface and through libpq, reading every
// column of every row. Then the results view of 100,000 rows, its query
// counted.

namespace {

constexpr int kRuns = 7;
constexpr int kLimit = 50;
const QString kWord = QStringLiteral("%item 4242%");

// The dialog run through the modal hook: the user picks Comment, LIKE and
// the word, then presses Search; only the Search is timed.
class CSearchUser : public IModalHook {
public:
    double ms = 0;
    int rows = -1;
    QString sql;

    int Run(CDialogBase& dialog) override
    {
        auto& dlg = static_cast<CSearchDlg&>(dialog);
        auto* fields = dlg.Control<QComboBox>(CSearchDlg::kField);
        fields->setCurrentIndex(fields->findText(QStringLiteral("Comment")));
        dlg.Control<QComboBox>(CSearchDlg::kEquate)->setEditText(QStringLiteral("LIKE"));
        dlg.Control<QLineEdit>(CSearchDlg::kValue)->setText(kWord);
        QElapsedTimer timer;
        timer.start();
        dlg.OnCommand(CSearchDlg::kSearch);
        ms = timer.nsecsElapsed() / 1e6;
        sql = dlg.LastSearch();
        const auto* view =
            dlg.Views().isEmpty() ? nullptr : qobject_cast<CSearchViewDlg*>(dlg.Views().last());
        rows = view ? view->Table().RowCount() : 0;
        return IDCANCEL;
    }
};

double SearchThroughDialog(CDBClass& db, CSearchUser& user)
{
    SetModalHook(&user);
    CSearchDlg dlg(ID_TIMESHEETS, &db);
    dlg.DoModal();
    SetModalHook(nullptr);
    return user.ms;
}

double RawSqlite(sqlite3* handle, const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
    *rows = 0;
    std::vector<QString> texts;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++*rows;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            texts.push_back(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                  sqlite3_column_bytes(stmt, c)));
    }
    sqlite3_finalize(stmt);
    return timer.nsecsElapsed() / 1e6;
}

double RawPg(PGconn* conn, const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    *rows = PQntuples(r);
    std::vector<QString> texts;
    for (int row = 0; row < *rows; ++row)
        for (int c = 0; c < PQnfields(r); ++c)
            texts.push_back(QString::fromUtf8(PQgetvalue(r, row, c), PQgetlength(r, row, c)));
    PQclear(r);
    return timer.nsecsElapsed() / 1e6;
}

// The same, each cell read in its own type (no text made of it), the whole
// result taken at once as the view's snapshot takes it.
double RawSqliteNative(sqlite3* handle, const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
    qint64 count = 0;
    ReadSqliteRows(stmt, &count);
    sqlite3_finalize(stmt);
    *rows = static_cast<int>(count);
    return timer.nsecsElapsed() / 1e6;
}

double RawPgNative(PGconn* conn, const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    *rows = PQntuples(r);
    SumPgCells(r);
    PQclear(r);
    return timer.nsecsElapsed() / 1e6;
}

void Compare(const char* label, CDBClass& db,
             const std::function<double(const QString&, int*)>& raw)
{
    CSearchUser user;
    SearchThroughDialog(db, user); // warm up, and learn the statement
    const QString sql = db.Dialect().Translate(user.sql);
    int rawRows = 0;
    raw(sql, &rawRows);
    std::vector<double> a;
    std::vector<double> b;
    for (int i = 0; i < kRuns; ++i) {
        a.push_back(SearchThroughDialog(db, user));
        b.push_back(raw(sql, &rawRows));
    }
    std::printf("[%s] %d rows through the dialog, %d raw\n", label, user.rows, rawRows);
    PrintPair("  search comments for a word, limit 50 (dialog)", {MedianOf(a), MedianOf(b)}, 1.5);
    if (user.rows != rawRows)
        std::printf("  MISMATCH: the two ways found different rows\n");
}

// The results view over a 100,000-row result as a search makes it: the
// query run (a snapshot, which the view sorts), the rows read and shown;
// beside the same statement read raw.
void FillView(const char* label, CDBClass& db,
              const std::function<double(const QString&, int*)>& raw)
{
    const QString sql =
        QStringLiteral("SELECT TOP 100000 ProjName, OrderCode, Task, TimesheetID, StartTime, "
                       "StopTime, WorkDate, HoursWorked, Comment, InvCost, EmpFullName, "
                       "WorkType, ObjectTypeID, Object, ObjectID FROM "
                       "qselTimeJoinProjectTaskOrderAllFields");
    std::vector<double> times;
    std::vector<double> rawTimes;
    int shown = 0;
    int rawRows = 0;
    for (int i = 0; i <= kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        CMyAdoRecordSet* rows = nullptr;
        if (!db.ExecuteQuery(sql, rows)) {
            std::fprintf(stderr, "bench_search: %s\n", qPrintable(rows ? rows->ErrorText() : sql));
            return;
        }
        std::unique_ptr<CMyAdoRecordSet> owned(rows);
        {
            CSearchViewDlg view(ID_TIMESHEETS, 21, rows, &db, nullptr);
            view.Create();
            QApplication::processEvents();
            shown = view.Table().RowCount();
            const double ms = timer.nsecsElapsed() / 1e6;
            const double rawMs = raw(db.Dialect().Translate(sql), &rawRows);
            // The first run warms the caches.
            if (i > 0) {
                times.push_back(ms);
                rawTimes.push_back(rawMs);
            }
        }
    }
    std::printf("[%s] results view of %d rows, its query counted: %.1f ms  (target < 300) %s\n",
                label, shown, MedianOf(times), MedianOf(times) < 300 ? "ok" : "MISSED");
    std::printf("  (the statement raw, %d rows read: %.1f ms; the view %.2f times that)\n",
                rawRows, MedianOf(rawTimes), MedianOf(times) / MedianOf(rawTimes));
}

} // namespace

int main(int argc, char** argv)
{
    // A profile of its own, limiting searches to 50 rows; the user's stays as it is.
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    PrintLoad("bench_search");
    CProfileStore().setValue(QStringLiteral("Admin/bsearchSize"), 1);
    CProfileStore().setValue(QStringLiteral("Admin/isearchSize"), kLimit);
    QString error;
    const CGeneratorOptions options;
    const QString file = BenchDatabaseFile(options, &error);
    if (file.isEmpty()) {
        std::fprintf(stderr, "bench_search: %s\n", qPrintable(error));
        return 1;
    }
    {
        CDBClass db;
        db.Connection()->UseConnectionString(file);
        if (!db.OpenConnection())
            return 1;
        sqlite3* raw = OpenRawSqlite(CConnectionString(file).Value(QStringLiteral("Data Source")),
                                     SQLITE_OPEN_READONLY);
        Compare("SQLite", db,
                [raw](const QString& sql, int* rows) { return RawSqlite(raw, sql, rows); });
        FillView("SQLite", db,
                 [raw](const QString& sql, int* rows) { return RawSqliteNative(raw, sql, rows); });
        sqlite3_close(raw);
        db.ReleaseConnection(true, true);
    }

    CBenchServerDatabase server;
    if (!BenchServerDatabase(QStringLiteral("kelvane_bench"), options, false, &server, &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_search: %s\n", qPrintable(error));
        return 1;
    }
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection())
        return 1;
    PGconn* raw = PQconnectdb(server.conninfo.constData());
    Compare("PostgreSQL", db,
            [raw](const QString& sql, int* rows) { return RawPg(raw, sql, rows); });
    FillView("PostgreSQL", db,
             [raw](const QString& sql, int* rows) { return RawPgNative(raw, sql, rows); });
    PQfinish(raw);
    db.ReleaseConnection(true, true);
    return 0;
}
