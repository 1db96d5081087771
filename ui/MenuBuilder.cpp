#include "ui/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void AddMenuEntries(QMenu* menu, const QList<CMenuEntry>& items, const CommandHandler& onCommand)
{
    for (const CMenuEntry& item : items) {
        if (item.text.isEmpty()) {
            menu->addSeparator();
        } else if (!item.items.isEmpty() || item.command == 0) {
            // A text without a command is a popup, also while it is empty.
            menu->addMenu(BuildMenu(item, menu, onCommand));
        } else {
            QAction* action = menu->addAction(item.text);
            action->setData(item.command);
            action->setObjectName(QStringLiteral("cmd%1").arg(item.command));
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, menu,
                             [onCommand, command] { onCommand(command); });
        }
    }
}

QMenu* BuildMenu(const CMenuEntry& popup, QWidget* parent, const CommandHandler& onCommand)
{
    auto* menu = new QMenu(popup.text, parent);
    AddMenuEntries(menu, popup.items, onCommand);
    return menu;
}

QMenuBar* BuildMenuBar(const QList<CMenuEntry>& popups, QWidget* parent,
                       const CommandHandler& onCommand)
{
    auto* bar = new QMenuBar(parent);
    for (const CMenuEntry& popup : popups)
        bar->addMenu(BuildMenu(popup, bar, onCommand));
    return bar;
}
