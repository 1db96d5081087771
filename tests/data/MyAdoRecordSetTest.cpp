#include "data/MyAdoRecordSet.h"
#include "tests/data/TestRecords.h"
#include "tests/support/TestEnv.h"

#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <limits>

namespace {

// The statements the data layer runs while it lives (from its debug trace).
class CStatementLog {
public:
    CStatementLog()
    {
        s_lines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("kelvane.data.debug=true"));
        m_previous = qInstallMessageHandler(&CStatementLog::Handle);
    }
    ~CStatementLog()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    CStatementLog(const CStatementLog&) = delete;
    CStatementLog& operator=(const CStatementLog&) = delete;

    int Count(const QString& word) const
    {
        int n = 0;
        for (const QString& line : std::as_const(s_lines))
            n += line.contains(word, Qt::CaseInsensitive) ? 1 : 0;
        return n;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        if (qstrcmp(context.category, "kelvane.data") == 0 &&
            text.startsWith(QLatin1String("run:")))
            s_lines << text;
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace

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

TEST_P(RecordsetTest, AKeyedWriteInATransactionTakesNoSavepointOnTheFileDatabase)
{
    AddSample(QStringLiteral("a"), 1);
    Exec(QStringLiteral("INSERT INTO tblLink VALUES (1, 2, 'x')"));
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    CLinkSet link(&m_conn);
    ASSERT_TRUE(link.OpenTableWithQuery(nullptr, QString(), QString()));
    CStatementLog log;
    ASSERT_TRUE(m_conn.BeginTrans());
    set.m_Name = QStringLiteral("b");
    ASSERT_TRUE(set.Update());
    set.ClearStatus();
    set.m_Name = QStringLiteral("c");
    ASSERT_TRUE(set.Recordset()->CheckAddNew());
    // A file database undoes a failed statement alone; the server spoils the
    // whole transaction, so there a savepoint keeps the outer work.
    const int keyed = log.Count(QStringLiteral("SAVEPOINT"));
    EXPECT_EQ(keyed, IsPostgres() ? 4 : 0);
    // A row without a key may hit more than one row: it is undone alone.
    link.m_Label = QStringLiteral("y");
    ASSERT_TRUE(link.Update());
    EXPECT_EQ(log.Count(QStringLiteral("SAVEPOINT")), keyed + 2);
    ASSERT_TRUE(m_conn.CommitTrans());
    EXPECT_EQ(Names(), (QStringList{"b", "c"}));
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

// Forward-only recordsets: the rows stream, the rules of moving change.
class ForwardOnlyTest : public RecordsetTest {
protected:
    void SetUp() override
    {
        RecordsetTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (int i = 1; i <= 5; ++i)
            AddSample(QStringLiteral("n%1").arg(i), i);
    }
};

TEST_P(ForwardOnlyTest, WalksEveryRowIntoTheBuffers)
{
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    rs->SetCursorMode(CursorMode::ForwardOnly);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] > ?"),
                                       QStringLiteral("[SampleID]"), {1}));
    EXPECT_TRUE(rs->IsForwardOnly());
    EXPECT_EQ(rs->RecordCount(), -1);
    EXPECT_FALSE(rs->IsBOF());
    QStringList names;
    for (; !rs->IsEOF(); set.MoveNext()) {
        names << set.m_Name;
        EXPECT_EQ(rs->IntValue(9), set.m_Count);
        EXPECT_EQ(rs->TextValue(rs->FieldIndex(QStringLiteral("Name"))), set.m_Name);
    }
    EXPECT_EQ(names, (QStringList{"n2", "n3", "n4", "n5"}));
    EXPECT_FALSE(rs->MoveNext());
    EXPECT_FALSE(rs->Value(1).isValid());
    EXPECT_TRUE(rs->IsNull(1));
}

TEST_P(ForwardOnlyTest, MovingBackFailsAndMoveFirstReadsAgain)
{
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    rs->SetCursorMode(CursorMode::ForwardOnly);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    EXPECT_TRUE(rs->MoveFirst()); // still on the first row
    ASSERT_TRUE(rs->MoveNext());
    EXPECT_EQ(set.m_Name, QStringLiteral("n2"));
    EXPECT_FALSE(rs->MovePrevious());
    EXPECT_FALSE(rs->MoveLast());
    EXPECT_FALSE(rs->ErrorText().isEmpty());
    EXPECT_EQ(set.m_Name, QStringLiteral("n2"));
    ASSERT_TRUE(rs->MoveFirst());
    EXPECT_EQ(set.m_Name, QStringLiteral("n1"));
}

TEST_P(ForwardOnlyTest, AnEmptyResultIsAtBothEnds)
{
    CSampleSet set(&m_conn);
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] > 99"), QString()));
    EXPECT_TRUE(set.Recordset()->IsBOF());
    EXPECT_TRUE(set.Recordset()->IsEOF());
    EXPECT_FALSE(set.Recordset()->MoveFirst());
}

TEST_P(ForwardOnlyTest, TheCurrentRowCanBeChangedAndDeleted)
{
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    rs->SetCursorMode(CursorMode::ForwardOnly);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    set.m_Name = QStringLiteral("renamed");
    ASSERT_TRUE(set.Update());
    // The row reads as written, and a second write still finds it.
    EXPECT_EQ(rs->TextValue(1), QStringLiteral("renamed"));
    set.m_Count = 10;
    ASSERT_TRUE(set.Update());
    ASSERT_TRUE(rs->MoveNext());
    ASSERT_TRUE(set.Delete());
    EXPECT_TRUE(rs->IsNull(1));
    int rest = 0;
    while (rs->MoveNext() && !rs->IsEOF())
        ++rest;
    EXPECT_EQ(rest, 3);
    EXPECT_EQ(Names(), (QStringList{"renamed", "n3", "n4", "n5"}));
    EXPECT_EQ(Query(QStringLiteral("SELECT count FROM tblsample WHERE name = 'renamed'"))
                  .Value(0, 0)
                  .toInt(),
              10);
}

TEST_P(ForwardOnlyTest, AFailingStatementFailsTheOpen)
{
    CMyAdoRecordSet rs(&m_conn, QString(), 0, nullptr);
    rs.SetQuiet(true);
    rs.SetCursorMode(CursorMode::ForwardOnly);
    EXPECT_FALSE(rs.OpenSql(QStringLiteral("SELECT nothing FROM tblSample")));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(rs.ErrorText().isEmpty());
    ASSERT_TRUE(rs.OpenSql(QStringLiteral("SELECT [Name] FROM tblSample ORDER BY [Count]")));
    EXPECT_EQ(rs.TextValue(0), QStringLiteral("n1"));
}

TEST_P(RecordsetTest, TypedReadsSeeWhatWasWritten)
{
    AddSample(QStringLiteral("a"), 7);
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    bool ok = false;
    EXPECT_EQ(rs->IntValue(9, &ok), 7);
    EXPECT_TRUE(ok);
    EXPECT_EQ(rs->TextValue(9), QStringLiteral("7"));
    rs->DateValue(6, &ok);
    EXPECT_FALSE(ok) << "NULL";
    set.m_Count = 8;
    set.m_WorkDate = CDateTime(2026, 12, 8, 9, 30);
    set.Descriptor(6).status = adFldOK;
    ASSERT_TRUE(set.Update());
    EXPECT_EQ(rs->IntValue(9), 8);
    EXPECT_EQ(rs->DateValue(6, &ok), CDateTime(2026, 12, 8, 9, 30));
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(rs->DoubleValue(9), 8.0);
}

TEST_P(ForwardOnlyTest, EveryKindOfCellReadsAsWrittenStreamedAndInASnapshot)
{
    // A text that spells a special number, and a number that is one.
    Exec(QStringLiteral("INSERT INTO tblsample (name, note, amount, total, cost, workdate, isdone, "
                        "small, count, blob) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
         {QStringLiteral("NaN"), QStringLiteral("Grüße\tüber ✓"), 2.5,
          -std::numeric_limits<double>::infinity(), 12.3456,
          QVariant::fromValue(CDateTime(2026, 12, 8, 9, 30)), 1, -7, 2147483647,
          QByteArray("\0a\xff", 3)});
    Exec(QStringLiteral("INSERT INTO tblsample (name) VALUES (NULL)"));
    for (const CursorMode mode : {CursorMode::ForwardOnly, CursorMode::Snapshot}) {
        SCOPED_TRACE(mode == CursorMode::ForwardOnly ? "forward-only" : "snapshot");
        CSampleSet set(&m_conn);
        set.Recordset()->SetCursorMode(mode);
        ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[Count] > 5 OR [Name] IS NULL"),
                                           QStringLiteral("[SampleID]")));
        EXPECT_EQ(set.m_Name, QStringLiteral("NaN"));
        EXPECT_EQ(set.m_Note, QStringLiteral("Grüße\tüber ✓"));
        EXPECT_FLOAT_EQ(set.m_Amount, 2.5f);
        EXPECT_EQ(set.m_Total, -std::numeric_limits<double>::infinity());
        EXPECT_DOUBLE_EQ(set.m_Cost, 12.3456);
        EXPECT_EQ(set.m_WorkDate, CDateTime(2026, 12, 8, 9, 30));
        EXPECT_TRUE(set.m_IsDone);
        EXPECT_EQ(set.m_Small, -7);
        EXPECT_EQ(set.m_Count, 2147483647);
        EXPECT_EQ(set.m_Blob, QByteArray("\0a\xff", 3));
        ASSERT_TRUE(set.MoveNext());
        ASSERT_FALSE(set.Recordset()->IsEOF());
        EXPECT_TRUE(set.m_Name.isEmpty());
        EXPECT_EQ(set.Descriptor(1).status, adFldNull);
        EXPECT_EQ(set.m_Count, -1);
        EXPECT_EQ(set.m_Total, 1.0);
        set.Close();
    }
}

KELVANE_INSTANTIATE_BACKENDS(ForwardOnlyTest);
