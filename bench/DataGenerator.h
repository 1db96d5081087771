#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class CDBConnection;

// Fills a database that holds the schema (and nothing else) with a company's
// worth of data, the same every time for the same seed.
struct CGeneratorOptions {
    int departments = 20;
    int employees = 200;
    int projects = 1000;
    int tasksPerProject = 5;
    int ordersPerProject = 2;
    int companies = 2000;
    int peoplePerCompany = 2;
    qint64 timeSheetRows = 1000000;
    int years = 5;
    unsigned seed = 20261208;
    // Blocks each employee books a working day; 0: as many as fill the years.
    int blocksPerDay = 0;
    // Project records; none unless asked.
    int comments = 0;
    int changeRequests = 0;
    // The share of the bookings (per cent) that go to project 1, the
    // company's big project.
    int bigProjectShare = 0;
    // Names the database of a preset apart from the default one.
    QString tag;

    // A company of 200 booking six blocks each a working day, as many days
    // as the rows fill (3 million rows are ten years), its other tables in
    // proportion to its bookings: 3 million rows bring 1,900 projects,
    // 50,000 companies, 100,000 comments, as many change requests, and a
    // project with a sixth of all bookings.
    static CGeneratorOptions Company(qint64 rows);
};

bool GenerateBenchData(CDBConnection& connection, const CGeneratorOptions& options, QString* error);

// The first day of the generated time sheets.
inline constexpr int kBenchFirstYear = 2021;

// The team member whose change-request list is the same at every size: he
// is on the team of the first requests and of no others, and asks for none.
inline constexpr int kBenchListMember = 17;
inline constexpr int kBenchListMemberRequests = 1386;

// Where the generated database file of these options is kept.
QString BenchDatabasePath(const CGeneratorOptions& options);

// A generated database file, made once and kept (in $KELVANE_BENCH_DATA or
// the temporary folder): its connection string, or "" with an error. Making
// it prints the rows per second.
QString BenchDatabaseFile(const CGeneratorOptions& options, QString* error);

// A database of the test server ($KELVANE_TEST_PG) holding the generated
// data, made afresh when asked or when it is missing or incomplete.
struct CBenchServerDatabase {
    QString connectionString;
    QByteArray conninfo; // the same database for libpq
};
// False with an error; false with none when no server is configured.
bool BenchServerDatabase(const QString& name, const CGeneratorOptions& options, bool fresh,
                         CBenchServerDatabase* out, QString* error);

// The server database for a benchmark program. False when there is none to
// use: *exitCode is then 0 when no server is configured (which is said) and
// 1 after an error (printed with the program's name).
bool BenchServerOrExit(const char* program, const CGeneratorOptions& options, bool fresh,
                       CBenchServerDatabase* out, int* exitCode);

// A benchmark on both back ends: connected to the generated file (its path
// given), then to the server database when there is one. The program's exit
// code.
int RunOnBothBackEnds(
    const char* program, const std::function<void(CDBConnection&, const QString& file)>& onFile,
    const std::function<void(CDBConnection&, const CBenchServerDatabase&)>& onServer);
