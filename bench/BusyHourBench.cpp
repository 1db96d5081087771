#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "data/records/HoursSumSet.h"
#include "platform/MessageBox.h"
#include "review/ReviewDlg.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <libpq-fe.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>

// A company's busy hour: every employee's program on one PostgreSQL server at
// once. Each client is a process of its own with its own connection, signed
// on as its own employee, saving a block, loading a day and reviewing a month
// through the facade in turn, with a user's pause between. The latencies of
// one client alone are the baseline of the same paths with many at once.

namespace {

constexpr int kPaths = 3;
const char* const kPathNames[kPaths] = {"save", "day load", "review"};
// Working days with generated bookings, from the first day of the data.
constexpr int kBookedDays = 60;
constexpr int kBlocksPerDay = 4;
constexpr int kSaveLength = 30;
constexpr double kRatioTarget = 10;
constexpr double kLimitMs = 2000;
const QString kDatabase = QStringLiteral("kelvane_busyhour");

qint64 Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QList<QDate> WorkingDays(int count)
{
    QList<QDate> days;
    for (QDate d(kBenchFirstYear, 1, 1); days.size() < count; d = d.addDays(1))
        if (d.dayOfWeek() <= 5)
            days << d;
    return days;
}

// Nobody to ask: every message counts against the operation that showed it.
class CQuietMessages : public IMessageBoxHook {
public:
    int shown = 0;
    QString first;
    int Show(const QString& text, const QString&, unsigned type) override
    {
        if (shown++ == 0)
            first = text;
        return CautiousAnswer(type);
    }
};

// ---- One employee's program -----------------------------------------------------------

class CClient {
public:
    CClient(int empId, int phase)
        : m_empId(empId)
        , m_phase(phase)
        , m_random(static_cast<unsigned>(empId * 7919 + phase))
        , m_saveDays(WorkingDays(1000))
        , m_bookedDays(WorkingDays(kBookedDays))
    {}

    // Signed on as the desktop does: the start-up reads, the employee's own
    // check, the names and his projects; then what he books on.
    bool SignOn(const QString& connectionString)
    {
        m_db.Connection()->UseConnectionString(connectionString);
        if (!m_db.Connect() || !m_db.CheckUserPassword(m_empId, QString()) ||
            !m_db.LoadEmployees() || !m_db.LoadProjects(m_empId))
            return false;
        m_name = m_db.GetEmpFullNameById(m_empId);
        CQueryResult rows;
        if (!CSqlExecutor::RunNative(
                *m_db.Connection(),
                QStringLiteral("SELECT t.ProjID, t.OrderID, t.TaskID, o.OrderHourRate FROM "
                               "tblTimeSheet t JOIN tblProjectOrderBook o ON o.OrderID = "
                               "t.OrderID WHERE t.EmpID = ? ORDER BY t.TimesheetID LIMIT 1"),
                {m_empId}, &rows, nullptr) ||
            rows.rows == 0)
            return false;
        m_block.EmpID = m_empId;
        m_block.ProjID = rows.Value(0, 0).toInt();
        m_block.OrderID = rows.Value(0, 1).toInt();
        m_block.TaskID = rows.Value(0, 2).toInt();
        m_block.OrderHourRate = rows.Value(0, 3).toFloat();
        // Each run has an hour of its own, late enough to meet no booking.
        m_block.Start = (20 + m_phase) * 60;
        m_block.Stop = m_block.Start + kSaveLength;
        m_block.Comment = QStringLiteral("Busy hour block");
        m_block.TimeID = 900 + m_phase;
        return !m_name.isEmpty();
    }

    bool Run(int path) { return (this->*kRuns[path])(); }

    // The pause of a user between two actions.
    void Think() { QThread::msleep(50 + m_random() % 151); }

private:
    // A new block, each on a day of its own, as the time-sheet window saves it.
    bool Save()
    {
        CTimeSheetWrite e = m_block;
        e.WorkDate = CDateTime(m_saveDays.at(m_nextSave++ % m_saveDays.size()));
        m_db.SetDayKey(e.WorkDate, m_empId);
        return m_db.UpdateTimeData(nullptr, e) == kWriteOk;
    }

    // The time sheet switching to a booked day, read afresh.
    bool LoadDay()
    {
        const QDate day = m_bookedDays.at(static_cast<int>(m_random() % kBookedDays));
        m_db.EnsureDayLoaded(m_empId, day, true);
        return !m_db.DayOutOfStep() && !m_db.DayEntries().isEmpty();
    }

    // The week review of the employee's own month, read as the window reads it.
    bool Review()
    {
        const QDate first(kBenchFirstYear, 1 + static_cast<int>(m_random() % 3), 1);
        CHoursSumSet set(m_db.Connection());
        CReviewDlg::SelectGridRecords(set, m_db.GetEmpIdByName(m_name),
                                      {first, first.addMonths(1).addDays(-1)},
                                      QStringLiteral("All"));
        if (!m_db.OpenRecordSet(&set))
            return false;
        int rows = 0;
        double hours = 0;
        for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
            ++rows;
            hours += set.m_SumOfHoursWorked1;
        }
        const bool whole = set.Recordset()->ErrorCode() == kS_OK;
        m_db.CloseRecordSet(&set);
        return whole && rows > 0 && hours > 0;
    }

    static constexpr bool (CClient::*kRuns[kPaths])() = {&CClient::Save, &CClient::LoadDay,
                                                         &CClient::Review};
    CDBClass m_db;
    int m_empId;
    int m_phase;
    std::mt19937 m_random;
    QList<QDate> m_saveDays;
    QList<QDate> m_bookedDays;
    QString m_name;
    CTimeSheetWrite m_block;
    int m_nextSave = 0;
};

// --client <connection string> <employee> <phase> <start, ms since epoch> <end> <output file>
int RunClient(const QStringList& args)
{
    CQuietMessages quiet;
    SetMessageBoxHook(&quiet);
    const int empId = args.at(3).toInt();
    const qint64 go = args.at(5).toLongLong();
    const qint64 end = args.at(6).toLongLong();
    QFile out(args.at(7));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    CClient client(empId, args.at(4).toInt());
    if (!client.SignOn(args.at(2))) {
        out.write("signon-failed\n");
        std::fprintf(stderr, "bench_busyhour: employee %d cannot sign on: %s\n", empId,
                     qPrintable(quiet.first));
        return 0;
    }
    // Everybody starts together, whatever his own start took.
    if (const qint64 wait = go - Now(); wait > 0)
        QThread::msleep(static_cast<unsigned long>(wait));
    QByteArray lines = "start " + QByteArray::number(Now()) + '\n';
    for (int i = 0; Now() < end; ++i) {
        const int path = i % kPaths;
        const int before = quiet.shown;
        QElapsedTimer timer;
        timer.start();
        const bool ok = client.Run(path) && quiet.shown == before;
        const double ms = timer.nsecsElapsed() / 1e6;
        lines += QByteArray::number(path) + ' ' + QByteArray::number(ms, 'f', 3) + ' ' +
                 (ok ? '1' : '0') + '\n';
        client.Think();
    }
    if (quiet.shown > 0)
        std::fprintf(stderr, "bench_busyhour: employee %d was told %d times, first: %s\n", empId,
                     quiet.shown, qPrintable(quiet.first));
    out.write(lines);
    return 0;
}

// ---- The company --------------------------------------------------------------------------

struct CPhase {
    int clients = 0;
    std::vector<double> ms[kPaths];
    int failed[kPaths] = {};
    int signOnFailed = 0;
    qint64 startSpreadMs = 0;
    int peakConnected = 0;
    int peakActive = 0;
};

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * values.size()));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

// How many of the clients' connections the server holds, and how many of
// them run a statement, now.
void Sample(PGconn* monitor, CPhase* phase)
{
    PGresult* r = PQexec(monitor, "SELECT count(*), count(*) FILTER (WHERE state = 'active') "
                                  "FROM pg_stat_activity WHERE datname = current_database() "
                                  "AND pid <> pg_backend_pid()");
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1) {
        phase->peakConnected = std::max(phase->peakConnected, std::atoi(PQgetvalue(r, 0, 0)));
        phase->peakActive = std::max(phase->peakActive, std::atoi(PQgetvalue(r, 0, 1)));
    }
    PQclear(r);
}

void ReadClient(const QString& file, CPhase* phase, qint64* firstStart, qint64* lastStart)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        ++phase->signOnFailed;
        return;
    }
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.value(0) == "signon-failed") {
            ++phase->signOnFailed;
        } else if (f.value(0) == "start") {
            *firstStart = std::min(*firstStart, f.value(1).toLongLong());
            *lastStart = std::max(*lastStart, f.value(1).toLongLong());
        } else if (f.size() == 3) {
            const int path = f.at(0).toInt();
            phase->ms[path].push_back(f.at(1).toDouble());
            if (f.at(2) != "1")
                ++phase->failed[path];
        }
    }
}

CPhase RunPhase(const CBenchServerDatabase& server, PGconn* monitor, int clients, int phase,
                int seconds)
{
    CPhase result;
    result.clients = clients;
    QTemporaryDir dir;
    // Time for every process to load and sign on before the common start.
    const qint64 go = Now() + 1500 + 30 * clients;
    const qint64 end = go + seconds * 1000;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < clients; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--client"), server.connectionString, QString::number(i + 1),
                        QString::number(phase), QString::number(go), QString::number(end),
                        dir.filePath(QStringLiteral("client-%1.txt").arg(i + 1))});
        processes.push_back(std::move(process));
    }
    while (Now() < end + 500) {
        QCoreApplication::processEvents();
        Sample(monitor, &result);
        QThread::msleep(50);
    }
    for (auto& process : processes)
        if (!process->waitForFinished(60000))
            process->kill();
    qint64 firstStart = std::numeric_limits<qint64>::max();
    qint64 lastStart = 0;
    for (int i = 0; i < clients; ++i)
        ReadClient(dir.filePath(QStringLiteral("client-%1.txt").arg(i + 1)), &result, &firstStart,
                   &lastStart);
    result.startSpreadMs = lastStart >= firstStart ? lastStart - firstStart : -1;
    return result;
}

void PrintPhase(const CPhase& p)
{
    // Statements of a millisecond are seldom caught running by a sample.
    std::printf("  %d client(s): %d connected at the peak, at most %d seen running a statement; "
                "all started within %lld ms\n",
                p.clients, p.peakConnected, p.peakActive, static_cast<long long>(p.startSpreadMs));
}

void Compare(const CPhase& one, const CPhase& many)
{
    std::printf("  %-9s %7s %7s %9s %9s %9s\n", "path", "clients", "count", "p50 ms", "p95 ms",
                "max ms");
    for (int path = 0; path < kPaths; ++path)
        for (const CPhase* p : {&one, &many})
            std::printf("  %-9s %7d %7zu %9.2f %9.2f %9.2f\n", kPathNames[path], p->clients,
                        p->ms[path].size(), Percentile(p->ms[path], 0.5),
                        Percentile(p->ms[path], 0.95), Percentile(p->ms[path], 1.0));
    for (int path = 0; path < kPaths; ++path) {
        const double base = Percentile(one.ms[path], 0.95);
        const double busy = Percentile(many.ms[path], 0.95);
        const double ratio = base > 0 ? busy / base : 0;
        const bool ok = !many.ms[path].empty() && ratio <= kRatioTarget && busy < kLimitMs;
        const QByteArray what = QByteArray("  ") + kPathNames[path] + ", p95 at " +
                                QByteArray::number(many.clients) + " clients";
        std::printf("%-48s %9.2f ms  baseline %9.2f ms  ratio %5.2f  (target <= %.0f, < %.0f ms) "
                    "%s\n",
                    what.constData(), busy, base, ratio, kRatioTarget, kLimitMs,
                    ok ? "ok" : "MISSED");
    }
    int failed[kPaths];
    for (int path = 0; path < kPaths; ++path)
        failed[path] = one.failed[path] + many.failed[path];
    const int signOn = one.signOnFailed + many.signOnFailed;
    const int all = signOn + failed[0] + failed[1] + failed[2];
    std::printf("  failed operations: %d (sign-on %d, save %d, day load %d, review %d) %s\n", all,
                signOn, failed[0], failed[1], failed[2], all == 0 ? "ok" : "FAILED");
}

bool DropDatabase()
{
    const QByteArray admin = qgetenv("KELVANE_TEST_PG") + " dbname=postgres";
    PGconn* conn = PQconnectdb(admin.constData());
    PGresult* r = PQexec(conn, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                                   .arg(kDatabase)
                                   .toUtf8()
                                   .constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(conn);
    return ok;
}

QByteArray Show(PGconn* conn, const char* sql)
{
    PGresult* r = PQexec(conn, sql);
    const QByteArray value = PQresultStatus(r) == PGRES_TUPLES_OK ? PQgetvalue(r, 0, 0) : "?";
    PQclear(r);
    return value;
}

int EnvInt(const char* name, int otherwise)
{
    const int value = qEnvironmentVariableIntValue(name);
    return value > 0 ? value : otherwise;
}

int RunCompany()
{
    PrintLoad("bench_busyhour");
    const int clients = EnvInt("BENCH_CLIENTS", 100);
    const int seconds = EnvInt("BENCH_SECONDS", 15);
    // A modest company: every client an employee of its own, a few months
    // of bookings each.
    CGeneratorOptions options;
    options.employees = std::max(120, clients);
    options.departments = 5;
    options.projects = 30;
    options.companies = 50;
    options.peoplePerCompany = 1;
    options.years = 1;
    options.blocksPerDay = kBlocksPerDay;
    options.timeSheetRows = static_cast<qint64>(options.employees) * kBlocksPerDay * kBookedDays;
    CBenchServerDatabase server;
    QString error;
    if (!BenchServerDatabase(kDatabase, options, true, &server, &error)) {
        if (error.isEmpty()) {
            std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
            return 0;
        }
        std::fprintf(stderr, "bench_busyhour: %s\n", qPrintable(error));
        DropDatabase();
        return 1;
    }
    PGconn* monitor = PQconnectdb(server.conninfo.constData());
    std::printf("[PostgreSQL] %d employees, %lld bookings; max_connections %s; %d s a run, a "
                "pause of 50-200 ms between actions\n",
                options.employees, static_cast<long long>(options.timeSheetRows),
                Show(monitor, "SHOW max_connections").constData(), seconds);
    const CPhase one = RunPhase(server, monitor, 1, 0, seconds);
    const CPhase many = RunPhase(server, monitor, clients, 1, seconds);
    PrintPhase(one);
    PrintPhase(many);
    Compare(one, many);
    // The saves really went in: one row each.
    const qsizetype saves = one.ms[0].size() + many.ms[0].size() - one.failed[0] - many.failed[0];
    std::printf(
        "  blocks saved %lld, in the database %s\n", static_cast<long long>(saves),
        Show(monitor, "SELECT count(*) FROM tblTimeSheet WHERE TimeID IN (900, 901)").constData());
    PQfinish(monitor);
    if (!DropDatabase())
        std::fprintf(stderr, "bench_busyhour: %s was not dropped\n", qPrintable(kDatabase));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--client") && args.size() == 8)
        return RunClient(args);
    // The clients inherit a home of their own, never the user's.
    QTemporaryDir home;
    IsolateBenchProcess(home);
    return RunCompany();
}
