#include "treelist/SarvexWidget.h"

#include "treelist/SarvexCtrl.h"

#include <QMouseEvent>
#include <QResizeEvent>

namespace Sarvex {

CSarvexWidget::CSarvexWidget(CSarvexCtrl& ctrl, QWidget* parent)
    : QWidget(parent)
    , m_ctrl(ctrl)
{
    setObjectName(QStringLiteral("sarvexCtrl"));
    setAutoFillBackground(true);
}

void CSarvexWidget::paintEvent(QPaintEvent* /*event*/)
{
    m_ctrl.OnDraw(rect());
}

void CSarvexWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_ctrl.OnSize(event->size().width(), event->size().height());
}

void CSarvexWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        m_ctrl.OnRButtonDown(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

} // namespace Sarvex
