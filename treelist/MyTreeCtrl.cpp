#include "treelist/MyTreeCtrl.h"

#include "treelist/MyListCtrl.h"
#include "treelist/SarvexCtrl.h"
#include "treelist/ViewManager.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace Sarvex {

namespace {

// The tree's window: it hands its double-clicks and right-button presses to
// the pane, which opens its own popup menu at the press.
class CTreeWnd final : public QTreeWidget {
public:
    CTreeWnd(CMyTreeCtrl& owner, QWidget* parent)
        : QTreeWidget(parent)
        , m_owner(owner)
    {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton) {
            event->accept();
            m_owner.OnRButtonDown(event->position().toPoint());
            return;
        }
        QTreeWidget::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton)
            m_owner.OnDblClk();
    }

    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }

private:
    CMyTreeCtrl& m_owner;
};

} // namespace

// Marks changes the pane makes to its own window, which are not the user's.
class CMyTreeCtrl::CSuppress {
public:
    explicit CSuppress(CMyTreeCtrl& tree)
        : m_tree(tree)
    {
        ++m_tree.m_quiet;
    }
    ~CSuppress() { --m_tree.m_quiet; }
    CSuppress(const CSuppress&) = delete;
    CSuppress& operator=(const CSuppress&) = delete;

private:
    CMyTreeCtrl& m_tree;
};

CMyTreeCtrl::CMyTreeCtrl(CSarvexCtrl& ctrl, CViewManager& manager)
    : m_ctrl(ctrl)
    , m_manager(manager)
{}

CMyTreeCtrl::~CMyTreeCtrl()
{
    delete m_wnd.data();
}

void CMyTreeCtrl::Create(QWidget* parent, const QRect& rect)
{
    if (m_wnd)
        return;
    auto* wnd = new CTreeWnd(*this, parent);
    m_wnd = wnd;
    wnd->setObjectName(QStringLiteral("id%1").arg(kWindowId));
    wnd->setHeaderHidden(true);
    wnd->setColumnCount(1);
    wnd->setRootIsDecorated(true);
    wnd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    wnd->setSelectionMode(QAbstractItemView::SingleSelection);
    wnd->setItemDelegate(new CImageDelegate(m_images, true, wnd));
    wnd->setGeometry(rect);
    QObject::connect(wnd, &QTreeWidget::currentItemChanged, wnd,
                     [this] { OnCurrentItemChanged(); });
    QObject::connect(wnd, &QTreeWidget::itemExpanded, wnd,
                     [this](QTreeWidgetItem* item) { OnItemExpanded(item, true); });
    QObject::connect(wnd, &QTreeWidget::itemCollapsed, wnd,
                     [this](QTreeWidgetItem* item) { OnItemExpanded(item, false); });
    Rebuild();
    wnd->show();
}

QWidget* CMyTreeCtrl::Window() const
{
    return m_wnd.data();
}

bool CMyTreeCtrl::HasWindow() const
{
    return !m_wnd.isNull();
}

// ---- Records --------------------------------------------------------------------

CTreeItemData* CMyTreeCtrl::Node(std::int32_t key)
{
    const auto it = m_nodes.find(key);
    return it == m_nodes.end() ? nullptr : &it->second;
}

const CTreeItemData* CMyTreeCtrl::Node(std::int32_t key) const
{
    const auto it = m_nodes.find(key);
    return it == m_nodes.end() ? nullptr : &it->second;
}

CTreeItemData* CMyTreeCtrl::NodeOfItem(QTreeWidgetItem* item)
{
    const auto it = m_itemKeys.constFind(item);
    if (!item || it == m_itemKeys.constEnd())
        return nullptr;
    CTreeItemData* node = Node(it.value());
    // A replaced record leaves its older item without a node.
    return node && node->item == item ? node : nullptr;
}

CTreeItemData* CMyTreeCtrl::SelectedNode()
{
    return m_selectedKey ? Node(*m_selectedKey) : nullptr;
}

QTreeWidgetItem* CMyTreeCtrl::NewItem(const CTreeItemData& node, QTreeWidgetItem* parent)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, node.text);
    item->setData(0, CImageDelegate::kImageRole, node.iconId);
    m_itemKeys.insert(item, node.key);
    if (parent)
        parent->addChild(item);
    return item;
}

void CMyTreeCtrl::AddRoot(const QString& text, std::int32_t key, int iconId)
{
    CTreeItemData node;
    node.key = key;
    node.kind = CTreeItemData::kRoot;
    node.text = text;
    node.iconId = iconId;
    if (m_wnd) {
        const CSuppress quiet(*this);
        node.item = NewItem(node, nullptr);
        m_wnd->addTopLevelItem(node.item);
    }
    // A new record starts unselected.
    if (m_selectedKey == key)
        m_selectedKey.reset();
    m_nodes[key] = std::move(node);
}

void CMyTreeCtrl::AddChild(const QString& text, std::int32_t key, std::int32_t parentKey,
                           int iconId)
{
    CTreeItemData* parent = Node(parentKey);
    // A node cannot be its own child.
    if (!parent || key == parentKey)
        return;
    CTreeItemData node;
    node.key = key;
    node.parentKey = parentKey;
    node.kind = CTreeItemData::kChild;
    node.text = text;
    node.iconId = iconId;
    if (m_wnd && parent->item) {
        const CSuppress quiet(*this);
        node.item = NewItem(node, parent->item);
    }
    parent->childKeys.push_back(key);
    if (m_selectedKey == key)
        m_selectedKey.reset();
    m_nodes[key] = std::move(node);
}

bool CMyTreeCtrl::ModifyText(std::int32_t key, const QString& text)
{
    const CTreeItemData* node = Node(key);
    if (!node)
        return false;
    if (m_wnd && node->item)
        node->item->setText(0, text);
    return true;
}

bool CMyTreeCtrl::SelectKey(std::int32_t key)
{
    CTreeItemData* node = Node(key);
    if (!node)
        return false;
    const CTreeItemData* before = SelectedNode();
    if (m_wnd && node->item) {
        {
            const CSuppress quiet(*this);
            m_wnd->setCurrentItem(node->item);
        }
        if (before != node) {
            // As the window would tell it; the container hears of it there.
            OnSelChanged(node->item);
            return true;
        }
    }
    m_selectedKey = key;
    if (m_wnd && node->item)
        node->expanded = node->item->isExpanded();
    return true;
}

bool CMyTreeCtrl::GetSelKey(std::int32_t* key, QString* text, bool* expanded)
{
    CTreeItemData* node = SelectedNode();
    if (!node) {
        if (m_nodes.empty())
            return false;
        node = &m_nodes.begin()->second;
        m_selectedKey = node->key;
        if (m_wnd && node->item) {
            const CSuppress quiet(*this);
            m_wnd->setCurrentItem(node->item);
        }
        m_lastKey = node->key;
    }
    if (key)
        *key = node->key;
    if (text)
        *text = node->text;
    if (expanded)
        *expanded = node->expanded;
    return true;
}

std::optional<std::int32_t> CMyTreeCtrl::SelectedKey() const
{
    return m_selectedKey;
}

void CMyTreeCtrl::ForgetItems(QTreeWidgetItem* item)
{
    std::vector<QTreeWidgetItem*> pending{item};
    while (!pending.empty()) {
        QTreeWidgetItem* current = pending.back();
        pending.pop_back();
        if (CTreeItemData* node = NodeOfItem(current))
            node->item = nullptr;
        m_itemKeys.remove(current);
        for (int i = 0; i < current->childCount(); ++i)
            pending.push_back(current->child(i));
    }
}

bool CMyTreeCtrl::DeleteKey(std::int32_t key)
{
    if (!DeleteOne(key))
        return false;
    SyncCurrent();
    return true;
}

bool CMyTreeCtrl::DeleteOne(std::int32_t key)
{
    const CTreeItemData* top = Node(key);
    if (!top)
        return false;
    if (CTreeItemData* parent = Node(top->parentKey)) {
        auto& siblings = parent->childKeys;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
    }
    // Depth first, without recursion: a container may nest deeply.
    std::vector<std::int32_t> pending{key};
    while (!pending.empty()) {
        const std::int32_t current = pending.back();
        pending.pop_back();
        const auto it = m_nodes.find(current);
        if (it == m_nodes.end())
            continue;
        if (QTreeWidgetItem* item = it->second.item; item && m_wnd) {
            const CSuppress quiet(*this);
            ForgetItems(item);
            delete item;
        }
        const std::vector<std::int32_t> children = std::move(it->second.childKeys);
        m_nodes.erase(it);
        if (m_selectedKey == current)
            m_selectedKey.reset();
        m_manager.List().DropKey(current);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return true;
}

void CMyTreeCtrl::DropAll()
{
    std::vector<std::int32_t> roots;
    for (const auto& [key, node] : m_nodes) {
        if (node.kind == CTreeItemData::kRoot)
            roots.push_back(key);
    }
    for (const std::int32_t key : roots)
        DeleteOne(key);
    // Records whose parent went another way: their items stay until the
    // window's items are removed.
    m_nodes.clear();
    m_selectedKey.reset();
    m_menu.DeleteAll();
    SyncCurrent();
}

bool CMyTreeCtrl::SelectFirst()
{
    if (m_nodes.empty())
        return false;
    SelectKey(m_nodes.begin()->first);
    if (m_wnd)
        m_wnd->setFocus();
    return true;
}

QString CMyTreeCtrl::GetChild(std::int32_t parentKey, std::int32_t pos, std::int32_t* key) const
{
    *key = -1;
    const CTreeItemData* parent = Node(parentKey);
    if (!parent || pos < 0 || static_cast<std::size_t>(pos) >= parent->childKeys.size())
        return QString();
    const std::int32_t childKey = parent->childKeys[static_cast<std::size_t>(pos)];
    const CTreeItemData* child = Node(childKey);
    if (!child)
        return QString();
    *key = childKey;
    return child->text;
}

std::int32_t CMyTreeCtrl::ParentOf(std::int32_t key) const
{
    const CTreeItemData* node = Node(key);
    return node ? node->parentKey : -1;
}

std::int32_t CMyTreeCtrl::ChildCount(std::int32_t key) const
{
    const CTreeItemData* node = Node(key);
    return node ? static_cast<std::int32_t>(node->childKeys.size()) : 0;
}

void CMyTreeCtrl::SetStorage(std::int32_t key, const QString& text)
{
    if (CTreeItemData* node = Node(key))
        node->storage = text;
}

QString CMyTreeCtrl::GetStorage(std::int32_t key) const
{
    const CTreeItemData* node = Node(key);
    return node ? node->storage : QString();
}

void CMyTreeCtrl::Expand(std::int32_t key, std::int32_t code)
{
    CTreeItemData* node = Node(key);
    if (!node)
        return;
    const bool now = m_wnd && node->item ? node->item->isExpanded() : node->expanded;
    bool expand = now;
    switch (code & 3) {
    case 1:
        expand = false;
        break;
    case 2:
        expand = true;
        break;
    case 3:
        expand = !now;
        break;
    default:
        return;
    }
    // The window tells the record through itemExpanded/itemCollapsed.
    if (m_wnd && node->item)
        node->item->setExpanded(expand);
    else
        node->expanded = expand;
}

// ---- Items ----------------------------------------------------------------------

void CMyTreeCtrl::RemoveAllItems()
{
    if (!m_wnd)
        return;
    const CSuppress quiet(*this);
    m_wnd->clear();
    m_itemKeys.clear();
    for (auto& [key, node] : m_nodes)
        node.item = nullptr;
}

void CMyTreeCtrl::Rebuild()
{
    if (!m_wnd)
        return;
    RemoveAllItems();
    const CSuppress quiet(*this);
    // Built apart from the window and handed over at once.
    QList<QTreeWidgetItem*> roots;
    for (auto& [key, node] : m_nodes) {
        if (node.kind == CTreeItemData::kRoot) {
            node.item = NewItem(node, nullptr);
            roots.append(node.item);
        }
        // Children whose parent has no item yet (a lower key than its
        // parent's) are not shown; containers number children higher.
        if (!node.item)
            continue;
        for (const std::int32_t childKey : node.childKeys) {
            if (CTreeItemData* child = Node(childKey))
                child->item = NewItem(*child, node.item);
        }
    }
    m_wnd->addTopLevelItems(roots);
    for (auto& [key, node] : m_nodes) {
        if (node.item && node.expanded)
            node.item->setExpanded(true);
    }
    if (const CTreeItemData* selected = SelectedNode(); selected && selected->item)
        m_wnd->setCurrentItem(selected->item);
}

void CMyTreeCtrl::SyncCurrent()
{
    if (!m_wnd)
        return;
    const CSuppress quiet(*this);
    const CTreeItemData* selected = SelectedNode();
    m_wnd->setCurrentItem(selected ? selected->item : nullptr);
}

// ---- Images ---------------------------------------------------------------------

bool CMyTreeCtrl::SetImageList(std::vector<std::int32_t> iconIds)
{
    m_images.SetIconIds(std::move(iconIds));
    return false;
}

bool CMyTreeCtrl::SetIcon(const QString& iconFile, const QString& selIconFile, int iconId,
                          int position, int maximum)
{
    const bool done = m_images.SetIcon(iconFile, selIconFile, iconId, position, maximum);
    if (m_wnd)
        m_wnd->viewport()->update();
    return done;
}

// ---- Input ----------------------------------------------------------------------

void CMyTreeCtrl::OnCurrentItemChanged()
{
    if (m_quiet > 0 || m_selectionPending || !m_wnd)
        return;
    m_selectionPending = true;
    QTimer::singleShot(0, m_wnd, [this] { HandlePendingSelection(); });
}

void CMyTreeCtrl::HandlePendingSelection()
{
    if (!m_selectionPending)
        return;
    m_selectionPending = false;
    if (m_wnd && m_wnd->currentItem())
        OnSelChanged(m_wnd->currentItem());
}

void CMyTreeCtrl::OnSelChanged(QTreeWidgetItem* item)
{
    const CTreeItemData* before = SelectedNode();
    if (!item || (before && before->item == item))
        return;
    // An item without a record (a replaced root's) leaves the selection.
    if (CTreeItemData* node = NodeOfItem(item)) {
        m_selectedKey = node->key;
        node->expanded = item->isExpanded();
    }
    m_manager.Refresh(false, true);
    std::int32_t key = 0;
    QString text;
    if (GetSelKey(&key, &text)) {
        m_lastKey = key;
        m_lastText = text;
    }
    m_ctrl.FireTreeLButDown(m_lastKey, m_lastText);
}

void CMyTreeCtrl::OnItemExpanded(QTreeWidgetItem* item, bool expanded)
{
    if (CTreeItemData* node = NodeOfItem(item))
        node->expanded = expanded;
}

void CMyTreeCtrl::OnDblClk()
{
    HandlePendingSelection();
    std::int32_t key = 0;
    QString text;
    if (GetSelKey(&key, &text)) {
        m_lastKey = key;
        m_lastText = text;
    }
    m_manager.FireDblClick(true);
}

void CMyTreeCtrl::OnRButtonDown(QPoint pos)
{
    HandlePendingSelection();
    if (!m_wnd)
        return;
    const QPoint global = m_wnd->viewport()->mapToGlobal(pos);
    std::int32_t popupKey = 0;
    if (QTreeWidgetItem* item = m_wnd->itemAt(pos)) {
        if (const CTreeItemData* node = NodeOfItem(item)) {
            popupKey = node->key;
            if (node == SelectedNode())
                m_manager.Refresh(false, true);
            else
                SelectKey(popupKey);
        }
    }
    // The container may have changed anything in TreeLButDown.
    if (!m_wnd)
        return;
    const int command = m_menu.Track(CMyPopMenu::Popup::Tree, popupKey, global);
    if (command != 0)
        m_ctrl.OnCommand(command, CSarvexCtrl::kFromTree);
}

} // namespace Sarvex
