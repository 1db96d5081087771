#include "bench/BenchUtil.h"
#include "bench/DataGenerator.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

// Generates the million-row benchmark database afresh, once as a file and
// once on the test server when there is one, and reports its speed; the
// other benchmarks reuse both.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_generate");
    const CGeneratorOptions options;
    QString error;
    const QString file = BenchDatabasePath(options);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(file + QLatin1String(suffix));
    if (BenchDatabaseFile(options, &error).isEmpty()) {
        std::fprintf(stderr, "bench_generate: %s\n", qPrintable(error));
        return 1;
    }
    CBenchServerDatabase server;
    if (int exitCode = 0; !BenchServerOrExit("bench_generate", options, true, &server, &exitCode))
        return exitCode;
    return 0;
}
