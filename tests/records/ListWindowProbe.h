#pragma once

#include "ui/MenuBuilder.h"
#include "ui/MyListCtrl.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QStringList>

// What the tests of the record list windows do with a window's list and
// its context menu.

inline void SelectListRow(CMyListCtrl* list, int row)
{
    list->clearSelection();
    list->SelectItem(row);
}

// A point of the list over a row and a column, in the list's coordinates.
inline QPoint ListCellPoint(const CMyListCtrl* list, int row, int column)
{
    const QRect cell = list->visualItemRect(list->topLevelItem(row));
    const QPoint inView(list->header()->sectionViewportPosition(column) + 4, cell.center().y());
    return list->viewport()->mapTo(list, inView);
}

// The texts of a menu's entries, without separators.
inline QStringList MenuTexts(const QMenu* menu)
{
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text();
    return items;
}

// The entry of a command (object name "cmd<id>"); null when the menu has none.
inline QAction* MenuCommand(const QMenu* menu, int command)
{
    return menu->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
}

// Opens the window's context menu over a cell of its list, the row
// selected; the texts of its entries. The menu is left built, not shown.
template <typename Window>
QStringList OpenListMenu(Window& window, int row, int column)
{
    SelectListRow(window.List(), row);
    const QPoint at = ListCellPoint(window.List(), row, column);
    window.ShowListMenu(at.x(), at.y(), true);
    const QStringList items = MenuTexts(window.PopupMenu());
    window.PopupMenu()->hide();
    return items;
}

// Whether a menu written as a table offers the command, at any depth.
inline bool Offers(const QList<CMenuEntry>& items, int command)
{
    for (const CMenuEntry& item : items)
        if (item.command == command || Offers(item.items, command))
            return true;
    return false;
}
