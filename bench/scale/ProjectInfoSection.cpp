#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "records/ShowPrjDlg.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

// The project information window on the company's big project (project 1,
// a sixth of all bookings): opening it with every page filled, and Update
// Totals. The totals it writes are put back as they were. The baseline: the
// statements the window needs, once each, through the back end's own
// interface (Update Totals' writes rolled back).

namespace {

constexpr int kProject = 1;
constexpr int kEmployee = 17;
constexpr int kRuns = 5;

// The totals of the project and its tasks as the generated data holds them.
struct CStoredTotals {
    CQueryResult project;
    CQueryResult tasks;
};

bool ReadTotals(CDBConnection& connection, CStoredTotals* out)
{
    return CSqlExecutor::RunNative(
               connection,
               QStringLiteral("SELECT ProjHours, ProjEstHours FROM tblProject WHERE ProjID = ?"),
               {kProject}, &out->project, nullptr) &&
           CSqlExecutor::RunNative(
               connection,
               QStringLiteral("SELECT TaskID, ActHours FROM tblProjectTask WHERE ProjID = ?"),
               {kProject}, &out->tasks, nullptr);
}

void PutTotalsBack(CDBConnection& connection, const CStoredTotals& totals)
{
    if (totals.project.rows > 0)
        CSqlExecutor::RunNative(
            connection,
            QStringLiteral(
                "UPDATE tblProject SET ProjHours = ?, ProjEstHours = ? WHERE ProjID = ?"),
            {totals.project.Value(0, 0), totals.project.Value(0, 1), kProject}, nullptr, nullptr);
    for (int r = 0; r < totals.tasks.rows; ++r)
        CSqlExecutor::RunNative(
            connection, QStringLiteral("UPDATE tblProjectTask SET ActHours = ? WHERE TaskID = ?"),
            {totals.tasks.Value(r, 1), totals.tasks.Value(r, 0)}, nullptr, nullptr);
}

// The window's reads of the project, and Update Totals' writes, raw.
class CRawProjectInfo {
public:
    CRawProjectInfo(CDBConnection& connection, const CScaleDatabase& database)
        : m_postgres(database.postgres)
    {
        const QList<QPair<QString, QVariantList>> reads = {
            {QStringLiteral("SELECT * FROM tblProject WHERE ProjID = ?"), {kProject}},
            {QStringLiteral("SELECT ProjName, ProjID, ProjColour FROM qselProjTeamAndProject "
                            "WHERE EmpID = ? ORDER BY ProjName"),
             {kEmployee}},
            {QStringLiteral("SELECT * FROM tblProjectTask WHERE ProjID = ? AND State = ? ORDER BY "
                            "TaskID"),
             {kProject, 2}},
            {QStringLiteral("SELECT EmpID, SUM(CAST(HoursWorked AS DOUBLE PRECISION)) FROM "
                            "tblTimeSheet WHERE ProjID = ? GROUP BY EmpID"),
             {kProject}},
            {QStringLiteral("SELECT EmpID, EmpFullName FROM qselProjTeamAndProject WHERE ProjID = "
                            "? ORDER BY EmpFullName, EmpID"),
             {kProject}},
            {QStringLiteral("SELECT SumChgReq, SumTodo, SumComment FROM qselProjEmpSummary WHERE "
                            "projID = ? AND EmpID = ?"),
             {kProject, 0}},
            {QStringLiteral("select count(*) AS xyz from tblTimesheet where projid = ?"),
             {kProject}},
        };
        const QList<QPair<QString, QVariantList>> writes = {
            {m_postgres ? QStringLiteral("SELECT up_adminBuildProjectTotals(?)")
                        : QStringLiteral("UPDATE tblProjectTask SET ActHours = COALESCE((SELECT "
                                         "SUM(CAST(t.HoursWorked AS DOUBLE PRECISION)) FROM "
                                         "tblTimeSheet t WHERE t.TaskID = tblProjectTask.TaskID), "
                                         "0) WHERE ProjID = ?"),
             {kProject}},
            {QStringLiteral("UPDATE tblProject SET ProjHours = COALESCE((SELECT SUM(CAST("
                            "t.HoursWorked AS DOUBLE PRECISION)) FROM tblTimeSheet t WHERE "
                            "t.ProjID = tblProject.ProjID), 0), ProjEstHours = COALESCE((SELECT "
                            "SUM(CAST(k.EstHours AS DOUBLE PRECISION)) FROM tblProjectTask k "
                            "WHERE k.ProjID = tblProject.ProjID), 0) WHERE ProjID = ?"),
             {kProject}},
        };
        if (m_postgres)
            m_pg = PQconnectdb(database.conninfo.constData());
        else
            m_sqlite = OpenRawSqlite(database.file, SQLITE_OPEN_READWRITE);
        int n = 0;
        for (const auto& [sql, values] : reads + writes) {
            const QString text = CSqlExecutor::Translate(connection, sql);
            const QVariantList bound = ProgramValues(connection, values);
            const QByteArray name = "project_info_" + QByteArray::number(n++);
            if (m_postgres)
                m_pgStatements.push_back(
                    std::make_unique<CRawPgStatement>(m_pg, name, text, bound));
            else
                m_sqliteStatements.push_back(
                    std::make_unique<CRawSqliteStatement>(m_sqlite, text, bound));
        }
        m_reads = static_cast<int>(reads.size());
    }
    ~CRawProjectInfo()
    {
        m_pgStatements.clear();
        m_sqliteStatements.clear();
        if (m_pg)
            PQfinish(m_pg);
        if (m_sqlite)
            sqlite3_close(m_sqlite);
    }
    CRawProjectInfo(const CRawProjectInfo&) = delete;
    CRawProjectInfo& operator=(const CRawProjectInfo&) = delete;

    void Open() { Run(0, m_reads); }
    void UpdateTotals()
    {
        Exec("BEGIN");
        Run(m_reads, m_reads + 2);
        Exec("ROLLBACK");
        Open();
    }
    qint64 sum = 0;

private:
    void Run(int from, int to)
    {
        qint64 rows = 0;
        for (int i = from; i < to; ++i)
            sum += m_postgres ? m_pgStatements.at(i)->Read(false, &rows)
                              : m_sqliteStatements.at(i)->Read(&rows);
    }
    void Exec(const char* sql)
    {
        if (m_postgres)
            PQclear(PQexec(m_pg, sql));
        else
            sqlite3_exec(m_sqlite, sql, nullptr, nullptr, nullptr);
    }

    bool m_postgres;
    PGconn* m_pg = nullptr;
    sqlite3* m_sqlite = nullptr;
    std::vector<std::unique_ptr<CRawPgStatement>> m_pgStatements;
    std::vector<std::unique_ptr<CRawSqliteStatement>> m_sqliteStatements;
    int m_reads = 0;
};

std::unique_ptr<CShowPrjDlg> OpenWindow(CDBClass& db)
{
    auto window = std::make_unique<CShowPrjDlg>(nullptr, db, kEmployee, kProject);
    window->Create();
    window->resize(700, 620);
    window->show();
    QApplication::processEvents();
    return window;
}

void Measure(const CScaleDatabase& database)
{
    CDBClass db;
    db.Connection()->UseConnectionString(database.connectionString);
    QString error;
    if (!db.OpenConnection() || !CSchema::Update(*db.Connection(), &error)) {
        std::fprintf(stderr, "bench_scale: %s\n", qPrintable(error));
        return;
    }
    CStoredTotals totals;
    if (!ReadTotals(*db.Connection(), &totals)) {
        std::fprintf(stderr, "bench_scale: the totals of project %d cannot be read\n", kProject);
        return;
    }
    CQueryResult bookings;
    CSqlExecutor::RunNative(*db.Connection(),
                            QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet WHERE ProjID = ?"),
                            {kProject}, &bookings, nullptr);
    std::vector<double> opens;
    std::vector<double> updates;
    std::vector<double> rawOpens;
    std::vector<double> rawUpdates;
    QString shown;
    OpenWindow(db); // the first open reads the file into the caches
    {
        CRawProjectInfo raw(*db.Connection(), database);
        raw.Open();
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer timer;
            timer.start();
            std::unique_ptr<CShowPrjDlg> window = OpenWindow(db);
            opens.push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            window->OnUpdateTotals();
            QApplication::processEvents();
            updates.push_back(timer.nsecsElapsed() / 1e6);
            shown = window->TaskCell(0, CShowPrjDlg::kColActHours);
            window->close();
            window.reset();
            timer.restart();
            raw.Open();
            rawOpens.push_back(timer.nsecsElapsed() / 1e6);
            timer.restart();
            raw.UpdateTotals();
            rawUpdates.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    PutTotalsBack(*db.Connection(), totals);
    std::printf("[%s] %lld bookings: project %d has %s bookings (first task's hours %s)\n",
                database.Backend(), static_cast<long long>(database.rows), kProject,
                qPrintable(bookings.Value(0, 0).toString()), qPrintable(shown));
    const QByteArray size = QByteArray::number(database.rows);
    PrintFigure(database.Backend(), QByteArray("open on the big project, " + size).constData(),
                MedianOf(opens), "ms", 1000);
    PrintFigure(database.Backend(),
                QByteArray("Update Totals on the big project, " + size).constData(),
                MedianOf(updates), "ms", 1500);
    std::printf("[%s]   (raw statements: open %.1f ms, Update Totals %.1f ms)\n",
                database.Backend(), MedianOf(rawOpens), MedianOf(rawUpdates));
    db.ReleaseConnection(true, true);
}

const bool s_registered = RegisterScaleSection(
    {"project-info", "the project information window on the big project",
     [](const CScaleBackend& backend) {
         PrintLoad("project-info");
         QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
         QApplication::setApplicationName(QLatin1String(kProfileApplication));
         for (const qint64 rows : {kSmallRows, ScaleRows()}) {
             CScaleDatabase database;
             if (backend.Database(rows, &database))
                 Measure(database);
         }
     }});

} // namespace
