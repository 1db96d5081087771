#pragma once

#include <QToolButton>

class CPlentorCtrl;

// The "now" button (id 237) in the button column: a click makes the
// one-increment block at the current time, as the container's SetNowTimeObj
// does. Its face is a small clock, drawn to its size.
class CNowButt : public QToolButton {
    Q_OBJECT
public:
    CNowButt(CPlentorCtrl& ctrl, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CPlentorCtrl& m_ctrl;
};
