#include "ui/TabPage.h"

CTabPage::CTabPage(int templateId, QWidget* parent)
    : CDialogBase(templateId, parent)
{
    // A page lives inside another window, never as a window of its own.
    setWindowFlags(Qt::Widget);
}

CDialogBase* CTabPage::OuterDialog() const
{
    for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget())
        if (auto* dialog = qobject_cast<CDialogBase*>(widget))
            return dialog;
    return nullptr;
}

bool CTabPage::OnCommand(int id)
{
    const bool handled = OnPageCommand(id);
    if (m_commandRoute)
        if (CDialogBase* outer = OuterDialog())
            return outer->OnCommand(id);
    return handled;
}

bool CTabPage::Notify(int controlId, int code)
{
    const bool handled = OnNotify(controlId, code);
    if (m_notifyRoute)
        if (auto* owner = dynamic_cast<ITabPageOwner*>(OuterDialog()))
            return owner->OnPageNotify(controlId, code);
    return handled;
}

bool CTabPage::ControlEvent(int controlId, int eventId)
{
    if (m_eventRoute)
        if (auto* owner = dynamic_cast<ITabPageOwner*>(OuterDialog()))
            return owner->OnPageControlEvent(controlId, eventId);
    return OnControlEvent(controlId, eventId);
}
