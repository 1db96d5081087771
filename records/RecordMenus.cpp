#include "records/RecordMenus.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

void FollowWindowOptions(QMenu* mainMenu)
{
    QObject::connect(mainMenu, &QMenu::aboutToShow, mainMenu, [mainMenu] {
        const CProfile::CValues options = CurrentOptions();
        const auto show = [mainMenu](int id, bool visible) {
            if (QAction* a = mainMenu->findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
                a->setVisible(visible);
        };
        show(ID_CONTACTS, options.Bool("UseContacts"));
        show(ID_TASKS, options.Bool("UseToDo"));
        show(ID_CHANGE_REQUESTS, options.Bool("UseChgrqsts"));
    });
}

bool ForwardToHub(CDummyDlg* hub, int command, std::initializer_list<int> forwarded)
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
