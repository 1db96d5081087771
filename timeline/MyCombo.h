#pragma once

#include <QComboBox>

class CPlentorCtrl;

// The interval choice (control 233): a new choice changes the rows'
// increment.
class CMyCombo : public QComboBox {
    Q_OBJECT
public:
    CMyCombo(CPlentorCtrl& ctrl, QWidget* parent);

private:
    CPlentorCtrl& m_ctrl;
};
