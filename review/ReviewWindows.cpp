#include "review/ReviewWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "review/ReviewDlg.h"
#include "ui/ResourceIds.h"

void RegisterReviewWindows()
{
    RegisterHubWindow(ID_REVIEW, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        auto* review = new CReviewDlg(&hub, *theApp().Facade(), &hub);
        review->SetPeriod(hub.m_reviewStart, hub.m_reviewEnd);
        return review;
    });
}
