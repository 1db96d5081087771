#include "data/RecordsetXml.h"
#include "data/DBClass.h"
#include "data/records/TimeSheetSet.h"
#include "data/records/WorkTypeSet.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

constexpr int kContactsView = 12774;
constexpr int kTimeSheetView = 12778;
constexpr int kPlainView = 12777;

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(KELVANE_DATA_FIXTURES "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString XmlName(int view)
{
    QString name;
    CDBClass::GetTempXmlName(view, name);
    return name;
}

QString HtmlName(int view)
{
    QString name;
    CDBClass::GetTempHtmlName(view, name);
    return name;
}

// The attributes of every z:row, in document order.
QList<QXmlStreamAttributes> RowsOf(const QByteArray& xml, QString* error)
{
    QList<QXmlStreamAttributes> rows;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.qualifiedName() == QLatin1String("z:row"))
            rows << reader.attributes();
    }
    if (reader.hasError())
        *error = reader.errorString();
    return rows;
}

} // namespace

// Recordsets saved as XML and shown as HTML, on both back ends: the same
// rows give the same bytes.
class RecordsetXmlTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        // The cache folder belongs to the test process, not the test.
        for (int view : {kContactsView, kTimeSheetView, kPlainView})
            for (const QString& name : {XmlName(view), HtmlName(view)}) {
                QFile::remove(name);
                QDir(name).removeRecursively();
            }
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    void AddTimeSheetRows()
    {
        Exec(QStringLiteral(
                 "INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, "
                 "HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID, "
                 "ObjectID) VALUES (4, 5, 7, ?, ?, ?, 0.8, 9, ?, 12.3456, 2, 1, NULL, 40, 3), "
                 "(4, 5, 7, ?, ?, ?, 0.75, NULL, NULL, 0, NULL, 2, NULL, NULL, NULL)"),
             {QVariant::fromValue(CDateTime(2026, 12, 8)),
              QVariant::fromValue(CDateTime(2026, 12, 8, 9, 0)),
              QVariant::fromValue(CDateTime(2026, 12, 8, 9, 48)),
              QStringLiteral("<Müller & \"Söhne\">\n\tit's 50% done\x01"),
              QVariant::fromValue(CDateTime(2026, 12, 8)),
              QVariant::fromValue(CDateTime(2026, 12, 8, 10, 0)),
              QVariant::fromValue(CDateTime(2026, 12, 8, 10, 45))});
    }
    bool OpenWorkTypes(CWorkTypeSet& set, const QString& where = QString())
    {
        set.Recordset()->SetFilter(where);
        set.Recordset()->SetSort(QStringLiteral("WorkTypeID"));
        return m_db.OpenRecordSet(&set);
    }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }

    CDBClass m_db;
};

TEST_P(RecordsetXmlTest, SeededWorkTypesGiveTheGoldenXml)
{
    CWorkTypeSet set(m_db.Connection());
    ASSERT_TRUE(OpenWorkTypes(set));
    set.MoveNext(); // saving does not depend on, or move, the current row
    ASSERT_TRUE(m_db.SaveRecordsetAsXml(set.Recordset(), kTimeSheetView));
    EXPECT_EQ(FileBytes(XmlName(kTimeSheetView)), Fixture(QStringLiteral("worktypes.xml")));
    EXPECT_EQ(set.m_WorkTypeID, 2);
    EXPECT_EQ(QFileInfo(XmlName(kTimeSheetView)).fileName(), QStringLiteral("TStmpXML.xml"));
}

TEST_P(RecordsetXmlTest, TimeSheetRowsGiveTheGoldenXml)
{
    AddTimeSheetRows();
    CTimeSheetSet set(m_db.Connection());
    set.Recordset()->SetSort(QStringLiteral("TimeID"));
    ASSERT_TRUE(m_db.OpenRecordSet(&set));
    ASSERT_TRUE(m_db.SaveRecordsetAsXml(set.Recordset(), kPlainView));
    const QByteArray xml = FileBytes(XmlName(kPlainView));
    EXPECT_EQ(xml, Fixture(QStringLiteral("timesheet.xml")));

    QString error;
    const QList<QXmlStreamAttributes> rows = RowsOf(xml, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).value(QStringLiteral("Comment")),
              QStringLiteral("<Müller & \"Söhne\">\n\tit's 50% done\uFFFD"));
    EXPECT_EQ(rows.at(0).value(QStringLiteral("StartTime")), QStringLiteral("2026-12-08T09:00:00"));
    EXPECT_FALSE(rows.at(1).hasAttribute(QStringLiteral("TaskID"))); // NULLs are left out
}

TEST_P(RecordsetXmlTest, AForwardOnlyRecordsetIsSavedWithAllItsRows)
{
    AddTimeSheetRows();
    CTimeSheetSet set(m_db.Connection());
    set.Recordset()->SetSort(QStringLiteral("TimeID"));
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    ASSERT_TRUE(m_db.OpenRecordSet(&set));
    set.MoveNext();
    ASSERT_TRUE(m_db.SaveRecordsetAsXml(set.Recordset(), kPlainView));
    EXPECT_EQ(FileBytes(XmlName(kPlainView)), Fixture(QStringLiteral("timesheet.xml")));
}

TEST_P(RecordsetXmlTest, StatementRowsAreTypedFromWhatTheyHold)
{
    AddTimeSheetRows();
    CMyAdoRecordSet* rs = nullptr;
    // Quoted names keep their case on the server too.
    ASSERT_TRUE(m_db.ExecuteQuery(
        QStringLiteral("SELECT TimeID AS \"TimeID\", WorkDate AS \"WorkDate\", HoursWorked AS "
                       "\"Hours\", Comment AS \"Comment\", 1 AS \"Comment\", 'x' AS \"a b\" FROM "
                       "tblTimeSheet ORDER BY TimeID"),
        rs));
    std::unique_ptr<CMyAdoRecordSet> owner(rs);
    ASSERT_TRUE(m_db.SaveRecordsetAsXml(rs, kPlainView));
    const QByteArray xml = FileBytes(XmlName(kPlainView));
    EXPECT_EQ(xml, Fixture(QStringLiteral("statement.xml")));
    QString error;
    const QList<QXmlStreamAttributes> rows = RowsOf(xml, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(1).value(QStringLiteral("WorkDate")), QStringLiteral("2026-12-08T00:00:00"));
    EXPECT_EQ(rows.at(1).value(QStringLiteral("c5")), QStringLiteral("x")); // "a b"
}

TEST_P(RecordsetXmlTest, AStyleSheetMakesTheHtmlPage)
{
    CWorkTypeSet set(m_db.Connection());
    ASSERT_TRUE(OpenWorkTypes(set));
    const QString sheet = QString::fromUtf8(Fixture(QStringLiteral("worktypes.xsl")));
    ASSERT_TRUE(m_db.PersistAsXMLToHTML(set.Recordset(), sheet, kContactsView));
    EXPECT_EQ(Messages(), QStringList());
    QByteArray html = FileBytes(HtmlName(kContactsView));
    html.replace('\n', "");
    EXPECT_TRUE(html.contains("<td>1</td><td>Development</td>")) << html.toStdString();
    EXPECT_TRUE(html.contains("<td>6</td><td>Travel</td>"));
    EXPECT_TRUE(html.contains("Work types (100% of them)"));
    EXPECT_TRUE(html.contains("Rows: 6"));
    EXPECT_EQ(QFileInfo(HtmlName(kContactsView)).fileName(), QStringLiteral("CONtmpXML.htm"));

    // No rows: the page of the style sheet alone, over a well-formed file.
    CWorkTypeSet none(m_db.Connection());
    ASSERT_TRUE(OpenWorkTypes(none, QStringLiteral("WorkTypeID < 0")));
    ASSERT_TRUE(m_db.PersistAsXMLToHTML(none.Recordset(), sheet, kContactsView));
    html = FileBytes(HtmlName(kContactsView));
    EXPECT_TRUE(html.contains("Rows: 0"));
    EXPECT_FALSE(html.contains("<td>"));
}

TEST_P(RecordsetXmlTest, AMalformedStyleSheetSaysWhyAndWritesNoPage)
{
    CWorkTypeSet set(m_db.Connection());
    ASSERT_TRUE(OpenWorkTypes(set));
    const QString sheet = QString::fromUtf8(Fixture(QStringLiteral("malformed.xsl")));
    EXPECT_FALSE(m_db.PersistAsXMLToHTML(set.Recordset(), sheet, kContactsView));
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(
        Messages().at(0).startsWith(QStringLiteral("CreateHTMLDoc Failed Load XML ") + sheet));
    EXPECT_TRUE(Messages().at(0).contains(QStringLiteral("line 4")))
        << Messages().at(0).toStdString();
    EXPECT_EQ(Messages().at(1),
              QStringLiteral("CreateHTMLDoc Failed get_documentElement ERROR : 1"));
    EXPECT_FALSE(QFileInfo::exists(HtmlName(kContactsView)));

    // Well formed, but not a style sheet; and one that stops itself.
    CRecordingMessages::Current().Clear();
    EXPECT_FALSE(
        m_db.PersistAsXMLToHTML(set.Recordset(), QStringLiteral("<html/>"), kContactsView));
    EXPECT_FALSE(m_db.PersistAsXMLToHTML(
        set.Recordset(),
        QStringLiteral("<xsl:stylesheet version='1.0' "
                       "xmlns:xsl='http://www.w3.org/1999/XSL/Transform'><xsl:template "
                       "match='/'><xsl:message terminate='yes'>no rows for "
                       "you</xsl:message></xsl:template></xsl:stylesheet>"),
        kContactsView));
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages().at(1).contains(QStringLiteral("no rows for you")))
        << Messages().at(1).toStdString();
    EXPECT_FALSE(QFileInfo::exists(HtmlName(kContactsView)));
}

TEST_P(RecordsetXmlTest, AFileThatCannotBeWrittenIsAFailure)
{
    CWorkTypeSet set(m_db.Connection());
    ASSERT_TRUE(OpenWorkTypes(set));
    const QString sheet = QString::fromUtf8(Fixture(QStringLiteral("worktypes.xsl")));
    // A folder where the page should go: no one can write it, not even root.
    ASSERT_TRUE(QDir().mkpath(HtmlName(kContactsView)));
    EXPECT_FALSE(m_db.PersistAsXMLToHTML(set.Recordset(), sheet, kContactsView));
    EXPECT_EQ(Messages(),
              QStringList{QStringLiteral("Opening file failure ") + HtmlName(kContactsView)});

    CRecordingMessages::Current().Clear();
    ASSERT_TRUE(QDir().mkpath(XmlName(kTimeSheetView)));
    EXPECT_FALSE(m_db.SaveRecordsetAsXml(set.Recordset(), kTimeSheetView));
    EXPECT_FALSE(m_db.PersistAsXMLToHTML(set.Recordset(), sheet, kTimeSheetView));
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(HtmlName(kTimeSheetView)));
}

TEST_P(RecordsetXmlTest, StatementsGiveTheSameXmlOnBothBackEnds)
{
    QString sql = QStringLiteral("SELECT WorkTypeID AS \"WorkTypeID\", WorkType AS \"WorkType\" "
                                 "FROM tlkpWorkType WHERE WorkTypeID BETWEEN ? AND 3 ORDER BY 1");
    if (IsPostgres()) {
        // On the server a function builds the XML itself.
        Exec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION tvx_worktypes(p_min integer) RETURNS SETOF text "
            "LANGUAGE sql AS $$ SELECT xmlelement(name row, xmlattributes(WorkTypeID AS "
            "\"WorkTypeID\", WorkType::text AS \"WorkType\"))::text FROM tlkpWorkType WHERE "
            "WorkTypeID BETWEEN p_min AND 3 ORDER BY WorkTypeID $$"));
        sql = m_db.Dialect().ProcedureCall(QStringLiteral("tvx_worktypes"), 1);
    }
    Exec(QStringLiteral("UPDATE tlkpWorkType SET WorkType = 'R&D <\"x\">' WHERE WorkTypeID = 3"));
    QString xml;
    ASSERT_TRUE(m_db.ExecuteToStream(sql, xml, {2}));
    EXPECT_EQ(xml,
              QStringLiteral("<row WorkTypeID=\"2\" WorkType=\"Design\"/>"
                             "<row WorkTypeID=\"3\" WorkType=\"R&amp;D &lt;&quot;x&quot;&gt;\"/>"));
    EXPECT_FALSE(m_db.ExecuteToStream(QStringLiteral("SELECT nothing FROM nowhere"), xml));
    EXPECT_TRUE(xml.isEmpty());
    EXPECT_EQ(Messages(), QStringList());
}

KELVANE_INSTANTIATE_BACKENDS(RecordsetXmlTest);

TEST(RecordsetFiles, TemporaryNamesByView)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QString name;
    EXPECT_TRUE(CDBClass::GetTempXmlName(12774, name));
    EXPECT_EQ(name, QDir(cache).filePath(QStringLiteral("CONtmpXML.xml")));
    EXPECT_TRUE(CDBClass::GetTempHtmlName(12775, name));
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("COMtmpXML.htm"));
    EXPECT_TRUE(CDBClass::GetTempXmlName(12835, name));
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("CRtmpXML.xml"));
    EXPECT_FALSE(CDBClass::GetTempXmlName(12777, name));
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("tmpXML.xml"));
    EXPECT_FALSE(CDBClass::GetTempHtmlName(12777, name));
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("tmpXML.htm"));
    EXPECT_TRUE(QFileInfo(cache).isDir());
}

TEST(RecordsetFiles, ReadFileToStringAppends)
{
    const QString path = TestEnv::TestDir() + QStringLiteral("/text.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(600, 'x') + "\r\nend %s\n");
    file.close();
    QString text = QStringLiteral("before:");
    EXPECT_TRUE(ReadFileToString(text, path));
    EXPECT_EQ(text, QStringLiteral("before:") + QString(600, QLatin1Char('x')) +
                        QStringLiteral("\nend %s\n"));
    EXPECT_FALSE(ReadFileToString(text, path + QStringLiteral(".missing")));
}
