#pragma once

#include "data/DBConnection.h"
#include "data/SqlExecutor.h"
#include "tests/support/QtPrinters.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

#include <string>

// The back ends data-layer tests run against; tests are written once and
// instantiated for both.
enum class Backend { Sqlite, Postgres };

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

#define KELVANE_INSTANTIATE_BACKENDS(Suite)                                                        \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                                      \
                             ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName)

namespace TestDatabases {

// The test PostgreSQL server comes from KELVANE_TEST_PG ("host=... port=...
// user=..."), set by scripts/test together with KELVANE_TEST_PG_REQUIRED=1.
bool PostgresConfigured();
bool PostgresRequired();

// A new, empty SQLite database file in dir; its connection string.
QString NewSqliteDatabase(const QString& dir, const QString& name = QStringLiteral("test.db"));
// A new, empty database on the test server, dropped at the end of the run.
QString NewPostgresDatabase(const QString& hint);
// The connection string of a database on the test server.
QString PostgresConnectionString(const QString& database);
void DropAll();
// Runs SQL on the test server's maintenance database (roles, databases).
bool AdminExec(const QString& sql, QString* error);

} // namespace TestDatabases

// A connected database of the test's back end: a fresh SQLite file per test,
// on PostgreSQL one database per suite whose public schema is emptied before
// each test.
class DbTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool IsPostgres() const { return GetParam() == Backend::Postgres; }
    // Runs back-end SQL as it stands; fails the test on error.
    void Exec(const QString& sql, const QVariantList& params = {});
    CQueryResult Query(const QString& sql, const QVariantList& params = {});

    CDBConnection m_conn;
    QString m_connectionString;
    // Set by fixtures that keep the schema of their suite between tests.
    bool m_keepSchema = false;
};

// A connected database holding the full schema and its seed rows, fresh for
// every test (on PostgreSQL the suite's schema is kept and its rows reset).
class KelvaneDbTest : public DbTest {
protected:
    KelvaneDbTest() { m_keepSchema = true; }
    void SetUp() override;
};
