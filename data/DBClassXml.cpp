// The facade's recordset views: recordsets saved as XML, XML made into HTML
// by a style sheet, and statements whose result is XML.
#include "data/DBClass.h"

#include "data/MyAdoRecordSet.h"
#include "data/RecordsetXml.h"
#include "data/RowCursor.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

struct CViewFile {
    int viewId;
    const char* stem;
};

// The views that keep files of their own, by command id.
constexpr CViewFile kViewFiles[] = {
    {12774, "CONtmpXML"},
    {12775, "COMtmpXML"},
    {12778, "TStmpXML"},
    {12835, "CRtmpXML"},
};

bool TempName(int viewId, const char* extension, QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    QString stem = QStringLiteral("tmpXML");
    bool own = false;
    for (const CViewFile& v : kViewFiles) {
        if (v.viewId == viewId) {
            stem = QLatin1String(v.stem);
            own = true;
            break;
        }
    }
    name = QDir(folder).filePath(stem + QLatin1String(extension));
    return own;
}

// A document quoted in a message: its start, so a large one still fits a box.
QString Excerpt(const QString& text)
{
    constexpr int kMost = 400;
    return text.size() <= kMost ? text : text.left(kMost) + QStringLiteral(" ...");
}

bool WriteWholeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        ShowMessageBox(QStringLiteral("Opening file failure %1").arg(fileName),
                       kMbOk | kMbIconError);
        return false;
    }
    return true;
}

} // namespace

bool CDBClass::GetTempXmlName(int viewId, QString& name)
{
    return TempName(viewId, ".xml", name);
}

bool CDBClass::GetTempHtmlName(int viewId, QString& name)
{
    return TempName(viewId, ".htm", name);
}

bool CDBClass::SaveRecordsetAsXml(CMyAdoRecordSet* rs, int viewId)
{
    return SaveRecordsetAsXml(rs, viewId, {});
}

bool CDBClass::PersistAsXMLToHTML(CMyAdoRecordSet* rs, const QString& styleSheet, int viewId)
{
    return PersistAsXMLToHTML(rs, styleSheet, viewId, {});
}

bool CDBClass::SaveRecordsetAsXml(CMyAdoRecordSet* rs, int viewId, const QList<int>& rowOrder,
                                  const QList<int>& columnTypes)
{
    if (!rs || !rs->IsOpen())
        return false;
    // A forward-only recordset holds only its current row: its statement is
    // read again, every row kept.
    if (rs->IsForwardOnly()) {
        rs->SetCursorMode(CursorMode::Snapshot);
        if (!rs->Requery())
            return false;
    }
    QString fileName;
    GetTempXmlName(viewId, fileName);
    // The old file goes first, so a failed save never leaves stale rows behind.
    if (QFileInfo::exists(fileName) && !QFile::remove(fileName)) {
        ShowMessageBox(QStringLiteral("Opening file failure %1").arg(fileName),
                       kMbOk | kMbIconError);
        return false;
    }
    return WriteWholeFile(fileName, CRecordsetXml::ToXml(*rs, rowOrder, columnTypes));
}

bool CDBClass::PersistAsXMLToHTML(CMyAdoRecordSet* rs, const QString& styleSheet, int viewId,
                                  const QList<int>& rowOrder, const QList<int>& columnTypes)
{
    if (!SaveRecordsetAsXml(rs, viewId, rowOrder, columnTypes))
        return false;
    QString xmlName;
    GetTempXmlName(viewId, xmlName);
    QString xml;
    if (!ReadFileToString(xml, xmlName)) {
        ShowMessageBox(QStringLiteral("Opening file failure %1").arg(xmlName),
                       kMbOk | kMbIconError);
        return false;
    }
    const CRecordsetXml::CTransformResult result =
        CRecordsetXml::Transform(xml.toUtf8(), styleSheet.toUtf8());
    switch (result.stage) {
    case CRecordsetXml::kDone:
        break;
    case CRecordsetXml::kBadXml:
        ShowMessageBox(
            QStringLiteral("CreateHTMLDoc Failed Load XML %1\n%2").arg(Excerpt(xml), result.detail),
            kMbOk | kMbIconError);
        return false;
    case CRecordsetXml::kBadStyleSheetXml:
        // A style sheet that does not load leaves no document element either.
        ShowMessageBox(QStringLiteral("CreateHTMLDoc Failed Load XML %1\n%2")
                           .arg(Excerpt(styleSheet), result.detail),
                       kMbOk | kMbIconError);
        ShowMessageBox(QStringLiteral("CreateHTMLDoc Failed get_documentElement ERROR : %1")
                           .arg(kS_FALSE, 0, 16),
                       kMbOk | kMbIconError);
        return false;
    case CRecordsetXml::kNotXslt:
    case CRecordsetXml::kTransformFailed:
        ShowMessageBox(
            QStringLiteral("PersistAsXMLToHTML Failed transformNode\n%1").arg(result.detail),
            kMbOk | kMbIconError);
        return false;
    }
    QString htmlName;
    GetTempHtmlName(viewId, htmlName);
    return WriteWholeFile(htmlName, result.html);
}

bool CDBClass::ExecuteToStream(const QString& sql, QString& out, const QVariantList& params,
                               QString* why)
{
    out.clear();
    if (!EnsureConnected()) {
        if (why)
            *why = QStringLiteral("The database cannot be reached.");
        return false;
    }
    CDbError error;
    // Read forward: only the XML is held, never the rows as well.
    const auto rows = CSqlExecutor::OpenCursor(*m_connection, sql, params, &error);
    if (rows) {
        if (Dialect().IsPostgres()) {
            // The server's function returns its XML as text, in one or more rows.
            while (rows->Next())
                out += rows->TextAt(0);
        } else {
            out = CRecordsetXml::ToRowElements(*rows);
        }
        if (!rows->Failed())
            return true;
        error = rows->Error();
        out.clear();
    }
    if (why)
        *why = error.description;
    if (error.code == kE_FAIL)
        m_connection->DropConnection();
    return false;
}
