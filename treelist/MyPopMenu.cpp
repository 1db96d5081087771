#include "treelist/MyPopMenu.h"

#include "treelist/SarvexIds.h"

#include <QAction>
#include <QMenu>

namespace Sarvex {

CMyPopMenu::CMyPopMenu(int commandBase)
    : m_base(commandBase)
{}

std::int32_t CMyPopMenu::AddItem(std::int32_t ownerKey, std::int32_t uid, std::int32_t flags,
                                 const QString& menuStr, const QString& retStr)
{
    CMenuItemData item;
    item.menuStr = menuStr;
    item.retStr = retStr;
    item.flags = flags;
    item.ownerKey = ownerKey;
    item.uid = uid;
    m_items.emplace(ownerKey, std::move(item));
    return uid;
}

bool CMyPopMenu::ChangeItem(std::int32_t flags, std::int32_t id, const QString& menuStr)
{
    // -1 marks the items the last popup left out: none of them is meant.
    if (id < 0)
        return false;
    for (auto& [key, item] : m_items) {
        if (item.commandId == id) {
            item.flags = flags;
            item.menuStr = menuStr;
            return true;
        }
    }
    return false;
}

bool CMyPopMenu::DeleteItem(std::int32_t id)
{
    if (id < 0)
        return false;
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (it->second.commandId == id) {
            m_items.erase(it);
            return true;
        }
    }
    return false;
}

bool CMyPopMenu::FindByCommand(std::int32_t id, std::int32_t* uid, QString* retStr) const
{
    if (id < 0)
        return false;
    for (const auto& [key, item] : m_items) {
        if (item.commandId == id) {
            *uid = item.uid;
            *retStr = item.retStr;
            return true;
        }
    }
    return false;
}

bool CMyPopMenu::FindByKey(std::int32_t key, QString* retStr) const
{
    const auto it = m_items.find(key);
    if (it == m_items.end()) {
        retStr->clear();
        return false;
    }
    *retStr = it->second.retStr;
    return true;
}

void CMyPopMenu::Build(QMenu& menu, Popup popup, std::int32_t key)
{
    int next = m_base;
    const auto takeId = [&next, this] { return next < m_base + kIdsPerPane ? next++ : -1; };

    for (auto& [owner, item] : m_items) {
        const bool shown = popup == Popup::Browse || owner == key;
        item.commandId = shown ? takeId() : -1;
        if (item.commandId < 0)
            continue;
        if (popup != Popup::Tree || !(item.flags & SarvexIds::kMenuPopup))
            Append(menu, item);
    }
    if (popup != Popup::Tree)
        return;

    // Sub-menus follow the plain items: each holds the items owned by the
    // uid of the item that opens it.
    const auto [first, last] = m_items.equal_range(key);
    for (auto it = first; it != last; ++it) {
        const CMenuItemData& opener = it->second;
        if (!(opener.flags & SarvexIds::kMenuPopup) || opener.commandId < 0)
            continue;
        QMenu* sub = menu.addMenu(opener.menuStr);
        sub->setEnabled(!(opener.flags & (SarvexIds::kMenuGrayed | SarvexIds::kMenuDisabled)));
        const auto [subFirst, subLast] = m_items.equal_range(opener.uid);
        for (auto s = subFirst; s != subLast; ++s) {
            CMenuItemData& item = s->second;
            // One level of sub-menus.
            if (&item == &opener || (item.flags & SarvexIds::kMenuPopup))
                continue;
            item.commandId = takeId();
            if (item.commandId >= 0)
                Append(*sub, item);
        }
    }
}

void CMyPopMenu::Append(QMenu& menu, const CMenuItemData& item) const
{
    if (item.flags & SarvexIds::kMenuSeparator) {
        menu.addSeparator();
        return;
    }
    QAction* action = menu.addAction(item.menuStr);
    action->setData(item.commandId);
    action->setEnabled(!(item.flags & (SarvexIds::kMenuGrayed | SarvexIds::kMenuDisabled)));
    if (item.flags & SarvexIds::kMenuChecked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

int CMyPopMenu::Track(Popup popup, std::int32_t key, QPoint globalPos)
{
    // No parent: the pane may go while the menu is up.
    QMenu menu;
    menu.setObjectName(QStringLiteral("sarvexMenu"));
    Build(menu, popup, key);
    if (menu.isEmpty())
        return 0;
    // An item triggered by any means counts, not only one clicked.
    const QAction* chosen = nullptr;
    QObject::connect(&menu, &QMenu::triggered, &menu,
                     [&chosen](QAction* action) { chosen = action; });
    if (const QAction* clicked = menu.exec(globalPos))
        chosen = clicked;
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace Sarvex
