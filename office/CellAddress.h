#pragma once

#include <QString>

// A cell or a block of cells of a worksheet in Excel's A1 notation, with
// 0-based column and row numbers ("B6" is column 1, row 5).
struct CCellRange {
    int column = -1;
    int row = -1;
    int columns = 0;
    int rows = 0;

    bool IsValid() const { return column >= 0 && row >= 0 && columns > 0 && rows > 0; }
    int LastColumn() const { return column + columns - 1; }
    int LastRow() const { return row + rows - 1; }

    // "B6", "A1:F1" or "$C$2" (case ignored); an invalid range otherwise.
    static CCellRange Parse(const QString& text);
    // The block of rows x columns whose top-left cell is the range's (Excel's Resize).
    CCellRange Resized(int newRows, int newColumns) const;
    // "B6" for one cell, else "A1:F1".
    QString Name() const;
};

// "A" for 0, "Z" for 25, "AA" for 26, ...; empty for a negative column.
QString ColumnName(int column);
// The column of "A", "AB", ...; -1 when the text is not a column name.
int ColumnIndex(const QString& name);
// "B6" for column 1, row 5.
QString CellName(int column, int row);
