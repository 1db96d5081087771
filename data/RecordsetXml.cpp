#include "data/RecordsetXml.h"

#include "data/BindingSet.h"
#include "data/MyAdoRecordSet.h"
#include "data/RowCursor.h"
#include "data/SingleText.h"
#include "data/SqlExecutor.h"
#include "platform/Characters.h"

#include <QFile>
#include <QSet>

#include <cmath>

namespace {

enum class XmlType { Int, SmallInt, Bool, Single, Double, Currency, Date, Text, Blob };

// Attribute text; quote is the delimiter used around it.
void AppendEscaped(QString& out, const QString& text, QChar quote)
{
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += quote == QLatin1Char('"') ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        case '\'':
            out += quote == QLatin1Char('\'') ? QLatin1String("&apos;") : QLatin1String("'");
            break;
        // Kept as references so that parsers do not fold them into blanks.
        case '\t':
            out += QLatin1String("&#x9;");
            break;
        case '\n':
            out += QLatin1String("&#xA;");
            break;
        case '\r':
            out += QLatin1String("&#xD;");
            break;
        default:
            if (IsXmlCharacter(c))
                out += QString::fromUcs4(&c, 1);
            else
                out += QChar(0xFFFD); // XML cannot carry it at all
            break;
        }
    }
}

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
           c == QLatin1Char('.');
}

bool IsXmlName(const QString& name)
{
    if (name.isEmpty() || !IsNameStart(name.front()) ||
        name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive))
        return false;
    for (const QChar c : name)
        if (!IsNameChar(c))
            return false;
    return true;
}

// The stored form of a date on the file back end, "yyyy-MM-dd HH:mm:ss".
bool LooksLikeStoredDate(const QString& text)
{
    if (text.size() != 19)
        return false;
    for (int i = 0; i < 19; ++i) {
        const QChar c = text.at(i);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        switch (i) {
        case 4:
        case 7:
            if (c != QLatin1Char('-'))
                return false;
            break;
        case 10:
            if (c != QLatin1Char(' '))
                return false;
            break;
        case 13:
        case 16:
            if (c != QLatin1Char(':'))
                return false;
            break;
        default:
            if (!digit)
                return false;
        }
    }
    return true;
}

QString IsoDate(const QVariant& v)
{
    const CDateTime d = v.metaType() == QMetaType::fromType<CDateTime>()
                            ? v.value<CDateTime>()
                            : CDateTime::Parse(v.toString());
    if (!d.IsValid())
        return v.toString();
    QString text = d.ToIsoText();
    text[10] = QLatin1Char('T');
    return text;
}

XmlType FromAdoType(int type)
{
    switch (type) {
    case adInteger:
        return XmlType::Int;
    case adSmallInt:
        return XmlType::SmallInt;
    case adBoolean:
        return XmlType::Bool;
    case adSingle:
        return XmlType::Single;
    case adDouble:
        return XmlType::Double;
    case adCurrency:
        return XmlType::Currency;
    case adDate:
        return XmlType::Date;
    case adLongVarBinary:
        return XmlType::Blob;
    default:
        return XmlType::Text;
    }
}

// Without a record class, the type is what the cells hold. Dates are text on
// the file back end; a column that holds nothing but stored dates is one.
XmlType InferType(const CQueryResult& rows, int column, const CMyAdoRecordSet& rs)
{
    const IRowStore* store = rows.Store();
    if (!store)
        return XmlType::Text;
    bool sawText = false;
    for (int r = 0; r < rows.rows; ++r) {
        if (rs.IsRowDeleted(r) || store->IsNull(r, column))
            continue;
        switch (store->Type(r, column)) {
        case CellType::Int:
            return XmlType::Int;
        case CellType::Double:
            return XmlType::Double;
        case CellType::Bool:
            return XmlType::Bool;
        case CellType::Date:
            return XmlType::Date;
        case CellType::Blob:
            return XmlType::Blob;
        case CellType::Text:
            if (!LooksLikeStoredDate(store->Text(r, column)))
                return XmlType::Text;
            sawText = true;
            break;
        case CellType::Null:
            break;
        }
    }
    return sawText ? XmlType::Date : XmlType::Text;
}

QString DataTypeElement(XmlType type, int width)
{
    switch (type) {
    case XmlType::Int:
        return QStringLiteral(
            "<s:datatype dt:type='int' dt:maxLength='4' rs:precision='10' rs:fixedlength='true'/>");
    case XmlType::SmallInt:
        return QStringLiteral(
            "<s:datatype dt:type='i2' dt:maxLength='2' rs:precision='5' rs:fixedlength='true'/>");
    case XmlType::Bool:
        return QStringLiteral(
            "<s:datatype dt:type='boolean' dt:maxLength='2' rs:fixedlength='true'/>");
    case XmlType::Single:
        return QStringLiteral(
            "<s:datatype dt:type='r4' dt:maxLength='4' rs:precision='7' rs:fixedlength='true'/>");
    case XmlType::Double:
        return QStringLiteral("<s:datatype dt:type='float' dt:maxLength='8' rs:precision='15' "
                              "rs:fixedlength='true'/>");
    case XmlType::Currency:
        return QStringLiteral("<s:datatype dt:type='number' rs:dbtype='currency' dt:maxLength='8' "
                              "rs:precision='19' rs:fixedlength='true'/>");
    case XmlType::Date:
        return QStringLiteral(
            "<s:datatype dt:type='dateTime' rs:dbtype='timestamp' dt:maxLength='16' "
            "rs:scale='0' rs:precision='19' rs:fixedlength='true'/>");
    case XmlType::Blob:
        return QStringLiteral(
            "<s:datatype dt:type='bin.hex' dt:maxLength='2147483647' rs:long='true'/>");
    case XmlType::Text:
        break;
    }
    return width > 0 ? QStringLiteral("<s:datatype dt:type='string' rs:dbtype='str' "
                                      "dt:maxLength='%1'/>")
                           .arg(width)
                     : QStringLiteral("<s:datatype dt:type='string' rs:dbtype='str' "
                                      "dt:maxLength='2147483647' rs:long='true'/>");
}

// The value as the layout writes it; a null QString for NULL.
QString ValueText(const QVariant& v, XmlType type)
{
    if (v.isNull())
        return QString();
    switch (type) {
    case XmlType::Int:
    case XmlType::SmallInt:
        return QString::number(v.toLongLong());
    case XmlType::Bool:
        return v.toDouble() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case XmlType::Single:
        return SingleText(v.toFloat());
    case XmlType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case XmlType::Currency: {
        // Four decimals, as the amount is kept.
        QString text = QString::number(std::round(v.toDouble() * 10000.0) / 10000.0, 'f', 4);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return text == QLatin1String("-0") ? QStringLiteral("0") : text;
    }
    case XmlType::Date:
        return IsoDate(v);
    case XmlType::Blob:
        return QString::fromLatin1(v.toByteArray().toHex());
    case XmlType::Text:
        break;
    }
    const QString text = v.metaType() == QMetaType::fromType<CDateTime>()
                             ? v.value<CDateTime>().ToIsoText()
                             : v.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

struct CColumn {
    QString name;    // as the recordset names it
    QString xmlName; // as the XML names it
    XmlType type = XmlType::Text;
    int width = 0;
};

} // namespace

QByteArray CRecordsetXml::ToXml(const CMyAdoRecordSet& rs)
{
    return ToXml(rs, {});
}

QByteArray CRecordsetXml::ToXml(const CMyAdoRecordSet& rs, const QList<int>& rowOrder,
                                const QList<int>& columnTypes)
{
    const CQueryResult& rows = rs.Rows();
    const CBindingSet* owner = rs.Owner();
    QList<CColumn> columns;
    QSet<QString> used;
    for (int c = 0; c < rows.ColumnCount(); ++c) {
        CColumn col;
        col.name = rows.columns.at(c);
        // A record class knows its columns: their types, and their names as
        // written, where the server reports them folded to lower case.
        if (owner && c < owner->BoundColumnCount() && !owner->Descriptor(c).name.isEmpty() &&
            owner->Descriptor(c).name.compare(col.name, Qt::CaseInsensitive) == 0) {
            col.name = owner->Descriptor(c).name;
            col.type = FromAdoType(owner->Descriptor(c).type);
            col.width = owner->Descriptor(c).size;
        } else if (columnTypes.value(c) != 0) {
            col.type = FromAdoType(columnTypes.value(c));
        } else {
            col.type = InferType(rows, c, rs);
        }
        // A name XML cannot carry, or one seen before, is written as cN
        // with the real name beside it.
        col.xmlName = col.name;
        for (int n = c; !IsXmlName(col.xmlName) || used.contains(col.xmlName); ++n)
            col.xmlName = QStringLiteral("c%1").arg(n);
        used.insert(col.xmlName);
        columns << col;
    }

    QString out;
    out += QStringLiteral("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\n"
                          "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\n"
                          "\txmlns:rs='urn:schemas-microsoft-com:rowset'\n"
                          "\txmlns:z='#RowsetSchema'>\n"
                          "<s:Schema id='RowsetSchema'>\n"
                          "\t<s:ElementType name='row' content='eltOnly'>\n");
    for (int c = 0; c < columns.size(); ++c) {
        const CColumn& col = columns.at(c);
        out += QStringLiteral("\t\t<s:AttributeType name='");
        AppendEscaped(out, col.xmlName, QLatin1Char('\''));
        out += QLatin1Char('\'');
        if (col.xmlName != col.name) {
            out += QStringLiteral(" rs:name='");
            AppendEscaped(out, col.name, QLatin1Char('\''));
            out += QLatin1Char('\'');
        }
        out += QStringLiteral(" rs:number='%1' rs:nullable='true' rs:writeunknown='true'>\n\t\t\t")
                   .arg(c + 1);
        out += DataTypeElement(col.type, col.width);
        out += QStringLiteral("\n\t\t</s:AttributeType>\n");
    }
    out += QStringLiteral("\t\t<s:extends type='rs:rowbase'/>\n"
                          "\t</s:ElementType>\n"
                          "</s:Schema>\n"
                          "<rs:data>\n");
    const qsizetype count = rowOrder.isEmpty() ? rows.rows : rowOrder.size();
    for (qsizetype i = 0; i < count; ++i) {
        const int r = rowOrder.isEmpty() ? int(i) : rowOrder.at(i);
        if (r < 0 || r >= rows.rows || rs.IsRowDeleted(r))
            continue;
        out += QStringLiteral("\t<z:row");
        for (int c = 0; c < columns.size(); ++c) {
            const QString text = ValueText(rows.Value(r, c), columns.at(c).type);
            if (text.isNull())
                continue;
            out += QLatin1Char(' ') + columns.at(c).xmlName + QStringLiteral("='");
            AppendEscaped(out, text, QLatin1Char('\''));
            out += QLatin1Char('\'');
        }
        out += QStringLiteral("/>\n");
    }
    out += QStringLiteral("</rs:data>\n</xml>\n");
    return out.toUtf8();
}

namespace {

// Names XML cannot carry are escaped the SQL/XML way: _xHHHH_.
QStringList RowElementNames(const QStringList& columns)
{
    QStringList names;
    for (const QString& column : columns) {
        QString name;
        for (int i = 0; i < column.size(); ++i) {
            const QChar c = column.at(i);
            if (i == 0 ? IsNameStart(c) : IsNameChar(c))
                name += c;
            else
                name += QStringLiteral("_x%1_").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        }
        names << (name.isEmpty() ? QStringLiteral("_") : name);
    }
    return names;
}

void AppendRowElement(QString& out, const IRowStore& store, int row, const QStringList& names)
{
    out += QStringLiteral("<row");
    for (int c = 0; c < names.size(); ++c) {
        const CellType type = store.Type(row, c);
        if (type == CellType::Null)
            continue;
        bool ok = true;
        QString text;
        switch (type) {
        case CellType::Double:
            text = QString::number(store.Double(row, c, &ok), 'g', 15);
            break;
        case CellType::Bool:
            text = store.Int(row, c, &ok) != 0 ? QStringLiteral("true") : QStringLiteral("false");
            break;
        case CellType::Date:
            text = IsoDate(store.Value(row, c));
            break;
        case CellType::Blob:
            text = QString::fromLatin1(store.Bytes(row, c).toHex());
            break;
        case CellType::Text:
            text = store.Text(row, c);
            if (LooksLikeStoredDate(text))
                text = IsoDate(text);
            break;
        default:
            text = store.Text(row, c);
            break;
        }
        out += QLatin1Char(' ') + names.at(c) + QStringLiteral("=\"");
        AppendEscaped(out, text, QLatin1Char('"'));
        out += QLatin1Char('"');
    }
    out += QStringLiteral("/>");
}

} // namespace

QString CRecordsetXml::ToRowElements(const CQueryResult& rows)
{
    const QStringList names = RowElementNames(rows.columns);
    QString out;
    const IRowStore* store = rows.Store();
    for (int r = 0; store && r < rows.rows; ++r)
        AppendRowElement(out, *store, r, names);
    return out;
}

QString CRecordsetXml::ToRowElements(CRowCursor& rows)
{
    const QStringList names = RowElementNames(rows.Columns());
    QString out;
    while (rows.Next())
        AppendRowElement(out, rows, 0, names);
    return out;
}

CRecordsetXml::CTransformResult CRecordsetXml::Transform(const QByteArray& xml,
                                                         const QByteArray& styleSheet)
{
    const CXsltProcessor::CResult done = CXsltProcessor::Transform(xml, styleSheet);
    CTransformResult result;
    result.stage = done.stage;
    result.detail = done.detail;
    result.html = done.output;
    return result;
}

bool ReadFileToString(QString& out, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    out += QString::fromUtf8(file.readAll());
    return true;
}
