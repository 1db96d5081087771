#include "app/MainMenuOptions.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QMenu>

void ShowRecordWindowsByOptions(QMenu* menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        const CProfile::CValues options = CurrentOptions();
        const auto show = [menu](int id, bool visible) {
            if (QAction* a = menu->findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
                a->setVisible(visible);
        };
        show(ID_CONTACTS, options.Bool("UseContacts"));
        show(ID_TASKS, options.Bool("UseToDo"));
        show(ID_CHANGE_REQUESTS, options.Bool("UseChgrqsts"));
    });
}
