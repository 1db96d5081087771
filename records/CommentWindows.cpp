#include "records/CommentWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "records/CommentDlg.h"
#include "ui/ResourceIds.h"

#include <algorithm>

namespace {

void Request(CDummyDlg& hub, int projId, int companyId, int flag)
{
    hub.m_pendingProjId = projId;
    hub.m_pendingCompanyId = companyId;
    std::fill(std::begin(hub.m_pendingFlags), std::end(hub.m_pendingFlags), false);
    hub.m_pendingFlags[flag] = true;
    hub.OpenWindowByCommand(ID_TASKS);
}

} // namespace

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
    Request(hub, -1, companyId, kRequestCompany);
}

void ShowProjectComments(CDummyDlg& hub, int projId, bool toDos)
{
    Request(hub, projId, -1, toDos ? kRequestToDos : kRequestComments);
}
