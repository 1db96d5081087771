#include "data/MyAdoRecordSet.h"
#include "data/Schema.h"
#include "tests/data/AllRecords.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QRegularExpression>

// Every record class against the real schema of both back ends.
class RecordClassesTest : public KelvaneDbTest {};

namespace {

QString Plain(QString name)
{
    // Labels such as "mi_Company_ID" or "mItem" stand for the column CompanyID / Item.
    name.remove(QRegularExpression(QStringLiteral("^(ms|mi|mdt|mb|mby|mf)_")));
    name.remove(QRegularExpression(QStringLiteral("^m(?=[A-Z])")));
    name.remove(QLatin1Char('_'));
    name.remove(QRegularExpression(QStringLiteral("\\d+$")));
    return name.toLower();
}

QString Unbracketed(const QString& source)
{
    QString s = source;
    s.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    return s;
}

// A text of exactly `width` characters, apostrophes and all.
QString AwkwardText(int width, int seed)
{
    const QString pattern = QStringLiteral("O'Brien \"q\" \\ ünï 😀 %1 ").arg(seed);
    QString out;
    int chars = 0;
    for (int i = 0; chars < width; i = (i + 1) % pattern.size()) {
        out += pattern.at(i);
        if (pattern.at(i).isHighSurrogate()) {
            out += pattern.at(++i);
        }
        ++chars;
    }
    return out;
}

// Puts a value into a bound buffer; `round` makes each round's values differ.
void Fill(CColumnDescriptor& d, int column, int round)
{
    switch (d.type) {
    case adInteger:
    case adSmallInt:
        *static_cast<int*>(d.buffer) = 1000 * round + column;
        break;
    case adSingle:
        *static_cast<float*>(d.buffer) = 0.75f * round;
        break;
    case adDouble:
    case adCurrency:
        *static_cast<double*>(d.buffer) = 1234.5 * round + 0.25;
        break;
    case adDate:
        // Stop times of a day end at 23:59.
        *static_cast<CDateTime*>(d.buffer) =
            CDateTime(2026, 12, 8, 23, 59).AddDays(column - 10 * round);
        break;
    case adBoolean:
        *static_cast<bool*>(d.buffer) = round % 2 == 1;
        break;
    case adLongVarBinary:
        *static_cast<QByteArray*>(d.buffer) = QByteArray("\0\1\xff", 3) + QByteArray::number(round);
        break;
    default:
        *static_cast<QString*>(d.buffer) =
            round == 1 ? AwkwardText(d.size, column) : QStringLiteral("r%1").arg(round);
        break;
    }
    d.status = adFldOK;
}

QVariant Buffer(const CBindingSet& set, int column)
{
    return set.BufferValue(column);
}

bool IsTable(const CBindingSet& set)
{
    return CSchema::TableNames().contains(Unbracketed(set.Source()), Qt::CaseInsensitive);
}

// "[Key] = value AND ..." for the row just written.
QString KeyFilter(CDBConnection& conn, CBindingSet& set)
{
    const QStringList keys = conn.PrimaryKey(set.Source());
    QStringList parts;
    const auto literal = [](const QVariant& v) {
        return v.metaType().id() == QMetaType::QString ? CSqlDialect::QuoteText(v.toString())
                                                       : v.toString();
    };
    if (!keys.isEmpty()) {
        for (const QString& key : keys) {
            int column = -1;
            for (int i = 0; i < set.BoundColumnCount(); ++i)
                if (set.Descriptor(i).name.compare(key, Qt::CaseInsensitive) == 0)
                    column = i;
            const QVariant value = column >= 0 && set.Descriptor(column).buffer
                                       ? set.BufferValue(column)
                                       : set.Recordset()->LastInsertId();
            parts << QStringLiteral("[%1] = %2").arg(key, literal(value));
        }
    } else {
        // A table without a key: its first integer column identifies the test row.
        for (int i = set.FirstWrittenColumn(); i < set.ColumnCount(); ++i) {
            if (set.Descriptor(i).buffer && set.Descriptor(i).type == adInteger) {
                parts << QStringLiteral("[%1] = %2")
                             .arg(set.Descriptor(i).name, literal(set.BufferValue(i)));
                break;
            }
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

} // namespace

TEST_P(RecordClassesTest, EveryClassLinesUpWithItsSource)
{
    for (const RecordClass& rc : AllRecordClasses()) {
        SCOPED_TRACE(rc.name);
        auto set = rc.make(&m_conn);
        CQueryResult r;
        CDbError error;
        ASSERT_TRUE(CSqlExecutor::Run(
            m_conn, QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(set->Source()), {}, &r, &error))
            << error.description.toStdString();
        // Columns bound beyond the count must be there too.
        EXPECT_GE(r.ColumnCount(), set->BoundColumnCount());
        for (int i = 0; i < set->BoundColumnCount() && i < r.ColumnCount(); ++i) {
            const QString name = set->Descriptor(i).name;
            if (!name.isEmpty()) {
                EXPECT_EQ(Plain(name), Plain(r.columns.at(i))) << "column " << i;
            }
        }
    }
}

TEST_P(RecordClassesTest, EveryClassOpensOnTheSeededDatabase)
{
    for (const RecordClass& rc : AllRecordClasses()) {
        SCOPED_TRACE(rc.name);
        auto set = rc.make(&m_conn);
        int fields = 0;
        EXPECT_TRUE(set->OpenTableWithQuery(&fields, QStringLiteral("1 = 1"), QString()));
        EXPECT_GE(fields, set->BoundColumnCount());
    }
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_P(RecordClassesTest, EveryTableClassRoundTripsAwkwardValues)
{
    for (const RecordClass& rc : AllRecordClasses()) {
        auto set = rc.make(&m_conn);
        if (!IsTable(*set))
            continue;
        SCOPED_TRACE(rc.name);
        set->ClearFields();
        set->ClearStatus();
        for (int i = 0; i < set->BoundColumnCount(); ++i)
            if (set->Descriptor(i).buffer)
                Fill(set->Descriptor(i), i, 1);
        ASSERT_TRUE(set->Recordset()->CheckAddNew())
            << CRecordingMessages::Current().Last().toStdString();
        const QString filter = KeyFilter(m_conn, *set);

        auto read = rc.make(&m_conn);
        ASSERT_TRUE(read->OpenTableWithQuery(nullptr, filter, QString())) << filter.toStdString();
        ASSERT_FALSE(read->Recordset()->IsEOF()) << filter.toStdString();
        for (int i = set->FirstWrittenColumn(); i < set->ColumnCount(); ++i) {
            if (set->Descriptor(i).buffer) {
                EXPECT_EQ(Buffer(*read, i), Buffer(*set, i))
                    << "column " << i << " " << set->Descriptor(i).name.toStdString();
            }
        }

        // An update rewrites the included columns and leaves the others.
        // Key columns keep their values, so the filter still finds the row.
        const QStringList keys = m_conn.PrimaryKey(read->Source());
        for (int i = read->FirstWrittenColumn(); i < read->ColumnCount(); ++i) {
            const CColumnDescriptor& d = read->Descriptor(i);
            if (d.buffer && read->IsIncluded(i) && !keys.contains(d.name, Qt::CaseInsensitive) &&
                !filter.contains(QLatin1Char('[') + d.name + QLatin1Char(']')))
                Fill(read->Descriptor(i), i, 2);
        }
        ASSERT_TRUE(read->Update()) << CRecordingMessages::Current().Last().toStdString();
        auto again = rc.make(&m_conn);
        ASSERT_TRUE(again->OpenTableWithQuery(nullptr, filter, QString()));
        ASSERT_FALSE(again->Recordset()->IsEOF());
        for (int i = set->FirstWrittenColumn(); i < set->ColumnCount(); ++i) {
            if (set->Descriptor(i).buffer) {
                EXPECT_EQ(Buffer(*again, i),
                          read->IsIncluded(i) ? Buffer(*read, i) : Buffer(*set, i))
                    << "column " << i << " " << set->Descriptor(i).name.toStdString();
            }
        }

        ASSERT_TRUE(again->Delete());
        auto gone = rc.make(&m_conn);
        ASSERT_TRUE(gone->OpenTableWithQuery(nullptr, filter, QString()));
        EXPECT_TRUE(gone->Recordset()->IsEOF());
    }
}

TEST_P(RecordClassesTest, ATimeSheetUpdateNeverMovesTheRowsKey)
{
    Exec(QStringLiteral(
        "INSERT INTO tblTimeSheet (EmpID, WorkDate, TimeID, Comment, InvCost) VALUES "
        "(4, '2026-12-08 00:00:00', 2, NULL, 12.3456)"));
    CTimeSheetSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = 4"), QString()));
    EXPECT_EQ(set.m_Comment, QString()); // NULL reads ""
    EXPECT_FLOAT_EQ(static_cast<float>(set.m_InvCost), 12.3456f);
    set.m_EmpID = 5;
    set.m_TimeID = 9;
    set.m_WorkDate = CDateTime(2030, 1, 1);
    set.m_Comment = QStringLiteral("kept");
    ASSERT_TRUE(set.Update());
    const CQueryResult r = Query(QStringLiteral("SELECT EmpID, TimeID, Comment FROM tblTimeSheet"));
    EXPECT_EQ(r.Value(0, 0).toInt(), 4);
    EXPECT_EQ(r.Value(0, 1).toInt(), 2);
    EXPECT_EQ(r.Value(0, 2).toString(), QStringLiteral("kept"));
}

TEST_P(RecordClassesTest, AnEmployeeUpdateWritesOnlyTheColumnsThisProgramKeeps)
{
    Exec(QStringLiteral(
        "INSERT INTO tblFinEmployee (EmpID, EmpFullName, SecLevel, NTUserName, ManagerID, "
        "HourRateFactor, CurrentProjID) VALUES (3, 'Ann', 7, 'ann', NULL, NULL, NULL)"));
    CEmployeeSet set(&m_conn);
    ASSERT_TRUE(set.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = 3"), QString()));
    EXPECT_FLOAT_EQ(set.m_HourRateFactor, 1.0f);
    EXPECT_EQ(set.m_CurrentProjID, -1);
    set.m_Pwd = QStringLiteral("n'ew");
    set.m_SecLevel = 1;
    set.m_NTUserName = QStringLiteral("mallory");
    ASSERT_TRUE(set.Update());
    const CQueryResult r = Query(QStringLiteral(
        "SELECT Pwd, SecLevel, NTUserName, ManagerID, CurrentProjID FROM tblFinEmployee"));
    EXPECT_EQ(r.Value(0, 0).toString(), QStringLiteral("n'ew"));
    EXPECT_EQ(r.Value(0, 1).toInt(), 7);
    EXPECT_EQ(r.Value(0, 2).toString(), QStringLiteral("ann"));
    EXPECT_TRUE(r.Value(0, 3).isNull());
    EXPECT_TRUE(r.Value(0, 4).isNull()); // NULL read as -1 and left alone is written as NULL
}

TEST_P(RecordClassesTest, APersonIsInsertedWithItsFlagsOff)
{
    CPeopleSet set(&m_conn);
    set.ClearFields();
    set.ClearStatus();
    set.m_FirstName = QStringLiteral("Zoë");
    ASSERT_TRUE(set.Recordset()->CheckAddNew());
    const CQueryResult r =
        Query(QStringLiteral("SELECT PersonID, IsFirstNameTerms, SelectXmasCard, SelectMailDrop, "
                             "IsCurrent FROM tblAddrPerson"));
    EXPECT_GT(r.Value(0, 0).toInt(), 0);
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ(r.Value(0, c).toInt(), 0) << c;
}

TEST_P(RecordClassesTest, ListClassesCarryTheirCaptionsInPlace)
{
    CChgRqstListSet set(&m_conn);
    QStringList shown;
    for (int i = 0; i < set.BoundColumnCount(); ++i)
        if (!set.Descriptor(i).caption.isEmpty())
            shown << set.Descriptor(i).caption;
    EXPECT_EQ(shown, (QStringList{"ChgReqID", "Contact", "Reference", "Item", "Dated", "Actioned",
                                  "Priority", "Comment", "Full Details", "Project", "Authority",
                                  "Company", "Status"}));
    EXPECT_EQ(set.Descriptor(10).translation, 1); // Priority
    EXPECT_EQ(set.Descriptor(17).position, 12);
    EXPECT_EQ(set.Descriptor(6).width, 200);
    CTimeSheetClashSet clash(&m_conn);
    EXPECT_EQ(clash.m_headers.size(), 7);
}

KELVANE_INSTANTIATE_BACKENDS(RecordClassesTest);
