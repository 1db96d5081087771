#include "ui/TipRichEdit.h"

#include <QHelpEvent>

CTipRichEdit::CTipRichEdit(QWidget* owner, int value)
    : CRichTextCtrl(owner)
    , m_value(value)
{}

bool CTipRichEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tip.HandleToolTip(this, static_cast<QHelpEvent*>(event), true);
        return true;
    }
    return CRichTextCtrl::event(event);
}
