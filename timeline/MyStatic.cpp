#include "timeline/MyStatic.h"

#include <QPalette>

CMyStatic::CMyStatic(QWidget* parent)
    : QLabel(QStringLiteral(" 0 hours"), parent)
{
    setObjectName(QStringLiteral("id236"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAutoFillBackground(true);
}

void CMyStatic::SetText(const QString& text)
{
    if (this->text() != text)
        setText(text);
}

void CMyStatic::SetColours(const QColor& text, const QColor& back)
{
    QPalette colours = palette();
    if (colours.color(QPalette::WindowText) == text && colours.color(QPalette::Window) == back)
        return;
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Window, back);
    setPalette(colours);
}
