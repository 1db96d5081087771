#include "bench/DataGenerator.h"

#include "data/ConnectionString.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

// Generates the million-row benchmark database afresh and reports its speed;
// the other benchmarks reuse the file it leaves.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const CGeneratorOptions options;
    QString error;
    const QString existing = BenchDatabaseFile(options, &error);
    if (!existing.isEmpty())
        QFile::remove(CConnectionString(existing).Value(QStringLiteral("Data Source")));
    if (BenchDatabaseFile(options, &error).isEmpty()) {
        std::fprintf(stderr, "bench_generate: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
