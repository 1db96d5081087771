#include "data/MyAdoRecordSet.h"
#include "tests/data/TestRecords.h"
#include "tests/support/TestEnv.h"

#include <functional>

// Reading rows into the record buffers: read rules, statuses, integrity.
class BindingSetTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(SampleTableSql(IsPostgres()));
    }
};

TEST_P(BindingSetTest, NullsReadByTheirRules)
{
    Exec(QStringLiteral("INSERT INTO tblsample (name) VALUES (NULL)"));
    CSampleSet set(&m_conn);
    int fields = 0;
    ASSERT_TRUE(set.OpenTableWithQuery(&fields, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_EQ(fields, 12);
    ASSERT_FALSE(set.Recordset()->IsEOF());
    EXPECT_EQ(set.m_Name, QString());
    EXPECT_EQ(set.m_Count, -1);
    EXPECT_TRUE(set.m_WorkDate.IsNull());
    EXPECT_EQ(set.m_Amount, 0.0f);
    EXPECT_EQ(set.m_Total, 1.0);
    for (int column : {1, 2, 3, 4, 5, 6, 9})
        EXPECT_EQ(set.Descriptor(column).status, adFldNull) << column;
    EXPECT_EQ(set.Descriptor(0).status, adFldOK);
}

TEST_P(BindingSetTest, ValuesOfEveryTypeRoundTrip)
{
    CSampleSet set(&m_conn);
    set.ClearStatus();
    set.ClearFields();
    set.m_Name = QStringLiteral("Zoë");
    set.m_Amount = 0.75f;
    set.m_Total = 1234.5678;
    set.m_Cost = 85.5;
    set.m_WorkDate = CDateTime(2026, 3, 29, 2, 30, 0); // a daylight-saving gap in Europe
    set.m_IsDone = true;
    set.m_Small = -32768;
    set.m_Count = 2147483647;
    set.m_Blob = QByteArray("\x00\x01\xff", 3);
    ASSERT_TRUE(set.Recordset()->CheckAddNew());
    const int id = set.m_SampleID;
    EXPECT_GT(id, 0);

    CSampleSet read(&m_conn);
    ASSERT_TRUE(
        read.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] = %1").arg(id), QString()));
    EXPECT_EQ(read.m_Name, QStringLiteral("Zoë"));
    EXPECT_EQ(read.m_Amount, 0.75f);
    EXPECT_DOUBLE_EQ(read.m_Total, 1234.5678);
    EXPECT_DOUBLE_EQ(read.m_Cost, 85.5);
    EXPECT_EQ(read.m_WorkDate, CDateTime(2026, 3, 29, 2, 30, 0));
    EXPECT_TRUE(read.m_IsDone);
    EXPECT_EQ(read.m_Small, -32768);
    EXPECT_EQ(read.m_Count, 2147483647);
    EXPECT_EQ(read.m_Blob, QByteArray("\x00\x01\xff", 3));
}

TEST_P(BindingSetTest, AwkwardTextsRoundTripUnchanged)
{
    const QString awkward[] = {
        QStringLiteral("O'Brien's \"quote\" ''doubled''"),
        QStringLiteral("back\\slash \\n \\' end\\"),
        QStringLiteral("日本語 — Ελληνικά — 😀 emoji"),
        // Unicode's characters for internal use are text like any other.
        QString(QStringLiteral("nonchar ") + QChar(0xFDD0) + QChar(0xFFFE) +
                QStringLiteral(" end")),
        // At the start too: no byte-order mark to drop or to swap the text by.
        QString(QChar(0xFFFE) + QStringLiteral("abc def")),
        QString(QChar(0xFEFF) + QStringLiteral("abc")),
        QString(10000, QLatin1Char('x')),
        QStringLiteral("%s %1 ? :name $1"),
    };
    for (const QString& text : awkward) {
        CSampleSet set(&m_conn);
        set.ClearStatus();
        set.ClearFields();
        set.m_Note = text;
        ASSERT_TRUE(set.Recordset()->CheckAddNew());
        const int id = set.m_SampleID;

        CSampleSet read(&m_conn);
        ASSERT_TRUE(
            read.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] = %1").arg(id), QString()));
        EXPECT_EQ(read.m_Note, text) << text.left(40).toStdString();

        // The same text written by an update comes back unchanged too.
        read.m_Note = text + QStringLiteral("'");
        ASSERT_TRUE(read.Update());
        CSampleSet again(&m_conn);
        ASSERT_TRUE(again.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] = %1").arg(id),
                                             QString()));
        EXPECT_EQ(again.m_Note, text + QStringLiteral("'"));
    }
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

TEST_P(BindingSetTest, TextTheDatabaseCannotHoldIsRefusedWithAMessage)
{
    // A NUL character: the file back end stores it, the server cannot.
    const QString nul = QStringLiteral("nul") + QChar(0) + QStringLiteral("inside");
    CSampleSet set(&m_conn);
    set.ClearStatus();
    set.ClearFields();
    set.m_Note = nul;
    EXPECT_EQ(set.Recordset()->CheckAddNew(), !IsPostgres());
    EXPECT_EQ(CRecordingMessages::Current().Count(), IsPostgres() ? 1 : 0);
    if (IsPostgres())
        EXPECT_TRUE(CRecordingMessages::Current().Last().contains(QStringLiteral("NUL")));
    else
        EXPECT_EQ(Query(QStringLiteral("SELECT note FROM tblsample")).Value(0, 0).toString(), nul);
    CRecordingMessages::Current().Clear();

    // Half a character can be stored by neither; the next character is not swallowed.
    const QString half = QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("bc");
    CSampleSet second(&m_conn);
    second.ClearStatus();
    second.ClearFields();
    second.m_Note = half;
    EXPECT_FALSE(second.Recordset()->CheckAddNew());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_TRUE(
        CRecordingMessages::Current().Last().contains(QStringLiteral("half of a character")))
        << CRecordingMessages::Current().Last().toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblsample")).Value(0, 0).toInt(),
              IsPostgres() ? 0 : 1);
}

TEST_P(BindingSetTest, WidthIsEnforcedOnWriteButNeverOnRead)
{
    const QString thirty = QStringLiteral("ääääääääää0123456789abcdefghij");
    Exec(QStringLiteral("INSERT INTO tblsample (name) VALUES (?)"), {thirty});
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_EQ(set.m_Name, thirty);

    set.m_Name = QStringLiteral("😀").repeated(25);
    ASSERT_TRUE(set.Update());
    const CQueryResult stored = Query(QStringLiteral("SELECT name FROM tblsample"));
    // Twenty characters, not twenty UTF-16 units: no emoji is cut in half.
    EXPECT_EQ(stored.Value(0, 0).toString(), QStringLiteral("😀").repeated(20));
}

TEST_P(BindingSetTest, UpdateLeavesExcludedAndNullDateColumnsAlone)
{
    Exec(QStringLiteral("INSERT INTO tblsample (name, count, workdate) VALUES ('a', 5, NULL)"));
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    set.SetIncluded(9, false);
    set.m_Count = 99;
    set.m_Name = QStringLiteral("b");
    ASSERT_TRUE(set.Update());
    const CQueryResult row = Query(QStringLiteral("SELECT name, count, workdate FROM tblsample"));
    EXPECT_EQ(row.Value(0, 0).toString(), QStringLiteral("b"));
    EXPECT_EQ(row.Value(0, 1).toInt(), 5);
    EXPECT_TRUE(row.Value(0, 2).isNull());
}

TEST_P(BindingSetTest, NullColumnsStayNullUnlessTheCallerSetsThem)
{
    Exec(QStringLiteral("INSERT INTO tblsample (name, count) VALUES ('a', NULL)"));
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    ASSERT_TRUE(set.Update());
    EXPECT_TRUE(Query(QStringLiteral("SELECT count FROM tblsample")).Value(0, 0).isNull());

    // A value given to a column that was NULL is written.
    set.m_Count = 7;
    ASSERT_TRUE(set.Update());
    EXPECT_EQ(Query(QStringLiteral("SELECT count FROM tblsample")).Value(0, 0).toInt(), 7);
}

TEST_P(BindingSetTest, InsertWritesNoNullDateAndNoUnboundColumn)
{
    CSampleSet set(&m_conn);
    set.ClearFields();
    set.ClearStatus();
    set.Descriptor(6).status = adFldNull;
    ASSERT_TRUE(set.Recordset()->CheckAddNew());
    const CQueryResult row = Query(QStringLiteral("SELECT workdate, spare FROM tblsample"));
    EXPECT_TRUE(row.Value(0, 0).isNull());
    EXPECT_EQ(row.Value(0, 1).toInt(), 0);
}

TEST_P(BindingSetTest, ValuesBeyondTheBuffersAreToldOnceAndKeptUnlessChanged)
{
    // As another program may store them: the schema's integers take more
    // than the class's small integer, texts more than the class's width.
    if (IsPostgres())
        Exec(QStringLiteral("ALTER TABLE tblsample ALTER COLUMN small TYPE INTEGER"));
    const QString longName = QStringLiteral("ääääääääää0123456789abcdefghij");
    Exec(QStringLiteral("INSERT INTO tblsample (name, small, count, note) VALUES (?, 40000, "
                        "1099511627776, 'first')"),
         {longName});
    CRecordingMessages& messages = CRecordingMessages::Current();
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    ASSERT_EQ(messages.Count(), 1);
    for (const char* part : {"tblSample with SampleID 1", "Small 40000", "Count 1099511627776"})
        EXPECT_TRUE(messages.Last().contains(QLatin1String(part))) << messages.Last().toStdString();
    EXPECT_EQ(set.m_Name, longName);
    // They read as none.
    for (int column : {8, 9}) {
        EXPECT_TRUE(set.IsNull(column)) << column;
        EXPECT_TRUE(set.IsUnheld(column)) << column;
        EXPECT_TRUE(set.BufferValue(column).isNull()) << column;
    }
    EXPECT_EQ(set.m_Count, -1);

    struct Step {
        std::function<void(CSampleSet&)> change;
        const char* stored; // name|small|count|note afterwards
    };
    const Step steps[] = {
        {[](CSampleSet& s) { s.m_Note = QStringLiteral("second"); },
         "ääääääääää0123456789abcdefghij|40000|1099511627776|second"},
        // Nothing changed: nothing is written, and that is no failure.
        {[](CSampleSet&) {}, "ääääääääää0123456789abcdefghij|40000|1099511627776|second"},
        // What the user changes is written, cut to the width.
        {[](CSampleSet& s) {
             s.m_Count = 7;
             s.m_Name = s.m_Name + QStringLiteral("!");
         },
         "ääääääääää0123456789|40000|7|second"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.stored);
        CSampleSet row(&m_conn);
        ASSERT_TRUE(row.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
        step.change(row);
        ASSERT_TRUE(row.Update());
        const CQueryResult stored =
            Query(QStringLiteral("SELECT name, small, count, note FROM tblsample"));
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << stored.Value(0, c).toString();
        EXPECT_EQ(cells.join(QLatin1Char('|')), QString::fromUtf8(step.stored));
    }
    // Told once, however often the row is read.
    EXPECT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
}

TEST_P(BindingSetTest, TextsWithALeadingMarkReadAsAnotherProgramStoredThem)
{
    // U+FEFF and U+FFFE before "abc", as UTF-8 bytes.
    for (const char* hex : {"efbbbf616263", "efbfbe616263", "efbbbfefbbbf61"}) {
        const QString text = QString::fromLatin1(hex);
        Exec(IsPostgres() ? QStringLiteral("INSERT INTO tblsample (note) VALUES "
                                           "(convert_from(decode('%1', 'hex'), 'UTF8'))")
                                .arg(text)
                          : QStringLiteral("INSERT INTO tblsample (note) VALUES (CAST(X'%1' AS "
                                           "TEXT))")
                                .arg(text));
    }
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[SampleID]")));
    QStringList read;
    for (; !set.Recordset()->IsEOF(); set.MoveNext())
        read << QString::fromLatin1(set.m_Note.toUtf8().toHex());
    EXPECT_EQ(read, (QStringList{"efbbbf616263", "efbfbe616263", "efbbbfefbbbf61"}));
}

TEST_P(BindingSetTest, MovesFollowTheCursorRules)
{
    CSampleSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[SampleID] > 0"), QString()));
    EXPECT_TRUE(set.Recordset()->IsBOF());
    EXPECT_TRUE(set.Recordset()->IsEOF());
    EXPECT_FALSE(set.MoveFirst());
    EXPECT_FALSE(set.MoveNext());
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0); // past the end is silent

    for (int i = 1; i <= 3; ++i)
        Exec(QStringLiteral("INSERT INTO tblsample (name, count) VALUES (?, ?)"),
             {QStringLiteral("n%1").arg(i), i});
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QString(), QStringLiteral("[Count] DESC")));
    QList<int> seen;
    while (!set.Recordset()->IsBOF() && !set.Recordset()->IsEOF()) {
        seen << set.m_Count;
        set.MoveNext();
    }
    EXPECT_EQ(seen, (QList<int>{3, 2, 1}));
    EXPECT_EQ(set.m_Count, 1); // the buffers keep the last row at EOF
    ASSERT_TRUE(set.MoveLast());
    EXPECT_EQ(set.m_Count, 1);
    ASSERT_TRUE(set.MoveFirst());
    EXPECT_EQ(set.m_Count, 3);
}

TEST_P(BindingSetTest, TooFewSourceColumnsFailTheOpen)
{
    Exec(QStringLiteral("CREATE TABLE tblshort (sampleid INTEGER, name VARCHAR(20))"));
    Exec(QStringLiteral("INSERT INTO tblshort VALUES (1, 'x')"));
    CSampleSet set(&m_conn);
    CMyAdoRecordSet* rs = set.Recordset();
    ASSERT_TRUE(rs->OpenSql(QStringLiteral("SELECT * FROM tblshort")));
    EXPECT_EQ(set.Descriptor(5).status, adFldUnavailable);
    EXPECT_FALSE(rs->CheckDataIntegrity(set.Descriptor(5).status, 5));
}

KELVANE_INSTANTIATE_BACKENDS(BindingSetTest);
