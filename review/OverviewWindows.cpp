#include "review/OverviewWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "review/EmpOverviewDlg.h"
#include "review/OverviewXmlSource.h"
#include "ui/ResourceIds.h"

void RegisterOverviewWindows()
{
    RegisterHubWindow(ID_OVERVIEW, [](CDummyDlg& hub) -> IHubWindow* {
        if (!HasApp() || !theApp().Facade())
            return nullptr;
        CDBClass& db = *theApp().Facade();
        if (db.GetProviderKind() != kProviderPostgres) {
            ShowMessageBox(QStringLiteral("The overview is made by the server's procedures: it "
                                          "needs a PostgreSQL database."),
                           kMbOk | kMbIconInformation);
            return nullptr;
        }
        return CEmpOverviewDlg::Create(&hub, db, std::make_unique<COverviewXmlSource>(db), &hub);
    });
}
