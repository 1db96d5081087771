#include "ui/AccelDlg.h"

#include "ui/AcceleratorTable.h"
#include "ui/Mnemonics.h"

#include <QKeyEvent>
#include <QPointer>

namespace {
const IAcceleratorTable* s_hubTable = nullptr;
QPointer<CDialogBase> s_hub;

int HubCommand(const QKeyEvent& event)
{
    if (!s_hubTable || !s_hub || event.type() == QEvent::KeyRelease)
        return 0;
    int keyCode = 0;
    return s_hubTable->TranslateAccelerator(event, keyCode);
}
} // namespace

CAccelDlg::CAccelDlg(int templateId, QWidget* parent)
    : CDialogBase(templateId, parent)
{
    CKeyFilter::Install();
}

void CAccelDlg::SetHubAccelerators(const IAcceleratorTable* table, CDialogBase* hub)
{
    s_hubTable = table;
    s_hub = hub;
}

bool CAccelDlg::TakesKey(const QKeyEvent& event) const
{
    // The dialog's own mnemonics come first.
    return !IsOwnMnemonic(*this, event) && HubCommand(event) != 0;
}

bool CAccelDlg::PreTranslateKey(QKeyEvent& event)
{
    if (IsOwnMnemonic(*this, event))
        return false;
    const int command = HubCommand(event);
    if (command == 0)
        return false;
    s_hub->OnCommand(command);
    return true;
}
