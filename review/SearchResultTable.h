#pragma once

#include "data/SqlExecutor.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class CMyAdoRecordSet;

// The rows of one search as the results view shows them: the recordset's
// rows (shared, not copied), each value typed by its column when it is asked
// for, with the columns' captions, types and translations; a stable sort by
// the typed values; the texts shown. As a table model the view's list shows
// it without copying.
class CSearchResultTable : public QAbstractTableModel {
    Q_OBJECT
public:
    struct CColumn {
        QString name;
        QString caption;
        int type = 0;        // AdoDataType; 0: as the back end delivered it
        int translation = 0; // 0 as read, 1 priority, 2 task id
        int source = -1;     // the recordset's column
    };
    // Rows are read this many at a time.
    static constexpr int kBlockRows = 100;

    explicit CSearchResultTable(QObject* parent = nullptr);

    void SetColumns(const QList<CColumn>& columns);
    const QList<CColumn>& Columns() const { return m_columns; }
    // The text of a value of a column; a null string leaves it to the table.
    using Translator = std::function<QString(const CColumn&, const QVariant&)>;
    void SetTranslator(Translator translator) { m_translator = std::move(translator); }

    // Takes every row of the recordset from its first; the number of blocks
    // of kBlockRows they make.
    int Fill(CMyAdoRecordSet& rs);

    int RowCount() const { return m_rowCount; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // Rows in the order shown.
    QVariant Value(int row, int column) const;
    // " " for NULL.
    QString Text(int row, int column) const;
    QStringList RowTexts(int row) const;
    // The recordset rows in the order shown.
    const QList<int>& Order() const { return m_order; }
    // Stable, by the typed values: NULLs first when ascending, text ignoring case.
    void SortBy(int column, bool descending);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The value of a column in a row of the recordset, typed by the column.
    QVariant Cell(int sourceRow, int column) const;

    QList<CColumn> m_columns;
    // The recordset's rows, in its order.
    CQueryResult m_rows;
    int m_rowCount = 0;
    QList<int> m_order;
    Translator m_translator;
};
