#include "ui/ListSourceItem.h"

#include "ui/ListRowSource.h"
#include "ui/MyListCtrl.h"

QVariant CListSourceItem::data(int column, int role) const
{
    const auto* list = static_cast<const CMyListCtrl*>(treeWidget());
    const IListRowSource* source = list ? list->RowSource() : nullptr;
    if (!source || column < 0 || column >= list->ColumnCount())
        return QTreeWidgetItem::data(column, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return source->CellText(m_row, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(list->ColumnAlignment(column));
    default:
        return QTreeWidgetItem::data(column, role);
    }
}
