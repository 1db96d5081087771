#include "records/ChgRqstWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "records/ChgRqstDlg.h"
#include "records/CommentWindows.h"
#include "ui/ResourceIds.h"

void RegisterChgRqstWindows()
{
    RegisterHubWindow(ID_CHANGE_REQUESTS, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return new CChgRqstDlg(&hub, *theApp().Facade(), &hub);
    });
}

void ShowProjectChangeRequests(CDummyDlg& hub, int projId)
{
    RequestRecordWindow(hub, projId, -1, kRequestChangeRequests, ID_CHANGE_REQUESTS);
}
