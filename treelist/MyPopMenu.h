#pragma once

#include "treelist/MenuItemData.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <map>

class QMenu;
class QWidget;

namespace Sarvex {

// The popup menu of one pane: items owned by keys, rebuilt at every right
// click from the items of the key clicked. Command ids are handed out at
// popup time from the pane's base, so a command names the pane it came
// from; an item keeps its id until the next popup of that pane.
class CMyPopMenu {
public:
    static constexpr int kListBase = 1025;
    static constexpr int kTreeBase = 1225;
    static constexpr int kBrowseBase = 1425;
    // Each pane has this many ids; items past them are left out of a popup
    // rather than given an id of the next pane's range.
    static constexpr int kIdsPerPane = 200;

    enum class Popup {
        Tree,   // the key's items, with sub-menus
        List,   // the key's items
        Browse, // every item
    };

    explicit CMyPopMenu(int commandBase);
    CMyPopMenu(const CMyPopMenu&) = delete;
    CMyPopMenu& operator=(const CMyPopMenu&) = delete;

    int CommandBase() const { return m_base; }
    bool OwnsCommand(int id) const { return id >= m_base && id < m_base + kIdsPerPane; }

    // Returns uid.
    std::int32_t AddItem(std::int32_t ownerKey, std::int32_t uid, std::int32_t flags,
                         const QString& menuStr, const QString& retStr);
    // The first item (in key order) showing command id `id` at the last
    // popup; false when there is none.
    bool ChangeItem(std::int32_t flags, std::int32_t id, const QString& menuStr);
    bool DeleteItem(std::int32_t id);
    bool FindByCommand(std::int32_t id, std::int32_t* uid, QString* retStr) const;
    // The return string of the first item owned by key.
    bool FindByKey(std::int32_t key, QString* retStr) const;
    void DeleteAll() { m_items.clear(); }
    int ItemCount() const { return static_cast<int>(m_items.size()); }

    // Gives the items their command ids for a popup of key and fills menu
    // with them; an action's data is its command id.
    void Build(QMenu& menu, Popup popup, std::int32_t key);
    // Builds and shows the popup at a screen point; the command id chosen,
    // or 0 when the menu was closed without a choice.
    int Track(Popup popup, std::int32_t key, QPoint globalPos);

private:
    void Append(QMenu& menu, const CMenuItemData& item) const;

    int m_base;
    // Items with the same key keep the order they were added in.
    std::multimap<std::int32_t, CMenuItemData> m_items;
};

} // namespace Sarvex
