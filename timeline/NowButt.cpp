#include "timeline/NowButt.h"

#include "timeline/PlentorCtrl.h"

#include <QPainter>

#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <algorithm>

CNowButt::CNowButt(CPlentorCtrl& ctrl, QWidget* parent)
    : QToolButton(parent)
    , m_ctrl(ctrl)
{
    setObjectName(QStringLiteral("id%1").arg(CTimeLine::kNowButton));
    // Keys always go to the control, never to a button.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("Add Block Now"));
    connect(this, &QToolButton::clicked, this,
            [this] { m_ctrl.OnChildButton(CTimeLine::kNowButton); });
}

void CNowButt::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    // A clock face with its hands at ten past ten.
    const int side = std::min(width(), height()) - 6;
    if (side < 5)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face(QPointF((width() - side) / 2.0, (height() - side) / 2.0), QSizeF(side, side));
    const QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(face);
    const QPointF centre = face.center();
    painter.drawLine(centre, centre + QPointF(0, -side * 0.36));
    painter.drawLine(centre, centre + QPointF(side * 0.28, 0));
}
