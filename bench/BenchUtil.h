#pragma once

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
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
