#include "app/MainMenu.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

QMenu* InstallMainMenu(QWidget* window, const QList<CMenuEntry>& menus,
                       const CommandHandler& onCommand, const CMenuEntry& topItem)
{
    QMenuBar* bar = BuildMenuBar(menus, window, onCommand);
    if (!topItem.text.isEmpty()) {
        QAction* item = bar->addAction(topItem.text);
        item->setObjectName(QStringLiteral("cmd%1").arg(topItem.command));
        QObject::connect(item, &QAction::triggered, window,
                         [onCommand, command = topItem.command] { onCommand(command); });
    }
    window->layout()->setMenuBar(bar);
    QMenu* mainMenu = bar->actions().first()->menu();
    QObject::connect(mainMenu, &QMenu::aboutToShow, mainMenu,
                     [mainMenu] { CKelvaneApp::BuildProjectMenu(mainMenu); });
    return mainMenu;
}

bool ForwardToHub(CDummyDlg* hub, int command, std::span<const int> forwarded)
{
    if (std::find(forwarded.begin(), forwarded.end(), command) == forwarded.end())
        return false;
    if (hub) {
        if (command == ID_SET_USER)
            hub->SetAskingForUser(false);
        hub->PostCommand(command);
    }
    return true;
}
