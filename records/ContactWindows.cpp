#include "records/ContactWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "records/ContactDlg.h"
#include "ui/ResourceIds.h"

void RegisterContactWindows()
{
    RegisterHubWindow(ID_CONTACTS, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return new CContactDlg(&hub, *theApp().Facade(), &hub);
    });
}
