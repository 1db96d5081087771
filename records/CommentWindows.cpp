#include "records/CommentWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "records/CommentDlg.h"
#include "ui/ResourceIds.h"

#include <algorithm>

void RequestRecordWindow(CDummyDlg& hub, int projId, int companyId, int flag, int command)
{
    hub.m_pendingProjId = projId;
    hub.m_pendingCompanyId = companyId;
    std::fill(std::begin(hub.m_pendingFlags), std::end(hub.m_pendingFlags), false);
    hub.m_pendingFlags[flag] = true;
    hub.OpenWindowByCommand(command);
}

void RegisterCommentWindows()
{
    RegisterHubWindow(ID_TASKS, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return new CCommentDlg(&hub, *theApp().Facade(), &hub);
    });
}

void ShowCompanyComments(CDummyDlg& hub, int companyId)
{
    RequestRecordWindow(hub, -1, companyId, kRequestCompany, ID_TASKS);
}

void ShowProjectComments(CDummyDlg& hub, int projId, bool toDos)
{
    RequestRecordWindow(hub, projId, -1, toDos ? kRequestToDos : kRequestComments, ID_TASKS);
}
