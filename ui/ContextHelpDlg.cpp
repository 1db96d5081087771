#include "ui/ContextHelpDlg.h"

#include "platform/Trace.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>

namespace {
IContextHelpHook* s_helpHook = nullptr;
constexpr const char* kHelpIdProperty = "kelvaneHelpId";

bool IsHelpKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_F1 && !(event.modifiers() & Qt::ShiftModifier);
}
} // namespace

CContextHelpDlg::CContextHelpDlg(int templateId, QWidget* parent)
    : CDialogBase(templateId, parent)
{
    CKeyFilter::Install();
}

void CContextHelpDlg::SetContextHelpId(QWidget* widget, int helpId)
{
    if (widget)
        widget->setProperty(kHelpIdProperty, helpId);
}

int CContextHelpDlg::GetContextHelpId(const QWidget* widget)
{
    return widget ? widget->property(kHelpIdProperty).toInt() : 0;
}

void CContextHelpDlg::SetHelpHook(IContextHelpHook* hook)
{
    s_helpHook = hook;
}

bool CContextHelpDlg::OnCommandHelp()
{
    const int helpId = GetContextHelpId(QApplication::focusWidget());
    if (s_helpHook)
        s_helpHook->ShowContextHelp(helpId);
    else
        qCDebug(lcUi) << "CContextHelpDlg::OnCommandHelp: no help shown for id" << helpId;
    return true;
}

bool CContextHelpDlg::TakesKey(const QKeyEvent& event) const
{
    return IsHelpKey(event);
}

bool CContextHelpDlg::PreTranslateKey(QKeyEvent& event)
{
    if (!IsHelpKey(event))
        return false;
    if (event.type() == QEvent::KeyPress)
        OnCommandHelp();
    return true;
}
