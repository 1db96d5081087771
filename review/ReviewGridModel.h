#pragma once

#include "review/ReviewRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

// The week review's grid as a table: the column titles and alignments, the
// rows as kept (see CReviewRow), their texts made when a view asks for
// them, and the order a header click sorts them into.
class CReviewGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CReviewGridModel(QObject* parent = nullptr);

    // New columns, no rows. alignments: one per column.
    void SetColumns(const QStringList& titles, const QList<Qt::Alignment>& alignments);
    // The rows in the order given; the columns stay.
    void SetRows(std::vector<CReviewRow> rows);
    void Clear();

    int RowCount() const { return static_cast<int>(m_order.size()); }
    int ColumnCount() const { return static_cast<int>(m_titles.size()); }
    const QStringList& Titles() const { return m_titles; }
    // The text of a row in the order shown.
    QString Text(int row, int column) const;
    // Stable, by the cells' texts ignoring case; an empty text sorts as " ".
    void SortBy(int column, bool descending);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList m_titles;
    QList<Qt::Alignment> m_alignments;
    std::vector<CReviewRow> m_rows;
    // The rows in the order shown.
    std::vector<int> m_order;
};
