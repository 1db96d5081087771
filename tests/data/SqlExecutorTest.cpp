#include "data/SqlExecutor.h"
#include "data/BackendRunners.h"
#include "tests/support/TestDatabases.h"

TEST(SqlExecutor, PlaceholdersAreNumberedOutsideLiteralsAndComments)
{
    int count = 0;
    EXPECT_EQ(BackendRunners::NumberPlaceholders(
                  QStringLiteral("SELECT '?', \"a?\" -- x?\nFROM t WHERE a = ? AND b = ?"), &count),
              QStringLiteral("SELECT '?', \"a?\" -- x?\nFROM t WHERE a = $1 AND b = $2"));
    EXPECT_EQ(count, 2);
}

class ExecutorTest : public DbTest {};

TEST_P(ExecutorTest, ValuesAreBoundAndTypedOnTheWayBack)
{
    Exec(IsPostgres() ? QStringLiteral("CREATE TABLE t (i BIGINT, f DOUBLE PRECISION, s TEXT, "
                                       "d TIMESTAMP, b BYTEA, n NUMERIC(19,4), k BOOLEAN)")
                      : QStringLiteral("CREATE TABLE t (i INTEGER, f REAL, s TEXT, d TEXT, b BLOB, "
                                       "n NUMERIC, k INTEGER)"));
    Exec(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?, ?, ?)"),
         {QVariant(qlonglong(1) << 40), 0.1, QStringLiteral("a'b"),
          QVariant::fromValue(CDateTime(2026, 12, 8, 23, 59)), QByteArray("\x00\xfe", 2), 85.5,
          true});
    Exec(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?, ?, ?)"),
         {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    const CQueryResult r = Query(QStringLiteral("SELECT * FROM t ORDER BY (i IS NULL), i"));
    ASSERT_EQ(r.rows, 2);
    EXPECT_EQ(r.Value(0, 0).toLongLong(), qlonglong(1) << 40);
    EXPECT_DOUBLE_EQ(r.Value(0, 1).toDouble(), 0.1);
    EXPECT_EQ(r.Value(0, 2).toString(), QStringLiteral("a'b"));
    const IRowStore* store = r.Store();
    bool ok = false;
    EXPECT_EQ(store->Date(0, 3, &ok), CDateTime(2026, 12, 8, 23, 59));
    EXPECT_EQ(store->Bytes(0, 4), QByteArray("\x00\xfe", 2));
    EXPECT_DOUBLE_EQ(store->Double(0, 5, &ok), 85.5);
    EXPECT_EQ(store->Int(0, 6, &ok), 1);
    for (int c = 0; c < 7; ++c)
        EXPECT_TRUE(store->IsNull(1, c)) << c;
}

TEST_P(ExecutorTest, MistakesAreErrorsNotCrashes)
{
    CDbError error;
    CQueryResult r;
    EXPECT_FALSE(CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT ?"), {}, &r, &error));
    EXPECT_EQ(error.code, kE_CommandError);
    EXPECT_FALSE(CSqlExecutor::RunNative(m_conn, QStringLiteral("SELEC 1"), {}, &r, &error));
    EXPECT_EQ(error.code, kE_CommandError);
    EXPECT_FALSE(error.description.isEmpty());
    if (!IsPostgres()) {
        EXPECT_FALSE(
            CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT 1; SELECT 2"), {}, &r, &error));
    }
    CDBConnection closed;
    EXPECT_FALSE(CSqlExecutor::RunNative(closed, QStringLiteral("SELECT 1"), {}, &r, &error));
    EXPECT_EQ(error.code, kE_NotConnected);
}

TEST_P(ExecutorTest, WritesReportTheRowsTheyTouched)
{
    Exec(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    Exec(QStringLiteral("INSERT INTO t VALUES (1), (2), (3)"));
    CQueryResult r;
    ASSERT_TRUE(CSqlExecutor::RunNative(
        m_conn, QStringLiteral("UPDATE t SET a = a + 10 WHERE a > ?"), {1}, &r, nullptr));
    EXPECT_EQ(r.rowsAffected, 2);
}

TEST_P(ExecutorTest, ALargeLimitOfASortGivesItsFirstRowsInOrder)
{
    // Many rows with few keys, some none: the file back end reads the
    // first rows of the unlimited sort.
    Exec(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, k INTEGER)"));
    Exec(IsPostgres()
             ? QStringLiteral("INSERT INTO t SELECT g, CASE WHEN g % 101 = 0 THEN NULL "
                              "ELSE (g * 7) % 13 END FROM generate_series(1, 260000) g")
             : QStringLiteral("WITH RECURSIVE g(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM g "
                              "WHERE n < 260000) INSERT INTO t SELECT n, CASE WHEN n % 101 = 0 "
                              "THEN NULL ELSE (n * 7) % 13 END FROM g"));
    const QString sorted = QStringLiteral("SELECT id, k FROM t WHERE id > ? ORDER BY k DESC");
    const CQueryResult first = Query(sorted + QStringLiteral(" LIMIT 250000"), {7});
    // Equal keys in the order of the table, as a sort keeps them.
    const CQueryResult all = Query(sorted + QStringLiteral(", id"), {7});
    ASSERT_EQ(first.rows, 250000);
    ASSERT_EQ(all.rows, 259993);
    for (int row = 0; row < first.rows; ++row) {
        ASSERT_EQ(first.Value(row, 1), all.Value(row, 1)) << row;
        if (!IsPostgres()) {
            ASSERT_EQ(first.Value(row, 0), all.Value(row, 0)) << row;
        }
    }
    // A limit the sort stops at is kept as it is.
    EXPECT_EQ(Query(sorted + QStringLiteral(" LIMIT 3"), {7}).rows, 3);
}

KELVANE_INSTANTIATE_BACKENDS(ExecutorTest);
