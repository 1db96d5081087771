#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/records/HoursSumSet.h"
#include "office/OfficeSession.h"
#include "platform/ProfileStore.h"
#include "review/ReviewDlg.h"
#include "review/ReviewGrid.h"
#include "ui/MyListCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "bench/RawSqlite.h"
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

// The week review of every employee over the year 2023 on the generated
// million-row database: the facade's path (the saved query through its
// record class, walked into the grid's rows) beside the same GROUP BY run
// directly on the tables through SQLite's own interface and through libpq.
// Then the list export of 250 days through LibreOffice, with the office's
// start and without it.

namespace {

const QDate kStart(2023, 1, 1);
const QDate kEnd(2023, 12, 31);
constexpr int kRuns = 7;
constexpr double kTarget = 1.5;

// The view's GROUP BY with the period on the table and the grid's order.
const char* kRawSql =
    "SELECT p.ProjName, k.Task, t.WorkDate, substr(CAST(t.WorkDate AS TEXT), 1, 10) AS DateStr, "
    "t.EmpID, SUM(CAST(t.HoursWorked AS DOUBLE PRECISION)) AS SumOfHoursWorked "
    "FROM tblTimeSheet t LEFT JOIN tblProject p ON p.ProjID = t.ProjID "
    "LEFT JOIN tblProjectTask k ON k.TaskID = t.TaskID "
    "WHERE t.WorkDate >= %1 AND t.WorkDate < %2 "
    "GROUP BY p.ProjName, k.Task, t.WorkDate, t.EmpID, t.ProjID, t.TaskID "
    "ORDER BY p.ProjName, k.Task, t.WorkDate, t.EmpID";

struct CWalk {
    qint64 records = 0;
    int rows = 0;
};

// The facade's path: what the review's fill does without the list control.
CWalk FacadeReview(CDBClass& db)
{
    CWalk walk;
    CHoursSumSet set(db.Connection());
    set.Recordset()->SetFilter(
        QStringLiteral("[WorkDate] >= ? AND [WorkDate] < ?"),
        {QVariant::fromValue(CDateTime(kStart)), QVariant::fromValue(CDateTime(kEnd.addDays(1)))});
    set.Recordset()->SetSort(QStringLiteral("[ProjName], [Task], [WorkDate], [EmpID]"));
    if (!db.OpenRecordSet(&set))
        return walk;
    QHash<int, QString> names;
    for (const CEmployeeEntry& e : db.Employees())
        names.insert(e.EmpID, e.EmpFullName);
    CReviewGrid grid(kStart, static_cast<int>(kStart.daysTo(kEnd)) + 1, QString(),
                     [&walk](const QStringList&) { ++walk.rows; });
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
        grid.Add(set.m_ProjName, set.m_Task, set.m_WorkDate.Date(), set.m_SumOfHoursWorked1,
                 names.value(set.m_EmpID));
    grid.Finish();
    walk.records = grid.RecordsRead();
    db.CloseRecordSet(&set);
    return walk;
}

qint64 RawSqlite(sqlite3* handle)
{
    const std::string sql = QString::fromLatin1(kRawSql).arg("?1", "?2").toStdString();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, "2023-01-01 00:00:00", -1, SQLITE_STATIC);
    sqlite3_bind_text(stmt, 2, "2024-01-01 00:00:00", -1, SQLITE_STATIC);
    qint64 rows = 0;
    double sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c : {0, 1, 2, 3})
            sum += sqlite3_column_bytes(stmt, c);
        sum += sqlite3_column_int(stmt, 4) + sqlite3_column_double(stmt, 5);
        ++rows;
    }
    sqlite3_finalize(stmt);
    return sum > 0 ? rows : 0;
}

qint64 RawPostgres(PGconn* connection)
{
    const std::string sql = QString::fromLatin1(kRawSql).arg("$1", "$2").toStdString();
    const char* values[] = {"2023-01-01 00:00:00", "2024-01-01 00:00:00"};
    PGresult* result =
        PQexecParams(connection, sql.c_str(), 2, nullptr, values, nullptr, nullptr, 0);
    qint64 rows = 0;
    double sum = 0;
    if (PQresultStatus(result) == PGRES_TUPLES_OK) {
        rows = PQntuples(result);
        for (int r = 0; r < rows; ++r) {
            for (int c : {0, 1, 2, 3})
                sum += PQgetlength(result, r, c);
            sum += std::atoi(PQgetvalue(result, r, 4)) + std::atof(PQgetvalue(result, r, 5));
        }
    } else {
        std::fprintf(stderr, "bench_review: %s\n", PQresultErrorMessage(result));
    }
    PQclear(result);
    return sum > 0 ? rows : 0;
}

void Compare(const char* backend, CDBClass& db, const std::function<qint64()>& raw)
{
    CWalk walk;
    qint64 rawRows = 0;
    const BenchPair pair = TimePair(
        kRuns, [&] { walk = FacadeReview(db); }, [&] { rawRows = raw(); });
    std::printf("[%s] %lld records, %d grid rows (raw: %lld records)\n", backend,
                static_cast<long long>(walk.records), walk.rows, static_cast<long long>(rawRows));
    PrintPair(
        QStringLiteral("[%1] review of a year, all employees").arg(backend).toUtf8().constData(),
        pair, kTarget);
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
    std::printf("[SQLite] the review window, 250 days of all employees: %.0f ms (%d grid rows)\n",
                reviewMs, window.List()->ItemCount());
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    QApplication app(argc, argv);
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
        Compare("SQLite", db, [handle] { return RawSqlite(handle); });
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
    Compare("PostgreSQL", db, [connection] { return RawPostgres(connection); });
    PQfinish(connection);
    db.ReleaseConnection(true, true);
    return 0;
}
