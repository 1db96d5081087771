#pragma once

#include <QString>

// A text document as the program writes it, in the terms of Word's
// automation: text goes in at the insertion point (the selection), which is
// in the body or in a cell of the last table added; table rows and columns
// are numbered from 1. Every operation throws COfficeError when the office
// refuses it or has gone.
class ITextDocument {
public:
    virtual ~ITextDocument() = default;

    // ---- At the insertion point ---------------------------------------------------------
    virtual void TypeText(const QString& text) = 0;
    // A new paragraph (in a table cell: a new paragraph of the cell).
    virtual void TypeParagraph() = 0;
    // The paragraph style of the current paragraph ("Heading 1", "Heading 2", ...).
    virtual void SetStyle(const QString& style) = 0;

    // ---- Tables ------------------------------------------------------------------------
    // A table of rows x columns at the insertion point, which moves to its first cell.
    virtual void AddTable(int rows, int columns) = 0;
    // The insertion point to the next cell; from the table's last cell a new
    // row like the last one is added and the point goes to its first cell.
    virtual void MoveRightCell() = 0;
    virtual int RowCount() = 0;
    // The cells of a row merged into one.
    virtual void MergeRow(int row) = 0;
    // The cells of a row merged, then split into the number of columns.
    virtual void SplitRow(int row, int columns) = 0;
    // The background of a row's cells: a colour index of Word's.
    virtual void ShadeRow(int row, int colorIndex) = 0;
    virtual void SetRowBold(int row, bool bold) = 0;
    virtual void SetCellBold(int row, int column, bool bold) = 0;

    // ---- The file -----------------------------------------------------------------------
    // Stores the document in the format of the extension (.docx, .odt, .doc).
    virtual void SaveAs(const QString& path) = 0;
    virtual void Close() = 0;
};
