#include "data/MyAdoRecordSet.h"
#include "tests/data/TestRecords.h"
#include "tests/support/TestEnv.h"

#include <QSqlDatabase>
#include <QSqlQuery>

// Writing rows back: by key, in a transaction, and never more than one row.
class RecordsetTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(SampleTableSql(IsPostgres()));
        Exec(LinkTableSql());
    }

    void AddSample(const QString& name, int count)
    {
        Exec(QStringLiteral("INSERT INTO tblsample (name, count) VALUES (?, ?)"), {name, count});
    }
    QStringList Names()
    {
        const CQueryResult r =
            Query(QStringLiteral("SELECT name FROM tblsample ORDER BY sampleid"));
        QStringList names;
        for (int i = 0; i < r.rows; ++i)
            names << r.Value(i, 0).toString();
        return names;
    }
};

TEST_P(RecordsetTest, BuildSelectKeepsItsBlanks)
{
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    QString text;
    const QString filter = QStringLiteral("[Count] = 1");
    const QString sort = QStringLiteral("[Name]");
    const QString none;
    rs->BuildSelect(text, &filter, &none);
    EXPECT_EQ(text, QStringLiteral("SELECT * from  tblSample WHERE [Count] = 1 "));
    rs->BuildSelect(text, &filter, &sort);
    EXPECT_EQ(text, QStringLiteral("SELECT * from   tblSample WHERE [Count] = 1 ORDER BY [Name]"));
    rs->BuildSelect(text, &none, &sort);
    EXPECT_EQ(text, QStringLiteral("SELECT * from  tblSample ORDER BY [Name]"));
    rs->SetFilter(filter);
    rs->BuildSelect(text, nullptr, nullptr);
    EXPECT_EQ(text, QStringLiteral("SELECT * from  tblSample WHERE [Count] = 1 "));
}

TEST_P(RecordsetTest, UpdateWritesOnlyTheCurrentRowOfTheFilter)
{
    AddSample(QStringLiteral("first"), 1);
    AddSample(QStringLiteral("second"), 1);
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] = 1"),
                                       QStringLiteral("[SampleID]")));
    set.m_Name = QStringLiteral("changed");
    ASSERT_TRUE(set.Update());
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("changed"), QStringLiteral("second")}));
    // A second write of the same row finds it again.
    set.m_Name = QStringLiteral("again");
    ASSERT_TRUE(set.Update());
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("again"), QStringLiteral("second")}));
}

TEST_P(RecordsetTest, DeleteRemovesTheCurrentRowAndTheWalkGoesOn)
{
    for (int i = 1; i <= 4; ++i)
        AddSample(QStringLiteral("n%1").arg(i), i);
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    int visited = 0;
    while (!set.Recordset()->IsEOF()) {
        ++visited;
        if (set.m_Count % 2 == 0) {
            ASSERT_TRUE(set.Delete());
        }
        set.MoveNext();
    }
    EXPECT_EQ(visited, 4);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("n1"), QStringLiteral("n3")}));
    EXPECT_EQ(set.Recordset()->RecordCount(), 2);
}

TEST_P(RecordsetTest, AWriteToAVanishedRowFailsAndSaysSo)
{
    AddSample(QStringLiteral("gone"), 1);
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] = 1"), QString()));
    Exec(QStringLiteral("DELETE FROM tblsample"));
    set.m_Name = QStringLiteral("lost");
    EXPECT_FALSE(set.Update());
    EXPECT_TRUE(CRecordingMessages::Current().Last().contains(QStringLiteral("not found")));
    EXPECT_FALSE(set.Delete());
    EXPECT_EQ(m_conn.TransactionDepth(), 0);
}

TEST_P(RecordsetTest, RowsWithoutAKeyAreFoundByTheirValues)
{
    Exec(QStringLiteral(
        "INSERT INTO tblLink VALUES (1, 2, 'x'), (1, 3, NULL), (5, 5, 'dup'), (5, 5, 'dup')"));
    CLinkSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[A] = 1"), QStringLiteral("[B]")));
    ASSERT_TRUE(set.MoveNext()); // (1, 3, NULL): a NULL column still matches
    ASSERT_TRUE(set.Delete());
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblLink WHERE a = 1")).Value(0, 0).toInt(),
              1);

    // Identical rows cannot be told apart: nothing is changed.
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[A] = 5"), QString()));
    set.m_Label = QStringLiteral("one");
    EXPECT_FALSE(set.Update());
    EXPECT_TRUE(CRecordingMessages::Current().Last().contains(QStringLiteral("not unique")));
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblLink WHERE label = 'dup'"))
                  .Value(0, 0)
                  .toInt(),
              2);
}

TEST_P(RecordsetTest, AnUpdateWithNothingToWriteFailsWithAMessage)
{
    AddSample(QStringLiteral("a"), 1);
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] = 1"), QString()));
    for (int i = 0; i < set.ColumnCount(); ++i)
        set.SetIncluded(i, false);
    EXPECT_FALSE(set.Update());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_EQ(m_conn.TransactionDepth(), 0);
}

TEST_P(RecordsetTest, AFailedWriteIsRolledBackAndReported)
{
    Exec(QStringLiteral("CREATE UNIQUE INDEX ux_sample_name ON tblsample (name)"));
    AddSample(QStringLiteral("taken"), 1);
    CSampleSet set(&m_conn);
    set.ClearStatus();
    set.ClearFields();
    set.m_Name = QStringLiteral("taken");
    EXPECT_FALSE(set.Recordset()->CheckAddNew());
    const QStringList messages = CRecordingMessages::Current().Texts();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.at(1), QStringLiteral("A specified value violated the integrity constraints "
                                             "for a column or table"));
    EXPECT_EQ(m_conn.TransactionDepth(), 0);
    // The connection is usable afterwards, on the server too.
    set.m_Name = QStringLiteral("free");
    EXPECT_TRUE(set.Recordset()->CheckAddNew());
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("taken"), QStringLiteral("free")}));
}

TEST_P(RecordsetTest, NestedTransactionsUndoOnlyTheInnerWork)
{
    ASSERT_TRUE(m_conn.BeginTrans());
    AddSample(QStringLiteral("outer"), 1);
    ASSERT_TRUE(m_conn.BeginTrans());
    AddSample(QStringLiteral("inner"), 2);
    ASSERT_TRUE(m_conn.RollbackTrans());
    ASSERT_TRUE(m_conn.CommitTrans());
    EXPECT_EQ(Names(), QStringList{QStringLiteral("outer")});
}

TEST_P(RecordsetTest, ParameterisedOpenFiltersAViewByTheBuffers)
{
    Exec(QStringLiteral("CREATE VIEW qselSample AS SELECT * FROM tblsample"));
    AddSample(QStringLiteral("a"), 1);
    AddSample(QStringLiteral("b"), 2);
    CSampleSet set(&m_conn, QStringLiteral("qselSample"));
    CMyAdoRecordSet* rs = set.Recordset();
    set.m_Count = 2;
    set.ClearStatus();
    // Positions before the first written column are passed over.
    const QList<int> columns{0, 9};
    ASSERT_TRUE(rs->OpenRecordSetParam(nullptr, nullptr, &columns, true));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(set.m_Name, QStringLiteral("b"));
}

TEST_P(RecordsetTest, RequeryReadsTheRowsAgain)
{
    AddSample(QStringLiteral("a"), 1);
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_EQ(set.Recordset()->RecordCount(), 1);
    AddSample(QStringLiteral("b"), 2);
    ASSERT_TRUE(set.Recordset()->Requery());
    EXPECT_EQ(set.Recordset()->RecordCount(), 2);
}

TEST_P(RecordsetTest, ADroppedServerConnectionReconnectsWithoutAsking)
{
    if (!IsPostgres())
        GTEST_SKIP() << "a file database has no connection to lose";
    AddSample(QStringLiteral("a"), 1);
    const int pid = Query(QStringLiteral("SELECT pg_backend_pid()")).Value(0, 0).toInt();
    {
        // Another session ends ours, as a server restart would.
        CDBConnection admin;
        admin.UseConnectionString(m_connectionString);
        ASSERT_TRUE(admin.Connect(false));
        CQueryResult r;
        ASSERT_TRUE(CSqlExecutor::RunNative(admin, QStringLiteral("SELECT pg_terminate_backend(?)"),
                                            {pid}, &r, nullptr));
        admin.ReleaseConnection(true);
    }
    CSampleSet set(&m_conn);
    EXPECT_FALSE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_FALSE(m_conn.IsConnected());
    EXPECT_EQ(m_conn.UseCount(), 0);
    // The next open reconnects from the string it had; nobody is asked.
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_EQ(set.m_Name, QStringLiteral("a"));
}

TEST_P(RecordsetTest, AdHocSqlReadsRowsWithoutARecordClass)
{
    AddSample(QStringLiteral("a"), 1);
    AddSample(QStringLiteral("b"), 2);
    CMyAdoRecordSet rs(&m_conn, QString(), 0, nullptr);
    ASSERT_TRUE(rs.OpenSql(
        QStringLiteral("SELECT [Name], [Count] FROM tblSample WHERE [Count] > ? ORDER BY [Count]"),
        {0}));
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Value(0).toString(), QStringLiteral("a"));
    EXPECT_EQ(rs.Value(QStringLiteral("Count")).toInt(), 1);
    rs.MoveNext();
    EXPECT_EQ(rs.Value(0).toString(), QStringLiteral("b"));
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_FALSE(rs.Value(0).isValid());
}

KELVANE_INSTANTIATE_BACKENDS(RecordsetTest);
