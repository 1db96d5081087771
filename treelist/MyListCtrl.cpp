#include "treelist/MyListCtrl.h"

#include "treelist/MyTreeCtrl.h"
#include "treelist/SarvexCtrl.h"
#include "treelist/SarvexIds.h"
#include "treelist/ViewManager.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>

#include <algorithm>
#include <limits>
#include <optional>

namespace Sarvex {

namespace {

constexpr int kTagRole = Qt::UserRole;

// The list's window: it hands its clicks, double-clicks and right-button
// presses to the pane after handling them itself.
class CListWnd final : public QTreeWidget {
public:
    CListWnd(CMyListCtrl& owner, QWidget* parent)
        : QTreeWidget(parent)
        , m_owner(owner)
    {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QTreeWidget::mousePressEvent(event);
        if (event->button() == Qt::RightButton)
            m_owner.OnRButtonDown(event->position().toPoint());
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        // The release that ends a double-click is no click of its own.
        const bool endsDoubleClick = m_afterDoubleClick;
        m_afterDoubleClick = false;
        QTreeWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && !endsDoubleClick)
            m_owner.OnClick(event->position().toPoint());
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton)
            return;
        m_afterDoubleClick = true;
        m_owner.OnDblClk(event->position().toPoint());
    }

    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }

private:
    CMyListCtrl& m_owner;
    bool m_afterDoubleClick = false;
};

Qt::Alignment AlignmentOf(std::int16_t format)
{
    switch (format) {
    case SarvexIds::kFormatRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case SarvexIds::kFormatCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// The number a numeric column sorts by: the text's leading integer, as the
// C library reads it (blanks, a sign, digits), 0 when there is none.
std::int64_t LeadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(value * 10 + (text[i].unicode() - '0'), kLimit + 1);
    return negative ? -value : std::min(value, kLimit);
}

} // namespace

CMyListCtrl::CMyListCtrl(CSarvexCtrl& ctrl, CViewManager& manager)
    : m_ctrl(ctrl)
    , m_manager(manager)
{}

CMyListCtrl::~CMyListCtrl()
{
    delete m_wnd.data();
}

void CMyListCtrl::Create(QWidget* parent, const QRect& rect)
{
    if (m_wnd)
        return;
    auto* wnd = new CListWnd(*this, parent);
    m_wnd = wnd;
    wnd->setObjectName(QStringLiteral("id%1").arg(kWindowId));
    wnd->setRootIsDecorated(false);
    wnd->setItemsExpandable(false);
    wnd->setUniformRowHeights(true);
    wnd->setAllColumnsShowFocus(true);
    wnd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    wnd->setSelectionMode(QAbstractItemView::ExtendedSelection);
    wnd->setSelectionBehavior(QAbstractItemView::SelectRows);
    wnd->setItemDelegate(new CImageDelegate(m_images, false, wnd));
    wnd->setColumnCount(0);
    QHeaderView* header = wnd->header();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    QObject::connect(header, &QHeaderView::sectionClicked, wnd,
                     [this](int column) { OnColumnClick(column); });
    wnd->setGeometry(rect);
    if (m_showsKey)
        ShowKey(m_shownKey);
    wnd->show();
}

QWidget* CMyListCtrl::Window() const
{
    return m_wnd.data();
}

CListKeyData* CMyListCtrl::Definition(std::int32_t key)
{
    ListDefinitions& defs = m_manager.ListDefs();
    const auto it = defs.find(key);
    return it == defs.end() ? nullptr : &it->second;
}

const CListKeyData* CMyListCtrl::Definition(std::int32_t key) const
{
    const ListDefinitions& defs = m_manager.ListDefs();
    const auto it = defs.find(key);
    return it == defs.end() ? nullptr : &it->second;
}

bool CMyListCtrl::AddColumn(std::int32_t key, std::int32_t parentKey, std::int16_t colInfo,
                            std::int16_t orderAsc, const QString& heading, std::int16_t format,
                            int width)
{
    CListKeyData* def = Definition(key);
    if (!def)
        def = &m_manager.ListDefs().emplace(key, CListKeyData(key, parentKey)).first->second;
    CListColumn column;
    column.colInfo = colInfo;
    column.ascending = orderAsc != 0;
    column.heading = heading;
    column.format = format;
    column.width = width;
    def->AddColumn(column);
    return true;
}

QTreeWidgetItem* CMyListCtrl::NewItem(const QStringList& cells, std::int32_t tagKey,
                                      std::int32_t iconId) const
{
    auto* item = new QTreeWidgetItem(cells);
    item->setData(0, kTagRole, tagKey);
    item->setData(0, CImageDelegate::kImageRole, iconId);
    if (const CListKeyData* def = m_showsKey ? Definition(m_shownKey) : nullptr) {
        const auto& columns = def->Columns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].format != SarvexIds::kFormatLeft)
                item->setTextAlignment(static_cast<int>(i), AlignmentOf(columns[i].format));
        }
    }
    return item;
}

bool CMyListCtrl::AddRow(std::int32_t key, std::int32_t tagKey, const QStringList& cells,
                         bool showNow, std::int32_t iconId)
{
    CListKeyData* def = Definition(key);
    if (!def || !CListKeyData::IsSlot(tagKey))
        return false;
    CListRowData row;
    row.cells = cells.mid(0, std::max(1, def->ColumnCount()));
    if (showNow && m_wnd) {
        // At the row's place among the slots, or at the end.
        const int index = static_cast<int>(std::min<std::int64_t>(def->RowSlots(), ItemCount()));
        m_wnd->insertTopLevelItem(index, NewItem(row.cells, tagKey, iconId));
    }
    def->StoreRow(tagKey, std::move(row));
    def->SetIconId(iconId);
    return true;
}

void CMyListCtrl::ClearColumns()
{
    if (!m_wnd)
        return;
    m_wnd->clear();
    m_wnd->setColumnCount(0);
    m_wnd->header()->setSortIndicatorShown(false);
}

void CMyListCtrl::ShowKey(std::int32_t key)
{
    const CListKeyData* def = Definition(key);
    if (!def)
        return;
    m_showsKey = true;
    m_shownKey = key;
    if (!m_wnd)
        return;
    ClearColumns();
    const auto& columns = def->Columns();
    const int count = static_cast<int>(columns.size());
    m_wnd->setColumnCount(count);
    QTreeWidgetItem* heading = m_wnd->headerItem();
    for (int i = 0; i < count; ++i) {
        const CListColumn& column = columns[static_cast<std::size_t>(i)];
        heading->setText(i, column.heading);
        heading->setTextAlignment(i, AlignmentOf(column.format));
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(def->Rows().size()));
    for (const auto& [tagKey, row] : def->Rows())
        items.append(NewItem(row.cells, tagKey, def->IconId()));
    m_wnd->addTopLevelItems(items);
    for (int i = 0; i < count; ++i) {
        const int width = columns[static_cast<std::size_t>(i)].width;
        if (width < 0)
            m_wnd->resizeColumnToContents(i);
        else
            m_wnd->header()->resizeSection(i, width);
    }
}

bool CMyListCtrl::ModifyRow(std::int32_t key, std::int32_t tagKey, const QString& csv)
{
    CListKeyData* def = Definition(key);
    if (!def)
        return false;
    const QStringList cells = SplitCsv(csv);
    if (def->Rows().empty()) {
        if (CListKeyData::IsSlot(tagKey))
            def->StoreRow(tagKey, CListRowData{cells.mid(0, std::max(1, def->ColumnCount()))});
        return true;
    }
    CListRowData* row = def->Row(tagKey);
    if (!row)
        return true;
    const qsizetype count =
        std::min({row->cells.size(), cells.size(), static_cast<qsizetype>(def->ColumnCount())});
    for (qsizetype i = 0; i < count; ++i)
        row->cells[i] = cells[i];
    if (!m_wnd || !m_showsKey || m_shownKey != key)
        return true;
    // The item showing that row, wherever a sort has put it.
    for (int i = 0; i < m_wnd->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_wnd->topLevelItem(i);
        if (item->data(0, kTagRole).toInt() != tagKey)
            continue;
        for (qsizetype c = 0; c < count; ++c)
            item->setText(static_cast<int>(c), cells[c]);
        break;
    }
    return true;
}

QString CMyListCtrl::GetCell(std::int32_t key, std::int32_t* rowCount, std::int32_t row,
                             std::int32_t column) const
{
    const CListKeyData* def = Definition(key);
    if (!def)
        return QString();
    if (rowCount)
        *rowCount = def->RowSlots();
    const CListRowData* stored = def->Row(row);
    if (!stored || column < 0 || column >= stored->cells.size())
        return QString();
    return stored->cells[column];
}

void CMyListCtrl::DeleteRow(std::int32_t key, std::int32_t tagKey)
{
    if (CListKeyData* def = Definition(key))
        def->RemoveSlot(tagKey);
}

void CMyListCtrl::DropKey(std::int32_t key)
{
    if (m_showsKey && m_shownKey == key) {
        ClearColumns();
        m_showsKey = false;
    }
    m_manager.ListDefs().erase(key);
}

void CMyListCtrl::DropAll()
{
    if (m_showsKey)
        ClearColumns();
    m_showsKey = false;
    m_manager.ListDefs().clear();
}

void CMyListCtrl::SetColumnWidth(std::int32_t key, std::int32_t column, std::int32_t width)
{
    CListKeyData* def = Definition(key);
    if (!def || column < 0 || column >= def->ColumnCount() || def->Column(column).width == 0)
        return;
    def->Column(column).width = width;
    // Only the list on screen: another key's width is not this one's.
    if (!m_wnd || !m_showsKey || m_shownKey != key || column >= m_wnd->columnCount())
        return;
    if (width < 0)
        m_wnd->resizeColumnToContents(column);
    else
        m_wnd->header()->resizeSection(column, width);
}

bool CMyListCtrl::SetIcon(const QString& iconFile, const QString& selIconFile, int iconId,
                          int position, int maximum)
{
    const bool done = m_images.SetIcon(iconFile, selIconFile, iconId, position, maximum);
    if (m_wnd)
        m_wnd->viewport()->update();
    return done;
}

std::int32_t CMyListCtrl::FindTagKey(const QString& text) const
{
    const auto find = [&text](const CListKeyData& def) -> std::optional<std::int32_t> {
        for (const auto& [tagKey, row] : def.Rows()) {
            if (!row.cells.isEmpty() && row.cells.first() == text)
                return tagKey;
        }
        return std::nullopt;
    };
    // Ids repeat across keys: the list on screen answers first.
    if (const CListKeyData* shown = m_showsKey ? Definition(m_shownKey) : nullptr) {
        if (const auto tagKey = find(*shown))
            return *tagKey;
    }
    for (const auto& [key, def] : m_manager.ListDefs()) {
        if (m_showsKey && key == m_shownKey)
            continue;
        if (const auto tagKey = find(def))
            return *tagKey;
    }
    return -1;
}

void CMyListCtrl::DeleteAllItems()
{
    if (m_wnd)
        m_wnd->clear();
}

void CMyListCtrl::Show(bool visible)
{
    if (!m_wnd)
        return;
    m_wnd->setVisible(visible);
    if (visible)
        m_wnd->viewport()->update();
}

int CMyListCtrl::ItemCount() const
{
    return m_wnd ? m_wnd->topLevelItemCount() : 0;
}

int CMyListCtrl::FirstSelectedIndex() const
{
    if (!m_wnd)
        return -1;
    for (int i = 0; i < m_wnd->topLevelItemCount(); ++i) {
        if (m_wnd->topLevelItem(i)->isSelected())
            return i;
    }
    return -1;
}

// ---- Input ----------------------------------------------------------------------

void CMyListCtrl::OnClick(QPoint pos)
{
    if (!m_wnd)
        return;
    m_selIndex = FirstSelectedIndex();
    const QTreeWidgetItem* item = m_wnd->itemAt(pos);
    m_clickedText = item ? item->text(0) : QString();
    m_clickedKey = FindTagKey(m_clickedText);
    m_ctrl.FireListLButDown(m_clickedKey, m_clickedText);
}

void CMyListCtrl::OnDblClk(QPoint pos)
{
    if (!m_wnd)
        return;
    m_selIndex = FirstSelectedIndex();
    // The key of the item clicked before, the text of the one double-clicked.
    m_clickedKey = FindTagKey(m_clickedText);
    const QTreeWidgetItem* item = m_wnd->itemAt(pos);
    m_clickedText = item ? item->text(0) : QString();
    m_manager.FireDblClick(false);
}

void CMyListCtrl::OnRButtonDown(QPoint pos)
{
    if (!m_wnd)
        return;
    const QPoint global = m_wnd->viewport()->mapToGlobal(pos);
    const int command = m_menu.Track(CMyPopMenu::Popup::List, m_manager.Tree().LastKey(), global);
    if (command != 0)
        m_ctrl.OnCommand(command, CSarvexCtrl::kFromList);
}

void CMyListCtrl::OnColumnClick(int column)
{
    // The rows on screen are sorted, never rows stored and replaced since.
    CListKeyData* def = m_showsKey ? Definition(m_shownKey) : nullptr;
    if (!m_wnd || !def || column < 0 || column >= def->ColumnCount())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CListColumn& sorted = def->Column(column);
    const bool numeric = sorted.colInfo == SarvexIds::kNumericColumn;
    const bool ascending = sorted.ascending;

    struct Entry {
        QTreeWidgetItem* item;
        std::int64_t number;
        QString text;
    };
    const QList<QTreeWidgetItem*> items = m_wnd->invisibleRootItem()->takeChildren();
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(items.size()));
    for (QTreeWidgetItem* item : items) {
        const QString text = item->text(column);
        entries.push_back({item, numeric ? LeadingInteger(text) : 0, numeric ? QString() : text});
    }
    // Equal values keep their order, in either direction.
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int order = numeric ? (a.number < b.number   ? -1
                                     : a.number > b.number ? 1
                                                           : 0)
                                  : QString::compare(a.text, b.text, Qt::CaseSensitive);
        return ascending ? order < 0 : order > 0;
    });
    QList<QTreeWidgetItem*> ordered;
    ordered.reserve(items.size());
    for (const Entry& entry : entries) {
        entry.item->setData(0, CImageDelegate::kImageRole, def->IconId());
        ordered.append(entry.item);
    }
    m_wnd->addTopLevelItems(ordered);
    MarkHeading(column, ascending);
    def->SetLastSortedColumn(column);
    sorted.ascending = !ascending;
    QApplication::restoreOverrideCursor();
}

void CMyListCtrl::MarkHeading(int column, bool ascending)
{
    QHeaderView* header = m_wnd->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace Sarvex
