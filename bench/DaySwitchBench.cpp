#include "app/ControlRegistration.h"
#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

// The time-sheet window on the generated million-row database: the time
// from the ">>" button to the next day on screen: the events the switch
// posts handled and the whole window painted again.

int main(int argc, char** argv)
{
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    PrintLoad("bench_dayswitch");
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));

    QString error;
    const QString generated = BenchDatabaseFile(CGeneratorOptions(), &error);
    if (generated.isEmpty()) {
        std::fprintf(stderr, "bench_dayswitch: %s\n", qPrintable(error));
        return 1;
    }
    // A copy: the window may tidy rows it cannot show.
    const QString source = generated.section(QStringLiteral("Data Source="), 1).section(';', 0, 0);
    const QString copy = home.filePath(QStringLiteral("days.db"));
    if (!QFile::copy(source, copy)) {
        std::fprintf(stderr, "bench_dayswitch: cannot copy %s\n", qPrintable(source));
        return 1;
    }
    RegisterControlsBeside(QCoreApplication::applicationDirPath());

    CProfileStore profile;
    profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Employee 17"));
    profile.setValue(QStringLiteral("Admin/OpenCurDay"), 0);
    profile.setValue(QStringLiteral("Admin/CurYear"), 2023);
    profile.setValue(QStringLiteral("Admin/CurMonth"), 5);
    profile.setValue(QStringLiteral("Admin/CurDay"), 15);
    profile.sync();

    CDBClass db;
    db.Connection()->UseConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + copy);
    if (!db.Connect()) {
        std::fprintf(stderr, "bench_dayswitch: the database does not open\n");
        return 1;
    }
    if (db.StartupInfo().BookingInterval <= 0)
        db.StartupInfo().BookingInterval = 15;
    CTimeAppDlg* window = CTimeAppDlg::Create(nullptr, db);
    if (!window)
        return 1;
    window->resize(900, 700);
    window->show();
    if (!QTest::qWaitFor([window] { return window->Controller().DayLoaded(); }, 10000)) {
        std::fprintf(stderr, "bench_dayswitch: the time line did not start\n");
        return 1;
    }
    constexpr int kRuns = 200;
    std::vector<double> times;
    int blocks = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        window->OnDayButtonMsg(1132); // ">>"
        QCoreApplication::processEvents();
        window->repaint();
        times.push_back(t.nsecsElapsed() / 1e6);
        blocks += static_cast<int>(db.DayEntries().size());
    }
    std::sort(times.begin(), times.end());
    std::printf("day switch (next day to the window drawn), %d days, %.1f rows a day:\n", kRuns,
                double(blocks) / kRuns);
    std::printf("  median %.2f ms, 90th %.2f ms, worst %.2f ms (target under 30 ms)\n",
                MedianOf(times), times[times.size() * 9 / 10], times.back());
    delete window;
    return 0;
}
