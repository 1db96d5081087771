#include "ui/ElidedLabel.h"

#include "platform/Characters.h"

#include <QFontMetrics>

CElidedLabel::CElidedLabel(QWidget* parent, Qt::TextElideMode mode)
    : QLabel(parent)
    , m_mode(mode)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void CElidedLabel::SetFullText(const QString& text)
{
    m_full = text;
    setToolTip(PlainTipText(text));
    Elide();
    updateGeometry();
}

QSize CElidedLabel::minimumSizeHint() const
{
    // Enough for a few letters and the ellipsis; the rest may be cut.
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(QStringLiteral("MMMMMM…")), metrics.height());
}

QSize CElidedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_full) + 2, metrics.height());
}

void CElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Elide();
}

void CElidedLabel::Elide()
{
    const QString shown = fontMetrics().elidedText(m_full, m_mode, contentsRect().width());
    if (shown != text())
        setText(shown);
}
