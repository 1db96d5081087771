#include "timeline/MyButt.h"

#include "timeline/PlentorCtrl.h"

#include <QEvent>

CMyButt::CMyButt(CPlentorCtrl& ctrl, int id, const QString& tip, QWidget* parent)
    : QToolButton(parent)
    , m_ctrl(ctrl)
    , m_id(id)
    , m_tip(tip)
{
    setObjectName(QStringLiteral("id%1").arg(id));
    // Keys always go to the control, never to a button.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(tip);
    if (id == CTimeLine::kPageButton) {
        setArrowType(Qt::RightArrow);
    } else {
        setArrowType(id == CTimeLine::kScrollUpButton ? Qt::UpArrow : Qt::DownArrow);
        setAutoRepeat(true);
        setAutoRepeatDelay(150);
    }
    connect(this, &QToolButton::clicked, this, [this] { m_ctrl.OnChildButton(m_id); });
}

bool CMyButt::event(QEvent* event)
{
    // The tip the user is shown is the container's status text too.
    if (event->type() == QEvent::ToolTip)
        m_ctrl.SetMsgText(m_tip);
    return QToolButton::event(event);
}
