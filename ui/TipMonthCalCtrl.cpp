#include "ui/TipMonthCalCtrl.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>

CTipMonthCalCtrl::CTipMonthCalCtrl(QWidget* parent)
    : QCalendarWidget(parent)
{
    // Room for the focus rectangle round the calendar.
    setContentsMargins(2, 2, 2, 2);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if ((old && isAncestorOf(old)) || old == this || (now && isAncestorOf(now)) || now == this)
            update();
    });
}

bool CTipMonthCalCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tip.HandleToolTip(this, static_cast<QHelpEvent*>(event));
        return true;
    }
    return QCalendarWidget::event(event);
}

void CTipMonthCalCtrl::paintEvent(QPaintEvent* event)
{
    QCalendarWidget::paintEvent(event);
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || !(focus == this || isAncestorOf(focus)))
        return;
    // A dotted focus rectangle, whatever the style does for focus frames.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
