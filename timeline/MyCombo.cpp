#include "timeline/MyCombo.h"

#include "timeline/PlentorCtrl.h"

CMyCombo::CMyCombo(CPlentorCtrl& ctrl, QWidget* parent)
    : QComboBox(parent)
    , m_ctrl(ctrl)
{
    setObjectName(QStringLiteral("id233"));
    setFocusPolicy(Qt::NoFocus);
    // Only the user's choice counts; the control sets the selection itself.
    connect(this, &QComboBox::activated, this,
            [this](int index) { m_ctrl.OnIntervalChosen(itemText(index)); });
}
