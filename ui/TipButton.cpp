#include "ui/TipButton.h"

#include "ui/AutoTimerOwner.h"

#include <QHelpEvent>

CTipButton::CTipButton(IAutoTimerOwner* autoTimer, QWidget* parent)
    : QPushButton(parent)
    , m_autoTimer(autoTimer)
{
    connect(this, &QPushButton::clicked, this, &CTipButton::OnClicked);
}

void CTipButton::SetOwner(ITipButtonOwner* owner, int ownerKind, int buttonId)
{
    m_owner = owner;
    m_ownerKind = ownerKind;
    m_buttonId = buttonId;
}

void CTipButton::SetTip(const QString& text, int mode)
{
    QString tip = text;
    if (mode >= 0 && m_autoTimer)
        tip = QStringLiteral("%1 Logging %2")
                  .arg(m_autoTimer->IsTiming() ? QStringLiteral("Stop") : QStringLiteral("Start"),
                       text);
    m_tip.SetTip(this, tip);
}

bool CTipButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tip.HandleToolTip(this, static_cast<QHelpEvent*>(event));
        return true;
    }
    return QPushButton::event(event);
}

void CTipButton::OnClicked()
{
    if (m_autoTimer && m_ownerKind == kTipOwnerAutoTimer) {
        m_autoTimer->OnGo();
        return;
    }
    if (!m_owner)
        return;
    switch (m_ownerKind) {
    case kTipOwnerTimeSheet:
        m_owner->OnDayButtonMsg(m_buttonId);
        break;
    case kTipOwnerSaveTimes:
        m_owner->OnTipButton(m_buttonId);
        break;
    case kTipOwnerReview:
        m_owner->OnButtonId(m_buttonId);
        break;
    case kTipOwnerChangeRequestEdit:
    case kTipOwnerChangeRequestItems:
    case kTipOwnerCommentView:
        m_owner->OnTipButtonClick(m_buttonId);
        break;
    case kTipOwnerProjectTasks:
        m_owner->OnAutoEstimate(m_buttonId);
        break;
    case kTipOwnerProjectInfo:
        m_owner->OnUpdateTotals();
        break;
    default:
        break;
    }
}
