#include "autotimer/AutoTimerWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "autotimer/AutoTimingDlg.h"
#include "ui/ResourceIds.h"

void RegisterAutoTimerWindows()
{
    RegisterHubWindow(ID_AUTO_TIMER, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return new CAutoTimingDlg(&hub, *theApp().Facade(), &hub);
    });
}
