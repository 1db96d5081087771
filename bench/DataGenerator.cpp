#include "bench/DataGenerator.h"

#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <random>

namespace {

// Rows go in as multi-row INSERTs of a few hundred rows each: one statement
// per batch on either back end.
class CBulkInserter {
public:
    CBulkInserter(CDBConnection& connection, const QString& table, const QStringList& columns)
        : m_connection(connection)
        , m_table(table)
        , m_columns(columns)
        , m_batch(qMax(1, 900 / static_cast<int>(columns.size())))
    {}

    bool Add(const QVariantList& row, QString* error)
    {
        m_values += row;
        if (++m_rows == m_batch)
            return Flush(error);
        return true;
    }

    bool Flush(QString* error)
    {
        if (m_rows == 0)
            return true;
        const QString marks =
            QLatin1Char('(') +
            QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
            QLatin1Char(')');
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                                .arg(m_table, m_columns.join(QLatin1Char(',')),
                                     QStringList(m_rows, marks).join(QLatin1Char(',')));
        CDbError dbError;
        const bool ok = CSqlExecutor::RunNative(m_connection, sql, m_values, nullptr, &dbError);
        if (!ok)
            *error = QStringLiteral("%1: %2").arg(m_table, dbError.description);
        m_values.clear();
        m_rows = 0;
        return ok;
    }

private:
    CDBConnection& m_connection;
    QString m_table;
    QStringList m_columns;
    int m_batch;
    int m_rows = 0;
    QVariantList m_values;
};

QVariant Date(const CDateTime& value)
{
    return QVariant::fromValue(value);
}

} // namespace

bool GenerateBenchData(CDBConnection& connection, const CGeneratorOptions& o, QString* error)
{
    std::mt19937 random(o.seed);
    const auto pick = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    CDbError dbError;
    if (connection.Dialect().IsSqlite()) {
        // The whole load is one transaction: keep its pages in memory rather
        // than spilling them to the log as it grows.
        CSqlExecutor::RunNative(connection, QStringLiteral("PRAGMA cache_size = -524288"), {},
                                nullptr, nullptr);
    }
    if (!connection.BeginTrans(&dbError)) {
        *error = dbError.description;
        return false;
    }
    bool ok = true;
    {
        CBulkInserter depts(connection, QStringLiteral("tblFinDept"),
                            {QStringLiteral("DeptID"), QStringLiteral("Department")});
        for (int d = 2; ok && d <= o.departments + 1; ++d)
            ok = depts.Add({d, QStringLiteral("Department %1").arg(d)}, error);
        ok = ok && depts.Flush(error);
    }
    {
        CBulkInserter emps(
            connection, QStringLiteral("tblFinEmployee"),
            QString("EmpID,FirstName,LastName,EmpFullName,IsCurrent,DeptID,NTUserName,SecLevel,Pwd")
                .split(','));
        for (int e = 1; ok && e <= o.employees; ++e)
            ok = emps.Add({e, QStringLiteral("First%1").arg(e), QStringLiteral("Last%1").arg(e),
                           QStringLiteral("Employee %1").arg(e), 1, 2 + e % o.departments,
                           QStringLiteral("user%1").arg(e), 1, QString()},
                          error);
        ok = ok && emps.Flush(error);
    }
    {
        CBulkInserter companies(
            connection, QStringLiteral("tblAddrCompany"),
            QString("CompanyID,CompanyName,City,Phone,IsCurrent,CustomerFlag").split(','));
        CBulkInserter people(
            connection, QStringLiteral("tblAddrPerson"),
            QString("FirstName,LastName,FullName,CompanyID,PeopleInternetID").split(','));
        for (int c = 2; ok && c <= o.companies + 1; ++c) {
            ok = companies.Add({c, QStringLiteral("Company %1 Ltd").arg(c),
                                QStringLiteral("City %1").arg(pick(90)),
                                QStringLiteral("+64 9 %1").arg(100000 + c), 1, c % 3 == 0 ? 1 : 0},
                               error);
            for (int p = 0; ok && p < o.peoplePerCompany; ++p)
                ok = people.Add({QStringLiteral("Pat%1").arg(p), QStringLiteral("Person%1").arg(c),
                                 QStringLiteral("Pat%1 Person%2").arg(p).arg(c), c,
                                 QStringLiteral("pat%1@company%2.example").arg(p).arg(c)},
                                error);
        }
        ok = ok && companies.Flush(error) && people.Flush(error);
    }
    {
        CBulkInserter projects(connection, QStringLiteral("tblProject"),
                               QString("ProjID,ProjName,CompanyID,ProjLeader,ProjState,"
                                       "UseTeamCheck,ProjColour,ProjHourRate")
                                   .split(','));
        CBulkInserter tasks(
            connection, QStringLiteral("tblProjectTask"),
            QString("TaskID,Task,ProjID,OrderID,State,DefaultWorkTypeID,TaskOrder").split(','));
        CBulkInserter orders(
            connection, QStringLiteral("tblProjectOrderBook"),
            QString("OrderID,OrderCode,ProjID,IsDefault,IsDone,OrderHourRate").split(','));
        CBulkInserter team(connection, QStringLiteral("tblProjectTeam"),
                           {QStringLiteral("ProjID"), QStringLiteral("EmpID")});
        for (int p = 1; ok && p <= o.projects; ++p) {
            const bool teamCheck = p % 10 == 0;
            ok = projects.Add({p, QStringLiteral("Project %1").arg(p, 4, 10, QLatin1Char('0')),
                               2 + pick(o.companies), 1 + pick(o.employees), 2, teamCheck ? 1 : 0,
                               static_cast<int>(random() & 0xFFFFFF), 80 + pick(60)},
                              error);
            for (int k = 0; ok && k < o.ordersPerProject; ++k)
                ok = orders.Add({(p - 1) * o.ordersPerProject + k + 1,
                                 QStringLiteral("P%1-O%2").arg(p).arg(k + 1), p, k == 0 ? 1 : 0, 0,
                                 85.5 + k},
                                error);
            for (int k = 0; ok && k < o.tasksPerProject; ++k)
                ok = tasks.Add({(p - 1) * o.tasksPerProject + k + 1,
                                QStringLiteral("Task %1 of %2").arg(k + 1).arg(p), p,
                                (p - 1) * o.ordersPerProject + 1, 2, 1 + k % 6,
                                QString::number(k + 1)},
                               error);
            for (int m = 0; ok && teamCheck && m < 5; ++m)
                ok = team.Add({p, 1 + (p + m * 37) % o.employees}, error);
        }
        ok = ok && projects.Flush(error) && orders.Flush(error) && tasks.Flush(error) &&
             team.Flush(error);
    }
    // The calendar days the bookings cover: the project records fall in them.
    int bookedDays = 1;
    QDate lastBooked(kBenchFirstYear, 1, 1);
    {
        // Working days of the years, each employee booking the same number
        // of blocks a day, one after another from 08:00.
        QList<QDate> days;
        for (QDate d(kBenchFirstYear, 1, 1); d < QDate(kBenchFirstYear + o.years, 1, 1);
             d = d.addDays(1))
            if (d.dayOfWeek() <= 5)
                days << d;
        const qint64 perDay =
            o.blocksPerDay > 0
                ? o.blocksPerDay
                : qMax<qint64>(
                      1, o.timeSheetRows / (static_cast<qint64>(days.size()) * o.employees) + 1);
        CBulkInserter sheets(
            connection, QStringLiteral("tblTimeSheet"),
            QString("EmpID,ProjID,OrderID,WorkDate,StartTime,StopTime,HoursWorked,TaskID,Comment,"
                    "InvCost,WorkTypeID,TimeID")
                .split(','));
        qint64 written = 0;
        for (int di = 0; ok && di < days.size() && written < o.timeSheetRows; ++di) {
            const CDateTime day(days.at(di));
            bookedDays = di + 1;
            for (int e = 1; ok && e <= o.employees && written < o.timeSheetRows; ++e) {
                int minute = 8 * 60;
                for (int b = 1; ok && b <= perDay && written < o.timeSheetRows; ++b, ++written) {
                    const int length = 30 + 15 * pick(8);
                    const int project = pick(100) < o.bigProjectShare ? 1 : 1 + pick(o.projects);
                    ok =
                        sheets.Add({e, project, (project - 1) * o.ordersPerProject + 1, Date(day),
                                    Date(day.AddSecs(minute * 60)),
                                    Date(day.AddSecs((minute + length) * 60)), length / 60.0,
                                    (project - 1) * o.tasksPerProject + 1 + pick(o.tasksPerProject),
                                    QStringLiteral("Worked on item %1").arg(pick(100000)),
                                    85.5 * length / 60.0, 1 + pick(6), b},
                                   error);
                    minute += length;
                }
            }
        }
        ok = ok && sheets.Flush(error);
        if (!days.isEmpty())
            lastBooked = days.at(qMin<qsizetype>(bookedDays, days.size()) - 1);
    }
    {
        // Comments and to-dos of every kind, over the days of the bookings.
        static const char* const kTypes[] = {"ToDo", "Done", "Info", "Good", "Bad", "FAQ"};
        const int span = static_cast<int>(QDate(kBenchFirstYear, 1, 1).daysTo(lastBooked)) + 1;
        CBulkInserter comments(
            connection, QStringLiteral("tblProjectComment"),
            QString("CommentID,ProjID,EmpID,CompanyID,ProjectComment,CommentDate,"
                    "ActionDate,Priority,ContactName,CommentType,ObjectTypeID,"
                    "ObjectID,Reference")
                .split(','));
        for (int c = 1; ok && c <= o.comments; ++c) {
            const int project = 1 + pick(o.projects);
            const CDateTime day(QDate(kBenchFirstYear, 1, 1).addDays(pick(span)));
            ok = comments.Add(
                {c, project, 1 + pick(o.employees), 2 + pick(o.companies),
                 QStringLiteral("Comment %1 on project %2").arg(c).arg(project), Date(day),
                 Date(day.AddSecs(86400 * (1 + pick(30)))), 1 + pick(3),
                 QStringLiteral("Pat%1 Person%2").arg(pick(2)).arg(2 + pick(o.companies)),
                 QLatin1String(kTypes[pick(6)]), 2, project, QStringLiteral("REF-%1").arg(c)},
                error);
        }
        ok = ok && comments.Flush(error);

        // Change requests, most of them still open, each with its team and an action.
        CBulkInserter requests(connection, QStringLiteral("tblChgReq"),
                               QString("ChgReqID,ProjID,EmpID,CompanyID,Contact,Reference,Item,"
                                       "DateCreated,DateCompleted,StatusID,Priority,TeamList")
                                   .split(','));
        CBulkInserter team(connection, QStringLiteral("tblChgReqTeam"),
                           {QStringLiteral("ChgReqID"), QStringLiteral("EmpID")});
        CBulkInserter actions(
            connection, QStringLiteral("tblChgReqAction"),
            QString("ChgActionID,ChgReqID,EmpID,DateAssigned,Comment,StatusID").split(','));
        for (int r = 1; ok && r <= o.changeRequests; ++r) {
            const CDateTime created(QDate(kBenchFirstYear, 1, 1).addDays(pick(span)));
            const bool done = pick(7) == 0;
            int author = 1 + pick(o.employees);
            if (author == kBenchListMember)
                author = author % o.employees + 1;
            const int members = pick(3);
            const bool listed = r <= kBenchListMemberRequests;
            ok = requests.Add({r, 1 + pick(o.projects), author, 2 + pick(o.companies),
                               QStringLiteral("Pat0 Person%1").arg(2 + pick(o.companies)),
                               QStringLiteral("CR-%1").arg(r),
                               QStringLiteral("Change %1: widen the item").arg(r), Date(created),
                               done ? Date(created.AddSecs(86400 * 20)) : QVariant(),
                               done ? 7 : 1 + pick(6), 1 + pick(3), QString()},
                              error);
            if (ok && listed)
                ok = team.Add({r, kBenchListMember}, error);
            for (int m = 0; ok && m < members; ++m)
                if (const int member = 1 + (author + 1 + m * 53) % o.employees;
                    member != kBenchListMember)
                    ok = team.Add({r, member}, error);
            ok = ok && actions.Add({r, r, author, Date(created),
                                    QStringLiteral("First look at change %1").arg(r), 8},
                                   error);
        }
        ok = ok && requests.Flush(error) && team.Flush(error) && actions.Flush(error);
    }
    if (ok && connection.Dialect().IsPostgres()) {
        // Keys were given explicitly: the counters go on after the largest.
        CDbError keyError;
        ok = CSqlExecutor::RunNative(
            connection,
            QStringLiteral(
                "SELECT setval(pg_get_serial_sequence(c.table_name, c.column_name), "
                "(xpath('/row/m/text()', query_to_xml(format('SELECT COALESCE(MAX(%I), 0) + 1 AS m "
                "FROM %I', "
                "c.column_name, c.table_name), false, true, '')))[1]::text::integer, false) "
                "FROM information_schema.columns c WHERE c.table_schema = current_schema() "
                "AND c.is_identity = 'YES'"),
            {}, nullptr, &keyError);
        if (!ok)
            *error = keyError.description;
    }
    if (!ok) {
        connection.RollbackTrans();
        return false;
    }
    if (!connection.CommitTrans(&dbError)) {
        *error = dbError.description;
        return false;
    }
    return true;
}

QString BenchDatabasePath(const CGeneratorOptions& options)
{
    QString folder = qEnvironmentVariable("KELVANE_BENCH_DATA");
    if (folder.isEmpty())
        folder = QDir::temp().filePath(QStringLiteral("kelvane-bench"));
    QDir().mkpath(folder);
    const QString tag = options.tag.isEmpty() ? QString() : options.tag + QLatin1Char('-');
    return QDir(folder).filePath(QStringLiteral("bench-%1%2-%3-%4.db")
                                     .arg(tag)
                                     .arg(options.employees)
                                     .arg(options.timeSheetRows)
                                     .arg(options.seed));
}

CGeneratorOptions CGeneratorOptions::Company(qint64 rows)
{
    CGeneratorOptions o;
    const auto share = [rows](qint64 atThreeMillion, qint64 least) {
        return static_cast<int>(qMax(least, atThreeMillion * rows / 3000000));
    };
    o.employees = 200;
    o.timeSheetRows = rows;
    o.blocksPerDay = 6;
    // 261 working days a year.
    o.years = static_cast<int>(qMax<qint64>(1, (rows + 200 * 6 * 261 - 1) / (200 * 6 * 261)));
    o.projects = share(1900, 100);
    o.companies = share(50000, 500);
    o.comments = share(100000, 1000);
    o.changeRequests = share(100000, 1000);
    o.bigProjectShare = 16;
    o.tag = QStringLiteral("company");
    return o;
}

QString BenchDatabaseFile(const CGeneratorOptions& options, QString* error)
{
    const QString file = BenchDatabasePath(options);
    const QString connectionString = CConnectionString::SqliteString(file);
    if (QFileInfo::exists(file))
        return connectionString;
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    if (!CreateSqliteDatabaseFile(partial, error))
        return QString();
    {
        CDBConnection connection;
        connection.UseConnectionString(CConnectionString::SqliteString(partial));
        // Filling a million rows takes statements longer than a window waits.
        connection.SetWaitLimits({0, 0});
        if (!connection.Connect(false)) {
            *error = connection.LastOpenError();
            return QString();
        }
        QElapsedTimer timer;
        timer.start();
        if (!CSchema::Create(connection, error) || !GenerateBenchData(connection, options, error))
            return QString();
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("generated %lld time-sheet rows in %.1f s (%.0f rows/s)\n",
                    static_cast<long long>(options.timeSheetRows), seconds,
                    options.timeSheetRows / seconds);
        CSqlExecutor::RunNative(connection, QStringLiteral("ANALYZE"), {}, nullptr, nullptr);
        connection.ReleaseConnection(true);
    }
    QFile::rename(partial, file);
    return connectionString;
}

bool BenchServerDatabase(const QString& name, const CGeneratorOptions& options, bool fresh,
                         CBenchServerDatabase* out, QString* error)
{
    const QString server = qEnvironmentVariable("KELVANE_TEST_PG");
    if (server.isEmpty())
        return false;
    QHash<QString, QString> settings;
    for (const QString& part : server.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        settings.insert(part.section(QLatin1Char('='), 0, 0), part.section(QLatin1Char('='), 1));
    const QString host = settings.value(QStringLiteral("host"));
    const int port = settings.value(QStringLiteral("port")).toInt();
    const QString user = settings.value(QStringLiteral("user"));
    out->connectionString = CConnectionString::PostgresString(host, port, name, user, QString());
    out->conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                        .arg(host)
                        .arg(port)
                        .arg(user, name)
                        .toUtf8();

    {
        QSqlDatabase admin =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        admin.setHostName(host);
        admin.setPort(port);
        admin.setUserName(user);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open()) {
            *error = QStringLiteral("cannot reach the server: %1").arg(server);
            return false;
        }
        {
            QSqlQuery exists(admin);
            exists.prepare(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"));
            exists.addBindValue(name);
            fresh = fresh || !exists.exec() || !exists.next();
        }
        if (fresh) {
            QSqlQuery(admin).exec(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            QSqlQuery(admin).exec(
                QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    CDBConnection connection;
    connection.UseConnectionString(out->connectionString);
    // Filling a million rows takes statements longer than a window waits.
    connection.SetWaitLimits({0, 0});
    if (!connection.Connect(false)) {
        *error = connection.LastOpenError();
        return false;
    }
    if (!fresh) {
        // Kept from an earlier program of the same run when it is complete.
        CQueryResult rows;
        if (CSqlExecutor::RunNative(connection, QStringLiteral("SELECT count(*) FROM tblTimeSheet"),
                                    {}, &rows, nullptr) &&
            rows.Value(0, 0).toLongLong() >= options.timeSheetRows)
            return true;
        CSqlExecutor::RunScript(connection,
                                QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"),
                                nullptr);
    }
    QElapsedTimer timer;
    timer.start();
    if (!CSchema::Create(connection, error) || !GenerateBenchData(connection, options, error))
        return false;
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("generated %lld time-sheet rows on the server in %.1f s (%.0f rows/s)\n",
                static_cast<long long>(options.timeSheetRows), seconds,
                options.timeSheetRows / seconds);
    // As autovacuum leaves a table that has settled: statistics, and the
    // visibility map that lets index-only scans skip the table.
    CSqlExecutor::RunNative(connection, QStringLiteral("VACUUM ANALYZE"), {}, nullptr, nullptr);
    return true;
}

bool BenchServerOrExit(const char* program, const CGeneratorOptions& options, bool fresh,
                       CBenchServerDatabase* out, int* exitCode)
{
    QString error;
    if (BenchServerDatabase(QStringLiteral("kelvane_bench"), options, fresh, out, &error))
        return true;
    if (error.isEmpty()) {
        std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
        *exitCode = 0;
    } else {
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(error));
        *exitCode = 1;
    }
    return false;
}

int RunOnBothBackEnds(
    const char* program, const std::function<void(CDBConnection&, const QString& file)>& onFile,
    const std::function<void(CDBConnection&, const CBenchServerDatabase&)>& onServer)
{
    QString error;
    const CGeneratorOptions options;
    const QString fileString = BenchDatabaseFile(options, &error);
    if (fileString.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(error));
        return 1;
    }
    {
        CDBConnection conn;
        conn.UseConnectionString(fileString);
        if (!conn.Connect(false))
            return 1;
        onFile(conn, CConnectionString(fileString).Value(QStringLiteral("Data Source")));
        conn.ReleaseConnection(true);
    }
    CBenchServerDatabase server;
    if (int exitCode = 0; !BenchServerOrExit(program, options, false, &server, &exitCode))
        return exitCode;
    CDBConnection conn;
    conn.UseConnectionString(server.connectionString);
    if (!conn.Connect(false))
        return 1;
    onServer(conn, server);
    conn.ReleaseConnection(true);
    return 0;
}
