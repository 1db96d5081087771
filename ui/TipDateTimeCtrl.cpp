#include "ui/TipDateTimeCtrl.h"

#include "ui/TimeSheetOwner.h"
#include "ui/VirtualKeys.h"

#include <QCalendarWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>

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

void CTipDateTimeCtrl::UseFramedCalendarPopup()
{
    setCalendarPopup(true);
    QCalendarWidget* calendar = calendarWidget();
    m_popup = calendar ? calendar->parentWidget() : nullptr;
    if (!m_popup)
        return;
    if (QLayout* layout = m_popup->layout())
        layout->setContentsMargins(2, 2, 2, 2);
    m_popup->installEventFilter(this);
}

bool CTipDateTimeCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_popup && event->type() == QEvent::Paint) {
        QPainter painter(m_popup);
        painter.fillRect(m_popup->rect(), m_popup->palette().color(QPalette::Window));
        painter.setPen(m_popup->palette().color(QPalette::Dark));
        painter.drawRect(m_popup->rect().adjusted(0, 0, -1, -1));
        return true;
    }
    return QDateTimeEdit::eventFilter(watched, event);
}
