#include "treelist/MyColorBut.h"

#include "treelist/ViewManager.h"

#include <QMouseEvent>
#include <QPainter>

namespace Sarvex {

namespace {

constexpr int kSplitterPane = 3;

} // namespace

CMyColorBut::CMyColorBut(CViewManager& manager, const QColor& colour, QWidget* parent)
    : QWidget(parent)
    , m_colour(colour)
    , m_manager(manager)
{
    setCursor(Qt::SizeHorCursor);
    setFocusPolicy(Qt::TabFocus);
}

void CMyColorBut::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = true;
    QWidget::mousePressEvent(event);
}

void CMyColorBut::mouseMoveEvent(QMouseEvent* event)
{
    // The bar holds the mouse while a button is down, so x may leave it.
    if (m_dragging) {
        const QPoint at = event->position().toPoint();
        m_manager.OnSplitterMove(0, at.x(), at.y(), kSplitterPane);
    }
}

void CMyColorBut::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_manager.OnSplitterMove(1, at.x(), at.y(), kSplitterPane);
    m_dragging = false;
}

void CMyColorBut::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

} // namespace Sarvex
