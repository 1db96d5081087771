#include "tests/office/OfficeFiles.h"

#include "office/CellAddress.h"

#include <QFile>
#include <QtEndian>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zlib.h>

#include <functional>
#include <memory>

namespace {

quint16 U16(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 U32(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

// A parsed XML document, freed with its owner.
using XmlDoc = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;

XmlDoc Parse(const QByteArray& bytes)
{
    return XmlDoc(bytes.isEmpty() ? nullptr
                                  : xmlReadMemory(bytes.constData(), static_cast<int>(bytes.size()),
                                                  nullptr, nullptr, XML_PARSE_NONET),
                  xmlFreeDoc);
}

QString Name(xmlNodePtr node)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name));
}

// The element children of a node with the local name (all for an empty name).
QList<xmlNodePtr> Children(xmlNodePtr node, const char* name = "")
{
    QList<xmlNodePtr> out;
    if (!node)
        return out;
    for (xmlNodePtr c = node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && (!*name || Name(c) == QLatin1String(name)))
            out << c;
    return out;
}

xmlNodePtr Child(xmlNodePtr node, const char* name)
{
    const QList<xmlNodePtr> all = Children(node, name);
    return all.isEmpty() ? nullptr : all.first();
}

// Every element below a node with the local name, in document order.
void Descendants(xmlNodePtr node, const char* name, QList<xmlNodePtr>& out)
{
    for (xmlNodePtr c : Children(node)) {
        if (Name(c) == QLatin1String(name))
            out << c;
        Descendants(c, name, out);
    }
}

QString Attribute(xmlNodePtr node, const char* name)
{
    if (!node)
        return QString();
    for (xmlAttrPtr a = node->properties; a; a = a->next) {
        if (QLatin1String(reinterpret_cast<const char*>(a->name)) == QLatin1String(name)) {
            xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a));
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
            xmlFree(value);
            return text;
        }
    }
    return QString();
}

QString Content(xmlNodePtr node)
{
    if (!node)
        return QString();
    xmlChar* value = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

// A flag element such as <b/>: on unless its value says off.
bool FlagOn(xmlNodePtr flag)
{
    if (!flag)
        return false;
    const QString value = Attribute(flag, "val");
    return value.isEmpty() || (value != QLatin1String("false") && value != QLatin1String("0") &&
                               value != QLatin1String("none"));
}

QString Rgb(const QString& argb)
{
    return argb.size() >= 6 ? argb.right(6).toUpper() : QString();
}

bool IsDateFormat(int id, const QString& code)
{
    if (id >= 14 && id <= 22)
        return true;
    QString plain;
    bool quoted = false;
    for (const QChar c : code) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted)
            plain += c.toLower();
    }
    return plain.contains(QLatin1Char('d')) && plain.contains(QLatin1Char('y'));
}

} // namespace

// ---- Zip -----------------------------------------------------------------------------------

CZipArchive::CZipArchive(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_data = file.readAll();
    // The end of the central directory: its signature, searched from the back.
    qsizetype end = -1;
    for (qsizetype at = m_data.size() - 22; at >= 0 && at >= m_data.size() - 65557; --at)
        if (U32(m_data, at) == 0x06054b50) {
            end = at;
            break;
        }
    if (end < 0)
        return;
    const quint16 count = U16(m_data, end + 10);
    qsizetype at = U32(m_data, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at + 46 > m_data.size() || U32(m_data, at) != 0x02014b50)
            return;
        CEntry entry;
        entry.method = U16(m_data, at + 10);
        entry.compressedSize = U32(m_data, at + 20);
        entry.size = U32(m_data, at + 24);
        const quint16 nameLength = U16(m_data, at + 28);
        const quint16 extraLength = U16(m_data, at + 30);
        const quint16 commentLength = U16(m_data, at + 32);
        entry.localHeader = U32(m_data, at + 42);
        m_entries.insert(QString::fromUtf8(m_data.mid(at + 46, nameLength)), entry);
        at += 46 + nameLength + extraLength + commentLength;
    }
    m_valid = true;
}

QByteArray CZipArchive::Entry(const QString& name) const
{
    const auto it = m_entries.constFind(name);
    if (it == m_entries.constEnd())
        return {};
    const qsizetype header = it->localHeader;
    if (header + 30 > m_data.size() || U32(m_data, header) != 0x04034b50)
        return {};
    const qsizetype start = header + 30 + U16(m_data, header + 26) + U16(m_data, header + 28);
    const QByteArray packed = m_data.mid(start, it->compressedSize);
    if (it->method == 0)
        return packed;
    if (it->method != 8)
        return {};
    QByteArray out(static_cast<qsizetype>(it->size), '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

// ---- Xlsx ----------------------------------------------------------------------------------

CXlsxSheet::CXlsxSheet(const QString& path)
{
    const CZipArchive zip(path);
    if (!zip.IsValid())
        return;
    // Shared strings: a text per <si>, runs joined.
    QStringList strings;
    if (const XmlDoc doc = Parse(zip.Entry(QStringLiteral("xl/sharedStrings.xml"))))
        for (xmlNodePtr si : Children(xmlDocGetRootElement(doc.get()), "si")) {
            QList<xmlNodePtr> texts;
            Descendants(si, "t", texts);
            QString text;
            for (xmlNodePtr t : texts)
                text += Content(t);
            strings << text;
        }
    // Styles: what each cell format index stands for.
    struct CFont {
        bool bold = false;
        bool underline = false;
        double size = 0;
        QString color;
    };
    QList<CFont> fonts;
    QStringList fills;
    QHash<int, QString> formats;
    QList<CCell> styles;
    const XmlDoc styleDoc = Parse(zip.Entry(QStringLiteral("xl/styles.xml")));
    if (!styleDoc)
        return;
    xmlNodePtr root = xmlDocGetRootElement(styleDoc.get());
    for (xmlNodePtr f : Children(Child(root, "numFmts"), "numFmt"))
        formats.insert(Attribute(f, "numFmtId").toInt(), Attribute(f, "formatCode"));
    for (xmlNodePtr f : Children(Child(root, "fonts"), "font")) {
        CFont font;
        font.bold = FlagOn(Child(f, "b"));
        font.underline = FlagOn(Child(f, "u"));
        font.size = Attribute(Child(f, "sz"), "val").toDouble();
        font.color = Rgb(Attribute(Child(f, "color"), "rgb"));
        fonts << font;
    }
    for (xmlNodePtr f : Children(Child(root, "fills"), "fill")) {
        xmlNodePtr pattern = Child(f, "patternFill");
        const bool solid = Attribute(pattern, "patternType") == QLatin1String("solid");
        fills << (solid ? Rgb(Attribute(Child(pattern, "fgColor"), "rgb")) : QString());
    }
    for (xmlNodePtr xf : Children(Child(root, "cellXfs"), "xf")) {
        CCell style;
        const CFont font = fonts.value(Attribute(xf, "fontId").toInt());
        style.bold = font.bold;
        style.underline = font.underline;
        style.size = font.size;
        style.fontColor = font.color;
        style.fillColor = fills.value(Attribute(xf, "fillId").toInt());
        const int format = Attribute(xf, "numFmtId").toInt();
        style.date = IsDateFormat(format, formats.value(format));
        styles << style;
    }
    const XmlDoc sheetDoc = Parse(zip.Entry(QStringLiteral("xl/worksheets/sheet1.xml")));
    if (!sheetDoc)
        return;
    xmlNodePtr sheet = xmlDocGetRootElement(sheetDoc.get());
    for (xmlNodePtr col : Children(Child(sheet, "cols"), "col"))
        for (int c = Attribute(col, "min").toInt(); c <= Attribute(col, "max").toInt(); ++c)
            m_widths.insert(c - 1, Attribute(col, "width").toDouble());
    for (xmlNodePtr row : Children(Child(sheet, "sheetData"), "row"))
        for (xmlNodePtr c : Children(row, "c")) {
            CCell cell = styles.value(Attribute(c, "s").toInt());
            const QString type = Attribute(c, "t");
            const QString value = Content(Child(c, "v"));
            if (type == QLatin1String("s"))
                cell.text = strings.value(value.toInt());
            else if (type == QLatin1String("inlineStr"))
                cell.text = Content(Child(c, "is"));
            else
                cell.text = value;
            cell.number = type.isEmpty() || type == QLatin1String("n");
            cell.date = cell.date && cell.number;
            if (Child(c, "v") || Child(c, "is"))
                m_cells.insert(Attribute(c, "r"), cell);
        }
    m_valid = true;
}

CXlsxSheet::CCell CXlsxSheet::Cell(const QString& name) const
{
    return m_cells.value(name);
}

QStringList CXlsxSheet::FilledCells() const
{
    QStringList names;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        if (!it->text.isEmpty())
            names << it.key();
    names.sort();
    return names;
}

double CXlsxSheet::ColumnWidth(int column) const
{
    return m_widths.value(column, 0);
}

int CXlsxSheet::LastRow() const
{
    int last = 0;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        if (!it->text.isEmpty())
            last = qMax(last, CCellRange::Parse(it.key()).row + 1);
    return last;
}

// ---- Docx ----------------------------------------------------------------------------------

namespace {

QString ParagraphText(xmlNodePtr p)
{
    QList<xmlNodePtr> texts;
    Descendants(p, "t", texts);
    QString text;
    for (xmlNodePtr t : texts)
        text += Content(t);
    return text;
}

} // namespace

CDocxBody::CDocxBody(const QString& path)
{
    const CZipArchive zip(path);
    const XmlDoc doc = Parse(zip.Entry(QStringLiteral("word/document.xml")));
    if (!doc)
        return;
    xmlNodePtr body = Child(xmlDocGetRootElement(doc.get()), "body");
    for (xmlNodePtr node : Children(body)) {
        CBlock block;
        if (Name(node) == QLatin1String("p")) {
            block.style = Attribute(Child(Child(node, "pPr"), "pStyle"), "val");
            block.text = ParagraphText(node);
        } else if (Name(node) == QLatin1String("tbl")) {
            block.table = true;
            for (xmlNodePtr tr : Children(node, "tr")) {
                QList<CCell> row;
                for (xmlNodePtr tc : Children(tr, "tc")) {
                    CCell cell;
                    xmlNodePtr properties = Child(tc, "tcPr");
                    if (xmlNodePtr span = Child(properties, "gridSpan"))
                        cell.span = Attribute(span, "val").toInt();
                    const QString fill = Attribute(Child(properties, "shd"), "fill");
                    cell.fill = fill.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0
                                    ? QString()
                                    : fill.toUpper();
                    QStringList lines;
                    bool anyRun = false;
                    bool allBold = true;
                    for (xmlNodePtr p : Children(tc, "p")) {
                        lines << ParagraphText(p);
                        for (xmlNodePtr r : Children(p, "r")) {
                            if (ParagraphText(r).isEmpty())
                                continue;
                            anyRun = true;
                            allBold = allBold && FlagOn(Child(Child(r, "rPr"), "b"));
                        }
                    }
                    cell.text = lines.join(QLatin1Char('\n'));
                    cell.bold = anyRun && allBold;
                    row << cell;
                }
                block.rows << row;
            }
        } else {
            continue;
        }
        m_blocks << block;
    }
    m_valid = true;
}

QList<QList<CDocxBody::CCell>> CDocxBody::FirstTable() const
{
    for (const CBlock& b : m_blocks)
        if (b.table)
            return b.rows;
    return {};
}

QStringList CDocxBody::Paragraphs() const
{
    QStringList out;
    for (const CBlock& b : m_blocks)
        if (!b.table)
            out << QStringLiteral("%1: %2").arg(b.style, b.text);
    return out;
}
