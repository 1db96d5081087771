#include "review/SearchWindows.h"

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "review/BrowserDlg.h"
#include "review/SearchDlg.h"
#include "ui/ResourceIds.h"

namespace {

// A modal dialog as the hub runs it; goes with its dialog. The hub is its
// parent: it outlives every window the dialog may have been asked from.
class CModalWindow : public QObject, public IHubWindow {
public:
    explicit CModalWindow(CDialogBase* dialog)
        : QObject(dialog)
        , m_dialog(dialog)
    {}
    QWidget* Widget() override { return m_dialog; }
    void CloseWindow(int) override { m_dialog->reject(); }

private:
    CDialogBase* m_dialog;
};

CDBClass* Facade()
{
    return HasApp() ? theApp().Facade() : nullptr;
}

void RegisterSearch(int command, int kind)
{
    RegisterHubWindow(command, [kind](CDummyDlg& hub) -> IHubWindow* {
        if (!Facade())
            return nullptr;
        return new CModalWindow(new CSearchDlg(kind, Facade(), &hub));
    });
}

} // namespace

void RegisterSearchWindows()
{
    RegisterSearch(ID_SEARCH, ID_TIMESHEETS);
    RegisterSearch(ID_SEARCH_CONTACTS, ID_CONTACTS);
    RegisterSearch(ID_SEARCH_COMMENTS, ID_TASKS);
    RegisterSearch(ID_SEARCH_CHANGE_REQUESTS, ID_CHANGE_REQUESTS);
    RegisterHubWindow(ID_ONLINE_HELP, [](CDummyDlg& hub) -> IHubWindow* {
        auto* browser = new CBrowserDlg(&hub, CProfile::ManualFile(),
                                        QStringLiteral("Kelvane_Manual.htm"), Facade());
        browser->SetKeepsManualAddress(true);
        return new CModalWindow(browser);
    });
}
