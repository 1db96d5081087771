#pragma once

#include "ui/ListRowSource.h"
#include "ui/MyListCtrl.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <utility>

// The rows a record list window shows, in list order, each known by the
// id of its record (the member Id of Row). The list shows them as they are
// held: a cell's text is made when the list needs it.
template <typename Row, int Row::*Id>
class CRecordRows : public IListRowSource {
public:
    using CellTextOf = std::function<QString(const Row&, int)>;

    CRecordRows() = default;
    CRecordRows(const CRecordRows&) = delete;
    CRecordRows& operator=(const CRecordRows&) = delete;
    ~CRecordRows() override
    {
        // The list may draw once more before it goes.
        if (m_list && m_list->RowSource() == this)
            m_list->Clear();
    }

    int Count() const { return static_cast<int>(m_rows.size()); }
    const QList<Row>& All() const { return m_rows; }
    // The row's record; null when the row is none.
    const Row* At(int row) const
    {
        return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
    }
    // The id of the row's record; -1 when the row is none.
    int IdAt(int row) const
    {
        const Row* r = At(row);
        return r ? r->*Id : -1;
    }
    // The row of a record; -1 when the list does not show it.
    int RowOf(int id) const
    {
        for (int r = 0; r < m_rows.size(); ++r)
            if (m_rows.at(r).*Id == id)
                return r;
        return -1;
    }
    void Clear() { m_rows.clear(); }

    // Shows the rows in the list, a cell for each column kind:
    // cellText(row, kind) gives its text.
    void Fill(CMyListCtrl* list, QList<Row> rows, const QList<int>& columns, CellTextOf cellText)
    {
        m_rows = std::move(rows);
        m_columns = columns;
        m_cellText = std::move(cellText);
        m_list = list;
        list->ShowRows(this);
    }
    // The rows in the order given: each row by its place in rows.
    static QList<Row> InOrder(QList<Row> rows, const QList<int>& order)
    {
        // Rows the query already gave in this order are kept, not copied.
        bool same = order.size() == rows.size();
        for (qsizetype r = 0; same && r < order.size(); ++r)
            same = order.at(r) == r;
        if (same)
            return rows;
        QList<Row> sorted;
        sorted.reserve(order.size());
        for (int r : order)
            sorted << std::move(rows[r]);
        return sorted;
    }

    // ---- IListRowSource --------------------------------------------------------------
    int RowCount() const override { return Count(); }
    QString CellText(int row, int column) const override
    {
        const Row* r = At(row);
        return r && m_cellText && column >= 0 && column < m_columns.size()
                   ? m_cellText(*r, m_columns.at(column))
                   : QString();
    }

private:
    QList<Row> m_rows;
    QList<int> m_columns;
    CellTextOf m_cellText;
    QPointer<CMyListCtrl> m_list;
};
