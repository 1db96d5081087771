#include "records/ProjectInfoWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "records/ShowPrjDlg.h"
#include "ui/ResourceIds.h"

void RegisterProjectInfoWindows()
{
    RegisterHubWindow(ID_PROJECT_INFO, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return CreateProjectInfoWindow(hub, *theApp().Facade());
    });
}

IHubWindow* CreateProjectInfoWindow(CDummyDlg& hub, CDBClass& db)
{
    return new CShowPrjDlg(&hub, db, hub.m_pendingEmpId, hub.m_pendingProjId, &hub);
}
