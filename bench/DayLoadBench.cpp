#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/records/TimeSheetSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>

#include <cstdio>

// Opening one employee's day on the generated million-row database through
// the time-sheet record class, beside the same SELECT in the sqlite3 shell.

namespace {

// Seconds the sqlite3 shell takes to run the script.
double ShellSeconds(const QString& file, const QString& script)
{
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file});
    shell.waitForStarted();
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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

    const CDateTime day(2023, 5, 16);
    const QString filter = QStringLiteral("[EmpID] = %1 AND  [WorkDate] = %2")
                               .arg(17)
                               .arg(conn.Dialect().DateLiteral(day, false));
    const QString sort = QStringLiteral("[TimeID]");
    int rows = 0;
    const auto load = [&] {
        CTimeSheetSet set(&conn);
        set.OpenTableWithQuery(nullptr, filter, sort);
        rows = 0;
        while (!set.Recordset()->IsEOF()) {
            ++rows;
            set.MoveNext();
        }
        set.Close();
    };

    constexpr int kRuns = 2000;
    std::vector<double> ours;
    load();
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        load();
        ours.push_back(t.nsecsElapsed() / 1e3);
    }

    // The shell runs the same text; its start-up is measured apart and taken off.
    QString select;
    CTimeSheetSet set(&conn);
    set.Recordset()->BuildSelect(select, &filter, &sort);
    const QString statement = conn.Dialect().Translate(select) + QStringLiteral(";\n");
    const QString file = CConnectionString(connectionString).Value(QStringLiteral("Data Source"));
    const QString head = QStringLiteral(".output /dev/null\n");
    std::vector<double> shell;
    for (int i = 0; i < 5; ++i) {
        const double empty = ShellSeconds(file, head);
        const double full = ShellSeconds(file, head + statement.repeated(kRuns));
        shell.push_back((full - empty) / kRuns * 1e6);
    }
    const BenchPair pair{MedianOf(ours) / 1e3, MedianOf(shell) / 1e3};
    std::printf("day load: %d rows of one employee's day\n", rows);
    PrintPair("day load through the time-sheet record (per open)", pair, 2.0);
    std::printf("  (%.1f us against %.1f us in the sqlite3 shell)\n", MedianOf(ours),
                MedianOf(shell));
    return 0;
}
