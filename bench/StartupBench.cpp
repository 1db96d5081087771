#include "bench/BenchUtil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// Starts of the program to its first window (the hub) on the embedded
// database, offscreen: the time until it reports the window up, and its peak
// memory; beside a bare Qt Widgets program that opens one dialog, started
// alternately in the same run.

namespace {

struct Run {
    double ms = 0;
    long peakKb = 0;
    bool ok = false;
};

Run StartOnce(const QByteArray& program, const QByteArray& home)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    std::vector<QByteArray> env = {"QT_QPA_PLATFORM=offscreen",
                                   "KELVANE_QUIT_WHEN_READY=1",
                                   "HOME=" + home,
                                   "XDG_CONFIG_HOME=" + home + "/.config",
                                   "XDG_DATA_HOME=" + home + "/.local/share",
                                   "XDG_CACHE_HOME=" + home + "/.cache",
                                   "XDG_RUNTIME_DIR=" + home + "/run",
                                   "USER=" + qgetenv("USER"),
                                   "PATH=" + qgetenv("PATH")};
    std::vector<char*> envp;
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(program.constData()), nullptr};
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv, envp.data()) != 0)
        return {};
    close(out[1]);
    Run run;
    QByteArray text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, n);
        if (text.contains(": ready\n")) {
            run.ms = timer.nsecsElapsed() / 1e6;
            run.ok = true;
            break;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_startup");
    const QDir here(QCoreApplication::applicationDirPath());
    const QByteArray program = here.filePath(QStringLiteral("kelvane")).toLocal8Bit();
    const QByteArray baseline = here.filePath(QStringLiteral("startup_baseline")).toLocal8Bit();
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("run"));
    // Qt insists on a private runtime directory.
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray homePath = home.path().toLocal8Bit();
    const Run first = StartOnce(program, homePath);
    if (!first.ok) {
        std::fprintf(stderr, "bench_startup: the program did not report its first window\n");
        return 1;
    }
    std::printf("first start (makes the embedded database): %.1f ms, peak %ld MB\n", first.ms,
                first.peakKb / 1024);
    StartOnce(baseline, homePath); // warm up
    std::vector<double> times;
    std::vector<double> bareTimes;
    long peak = 0;
    long barePeak = 0;
    for (int i = 0; i < 7; ++i) {
        const Run run = StartOnce(program, homePath);
        const Run bare = StartOnce(baseline, homePath);
        if (!run.ok || !bare.ok) {
            std::fprintf(stderr, "bench_startup: a start did not report its window\n");
            return 1;
        }
        times.push_back(run.ms);
        bareTimes.push_back(bare.ms);
        peak = std::max(peak, run.peakKb);
        barePeak = std::max(barePeak, bare.peakKb);
    }
    PrintPair("start to the first window (bare Qt dialog)", {MedianOf(times), MedianOf(bareTimes)},
              1.5);
    std::printf("peak memory %ld MB, the bare dialog's %ld MB (target under 80 MB) %s\n",
                peak / 1024, barePeak / 1024, peak / 1024 < 80 ? "ok" : "MISSED");
    return 0;
}
