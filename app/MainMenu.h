#pragma once

#include "ui/MenuBuilder.h"

#include <QList>

#include <span>

class CDummyDlg;
class QMenu;
class QWidget;

// What the hub's windows share of their main menus: each window keeps its
// own table ("&Menu" with the hub's windows first), built here into the
// window's layout, and hands the hub's commands on with ForwardToHub.

// Builds the menu bar from the window's table, adds `topItem` (a command
// at the top level, such as "&Search") after the popups when it has a text,
// and puts the bar in the window's layout. The first popup offers the
// contacts, comments and change-request windows only while the options turn
// them on, checked each time it opens. Returns that popup.
QMenu* InstallMainMenu(QWidget* window, const QList<CMenuEntry>& menus,
                       const CommandHandler& onCommand, const CMenuEntry& topItem = {});

// A main-menu command the hub runs: posted to it, since the hub may close
// the window on its way; Set User after clearing the hub's user-prompt
// guard. False for a command not in the window's list.
bool ForwardToHub(CDummyDlg* hub, int command, std::span<const int> forwarded);
