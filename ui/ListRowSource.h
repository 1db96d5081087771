#pragma once

#include <QString>

// Rows a report list shows without keeping their texts: the list asks for a
// cell's text when it draws the cell or is asked for it.
class IListRowSource {
public:
    virtual ~IListRowSource() = default;
    virtual int RowCount() const = 0;
    // The text of a cell; empty for a row or column the source does not have.
    virtual QString CellText(int row, int column) const = 0;
};
