#pragma once

#include "treelist/ImageList.h"
#include "treelist/MyPopMenu.h"
#include "treelist/TreeItemData.h"

#include <QHash>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class CSarvexCtrl;
class QPoint;
class QRect;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace Sarvex {

class CViewManager;

// The left pane: a tree whose nodes the container names by its own keys.
// Every node has a record (text, parent, children, image, selected and
// expanded flags, a storage text) kept in key order, so the pane can
// rebuild its items and answer for any key. Its window exists from the
// control's first paint; before that the records are all there is.
//
// Selection changes are told to the container (TreeLButDown) after the
// right pane shows the new key. A change the user makes is handled once
// the input event is over, so the container may rebuild the tree from its
// handler; one the container makes (SelectKey) is handled at once.
class CMyTreeCtrl {
public:
    static constexpr int kWindowId = 203;

    CMyTreeCtrl(CSarvexCtrl& ctrl, CViewManager& manager);
    ~CMyTreeCtrl();
    CMyTreeCtrl(const CMyTreeCtrl&) = delete;
    CMyTreeCtrl& operator=(const CMyTreeCtrl&) = delete;

    // ---- Window --------------------------------------------------------------
    // Makes the window in parent and gives the stored nodes their items.
    void Create(QWidget* parent, const QRect& rect);
    QWidget* Window() const;

    // ---- Nodes ---------------------------------------------------------------
    // A key that exists gets a new record; its older item stays.
    void AddRoot(const QString& text, std::int32_t key, int iconId);
    // Nothing is stored under an unknown parent.
    void AddChild(const QString& text, std::int32_t key, std::int32_t parentKey, int iconId);
    // The item's text only: the record keeps the text it was added with.
    bool ModifyText(std::int32_t key, const QString& text);
    bool SelectKey(std::int32_t key);
    // The selected node; with none selected the lowest key becomes the
    // selected one (without telling the container). False for an empty tree.
    bool GetSelKey(std::int32_t* key, QString* text = nullptr, bool* expanded = nullptr);
    // The selected node's key, selecting nothing.
    std::optional<std::int32_t> SelectedKey() const;
    // The node's item and record, and the whole subtree's, depth first; the
    // keys' list definitions go as well.
    bool DeleteKey(std::int32_t key);
    // Every node and every popup-menu item.
    void DropAll();
    bool SelectFirst();
    // The text of the child at position pos (from 0), and its key; "" and
    // -1 when there is none.
    QString GetChild(std::int32_t parentKey, std::int32_t pos, std::int32_t* key) const;
    // -1 for an unknown key.
    std::int32_t ParentOf(std::int32_t key) const;
    std::int32_t ChildCount(std::int32_t key) const;
    void SetStorage(std::int32_t key, const QString& text);
    QString GetStorage(std::int32_t key) const;
    // code 1 collapse, 2 expand, 3 toggle.
    void Expand(std::int32_t key, std::int32_t code);
    bool HasNode(std::int32_t key) const { return m_nodes.count(key) != 0; }
    int NodeCount() const { return static_cast<int>(m_nodes.size()); }

    // ---- Items ---------------------------------------------------------------
    // The window's items from the records, in key order.
    void Rebuild();
    // The window's items go; the records stay for Rebuild.
    void RemoveAllItems();
    // False without a window.
    bool HasWindow() const;

    // ---- Images ----------------------------------------------------------------
    // No image-list object crosses the dispatch layer: the images stay and
    // only the icon ids are taken; false.
    bool SetImageList(std::vector<std::int32_t> iconIds);
    bool SetIcon(const QString& iconFile, const QString& selIconFile, int iconId, int position,
                 int maximum);

    CMyPopMenu& Menu() { return m_menu; }
    // The key and text read at the last selection change or double-click.
    std::int32_t LastKey() const { return m_lastKey; }
    const QString& LastText() const { return m_lastText; }

    // ---- The window's input ----------------------------------------------------
    void OnCurrentItemChanged();
    void OnItemExpanded(QTreeWidgetItem* item, bool expanded);
    void OnDblClk();
    void OnRButtonDown(QPoint pos);

private:
    class CSuppress;

    CTreeItemData* Node(std::int32_t key);
    const CTreeItemData* Node(std::int32_t key) const;
    CTreeItemData* NodeOfItem(QTreeWidgetItem* item);
    CTreeItemData* SelectedNode();
    QTreeWidgetItem* NewItem(const CTreeItemData& node, QTreeWidgetItem* parent);
    // Forgets the item and its descendants before they are deleted.
    void ForgetItems(QTreeWidgetItem* item);
    bool DeleteOne(std::int32_t key);
    // The window's current item follows the selected node, silently.
    void SyncCurrent();
    void HandlePendingSelection();
    // The selection moved to item: the flags, the right pane, the event.
    void OnSelChanged(QTreeWidgetItem* item);

    CSarvexCtrl& m_ctrl;
    CViewManager& m_manager;
    CMyPopMenu m_menu{CMyPopMenu::kTreeBase};
    std::int32_t m_lastKey = -1;
    QString m_lastText;
    CImageList m_images;
    std::map<std::int32_t, CTreeItemData> m_nodes;
    std::optional<std::int32_t> m_selectedKey;
    // The key each item was made for.
    QHash<QTreeWidgetItem*, std::int32_t> m_itemKeys;
    QPointer<QTreeWidget> m_wnd;
    // Above 0 while the pane itself changes the window's items.
    int m_quiet = 0;
    bool m_selectionPending = false;
};

} // namespace Sarvex
