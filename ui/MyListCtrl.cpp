#include "ui/MyListCtrl.h"

#include "data/BindingSet.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "ui/DialogBase.h"
#include "ui/ListRowSource.h"
#include "ui/ListSortKeys.h"
#include "ui/ListSourceItem.h"
#include "ui/ResourceIds.h"
#include "ui/TreeListDlg.h"
#include "ui/Utilities.h"
#include "ui/VirtualKeys.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>

namespace {

const QString kLayoutSection = QStringLiteral("Window Settings");

// Tokens up to each ",": the even ones are column ids, the odd ones widths.
void ParseLayout(const QString& text, QStringList& ids, QStringList& widths)
{
    ids.clear();
    widths.clear();
    int position = 0;
    int token = 0;
    while (position < text.size()) {
        int comma = text.indexOf(QLatin1Char(','), position);
        if (comma < 0)
            comma = text.size();
        const QString part = text.mid(position, comma - position);
        (token++ % 2 == 0 ? ids : widths) << part;
        position = comma + 1;
    }
}

} // namespace

void SetReportListLook(QTreeView* view)
{
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSortingEnabled(false);
    view->setContextMenuPolicy(Qt::PreventContextMenu);
    view->setMouseTracking(true);
    view->header()->setStretchLastSection(false);
}

CMyListCtrl::CMyListCtrl()
{
    SetReportListLook(this);
    connect(header(), &QHeaderView::sectionClicked, this, &CMyListCtrl::OnColumnClick);
}

CMyListCtrl::~CMyListCtrl()
{
    AttachRecordSet(nullptr, nullptr);
}

bool CMyListCtrl::CreateList(const QRect& rect, CTreeListDlg* owner, const QStringList& titles,
                             const QList<int>& formats, const QList<int>& widths)
{
    m_owner = owner;
    return Create(rect, owner, titles, formats, widths, true);
}

bool CMyListCtrl::CreateListSimple(const QRect& rect, QWidget* parent, const QStringList& titles,
                                   const QList<int>& formats, const QList<int>& widths)
{
    m_owner = nullptr;
    return Create(rect, parent, titles, formats, widths, false);
}

bool CMyListCtrl::Create(const QRect& rect, QWidget* parent, const QStringList& titles,
                         const QList<int>& formats, const QList<int>& widths, bool owned)
{
    if (parent && parentWidget() != parent)
        setParent(parent);
    CDialogBase::SetControlId(this, IDC_LIST);
    Clear();
    m_textsPerRow = 0;
    m_lastSorted = -1;
    m_secondSorted = -1;
    m_markColumn = -1;
    m_columns = static_cast<int>(titles.size());
    m_formats.clear();
    for (int i = 0; i < m_columns; ++i)
        m_formats << formats.value(i, kFormatLeft);

    setColumnCount(m_columns);
    setHeaderLabels(titles);
    // A list made again starts from the columns' own order.
    for (int i = 0; i < m_columns; ++i)
        header()->moveSection(header()->visualIndex(i), i);
    const int share = m_columns > 0 ? rect.width() / m_columns - 1 : 0;
    for (int i = 0; i < m_columns; ++i) {
        const int width = widths.value(i, -1);
        setColumnWidth(i, width >= 0 ? width : share);
        headerItem()->setTextAlignment(i, ColumnAlignment(i));
    }
    header()->setSectionsMovable(owned);
    header()->setSectionsClickable(owned);
    ShowSortMark();
    setGeometry(rect);
    show();
    return true;
}

Qt::Alignment CMyListCtrl::ColumnAlignment(int column) const
{
    switch (m_formats.value(column, kFormatLeft)) {
    case kFormatRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case kFormatCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// ---- Rows ----------------------------------------------------------------------------

bool CMyListCtrl::InsertRow(const QStringList& texts, int key)
{
    if (texts.isEmpty())
        return false;
    auto* item = new QTreeWidgetItem;
    for (int i = 0; i < texts.size(); ++i) {
        item->setText(i, texts.at(i));
        item->setTextAlignment(i, ColumnAlignment(i));
    }
    const int count = topLevelItemCount();
    insertTopLevelItem(key < 0 || key > count ? count : key, item);
    m_rows.insert(key < 0 ? count : key, texts);
    m_textsPerRow = static_cast<int>(texts.size());
    return true;
}

void CMyListCtrl::Clear()
{
    m_rows.clear();
    clear();
    m_source = nullptr;
}

void CMyListCtrl::ShowRows(const IListRowSource* source)
{
    Clear();
    m_source = source;
    const int count = source ? source->RowCount() : 0;
    if (count <= 0)
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(count);
    for (int row = 0; row < count; ++row)
        items << new CListSourceItem(row);
    insertTopLevelItems(0, items);
    m_textsPerRow = m_columns;
}

void CMyListCtrl::DeleteAll()
{
    clear();
}

int CMyListCtrl::FindRowByText(const QString& text, int column) const
{
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
        if (column >= 0 && column < it->size() &&
            it->at(column).compare(text, Qt::CaseInsensitive) == 0)
            return it.key();
    return -1;
}

int CMyListCtrl::GetFirstSelected() const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected())
            return i;
    return -1;
}

void CMyListCtrl::SelectItem(int index)
{
    QTreeWidgetItem* item = topLevelItem(index);
    if (!item)
        return;
    selectionModel()->setCurrentIndex(indexFromItem(item),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void CMyListCtrl::ResetItemState(int index)
{
    if (QTreeWidgetItem* item = topLevelItem(index))
        item->setSelected(false);
}

QString CMyListCtrl::ItemText(int index, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(index);
    return item ? item->text(column) : QString();
}

// ---- Columns ---------------------------------------------------------------------------

bool CMyListCtrl::GetColumnWidths(QList<int>& widths) const
{
    widths.clear();
    for (int i = 0; i < m_columns; ++i)
        widths << columnWidth(i);
    return true;
}

bool CMyListCtrl::GetColumnOrder(QList<int>& order) const
{
    order.clear();
    for (int p = 0; p < m_columns; ++p)
        order << header()->logicalIndex(p);
    return !order.contains(-1);
}

// ---- Sort mark ---------------------------------------------------------------------------

void CMyListCtrl::SetSortMark(int column2, int column, int direction)
{
    m_markColumn = column;
    m_markDirection = direction;
    ShowSortMark();
    ModifyHeaderItems(column, -1, direction);
    m_lastSorted = column;
    m_secondSorted = column2;
}

void CMyListCtrl::ModifyHeaderItems(int newColumn, int, int direction)
{
    if (!m_owner)
        return;
    // The header shows one mark: giving it to the new column takes it from
    // the old one.
    m_markColumn = newColumn;
    m_markDirection = direction;
    ShowSortMark();
}

void CMyListCtrl::ShowSortMark()
{
    QHeaderView* bar = header();
    if (m_markColumn < 0 || m_markColumn >= m_columns) {
        bar->setSortIndicatorShown(false);
        return;
    }
    bar->setSortIndicator(m_markColumn,
                          m_markDirection == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    bar->setSortIndicatorShown(true);
}

void CMyListCtrl::OnColumnClick(int column)
{
    if (!m_owner || column < 0 || column >= m_textsPerRow) {
        // The header may have moved its indicator by itself.
        ShowSortMark();
        return;
    }
    {
        CWaitCursor wait;
        while (m_directions.size() <= column)
            m_directions << 0;
        const int direction = m_directions.at(column) ? 0 : 1;
        if (!m_externalSort)
            SortRows(column, direction != 0);
        ModifyHeaderItems(column, m_lastSorted, direction);
        m_lastSorted = column;
        m_directions[column] = direction;
    }
    m_owner->OnFillList();
}

void CMyListCtrl::SortRows(int column, bool descending)
{
    const QList<QStringList> rows = m_rows.values();
    CListSortKeys keys(m_kinds.value(column, kColumnText), static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        keys.SetText(r, rows.at(r).value(column));
    const QList<int> order = keys.Order(descending);
    Clear();
    for (int k = 0; k < order.size(); ++k)
        InsertRow(rows.at(order.at(k)), k);
}

// ---- Layout --------------------------------------------------------------------------------

QString CMyListCtrl::GetDefaultLayout(int columns) const
{
    const int count = columns >= 0 ? columns : m_columns;
    QStringList pairs;
    for (int i = 0; i < count; ++i)
        pairs << QStringLiteral("%1,-1").arg(i);
    return pairs.join(QLatin1Char(','));
}

bool CMyListCtrl::GetLayout(QString& text) const
{
    QList<int> order;
    QList<int> widths;
    if (!GetColumnOrder(order) || !GetColumnWidths(widths))
        return false;
    QStringList parts;
    for (int c : std::as_const(order)) {
        int id = c;
        if (!m_layoutIds.isEmpty()) {
            bool ok = false;
            id = m_layoutIds.value(c).trimmed().toInt(&ok);
            if (!ok || id < 0 || id >= m_columns)
                return false;
        }
        parts << QString::number(id) << QString::number(widths.at(c));
    }
    text = parts.join(QLatin1Char(','));
    return true;
}

bool CMyListCtrl::LoadLayout(bool load, const QString& key, QString& value, int columns)
{
    CProfileStore profile;
    const QString path = kLayoutSection + QLatin1Char('/') + key;
    if (!load) {
        profile.setValue(path, value);
        return true;
    }
    const QString layoutDefault = GetDefaultLayout(columns);
    const QVariant stored = profile.value(path, layoutDefault);
    // A hand-written value with commas and no quotes reads back as a list.
    QString text = stored.typeId() == QMetaType::QStringList
                       ? stored.toStringList().join(QLatin1Char(','))
                       : stored.toString();
    if (text.isEmpty())
        text = layoutDefault;
    m_layoutText = text;
    ParseLayout(text, m_layoutIds, m_layoutWidths);
    const int count = columns >= 0 ? columns : m_columns;
    if (m_layoutWidths.size() < count) {
        text = layoutDefault;
        ParseLayout(text, m_layoutIds, m_layoutWidths);
        LoadLayout(false, key, value);
    }
    value = text;
    return true;
}

bool CMyListCtrl::ArrangeColumns(QStringList& titles, QList<int>& formats, QList<int>& widths) const
{
    const int count = static_cast<int>(titles.size());
    if (m_layoutIds.size() < count)
        return false;
    QList<int> ids;
    QSet<int> seen;
    for (int c = 0; c < count; ++c) {
        bool ok = false;
        const int id = m_layoutIds.at(c).trimmed().toInt(&ok);
        if (!ok || id < 0 || id >= count || seen.contains(id))
            return false;
        seen.insert(id);
        ids << id;
    }
    QStringList arrangedTitles;
    QList<int> arrangedFormats;
    QList<int> arrangedWidths;
    for (int c = 0; c < count; ++c) {
        const int id = ids.at(c);
        arrangedTitles << titles.at(id);
        arrangedFormats << formats.value(id, kFormatLeft);
        bool ok = false;
        const int width = m_layoutWidths.value(c).trimmed().toInt(&ok);
        arrangedWidths << (ok && width >= 0 ? width : widths.value(id, -1));
    }
    titles = arrangedTitles;
    formats = arrangedFormats;
    widths = arrangedWidths;
    return true;
}

// ---- Record object ----------------------------------------------------------------------------

void CMyListCtrl::AttachRecordSet(CBindingSet* set, CDBClass* db)
{
    if (m_recordSet && m_recordSet.get() != set && m_recordDb)
        m_recordDb->CloseRecordSet(m_recordSet.get(), true);
    if (m_recordSet.get() != set)
        m_recordSet.reset(set);
    m_recordDb = db;
}

// ---- Owner calls --------------------------------------------------------------------------------

QPoint CMyListCtrl::ToControl(const QPoint& viewportPoint) const
{
    return viewport()->mapTo(this, viewportPoint);
}

void CMyListCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = ToControl(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        QTreeWidget::mousePressEvent(event);
        if (m_owner) {
            m_owner->OnContextMenu(at.x(), at.y(), true);
            m_owner->OnContextMenuClosed();
        }
        return;
    }
    if (event->button() == Qt::LeftButton && m_owner)
        m_owner->OnLeftButtonDown(event->buttons(), at.x(), at.y());
    QTreeWidget::mousePressEvent(event);
}

void CMyListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (left && m_owner) {
        const QPoint at = ToControl(event->position().toPoint());
        m_owner->OnListLeftButtonUp(event->buttons(), at.x(), at.y());
    }
    QTreeWidget::mouseReleaseEvent(event);
    if (left && m_owner) {
        const int row = GetFirstSelected();
        if (row >= 0)
            m_owner->OnListRowSelected(row);
    }
}

void CMyListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_owner) {
        const QPoint at = ToControl(event->position().toPoint());
        m_owner->OnListMouseMove(event->buttons(), at.x(), at.y());
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CMyListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && m_owner)
        m_owner->OnListRowActivated(GetFirstSelected(), this);
}

void CMyListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_owner)
        m_owner->OnKeyDown(VirtualKeyOfEvent(*event), false);
    QTreeWidget::keyPressEvent(event);
}

void CMyListCtrl::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    if (m_owner)
        m_owner->OnListFocus(GetFirstSelected());
}
