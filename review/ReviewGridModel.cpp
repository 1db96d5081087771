#include "review/ReviewGridModel.h"

#include "platform/TextOrder.h"

#include <algorithm>
#include <numeric>
#include <vector>

CReviewGridModel::CReviewGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

void CReviewGridModel::SetColumns(const QStringList& titles, const QList<Qt::Alignment>& alignments)
{
    beginResetModel();
    m_titles = titles;
    m_alignments = alignments;
    m_rows.clear();
    m_order.clear();
    endResetModel();
}

void CReviewGridModel::Clear()
{
    if (m_order.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, RowCount() - 1);
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_order.clear();
    m_order.shrink_to_fit();
    endRemoveRows();
}

void CReviewGridModel::SetRows(std::vector<CReviewRow> rows)
{
    Clear();
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), 0, static_cast<int>(rows.size()) - 1);
    m_rows = std::move(rows);
    m_order.resize(m_rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    endInsertRows();
}

QString CReviewGridModel::Text(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return QString();
    return m_rows[static_cast<std::size_t>(m_order[static_cast<std::size_t>(row)])].Text(column);
}

void CReviewGridModel::SortBy(int column, bool descending)
{
    if (column < 0 || column >= ColumnCount())
        return;
    // The keys worked out once per row.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const CReviewRow& row : m_rows) {
        const QString text = row.Text(column);
        keys.push_back(TextOrder::SortKey(text.isEmpty() ? QStringLiteral(" ") : text));
    }
    emit layoutAboutToBeChanged();
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const int result =
            keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]);
        return descending ? result > 0 : result < 0;
    });
    emit layoutChanged();
}

int CReviewGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int CReviewGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CReviewGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(m_alignments.value(index.column(), Qt::AlignLeft));
    return QVariant();
}

QVariant CReviewGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_titles.at(section);
    if (role == Qt::TextAlignmentRole)
        return int(m_alignments.value(section, Qt::AlignLeft));
    return QVariant();
}
