#include "ui/MyColorBut.h"

#include "ui/TreeListDlg.h"

#include <QMouseEvent>

CMyColorBut::CMyColorBut(CTreeListDlg* owner, int value, QWidget* parent)
    : QWidget(parent ? parent : owner)
    , m_value(value)
    , m_owner(owner)
{
    setCursor(Qt::SizeHorCursor);
    setMouseTracking(true);
}

void CMyColorBut::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = true;
    QWidget::mousePressEvent(event);
}

void CMyColorBut::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && m_owner) {
        const QPoint at = event->position().toPoint();
        m_owner->OnSplitterMoved(0, at.x(), at.y());
    }
    QWidget::mouseMoveEvent(event);
}

void CMyColorBut::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // The release is reported even without a drag before it.
    if (m_owner) {
        const QPoint at = event->position().toPoint();
        m_owner->OnSplitterMoved(1, at.x(), at.y());
    }
    m_dragging = false;
}

void CMyColorBut::paintEvent(QPaintEvent*) {}
