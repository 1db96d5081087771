#include "ui/TipDateTimeCtrl.h"

#include "ui/TimeSheetOwner.h"
#include "ui/VirtualKeys.h"

#include <QHelpEvent>
#include <QKeyEvent>

namespace {
bool IsArrow(int virtualKey)
{
    return virtualKey >= kVkLeft && virtualKey <= kVkDown;
}
} // namespace

CTipDateTimeCtrl::CTipDateTimeCtrl(QWidget* parent)
    : QDateTimeEdit(parent)
{}

bool CTipDateTimeCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tip.HandleToolTip(this, static_cast<QHelpEvent*>(event));
        return true;
    }
    return QDateTimeEdit::event(event);
}

void CTipDateTimeCtrl::keyPressEvent(QKeyEvent* event)
{
    const int key = VirtualKeyOfEvent(*event);
    if (m_owner && IsArrow(key)) {
        m_owner->OnKeyDown(key, event->count(), 0);
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

void CTipDateTimeCtrl::keyReleaseEvent(QKeyEvent* event)
{
    const int key = VirtualKeyOfEvent(*event);
    if (m_owner && IsArrow(key)) {
        m_owner->OnKeyUp(key, event->count(), 0);
        return;
    }
    QDateTimeEdit::keyReleaseEvent(event);
}

void CTipDateTimeCtrl::focusInEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusInEvent(event);
    // Moving the focus away comes back here when the time line hands it on.
    if (m_inFocus || !m_owner)
        return;
    m_inFocus = true;
    if (m_owner->IsHighlightObj()) {
        m_owner->FocusTimeLine();
        m_owner->InvalidateDayView();
    }
    m_inFocus = false;
}
