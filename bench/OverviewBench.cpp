#include "app/ControlRegistration.h"
#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewXmlSource.h"
#include "ui/Sarvex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <libpq-fe.h>

#include <cstdio>
#include <string>
#include <vector>

// The employee overview on the generated million-row server database, for
// an employee on the team of 2,000 projects with 2,000 change requests and
// 2,000 comments besides the time sheets: the summary XML, the tree built
// from it in the tree-list control and one project's page (procedure, style
// sheet, page written and shown). Target: under 300 ms in all. Beside it the
// server's own time for the same two procedures, called through libpq.

namespace {

constexpr int kEmployee = 1;
constexpr int kRuns = 7;

// The employee's rows beyond the generated ones, added once.
bool AddEmployeeRows(CDBConnection& connection, QString* error)
{
    CQueryResult rows;
    CDbError dbError;
    if (!CSqlExecutor::RunNative(connection,
                                 QStringLiteral("SELECT count(*) FROM tblChgReq WHERE EmpID = ?"),
                                 {kEmployee}, &rows, &dbError)) {
        *error = dbError.description;
        return false;
    }
    if (rows.Value(0, 0).toInt() >= 2000)
        return true;
    const QString script =
        QStringLiteral(
            "INSERT INTO tblProjectTeam (ProjID, EmpID) SELECT p.ProjID, %1 FROM tblProject p "
            "WHERE NOT EXISTS (SELECT 1 FROM tblProjectTeam t WHERE t.ProjID = p.ProjID AND "
            "t.EmpID = %1);"
            "INSERT INTO tblChgReq (ProjID, EmpID, CompanyID, Item, StatusID, Priority, "
            "DateCreated) "
            "SELECT 1 + mod(g, 2000), %1, 2, 'Change ' || g, 1 + mod(g, 7), 1 + mod(g, 3), "
            "TIMESTAMP '2021-01-01' + mod(g, 1800) * INTERVAL '1 day' FROM generate_series(1, "
            "2000) g;"
            "INSERT INTO tblChgReqAction (ChgReqID, EmpID, DateAssigned, Comment, StatusID) "
            "SELECT c.ChgReqID, 2, c.DateCreated, 'Action on ' || c.Item, 8 FROM tblChgReq c "
            "WHERE c.EmpID = %1;"
            "INSERT INTO tblProjectComment (ProjID, EmpID, ProjectComment, CommentDate, Priority, "
            "CommentType) SELECT 1 + mod(g, 2000), %1, 'Comment ' || g, "
            "TIMESTAMP '2021-01-01 09:00' + mod(g, 1800) * INTERVAL '1 day', 1 + mod(g, 3), 'Info' "
            "FROM generate_series(1, 2000) g;"
            "ANALYZE")
            .arg(kEmployee);
    if (!CSqlExecutor::RunScript(connection, script, &dbError)) {
        *error = dbError.description;
        return false;
    }
    return true;
}

double Ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The same two procedures straight through libpq.
double ServerAlone(PGconn* conn, int projId)
{
    QElapsedTimer t;
    t.start();
    const std::string summary = "SELECT tvx_empSummary(" + std::to_string(kEmployee) + ")";
    const std::string page = "SELECT bv_getProjectInfoProjID(" + std::to_string(projId) + ")";
    PQclear(PQexec(conn, summary.c_str()));
    PQclear(PQexec(conn, page.c_str()));
    return Ms(t);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));

    CGeneratorOptions options;
    options.projects = 2000;
    QString error;
    CBenchServerDatabase server;
    if (!BenchServerDatabase(QStringLiteral("kelvane_bench_overview"), options, false, &server,
                             &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_overview: %s\n", qPrintable(error));
        return 1;
    }
    CDBClass db;
    db.Connection()->UseConnectionString(server.connectionString);
    if (!db.OpenConnection()) {
        std::fprintf(stderr, "bench_overview: the database does not open\n");
        return 1;
    }
    CQueryResult found;
    CSqlExecutor::RunNative(
        *db.Connection(), QStringLiteral("SELECT 1 FROM pg_proc WHERE proname = 'tvx_empsummary'"),
        {}, &found, nullptr);
    if (found.rows == 0) {
        // Made before the overview's procedures existed: made afresh.
        db.ReleaseConnection(true, true);
        if (!BenchServerDatabase(QStringLiteral("kelvane_bench_overview"), options, true, &server,
                                 &error)) {
            std::fprintf(stderr, "bench_overview: %s\n", qPrintable(error));
            return 1;
        }
        db.Connection()->UseConnectionString(server.connectionString);
        db.OpenConnection();
    }
    if (!AddEmployeeRows(*db.Connection(), &error)) {
        std::fprintf(stderr, "bench_overview: %s\n", qPrintable(error));
        return 1;
    }
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    CProfileStore profile;
    profile.setValue(QStringLiteral("USER/DefUserName"),
                     QStringLiteral("Employee %1").arg(kEmployee));
    profile.sync();

    CEmpOverviewDlg* window =
        CEmpOverviewDlg::Create(nullptr, db, std::make_unique<COverviewXmlSource>(db));
    if (!window)
        return 1;
    window->resize(1000, 700);
    QElapsedTimer opening;
    opening.start();
    window->show();
    if (!QTest::qWaitFor([window] { return window->FilterGroup(1).keys.size() > 0; }, 60000)) {
        std::fprintf(stderr, "bench_overview: the overview did not fill its tree\n");
        return 1;
    }
    const double opened = Ms(opening);
    const COverviewFilterGroup& projects = window->FilterGroup(CEmpOverviewDlg::kProjects);
    const int members = [window] {
        int n = 0;
        for (int g = CEmpOverviewDlg::kProjects; g <= CEmpOverviewDlg::kComments; ++g)
            n += static_cast<int>(window->FilterGroup(g).keys.size());
        return n;
    }();

    PGconn* conn = PQconnectdb(server.conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "bench_overview: %s\n", PQerrorMessage(conn));
        return 1;
    }
    COverviewXmlSource source(db);
    std::vector<double> summaryTimes, treeTimes, pageTimes, totals, baselines;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        QString xml;
        QString why;
        source.Run(QStringLiteral("tvx_empSummary"), {kEmployee}, xml, why);
        summaryTimes.push_back(Ms(t));

        // The tree fetches the summary itself: this is the overview's work.
        t.restart();
        window->BuildTree();
        const double tree = Ms(t);
        const int index = (run * 283) % static_cast<int>(projects.keys.size());
        t.restart();
        window->OnTreeClick(projects.keys.at(index), projects.names.at(index));
        const double page = Ms(t);
        treeTimes.push_back(tree);
        pageTimes.push_back(page);
        totals.push_back(tree + page);
        baselines.push_back(ServerAlone(conn, projects.ids.at(index)));
        QCoreApplication::processEvents();
    }
    PQfinish(conn);
    std::vector<double> rootTimes;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        window->OnTreeClick(CEmpOverviewDlg::kRoot, QString());
        rootTimes.push_back(Ms(t));
    }
    const double total = MedianOf(totals);
    std::printf("overview of %d projects' worth (%d tree members):\n",
                static_cast<int>(projects.keys.size()), members);
    std::printf("  summary XML through the facade     %8.1f ms\n", MedianOf(summaryTimes));
    std::printf("  tree from the summary (incl. XML)  %8.1f ms\n", MedianOf(treeTimes));
    std::printf("  one project's page                 %8.1f ms\n", MedianOf(pageTimes));
    std::printf("%-48s %9.2f ms  baseline %9.2f ms  (target < 300 ms) %s\n",
                "summary + tree + one page", total, MedianOf(baselines),
                total < 300 ? "ok" : "MISSED");
    std::printf("  (opening: %.0f ms; the %d-row projects page alone: %.0f ms)\n", opened,
                static_cast<int>(projects.keys.size()), MedianOf(rootTimes));
    delete window;
    db.ReleaseConnection(true, true);
    return 0;
}
