#include "review/ExchangeWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "review/ExportTimeSheetsDlg.h"
#include "review/ImportTimeSheetsDlg.h"
#include "ui/ResourceIds.h"

void RegisterExchangeWindows()
{
    // One export or import at a time: the tray may ask again while one runs.
    RegisterHubWindow(ID_EXPORT, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade() || CTimeSheetExchangeDlg::IsRunning())
            return nullptr;
        return new CExportTimeSheetsDlg(*theApp().Facade(), &hub, &hub);
    });
    RegisterHubWindow(ID_IMPORT, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade() || CTimeSheetExchangeDlg::IsRunning())
            return nullptr;
        return new CImportTimeSheetsDlg(*theApp().Facade(), &hub, &hub);
    });
}
