#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

// Runs the benchmark's windows offscreen (unless a platform is chosen) with
// a profile, data and runtime folders and a class registry of its own under
// home, never the user's.
inline void IsolateBenchProcess(const QTemporaryDir& home)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("KELVANE_CLASS_REGISTRY", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
}

// Times two ways of doing the same work, alternating runs so that both meet
// the same machine, and reports the medians and their ratio.
struct BenchPair {
    double subjectMs = 0;
    double baselineMs = 0;
    double Ratio() const { return baselineMs > 0 ? subjectMs / baselineMs : 0; }
};

inline double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline BenchPair TimePair(int runs, const std::function<void()>& subject,
                          const std::function<void()>& baseline)
{
    // BENCH_RUNS overrides the count, to look closer on a noisy machine.
    if (const int wanted = qEnvironmentVariableIntValue("BENCH_RUNS"); wanted > 0)
        runs = wanted;
    std::vector<double> a;
    std::vector<double> b;
    subject(); // warm up caches and lazily built tables
    baseline();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        subject();
        a.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        baseline();
        b.push_back(t.nsecsElapsed() / 1e6);
    }
    return {MedianOf(a), MedianOf(b)};
}

inline void PrintPair(const char* what, const BenchPair& p, double target)
{
    std::printf("%-48s %9.2f ms  baseline %9.2f ms  ratio %5.2f  (target <= %.1f) %s\n", what,
                p.subjectMs, p.baselineMs, p.Ratio(), target,
                p.Ratio() <= target ? "ok" : "MISSED");
}

// The machine's load average (1, 5, 15 minutes), printed with the figures:
// the ratios hold on a busy machine, the absolute times do not.
inline void PrintLoad(const char* program)
{
    QFile file(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').mid(0, 3).join(' ') : "?";
    std::printf("%s (load average %s)\n", program, load.constData());
}

// Resident memory of this process in kB: now, and the peak since the last
// ResetPeakRss().
inline long RssKb(const char* field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLong();
    return 0;
}
inline long CurrentRssKb()
{
    return RssKb("VmRSS:");
}
inline long PeakRssKb()
{
    return RssKb("VmHWM:");
}
inline void ResetPeakRss()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

// How far the resident memory rose above what it was while `work` ran. Freed
// memory goes back to the system first, so earlier work is not reused unseen.
inline double PeakRssGrowthMb(const std::function<void()>& work)
{
    malloc_trim(0);
    ResetPeakRss();
    const long before = CurrentRssKb();
    work();
    return (PeakRssKb() - before) / 1024.0;
}

inline void PrintMemory(const char* what, double mb, double targetMb)
{
    std::printf("%-48s peak RSS grew %7.1f MB  (target < %.0f MB) %s\n", what, mb, targetMb,
                mb < targetMb ? "ok" : "MISSED");
}
