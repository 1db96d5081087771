#pragma once

#include <QWidget>

class CSarvexCtrl;

namespace Sarvex {

// The control's window: the panes are its children and cover it. It tells
// the control of its paints, size changes and right-button presses.
class CSarvexWidget : public QWidget {
public:
    CSarvexWidget(CSarvexCtrl& ctrl, QWidget* parent);

    QSize sizeHint() const override { return QSize(400, 300); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CSarvexCtrl& m_ctrl;
};

} // namespace Sarvex
