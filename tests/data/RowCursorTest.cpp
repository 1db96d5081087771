#include "data/RowCursor.h"
#include "data/StatementCache.h"
#include "tests/support/TestDatabases.h"

// Rows read forward from the driver, and statements prepared once per
// connection, on both back ends.
class RowCursorTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(IsPostgres() ? QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, "
                                           "amount DOUBLE PRECISION, day TIMESTAMP, flag BOOLEAN)")
                          : QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, "
                                           "amount REAL, day TEXT, flag INTEGER)"));
        for (int i = 1; i <= kRows; ++i)
            Exec(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?)"),
                 {i, i % 10 == 0 ? QVariant() : QVariant(QStringLiteral("row %1").arg(i)), i * 0.5,
                  QVariant::fromValue(CDateTime(2026, 1, 1).AddDays(i)), i % 2 == 0});
    }

    std::unique_ptr<CRowCursor> Open(const QString& sql, const QVariantList& params = {})
    {
        CDbError error;
        auto cursor = CSqlExecutor::OpenCursor(m_conn, sql, params, &error);
        EXPECT_TRUE(cursor) << error.description.toStdString();
        return cursor;
    }

    static constexpr int kRows = 50;
};

TEST_P(RowCursorTest, RowsArriveInOrderWithTheirTypes)
{
    auto rows = Open(QStringLiteral("SELECT id, name, amount, day, flag FROM t WHERE id > ? "
                                    "ORDER BY id"),
                     {40});
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->Columns(), (QStringList{"id", "name", "amount", "day", "flag"}));
    EXPECT_FALSE(rows->HasRow());
    QList<int> ids;
    while (rows->Next()) {
        const int id = rows->IntAt(0);
        ids << id;
        EXPECT_EQ(rows->IsNullAt(1), id % 10 == 0) << id;
        if (id % 10 != 0) {
            EXPECT_EQ(rows->TextAt(1), QStringLiteral("row %1").arg(id));
        }
        EXPECT_DOUBLE_EQ(rows->DoubleAt(2), id * 0.5);
        EXPECT_EQ(rows->DateAt(3), CDateTime(2026, 1, 1).AddDays(id));
        EXPECT_EQ(rows->IntAt(4), id % 2 == 0 ? 1 : 0);
        EXPECT_EQ(rows->IntAt(1, -7), -7) << "a text that is no number";
    }
    EXPECT_EQ(ids, (QList<int>{41, 42, 43, 44, 45, 46, 47, 48, 49, 50}));
    EXPECT_TRUE(rows->AtEnd());
    EXPECT_FALSE(rows->Failed());
    EXPECT_FALSE(rows->Next());
    EXPECT_FALSE(m_conn.HasOpenCursors());
}

TEST_P(RowCursorTest, AStatementWhileReadingLosesNoRows)
{
    auto rows = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
    ASSERT_TRUE(rows && rows->Next());
    EXPECT_EQ(rows->IntAt(0), 1);
    // A write needs the connection (on the server any statement does): the
    // cursor reads the rest into memory first and goes on from there.
    Exec(QStringLiteral("DELETE FROM t WHERE id > ?"), {10});
    EXPECT_TRUE(rows->IsBuffered());
    EXPECT_EQ(rows->IntAt(0), 1);
    int count = 1;
    while (rows->Next())
        ++count;
    EXPECT_EQ(count, kRows);
    EXPECT_FALSE(rows->Failed());
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM t")).Value(0, 0).toInt(), 10);
}

TEST_P(RowCursorTest, ReadsBesideAnOpenCursorStreamOnTheFileDatabase)
{
    auto outer = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
    ASSERT_TRUE(outer && outer->Next());
    int inner = 0;
    while (outer->Next()) {
        const CQueryResult r =
            Query(QStringLiteral("SELECT name FROM t WHERE id = ?"), {outer->IntAt(0)});
        inner += r.rows;
    }
    EXPECT_EQ(inner, kRows - 1);
    // Only the server must move the outer rows aside for the inner statements.
    EXPECT_EQ(outer->IsBuffered(), IsPostgres());
}

TEST_P(RowCursorTest, ACursorLeftHalfReadFreesTheConnection)
{
    ASSERT_TRUE(m_conn.BeginTrans());
    {
        auto rows = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
        ASSERT_TRUE(rows && rows->Next() && rows->Next());
    }
    // The transaction it ran in goes on undisturbed.
    Exec(QStringLiteral("UPDATE t SET amount = 0 WHERE id = ?"), {1});
    ASSERT_TRUE(m_conn.CommitTrans());
    EXPECT_EQ(Query(QStringLiteral("SELECT amount FROM t WHERE id = 1")).Value(0, 0).toDouble(),
              0.0);
}

TEST_P(RowCursorTest, ClosingTheConnectionEndsACursor)
{
    auto rows = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
    ASSERT_TRUE(rows && rows->Next());
    m_conn.ReleaseConnection(true);
    EXPECT_FALSE(rows->Next());
    EXPECT_FALSE(rows->HasRow());
    rows.reset();
    ASSERT_TRUE(m_conn.Connect(false));
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM t")).Value(0, 0).toInt(), kRows);
}

TEST_P(RowCursorTest, ABadStatementFailsAtOpen)
{
    CDbError error;
    EXPECT_FALSE(
        CSqlExecutor::OpenCursor(m_conn, QStringLiteral("SELECT nothing FROM t"), {}, &error));
    EXPECT_EQ(error.code, kE_CommandError);
    EXPECT_FALSE(CSqlExecutor::OpenCursor(m_conn, QStringLiteral("SELECT id FROM t WHERE id = ?"),
                                          {}, &error));
    EXPECT_FALSE(m_conn.HasOpenCursors());
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM t")).Value(0, 0).toInt(), kRows);
}

TEST_P(RowCursorTest, AStatementIsParsedOncePerConnection)
{
    const CStatementCache& cache = m_conn.Statements();
    const QString sql = QStringLiteral("SELECT name FROM t WHERE id = ?");
    Query(sql, {1});
    Query(sql, {2}); // the server prepares a text on its second run
    const int prepares = cache.Prepares();
    for (int id = 3; id < 20; ++id) {
        const CQueryResult r = Query(sql, {id});
        ASSERT_EQ(r.rows, 1);
        EXPECT_EQ(r.Value(0, 0).toString(),
                  id % 10 == 0 ? QString() : QStringLiteral("row %1").arg(id));
        auto rows = Open(sql, {id});
        ASSERT_TRUE(rows && rows->Next());
    }
    EXPECT_EQ(cache.Prepares(), prepares);
    // A text still being read by one cursor gets a statement of its own.
    auto first = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
    auto second = Open(QStringLiteral("SELECT id FROM t ORDER BY id"));
    ASSERT_TRUE(first && second && first->Next() && second->Next() && second->Next());
    EXPECT_EQ(first->IntAt(0), 1);
    EXPECT_EQ(second->IntAt(0), 2);
}

TEST_P(RowCursorTest, AKeptStatementFollowsAChangedTable)
{
    const QString sql = QStringLiteral("SELECT * FROM t WHERE id = ?");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Query(sql, {1}).ColumnCount(), 5);
    Exec(QStringLiteral("ALTER TABLE t ADD COLUMN extra INTEGER"));
    const CQueryResult after = Query(sql, {1});
    EXPECT_EQ(after.ColumnCount(), 6);
    EXPECT_EQ(after.rows, 1);
}

KELVANE_INSTANTIATE_BACKENDS(RowCursorTest);
