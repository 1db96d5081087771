#include "review/XlsTimeSheetWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "review/RegsiterXSL.h"
#include "review/XlsTimeSheet.h"
#include "ui/ResourceIds.h"

void RegisterXlsTimeSheetWindows(CDBClass* db)
{
    RegisterHubWindow(ID_REGISTER_XSL,
                      [](CDummyDlg& hub) -> IHubWindow* { return new CRegsiterXSL(&hub); });
    // The workbook has no window: the command runs here and gives the hub none.
    RegisterHubWindow(ID_XLS_TIMESHEET, [db](CDummyDlg&) -> IHubWindow* {
        static bool running = false;
        CDBClass* facade = db ? db : HasApp() ? theApp().Facade() : nullptr;
        if (!facade || running || !CProfile::XlsTimeSheetOffered())
            return nullptr;
        running = true;
        QString folder;
        QString templateFile;
        CProfile::GetXlsSettings(folder, templateFile);
        CXlsTimeSheet(*facade, folder, templateFile).Run();
        running = false;
        return nullptr;
    });
}
