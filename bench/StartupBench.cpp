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

// Cold starts of the program to its hub on the embedded database, offscreen:
// the time until it reports the hub up, and its peak memory.

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
        if (text.contains("kelvane: ready")) {
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
    const QByteArray program = QDir(QCoreApplication::applicationDirPath())
                                   .filePath(QStringLiteral("kelvane"))
                                   .toLocal8Bit();
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("run"));
    // Qt insists on a private runtime directory.
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const Run first = StartOnce(program, home.path().toLocal8Bit());
    if (!first.ok) {
        std::fprintf(stderr, "bench_startup: the program did not report its hub\n");
        return 1;
    }
    std::printf("first start (makes the embedded database): %.1f ms, peak %ld MB\n", first.ms,
                first.peakKb / 1024);
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < 7; ++i) {
        const Run run = StartOnce(program, home.path().toLocal8Bit());
        times.push_back(run.ms);
        peak = std::max(peak, run.peakKb);
    }
    const double median = MedianOf(times);
    std::printf("cold start to the hub: %.1f ms (target under 300 ms) %s, peak %ld MB (target "
                "under 80 MB) %s\n",
                median, median < 300 ? "ok" : "MISSED", peak / 1024,
                peak / 1024 < 80 ? "ok" : "MISSED");
    return 0;
}
