#pragma once

#include "timeline/TimeLine.h"

#include <QWidget>

#include <array>
#include <vector>

class CMyButt;
class CMyCombo;
class CMyStatic;
class CNowButt;
class CPlentorCtrl;
class QHelpEvent;

// The control's window: it paints the engine's state and hands mouse, key
// and focus input to the control. Its children are the scroll and page
// buttons, the interval choice and the hours label.
class CTimeLineWidget : public QWidget {
    Q_OBJECT
public:
    CTimeLineWidget(CPlentorCtrl& ctrl, QWidget* parent);

    // The engine changed: follow it in the children and repaint.
    void EngineChanged();
    // Runs the right-button menu at a point; the chosen command, or 0.
    int RunContextMenu(const std::vector<CTimeLine::MenuItem>& items, QPoint at);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool HandleKey(QKeyEvent* event, bool release);
    std::array<QWidget*, 6> Children() const;
    void ShowToolTip(QHelpEvent* event);

    CPlentorCtrl& m_ctrl;
    CMyButt* m_scrollUp = nullptr;
    CMyButt* m_scrollDown = nullptr;
    CMyButt* m_page = nullptr;
    CNowButt* m_now = nullptr;
    CMyCombo* m_combo = nullptr;
    CMyStatic* m_hours = nullptr;
    QSize m_minimumHint;
};
