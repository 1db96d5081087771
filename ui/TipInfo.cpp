#include "ui/TipInfo.h"

#include "platform/Characters.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

void TipInfo::SetTip(const QWidget* control, const QString& text)
{
    m_rect = control ? control->rect() : QRect();
    m_text = text;
    m_created = true;
}

bool TipInfo::Relays(const QPoint& point) const
{
    // The right and bottom edges lie one past the last pixel.
    return m_created && point.x() > m_rect.left() && point.x() < m_rect.left() + m_rect.width() &&
           point.y() > m_rect.top() && point.y() < m_rect.top() + m_rect.height();
}

bool TipInfo::HandleToolTip(QWidget* control, QHelpEvent* event, bool everywhere) const
{
    const bool show = m_created && !m_text.isEmpty() &&
                      (everywhere ? control->rect().contains(event->pos()) : Relays(event->pos()));
    if (show)
        QToolTip::showText(event->globalPos(), PlainTipText(m_text), control, m_rect);
    else
        QToolTip::hideText();
    return show;
}
