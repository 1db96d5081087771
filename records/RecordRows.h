#pragma once

#include "ui/MyListCtrl.h"

#include <QList>
#include <QStringList>

// The rows a record list window shows, in list order, each known by the
// id of its record (the member Id of Row).
template <typename Row, int Row::*Id>
class CRecordRows {
public:
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
    template <typename CellText>
    void Fill(CMyListCtrl* list, const QList<Row>& rows, const QList<int>& columns,
              CellText cellText)
    {
        list->Clear();
        m_rows = rows;
        for (int r = 0; r < m_rows.size(); ++r) {
            QStringList texts;
            for (int kind : columns)
                texts << cellText(m_rows.at(r), kind);
            list->InsertRow(texts, r);
        }
    }

private:
    QList<Row> m_rows;
};
