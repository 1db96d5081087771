#pragma once

#include <QColor>
#include <QWidget>

namespace Sarvex {

class CViewManager;

// The splitter bar between the tree and the right pane: a drag reports its
// moves (code 0) and the drop (code 1) to the view manager, in the bar's
// own coordinates.
class CMyColorBut : public QWidget {
public:
    CMyColorBut(CViewManager& manager, const QColor& colour, QWidget* parent);

    bool IsDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dragging = false;
    QColor m_colour;
    CViewManager& m_manager;
};

} // namespace Sarvex
