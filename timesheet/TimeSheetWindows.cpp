#include "timesheet/TimeSheetWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "timesheet/TimeAppDlg.h"
#include "ui/ResourceIds.h"

void RegisterTimeSheetWindows()
{
    RegisterHubWindow(ID_TIMESHEETS, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        return CTimeAppDlg::Create(&hub, *theApp().Facade(), &hub);
    });
}
