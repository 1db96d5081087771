#pragma once

#include "bench/DataGenerator.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The company at scale: a database of the company preset for a number of
// bookings on each back end, made once and kept, and the sections of
// bench_scale that measure one window or path on it.

// One back end's database of the company preset at a size.
struct CScaleDatabase {
    qint64 rows = 0;
    bool postgres = false;
    QString connectionString;
    QByteArray conninfo; // PostgreSQL: the same database for libpq
    QString file;        // SQLite: the database file
    CGeneratorOptions options;
    const char* Backend() const { return postgres ? "PostgreSQL" : "SQLite"; }
};

// The back end a section runs on; its databases are made on first use.
class CScaleBackend {
public:
    explicit CScaleBackend(bool postgres)
        : m_postgres(postgres)
    {}
    bool IsPostgres() const { return m_postgres; }
    const char* Name() const { return m_postgres ? "PostgreSQL" : "SQLite"; }
    // The database of that many bookings; false with an error printed.
    bool Database(qint64 rows, CScaleDatabase* out) const;

private:
    bool m_postgres;
};

// A section: its name (the command-line word that runs it) and its work.
struct CScaleSection {
    const char* name;
    const char* what;
    std::function<void(const CScaleBackend&)> run;
};

// Sections register themselves at start-up.
bool RegisterScaleSection(const CScaleSection& section);

// The size the targets name (3 million bookings unless BENCH_ROWS says) and
// the small size growth is measured against (100,000).
qint64 ScaleRows();
inline constexpr qint64 kSmallRows = 100000;

// One figure against its target, with "ok" or "MISSED".
void PrintFigure(const char* backend, const char* what, double value, const char* unit,
                 double target);
