#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/records/HoursSumSet.h"
#include "office/OfficeSession.h"
#include "platform/ProfileStore.h"
#include "review/ReviewDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "bench/RawStatement.h"

#include <cstdio>
#include <string>

// The week review window of every employee over the year 2023 on the
// generated million-row database: the window's review as the user runs it
// (its query through the record class, the grid filled and shown) beside the
// window's own statement run directly through SQLite's own interface and
// through libpq (streamed, as the window reads it), every column of every row
// read; then the memory the review adds to a newly opened window. Then the
// list export of 250 days through LibreOffice, with the office's start and
// without it.

namespace {

const QDate kStart(2023, 1, 1);
const QDate kEnd(2023, 12, 31);
constexpr int kRuns = 5;
constexpr double kTarget = 1.5;
constexpr double kMemoryTargetMb = 50;

// A window as the user opens it, the year and everybody chosen.
void ChooseTheYear(CReviewDlg& window)
{
    window.resize(1000, 600);
    window.show();
    QApplication::processEvents();
    window.Control<QDateEdit>(CReviewDlg::kIdStart)->setDate(kStart);
    window.Control<QDateEdit>(CReviewDlg::kIdEnd)->setDate(kEnd);
    window.Control<QComboBox>(CReviewDlg::kIdUser)->setCurrentIndex(0); // "All"
}

// Review pressed, until the grid is on the screen.
void Review(CReviewDlg& window)
{
    window.OnReview();
    QApplication::processEvents();
}

void Compare(const char* backend, CDBClass& db, const std::function<qint64(qint64*)>& raw)
{
    qint64 rawRows = 0;
    qint64 sum = 0;
    {
        CReviewDlg window(nullptr, db);
        ChooseTheYear(window);
        const BenchPair pair = TimePair(
            kRuns, [&] { Review(window); }, [&] { sum += raw(&rawRows); });
        std::printf("[%s] %s; the statement raw: %lld records\n", backend,
                    qPrintable(window.StatusText()), static_cast<long long>(rawRows));
        PrintPair("  review of a year, all employees (window)", pair, kTarget);
        window.close();
    }
    // The memory the first review of a year adds to a window just opened.
    CReviewDlg window(nullptr, db);
    ChooseTheYear(window);
    malloc_trim(0);
    const long before = CurrentRssKb();
    const double grew = PeakRssGrowthMb([&] { Review(window); });
    const double held = (CurrentRssKb() - before) / 1024.0;
    PrintMemory("  the same, memory of a newly opened window", grew, kMemoryTargetMb);
    std::printf("  (held while the window shows it: %.1f MB; checksum %lld)\n", held,
                static_cast<long long>(sum));
    window.close();
}

// The window's statement: the records of a year of everybody.
void WindowStatement(CDBClass& db, QString* sql, QVariantList* values)
{
    CHoursSumSet set(db.Connection());
    CReviewDlg::SelectGridRecords(set, db.GetEmpIdByName(QStringLiteral("All")), {kStart, kEnd},
                                  QStringLiteral("All"));
    *sql = ProgramStatement(*db.Connection(), *set.Recordset());
    *values = ProgramValues(*db.Connection(), set.Recordset()->FilterValues());
}

// The window: a review of 250 days of every employee, then its list export.
void ExportTimes(CDBClass& db, const QString& folder)
{
    COfficeSession office;
    office.SetPresentation(COfficeSession::Presentation::Store);
    office.SetStoreFolder(folder);
    CReviewDlg window(nullptr, db);
    window.SetOfficeDocuments(&office);
    window.resize(1000, 600);
    window.show();
    window.Control<QDateEdit>(CReviewDlg::kIdStart)->setDate(kStart);
    window.Control<QDateEdit>(CReviewDlg::kIdEnd)->setDate(kStart.addDays(249));
    QComboBox* users = window.Control<QComboBox>(CReviewDlg::kIdUser);
    users->setCurrentIndex(0);
    QElapsedTimer timer;
    timer.start();
    window.OnReview();
    const double reviewMs = timer.nsecsElapsed() / 1e6;
    std::printf("[SQLite] the review window, 250 days of all employees: %.0f ms (%s)\n", reviewMs,
                qPrintable(window.StatusText()));
    for (const char* run : {"with LibreOffice's start", "LibreOffice running"}) {
        timer.restart();
        window.ExportListView();
        const double ms = timer.nsecsElapsed() / 1e6;
        std::printf("[SQLite] list export of 250 days, %s: %.0f ms (office start %lld ms) -> %s\n",
                    run, ms, static_cast<long long>(office.LastStartMs()),
                    qPrintable(window.LastExportFile()));
    }
    window.close();
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    PrintLoad("bench_review");
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));
    CProfileStore().setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Employee 17"));

    QString error;
    const CGeneratorOptions options;
    const QString file = BenchDatabaseFile(options, &error);
    if (file.isEmpty()) {
        std::fprintf(stderr, "bench_review: %s\n", qPrintable(error));
        return 1;
    }
    {
        CDBClass db;
        db.Connection()->UseConnectionString(file);
        if (!db.OpenConnection() || !db.LoadEmployees())
            return 1;
        const QString path = CConnectionString(file).Value(QStringLiteral("Data Source"));
        sqlite3* handle = OpenRawSqlite(path, SQLITE_OPEN_READONLY);
        {
            QString sql;
            QVariantList values;
            WindowStatement(db, &sql, &values);
            CRawSqliteStatement raw(handle, sql, values);
            Compare("SQLite", db, [&raw](qint64* rows) { return raw.Read(rows); });
        }
        sqlite3_close(handle);
        if (!qEnvironmentVariableIsSet("KELVANE_BENCH_NO_OFFICE"))
            ExportTimes(db, home.filePath(QStringLiteral("documents")));
        db.ReleaseConnection(true, true);
    }

    CBenchServerDatabase server;
    if (!BenchServerDatabase(QStringLiteral("kelvane_bench"), options, false, &server, &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_review: %s\n", qPrintable(error));
        return 1;
    }
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection() || !db.LoadEmployees())
        return 1;
    PGconn* connection = PQconnectdb(server.conninfo.constData());
    {
        QString sql;
        QVariantList values;
        WindowStatement(db, &sql, &values);
        CRawPgStatement raw(connection, "review", sql, values);
        Compare("PostgreSQL", db, [&raw](qint64* rows) { return raw.Read(true, rows); });
    }
    PQfinish(connection);
    db.ReleaseConnection(true, true);
    return 0;
}
