#include "data/StatementLimit.h"

#include "data/SqlExecutor.h"
#include "tests/support/TestDatabases.h"

#include <QElapsedTimer>

#include <functional>

namespace {

// A statement that never ends by itself.
const QString kRunaway = QStringLiteral(
    "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) SELECT n FROM r WHERE n = 0");

class CStopAfter : public IStatementWatch {
public:
    explicit CStopAfter(int heard, std::function<void()> meanwhile = {})
        : m_heard(heard)
        , m_meanwhile(std::move(meanwhile))
    {}
    bool StatementRunning(qint64) override
    {
        if (m_meanwhile)
            m_meanwhile();
        return ++calls < m_heard;
    }
    void StatementStopped(bool timedOut) override { stopped = timedOut ? 1 : 2; }
    int calls = 0;
    int stopped = 0;

private:
    int m_heard;
    std::function<void()> m_meanwhile;
};

class StatementLimitTest : public DbTest {};

} // namespace

TEST_P(StatementLimitTest, ARunawayStatementStopsAtTheLimit)
{
    QElapsedTimer clock;
    clock.start();
    CDbError error;
    {
        CStatementLimit limit(m_conn, 300);
        EXPECT_FALSE(CSqlExecutor::RunNative(m_conn, kRunaway, {}, nullptr, &error));
        EXPECT_EQ(limit.Stopped(), CStatementLimit::Stop::TimedOut);
    }
    EXPECT_LT(clock.elapsed(), 5000);
    // The connection works as before, without a limit.
    CQueryResult rows;
    ASSERT_TRUE(CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT 42"), {}, &rows, &error))
        << error.description.toStdString();
    EXPECT_EQ(rows.Value(0, 0).toInt(), 42);
}

TEST_P(StatementLimitTest, TheWatchHearsTheStatementAndMayStopIt)
{
    // Meanwhile another statement on the connection is refused, not run in
    // the middle of the one that is running.
    CDbError nested;
    bool nestedRan = true;
    CStopAfter watch(3, [&] {
        nestedRan =
            CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT 1"), {}, nullptr, &nested);
    });
    CDbError error;
    {
        CStatementLimit limit(m_conn, 60000, &watch);
        EXPECT_FALSE(CSqlExecutor::RunNative(m_conn, kRunaway, {}, nullptr, &error));
        EXPECT_EQ(limit.Stopped(), CStatementLimit::Stop::Cancelled);
    }
    EXPECT_EQ(watch.calls, 3);
    EXPECT_EQ(watch.stopped, 2);
    EXPECT_FALSE(nestedRan);
    EXPECT_TRUE(
        nested.description.startsWith(QStringLiteral("The database is busy with a search")));
    CQueryResult rows;
    EXPECT_TRUE(CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT 7"), {}, &rows, &error));
    EXPECT_EQ(rows.Value(0, 0).toInt(), 7);

    // A statement that ends in time is left alone.
    CStopAfter patient(1000);
    CStatementLimit limit(m_conn, 60000, &patient);
    EXPECT_TRUE(CSqlExecutor::RunNative(m_conn, QStringLiteral("SELECT 8"), {}, &rows, &error));
    EXPECT_EQ(limit.Stopped(), CStatementLimit::Stop::None);
}

KELVANE_INSTANTIATE_BACKENDS(StatementLimitTest);
