#pragma once

#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QMenuBar;
class QWidget;

// A menu written as a table: a text with its command, or a popup with its
// items (a text without a command); an entry with no text is a separator.
struct CMenuEntry {
    QString text;
    int command = 0;
    QList<CMenuEntry> items;
};

using CommandHandler = std::function<void(int)>;

// Each action carries its command as data and the object name "cmd<id>";
// triggering it calls the handler with the command.
QMenu* BuildMenu(const CMenuEntry& popup, QWidget* parent, const CommandHandler& onCommand);
QMenuBar* BuildMenuBar(const QList<CMenuEntry>& popups, QWidget* parent,
                       const CommandHandler& onCommand);
void AddMenuEntries(QMenu* menu, const QList<CMenuEntry>& items, const CommandHandler& onCommand);
