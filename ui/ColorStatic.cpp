#include "ui/ColorStatic.h"

CColorStatic::CColorStatic(QWidget* parent)
    : QLabel(parent)
{
    ApplyLook();
}

CColorStatic::CColorStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    ApplyLook();
}

void CColorStatic::SetTextColor(const QColor& color)
{
    m_color = color;
    ApplyLook();
}

void CColorStatic::ApplyLook()
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_color);
    setPalette(colours);
    setAutoFillBackground(false);
}
