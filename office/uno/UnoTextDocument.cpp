#include "office/uno/UnoTextDocument.h"

#include "office/CellAddress.h"
#include "office/ColorIndex.h"
#include "office/uno/UnoUtil.h"

#include <QRegularExpression>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextTableCursor.hpp>

#include <algorithm>

using namespace com::sun::star;
using namespace com::sun::star::uno;
using namespace unoutil;

namespace {

// "B12" or, in a table whose rows were split, "B12.1.2": the column letters and the row.
bool ParseCellName(const QString& name, int& column, int& row)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z]+)(\\d+)"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return false;
    // Writer goes on after Z with a..z, then AA.
    const QString letters = match.captured(1);
    column = 0;
    for (const QChar c : letters)
        column = column * 52 + (c.isUpper() ? c.unicode() - 'A' : 26 + c.unicode() - 'a');
    row = match.captured(2).toInt();
    return true;
}

} // namespace

CUnoTextDocument::CUnoTextDocument(const Reference<lang::XComponent>& document)
    : m_document(document)
{
    Guarded("Reading the document", [&] {
        m_body = Reference<text::XTextDocument>(m_document, UNO_QUERY_THROW)->getText();
    });
}

CUnoTextDocument::~CUnoTextDocument()
{
    try {
        Close();
    } catch (...) {
        // An office that has gone has closed it already.
    }
}

void CUnoTextDocument::CheckOpen() const
{
    if (!m_document.is())
        throw COfficeError("The document is closed");
}

text::XTextTable& CUnoTextDocument::Table()
{
    CheckOpen();
    if (!m_table.is())
        throw COfficeError("The document has no table");
    return *m_table;
}

CUnoTextDocument::TextRef CUnoTextDocument::CurrentText()
{
    CheckOpen();
    if (!m_table.is())
        return m_body;
    text::XTextTable& table = Table();
    return Guarded("Finding the cell", [&] {
        return TextRef(table.getCellByName(ToOUString(m_cell)), UNO_QUERY_THROW);
    });
}

CUnoTextDocument::CursorRef CUnoTextDocument::EndOf(const TextRef& text)
{
    return Guarded("Finding the insertion point", [&] {
        CursorRef cursor = text->createTextCursor();
        cursor->gotoEnd(false);
        return cursor;
    });
}

// ---- At the insertion point ------------------------------------------------------------

void CUnoTextDocument::TypeText(const QString& text)
{
    const TextRef target = CurrentText();
    const CursorRef cursor = EndOf(target);
    // A vertical tab (a pasted manual line break) becomes a line break too.
    const QStringList lines = DocumentText(text).split(QLatin1Char('\n'));
    Guarded("Writing text", [&] {
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                target->insertControlCharacter(cursor.get(),
                                               text::ControlCharacter::PARAGRAPH_BREAK, false);
            QString line = lines.at(i);
            line.remove(QLatin1Char('\r'));
            if (!line.isEmpty())
                target->insertString(cursor.get(), ToOUString(line), false);
        }
    });
}

void CUnoTextDocument::TypeParagraph()
{
    const TextRef target = CurrentText();
    const CursorRef cursor = EndOf(target);
    Guarded("Writing a paragraph", [&] {
        target->insertControlCharacter(cursor.get(), text::ControlCharacter::PARAGRAPH_BREAK,
                                       false);
    });
}

void CUnoTextDocument::SetStyle(const QString& style)
{
    const CursorRef cursor = EndOf(CurrentText());
    Guarded("Setting the style", [&] {
        Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW)
            ->setPropertyValue("ParaStyleName", Any(ToOUString(style)));
    });
}

// ---- Tables ------------------------------------------------------------------------------

void CUnoTextDocument::AddTable(int rows, int columns)
{
    CheckOpen();
    if (rows < 1 || columns < 1 || rows > 32767 || columns > 63)
        throw COfficeError(
            QStringLiteral("No table of %1 x %2 cells").arg(rows).arg(columns).toStdString());
    const CursorRef cursor = EndOf(m_body);
    Guarded("Adding a table", [&] {
        Reference<lang::XMultiServiceFactory> factory(m_document, UNO_QUERY_THROW);
        Reference<text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"),
                                          UNO_QUERY_THROW);
        table->initialize(rows, columns);
        m_body->insertTextContent(cursor.get(),
                                  Reference<text::XTextContent>(table, UNO_QUERY_THROW), false);
        m_table = table;
    });
    m_cell = RowCells(1).value(0);
}

QStringList CUnoTextDocument::RowCells(int row)
{
    text::XTextTable& table = Table();
    const Sequence<rtl::OUString> names =
        Guarded("Reading the table", [&] { return table.getCellNames(); });
    struct Cell {
        int column;
        QString name;
    };
    QList<Cell> cells;
    for (const rtl::OUString& name : names) {
        const QString text = ToQString(name);
        int column = 0;
        int at = 0;
        if (ParseCellName(text, column, at) && at == row)
            cells.append({column, text});
    }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.column != b.column ? a.column < b.column : a.name < b.name;
    });
    QStringList out;
    for (const Cell& c : cells)
        out << c.name;
    return out;
}

int CUnoTextDocument::RowCount()
{
    text::XTextTable& table = Table();
    return Guarded("Reading the table", [&] { return int(table.getRows()->getCount()); });
}

void CUnoTextDocument::MoveRightCell()
{
    const int rows = RowCount();
    int row = 0;
    int column = 0;
    ParseCellName(m_cell, column, row);
    const QStringList cells = RowCells(row);
    const qsizetype at = cells.indexOf(m_cell);
    if (at >= 0 && at + 1 < cells.size()) {
        m_cell = cells.at(at + 1);
        return;
    }
    if (row < rows) {
        m_cell = RowCells(row + 1).value(0);
        return;
    }
    // Past the last cell: a new row, as Word adds one.
    text::XTextTable& table = Table();
    Guarded("Adding a table row", [&] { table.getRows()->insertByIndex(rows, 1); });
    FormatLikeRowAbove(rows + 1);
    m_cell = RowCells(rows + 1).value(0);
}

void CUnoTextDocument::FormatLikeRowAbove(int row)
{
    const QStringList above = RowCells(row - 1);
    const QStringList cells = RowCells(row);
    text::XTextTable& table = Table();
    for (int i = 0; i < cells.size(); ++i) {
        const QString source = above.value(qMin<int>(i, static_cast<int>(above.size()) - 1));
        if (source.isEmpty())
            continue;
        Guarded("Formatting a table row", [&] {
            Reference<beans::XPropertySet> from(table.getCellByName(ToOUString(source)),
                                                UNO_QUERY_THROW);
            Reference<beans::XPropertySet> to(table.getCellByName(ToOUString(cells.at(i))),
                                              UNO_QUERY_THROW);
            to->setPropertyValue("BackTransparent", from->getPropertyValue("BackTransparent"));
            to->setPropertyValue("BackColor", from->getPropertyValue("BackColor"));
        });
        SetBold(cells.at(i), IsBold(source));
    }
}

void CUnoTextDocument::MergeRow(int row)
{
    const QStringList cells = RowCells(row);
    if (cells.isEmpty())
        throw COfficeError(QStringLiteral("The table has no row %1").arg(row).toStdString());
    if (cells.size() == 1)
        return;
    text::XTextTable& table = Table();
    Guarded("Merging the cells", [&] {
        Reference<text::XTextTableCursor> cursor =
            table.createCursorByCellName(ToOUString(cells.first()));
        cursor->gotoCellByName(ToOUString(cells.last()), true);
        cursor->mergeRange();
    });
    // The insertion point was in one of the cells merged: it is in the merged cell now.
    int column = 0;
    int currentRow = 0;
    const QStringList merged = RowCells(row);
    if (ParseCellName(m_cell, column, currentRow) && currentRow == row && !merged.contains(m_cell))
        m_cell = merged.value(0);
}

void CUnoTextDocument::SplitRow(int row, int columns)
{
    if (columns < 1 || columns > 63)
        throw COfficeError(QStringLiteral("No split into %1 columns").arg(columns).toStdString());
    MergeRow(row);
    if (columns == 1)
        return;
    const QString cell = RowCells(row).value(0);
    text::XTextTable& table = Table();
    Guarded("Splitting the cells", [&] {
        Reference<text::XTextTableCursor> cursor = table.createCursorByCellName(ToOUString(cell));
        // Not horizontal: the cell is cut into columns.
        cursor->splitRange(static_cast<sal_Int16>(columns - 1), false);
    });
}

void CUnoTextDocument::ShadeRow(int row, int colorIndex)
{
    const int rgb = WordColorIndexToRgb(colorIndex);
    const QStringList cells = RowCells(row);
    text::XTextTable& table = Table();
    Guarded("Shading the row", [&] {
        for (const QString& name : cells) {
            Reference<beans::XPropertySet> cell(table.getCellByName(ToOUString(name)),
                                                UNO_QUERY_THROW);
            // Word's automatic colour: no shading.
            cell->setPropertyValue("BackTransparent", Any(rgb < 0));
            if (rgb >= 0)
                cell->setPropertyValue("BackColor", Any(sal_Int32(rgb)));
        }
    });
}

void CUnoTextDocument::SetBold(const QString& cell, bool bold)
{
    text::XTextTable& table = Table();
    Guarded("Setting bold", [&] {
        TextRef text(table.getCellByName(ToOUString(cell)), UNO_QUERY_THROW);
        const Any weight(bold ? awt::FontWeight::BOLD : awt::FontWeight::NORMAL);
        // The text there now, and the text typed into the cell later.
        CursorRef all = text->createTextCursor();
        all->gotoStart(false);
        all->gotoEnd(true);
        Reference<beans::XPropertySet>(all, UNO_QUERY_THROW)
            ->setPropertyValue("CharWeight", weight);
        Reference<container::XEnumeration> paragraphs =
            Reference<container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
        while (paragraphs->hasMoreElements())
            Reference<beans::XPropertySet>(paragraphs->nextElement(), UNO_QUERY_THROW)
                ->setPropertyValue("CharWeight", weight);
    });
}

bool CUnoTextDocument::IsBold(const QString& cell)
{
    text::XTextTable& table = Table();
    return Guarded("Reading bold", [&] {
        TextRef text(table.getCellByName(ToOUString(cell)), UNO_QUERY_THROW);
        float weight = awt::FontWeight::NORMAL;
        Reference<beans::XPropertySet>(EndOf(text), UNO_QUERY_THROW)
            ->getPropertyValue("CharWeight") >>= weight;
        return weight >= awt::FontWeight::BOLD;
    });
}

void CUnoTextDocument::SetRowBold(int row, bool bold)
{
    for (const QString& cell : RowCells(row))
        SetBold(cell, bold);
}

void CUnoTextDocument::SetCellBold(int row, int column, bool bold)
{
    const QString cell = RowCells(row).value(column - 1);
    if (cell.isEmpty())
        throw COfficeError(QStringLiteral("The table has no cell %1 in row %2")
                               .arg(column)
                               .arg(row)
                               .toStdString());
    SetBold(cell, bold);
}

// ---- The file ----------------------------------------------------------------------------

void CUnoTextDocument::SaveAs(const QString& path)
{
    CheckOpen();
    StoreDocument(m_document, path,
                  {{"docx", "MS Word 2007 XML"}, {"odt", "writer8"}, {"doc", "MS Word 97"}});
}

void CUnoTextDocument::Close()
{
    m_table.clear();
    m_body.clear();
    CloseDocument(m_document);
}
