#include "bench/scale/ScaleBench.h"

#include "bench/BenchUtil.h"
#include "data/ConnectionString.h"

#include <QApplication>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

// bench_scale [section ...]: the windows and paths of a company of ten
// years (3 million bookings, BENCH_ROWS to choose another size) on both back
// ends, each figure beside its target. Without a section every one runs.

namespace {

QList<CScaleSection>& Sections()
{
    static QList<CScaleSection> sections;
    return sections;
}

} // namespace

bool RegisterScaleSection(const CScaleSection& section)
{
    Sections().append(section);
    return true;
}

qint64 ScaleRows()
{
    const qint64 rows = qEnvironmentVariable("BENCH_ROWS").toLongLong();
    return rows > 0 ? rows : 3000000;
}

bool CScaleBackend::Database(qint64 rows, CScaleDatabase* out) const
{
    out->rows = rows;
    out->postgres = m_postgres;
    out->options = CGeneratorOptions::Company(rows);
    QString error;
    if (!m_postgres) {
        out->connectionString = BenchDatabaseFile(out->options, &error);
        out->file = CConnectionString(out->connectionString).Value(QStringLiteral("Data Source"));
    } else {
        CBenchServerDatabase server;
        const QString name = QStringLiteral("kelvane_company_%1").arg(rows);
        if (BenchServerDatabase(name, out->options, false, &server, &error)) {
            out->connectionString = server.connectionString;
            out->conninfo = server.conninfo;
        }
    }
    if (out->connectionString.isEmpty())
        std::fprintf(stderr, "bench_scale: no %s database of %lld rows: %s\n", Name(),
                     static_cast<long long>(rows), qPrintable(error));
    return !out->connectionString.isEmpty();
}

void PrintFigure(const char* backend, const char* what, double value, const char* unit,
                 double target)
{
    std::printf("[%s] %-56s %10.1f %-3s (target < %.0f) %s\n", backend, what, value, unit, target,
                value < target ? "ok" : "MISSED");
    std::fflush(stdout);
}

int main(int argc, char** argv)
{
    QTemporaryDir home;
    IsolateBenchProcess(home);
    QApplication app(argc, argv);
    PrintLoad("bench_scale");
    QList<const CScaleSection*> chosen;
    for (const CScaleSection& section : Sections()) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], section.name) == 0;
        if (wanted)
            chosen << &section;
    }
    if (chosen.isEmpty()) {
        std::fprintf(stderr, "bench_scale: sections are:");
        for (const CScaleSection& section : Sections())
            std::fprintf(stderr, " %s", section.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    const bool server = !qEnvironmentVariableIsEmpty("KELVANE_TEST_PG");
    if (!server)
        std::printf("[PostgreSQL] skipped: no server (KELVANE_TEST_PG)\n");
    for (const bool postgres : {false, true}) {
        if (postgres && !server)
            continue;
        const CScaleBackend backend(postgres);
        for (const CScaleSection* section : chosen) {
            std::printf("== %s (%s) on %s\n", section->name, section->what, backend.Name());
            section->run(backend);
        }
    }
    return 0;
}
