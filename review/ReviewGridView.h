#pragma once

#include "review/ReviewRow.h"

#include <QList>
#include <QStringList>
#include <QTreeView>

#include <functional>
#include <vector>

class CReviewGridModel;

// The week review's grid on the screen: a report list over the rows as the
// window keeps them, looking and answering as the program's other report
// lists do (rows selected whole, columns the user may drag and size, a
// header click sorting the rows by that column's texts, the other way on the
// next click, with the header's mark), without an item or a text per cell.
class CReviewGridView : public QTreeView {
    Q_OBJECT
public:
    explicit CReviewGridView(QWidget* parent = nullptr);

    // New columns (formats: ListColumnFormat), no rows and no sort mark.
    void SetColumns(const QStringList& titles, const QList<int>& formats, const QList<int>& widths);
    // The rows of a fill, in the order given.
    void SetRows(std::vector<CReviewRow> rows);
    // Removes the rows; the columns stay.
    void Clear();

    int ItemCount() const;
    int ColumnCount() const;
    QString ItemText(int row, int column) const;
    QString HeaderText(int column) const;
    // The first selected row (-1 for none).
    int GetFirstSelected() const;
    // Adds the row to the selection and makes it current.
    void SelectItem(int row);
    // The column showing the sort mark (-1 for none) and its direction (0 ascending).
    int SortMarkColumn() const { return m_markColumn; }
    int SortMarkDirection() const { return m_markDirection; }

    // What the window hears: a left click that leaves a row selected (the
    // first selected), and the rows sorted by a header click.
    void SetOwnerCalls(std::function<void(int row)> rowSelected, std::function<void()> sorted);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnHeaderClick(int column);
    void ShowSortMark();

    CReviewGridModel* m_model;
    std::function<void(int)> m_rowSelected;
    std::function<void()> m_sorted;
    // Columns a header click sorts: those of the rows shown since the columns were made.
    int m_sortableColumns = 0;
    // Per column, the direction of its last sort (0 ascending); kept across fills.
    QList<int> m_directions;
    int m_markColumn = -1;
    int m_markDirection = 0;
};
