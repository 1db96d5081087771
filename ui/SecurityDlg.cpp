#include "ui/SecurityDlg.h"

#include "ui/AcceleratorTable.h"
#include "ui/VirtualKeys.h"

#include <QKeyEvent>

CSecurityDlg::CSecurityDlg(int templateId, QWidget* parent, int commandId)
    : CDialogBase(templateId, parent)
    , m_commandId(commandId)
{
    CKeyFilter::Install();
}

int CSecurityDlg::HandleKey(int, int)
{
    return 0;
}

int CSecurityDlg::OnKeyCommand(int, int)
{
    return 0;
}

bool CSecurityDlg::TakesKey(const QKeyEvent& event) const
{
    if (VirtualKeyOfEvent(event) == kVkEscape)
        return true;
    int keyCode = 0;
    return m_accelerators && m_accelerators->TranslateAccelerator(event, keyCode) != 0;
}

bool CSecurityDlg::PreTranslateKey(QKeyEvent& event)
{
    // Escape never cancels the window; only its press reaches the handler.
    if (VirtualKeyOfEvent(event) == kVkEscape) {
        if (event.type() == QEvent::KeyPress)
            HandleKey(kVkEscape, kWmKeyDown);
        return true;
    }
    if (event.type() != QEvent::KeyPress || !m_accelerators)
        return false;
    int keyCode = 0;
    const int command = m_accelerators->TranslateAccelerator(event, keyCode);
    if (command == 0)
        return false;
    // The accelerator's command reaches the window as a menu command would,
    // then the key itself as a key command.
    OnCommand(command);
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int modifier = modifiers & Qt::AltModifier       ? kModifierAlt
                         : modifiers & Qt::ControlModifier ? kModifierCtrl
                                                           : kModifierNone;
    OnKeyCommand(keyCode, modifier);
    return true;
}
