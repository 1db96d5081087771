#pragma once

#include <QTreeWidgetItem>

// A row of a report list whose texts come from the list's row source
// (CMyListCtrl::ShowRows) when they are asked for: nothing is kept per cell.
class CListSourceItem : public QTreeWidgetItem {
public:
    explicit CListSourceItem(int row)
        : QTreeWidgetItem(UserType)
        , m_row(row)
    {}
    int Row() const { return m_row; }
    QVariant data(int column, int role) const override;

private:
    int m_row;
};
