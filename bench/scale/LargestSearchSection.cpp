#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "review/SearchDlg.h"
#include "review/SearchResultTable.h"
#include "review/SearchViewDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <vector>

// The largest search the options allow: every time sheet, at most 1,000,000
// of them (the search page's record limit at its largest), run through the
// search dialog as the user runs it (nothing chosen, Search) until the
// results view shows its rows, or the user is told why not. Beside it the
// very statement through SQLite's own interface and through libpq, every
// cell read; the server's statement without the time limit.

namespace {

constexpr int kLargest = 1000000;
constexpr int kRuns = 5;
constexpr double kLimitMs = 15000;

// The messages the user is shown, with when.
class CMessages : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString&, unsigned type) override
    {
        texts << text;
        atMs << (clock.isValid() ? clock.nsecsElapsed() / 1e6 : 0);
        return CautiousAnswer(type);
    }
    QStringList texts;
    QList<double> atMs;
    QElapsedTimer clock;
};

// The user presses Search with nothing chosen; only the Search is timed.
class CSearchUser : public IModalHook {
public:
    explicit CSearchUser(CMessages& messages)
        : m_messages(messages)
    {}
    double ms = 0;
    int rows = 0;
    QString sql;
    QString status;
    // Set to keep what the view shows: each row's project and time sheet.
    bool keep = false;
    std::vector<QString> names;
    std::vector<qint64> ids;

    int Run(CDialogBase& dialog) override
    {
        auto& dlg = static_cast<CSearchDlg&>(dialog);
        m_messages.texts.clear();
        m_messages.atMs.clear();
        m_messages.clock.start();
        QElapsedTimer timer;
        timer.start();
        dlg.OnCommand(CSearchDlg::kSearch);
        QCoreApplication::processEvents();
        ms = timer.nsecsElapsed() / 1e6;
        sql = dlg.LastSearch();
        status = dlg.StatusText();
        const auto* view =
            dlg.Views().isEmpty() ? nullptr : qobject_cast<CSearchViewDlg*>(dlg.Views().last());
        rows = view ? view->Table().RowCount() : 0;
        if (keep && view)
            Keep(view->Table());
        return IDCANCEL;
    }

private:
    void Keep(const CSearchResultTable& table)
    {
        int name = -1;
        int id = -1;
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (table.Columns().at(c).name == QLatin1String("ProjName"))
                name = c;
            if (table.Columns().at(c).name == QLatin1String("TimesheetID"))
                id = c;
        }
        names.clear();
        ids.clear();
        for (int row = 0; row < table.RowCount(); ++row) {
            names.push_back(table.Value(row, name).toString());
            ids.push_back(table.Value(row, id).toLongLong());
        }
    }

    CMessages& m_messages;
};

// The statement's rows straight from SQLite, at most `most` of them: each
// cell read, the project and time sheet of each row kept when asked.
double RawSqliteRows(sqlite3* db, const QString& sql, qint64 most, qint64* rows,
                     std::vector<QString>* names = nullptr, std::vector<qint64>* ids = nullptr)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    *rows = 0;
    qint64 sum = 0;
    const int columns = sqlite3_column_count(stmt);
    while (*rows < most && sqlite3_step(stmt) == SQLITE_ROW) {
        ++*rows;
        for (int c = 0; c < columns; ++c)
            sum += sqlite3_column_bytes(stmt, c);
        if (names) {
            names->push_back(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
            ids->push_back(sqlite3_column_int64(stmt, 3));
        }
    }
    sqlite3_finalize(stmt);
    return sum >= 0 ? t.nsecsElapsed() / 1e6 : 0;
}

// The projects of the rows, in order, as the server gives them (time sheets
// of one project come in no particular order there).
std::vector<QString> RawPgNames(PGconn* conn, const QString& sql)
{
    std::vector<QString> names;
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    for (int row = 0; row < PQntuples(r); ++row)
        names.push_back(QString::fromUtf8(PQgetvalue(r, row, 0)));
    PQclear(r);
    return names;
}

double Search(CDBClass& db, CSearchUser& user)
{
    SetModalHook(&user);
    {
        CSearchDlg dlg(ID_TIMESHEETS, &db);
        dlg.DoModal();
    }
    SetModalHook(nullptr);
    return user.ms;
}

void Run(const CScaleBackend& backend)
{
    CScaleDatabase database;
    if (!backend.Database(ScaleRows(), &database))
        return;
    const char* name = backend.Name();
    CProfileStore().setValue(QStringLiteral("Admin/bsearchSize"), 1);
    CProfileStore().setValue(QStringLiteral("Admin/isearchSize"), kLargest);
    CDBClass db;
    db.Connection()->UseConnectionString(database.connectionString);
    if (!db.OpenConnection()) {
        std::fprintf(stderr, "bench_scale search: the database does not open\n");
        return;
    }
    // The indexes and views in their current form.
    QString error;
    if (!CSchema::Update(*db.Connection(), &error)) {
        std::fprintf(stderr, "bench_scale search: %s\n", qPrintable(error));
        return;
    }
    CMessages messages;
    SetMessageBoxHook(&messages);
    CSearchUser user(messages);
    std::vector<double> times;
    user.keep = true;
    const double peakMb = PeakRssGrowthMb([&] { Search(db, user); });
    user.keep = false;
    const QString sql = db.Dialect().Translate(user.sql);
    std::printf("[%s] %s\n", name, qPrintable(sql));
    for (int run = 0; run < kRuns; ++run) {
        times.push_back(Search(db, user));
        std::printf("[%s]   run %d: %.0f ms, %d rows shown, status \"%s\"\n", name, run + 1,
                    times.back(), user.rows, qPrintable(user.status));
        for (int m = 0; m < messages.texts.size(); ++m)
            std::printf("[%s]     told after %.0f ms: %s\n", name, messages.atMs.at(m),
                        qPrintable(QString(messages.texts.at(m)).replace('\n', ' ')));
    }
    SetMessageBoxHook(nullptr);

    // The statement raw, as often (once where the search did not run): as
    // written and, on the file, as run (the sort without its LIMIT, its
    // first rows read).
    const int rawRuns = user.rows > 0 ? kRuns : 1;
    std::vector<double> raw;
    std::vector<double> rawAsRun;
    qint64 rawRows = 0;
    bool same = false;
    if (backend.IsPostgres()) {
        PGconn* conn = PQconnectdb(database.conninfo.constData());
        // As the search runs it, without its time limit.
        PQclear(PQexec(conn, "SET statement_timeout = 0"));
        PQclear(PQexec(conn, "SET jit = off"));
        same = RawPgNames(conn, sql) == user.names;
        CRawPgStatement statement(conn, "largest_search", sql, {});
        for (int run = 0; run < rawRuns; ++run) {
            QElapsedTimer t;
            t.start();
            statement.Read(false, &rawRows);
            raw.push_back(t.nsecsElapsed() / 1e6);
        }
        PQfinish(conn);
    } else {
        sqlite3* handle = OpenRawSqlite(database.file, SQLITE_OPEN_READONLY);
        std::vector<QString> names;
        std::vector<qint64> ids;
        RawSqliteRows(handle, sql, kLargest + 1, &rawRows, &names, &ids);
        same = names == user.names && ids == user.ids;
        QString unlimited = sql;
        unlimited.chop(sql.size() - sql.lastIndexOf(QLatin1String(" LIMIT ")));
        for (int run = 0; run < rawRuns; ++run) {
            raw.push_back(RawSqliteRows(handle, sql, kLargest + 1, &rawRows));
            rawAsRun.push_back(RawSqliteRows(handle, unlimited, kLargest, &rawRows));
        }
        sqlite3_close(handle);
    }
    const bool shown = user.rows > 0;
    // Shown: within the limit. Not shown: told before waiting, where the
    // statement could not have finished.
    PrintFigure(name,
                shown ? "largest search: Search to the results shown"
                      : "largest search: Search to the user told it cannot finish",
                MedianOf(times), "ms", shown ? kLimitMs : 1000);
    std::printf("[%s]   the statement raw, %lld rows read: %.0f ms (the search %.2f times that)\n",
                name, static_cast<long long>(rawRows), MedianOf(raw),
                MedianOf(times) / MedianOf(raw));
    if (!rawAsRun.empty())
        std::printf("[%s]   as run, without its LIMIT and the first rows read: %.0f ms (the search "
                    "%.2f times that)\n",
                    name, MedianOf(rawAsRun), MedianOf(times) / MedianOf(rawAsRun));
    if (!shown)
        std::printf("[%s]   %s\n", name,
                    MedianOf(backend.IsPostgres() ? raw : rawAsRun) > kLimitMs
                        ? "rightly: the statement takes longer than the limit"
                        : "WRONGLY: the statement would have finished within the limit");
    else
        std::printf("[%s]   %s\n", name,
                    same ? (backend.IsPostgres() ? "the same projects in the same order as raw"
                                                 : "the same rows in the same order as raw")
                         : "MISMATCH: the search showed other rows than the statement gives raw");
    std::printf("[%s]   the first search's peak memory growth: %.0f MB\n", name, peakMb);
    db.ReleaseConnection(true, true);
}

const bool s_registered = RegisterScaleSection(
    {"largest-search", "the largest search the options allow, every time sheet", Run});

} // namespace
