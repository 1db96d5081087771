#include "review/ReviewGridView.h"

#include "review/ReviewGridModel.h"
#include "ui/DialogBase.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/WaitCursor.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace {

Qt::Alignment AlignmentOf(int format)
{
    switch (format) {
    case kFormatRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case kFormatCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

CReviewGridView::CReviewGridView(QWidget* parent)
    : QTreeView(parent)
    , m_model(new CReviewGridModel(this))
{
    CDialogBase::SetControlId(this, IDC_LIST);
    setModel(m_model);
    SetReportListLook(this);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &CReviewGridView::OnHeaderClick);
}

void CReviewGridView::SetColumns(const QStringList& titles, const QList<int>& formats,
                                 const QList<int>& widths)
{
    QList<Qt::Alignment> alignments;
    for (int c = 0; c < titles.size(); ++c)
        alignments << AlignmentOf(formats.value(c, kFormatLeft));
    // A reset puts the columns back in their own order.
    m_model->SetColumns(titles, alignments);
    for (int c = 0; c < titles.size(); ++c)
        header()->resizeSection(c, widths.value(c, header()->defaultSectionSize()));
    m_sortableColumns = 0;
    m_markColumn = -1;
    ShowSortMark();
}

void CReviewGridView::SetRows(std::vector<CReviewRow> rows)
{
    if (!rows.empty())
        m_sortableColumns = rows.back().ColumnCount();
    m_model->SetRows(std::move(rows));
}

void CReviewGridView::Clear()
{
    m_model->Clear();
}

int CReviewGridView::ItemCount() const
{
    return m_model->RowCount();
}

int CReviewGridView::ColumnCount() const
{
    return m_model->ColumnCount();
}

QString CReviewGridView::ItemText(int row, int column) const
{
    return m_model->Text(row, column);
}

QString CReviewGridView::HeaderText(int column) const
{
    return m_model->Titles().value(column);
}

int CReviewGridView::GetFirstSelected() const
{
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

void CReviewGridView::SelectItem(int row)
{
    if (row < 0 || row >= ItemCount())
        return;
    selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void CReviewGridView::SetOwnerCalls(std::function<void(int)> rowSelected,
                                    std::function<void()> sorted)
{
    m_rowSelected = std::move(rowSelected);
    m_sorted = std::move(sorted);
}

void CReviewGridView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_rowSelected) {
        const int row = GetFirstSelected();
        if (row >= 0)
            m_rowSelected(row);
    }
}

void CReviewGridView::OnHeaderClick(int column)
{
    if (column < 0 || column >= m_sortableColumns) {
        // The header may have moved its mark by itself.
        ShowSortMark();
        return;
    }
    {
        CWaitCursor wait;
        while (m_directions.size() <= column)
            m_directions << 0;
        const int direction = m_directions.at(column) ? 0 : 1;
        // The rows come back unselected, from the top, as a list filled again.
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        m_model->SortBy(column, direction != 0);
        scrollToTop();
        m_markColumn = column;
        m_markDirection = direction;
        ShowSortMark();
        m_directions[column] = direction;
    }
    if (m_sorted)
        m_sorted();
}

void CReviewGridView::ShowSortMark()
{
    if (m_markColumn < 0 || m_markColumn >= ColumnCount()) {
        header()->setSortIndicatorShown(false);
        return;
    }
    header()->setSortIndicator(m_markColumn,
                               m_markDirection == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    header()->setSortIndicatorShown(true);
}
