#include "app/ControlRegistration.h"
#include "bench/BenchUtil.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/ProfileStore.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewXmlSource.h"
#include "ui/Sarvex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBrowser>

#include <libpq-fe.h>

#include <cstdio>
#include <string>
#include <vector>

// The employee overview of a generated employee of the company (on about
// 1,900 projects at 3 million bookings): from the command to the tree and
// the first page shown, the window made afresh each time; beside it the
// server's own time for the two functions the opening calls, through libpq.
// Server only: the overview is made by the server's functions.

namespace {

constexpr int kEmployee = 5;
constexpr int kRuns = 5;
constexpr double kTargetMs = 1000;

double Ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

int Members(const CEmpOverviewDlg& window)
{
    int n = 0;
    for (int g = CEmpOverviewDlg::kProjects; g <= CEmpOverviewDlg::kComments; ++g)
        n += static_cast<int>(window.FilterGroup(g).keys.size());
    return n;
}

// The page the browser shows, once it shows one.
bool PageShown(const CEmpOverviewDlg& window)
{
    QWidget* control = window.Control()->ControlWidget();
    const auto* browser =
        control ? control->findChild<QTextBrowser*>(QStringLiteral("id208")) : nullptr;
    return browser && !browser->isHidden() && !browser->document()->isEmpty();
}

// The command's work: the window made and shown, the tree built and the
// employee's projects page shown. -1 when it did not get there.
double OpenOverview(CDBClass& db, int* members)
{
    QElapsedTimer t;
    t.start();
    CEmpOverviewDlg* window =
        CEmpOverviewDlg::Create(nullptr, db, std::make_unique<COverviewXmlSource>(db));
    if (!window)
        return -1;
    window->resize(1000, 700);
    window->show();
    const bool done = QTest::qWaitFor(
        [window] {
            return window->FilterGroup(CEmpOverviewDlg::kProjects).keys.size() > 0 &&
                   PageShown(*window);
        },
        60000);
    // What the user sees is painted.
    QCoreApplication::processEvents();
    const double ms = Ms(t);
    *members = Members(*window);
    window->close();
    delete window;
    QCoreApplication::processEvents();
    return done ? ms : -1;
}

double ServerAlone(PGconn* conn)
{
    QElapsedTimer t;
    t.start();
    for (const char* function : {"tvx_empSummary", "bv_GetProjInfoEmpID"}) {
        const std::string sql =
            std::string("SELECT * FROM ") + function + "(" + std::to_string(kEmployee) + ")";
        PQclear(PQexec(conn, sql.c_str()));
    }
    return Ms(t);
}

void Run(const CScaleBackend& backend)
{
    if (!backend.IsPostgres()) {
        std::printf("[SQLite] skipped: the overview is made by the server's functions\n");
        return;
    }
    CScaleDatabase database;
    if (!backend.Database(ScaleRows(), &database))
        return;
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));
    CDBClass db;
    db.Connection()->UseConnectionString(database.connectionString);
    if (!db.OpenConnection()) {
        std::fprintf(stderr, "bench_scale overview: the database does not open\n");
        return;
    }
    // The server functions in their current form.
    QString error;
    if (!CSchema::Update(*db.Connection(), &error)) {
        std::fprintf(stderr, "bench_scale overview: %s\n", qPrintable(error));
        return;
    }
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    CProfileStore profile;
    profile.setValue(QStringLiteral("USER/DefUserName"),
                     QStringLiteral("Employee %1").arg(kEmployee));
    profile.sync();

    PGconn* conn = PQconnectdb(database.conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "bench_scale overview: %s\n", PQerrorMessage(conn));
        PQfinish(conn);
        return;
    }
    int members = 0;
    std::vector<double> opened;
    std::vector<double> server;
    OpenOverview(db, &members); // warm up
    ServerAlone(conn);
    for (int run = 0; run < kRuns; ++run) {
        const double ms = OpenOverview(db, &members);
        if (ms < 0) {
            std::fprintf(stderr, "bench_scale overview: the overview did not fill its tree\n");
            break;
        }
        opened.push_back(ms);
        server.push_back(ServerAlone(conn));
    }
    PQfinish(conn);
    std::printf("[%s] Employee %d: %d members in the tree\n", backend.Name(), kEmployee, members);
    PrintFigure(backend.Name(), "overview: command to tree and first page", MedianOf(opened), "ms",
                kTargetMs);
    std::printf("[%s]   the two server functions through libpq: %.1f ms\n", backend.Name(),
                MedianOf(server));
    db.ReleaseConnection(true, true);
}

const bool s_registered = RegisterScaleSection(
    {"overview", "the employee overview of an employee on about 1,900 projects", Run});

} // namespace
