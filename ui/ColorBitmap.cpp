#include "ui/ColorBitmap.h"

bool CColorBitmap::Load()
{
    m_image = QImage(kSize, kSize, QImage::Format_RGB888);
    m_image.fill(Qt::white);
    return !m_image.isNull();
}

bool CColorBitmap::Fill(quint32 colorRef)
{
    if (m_image.isNull() || m_image.format() != QImage::Format_RGB888)
        return false;
    m_image.fill(ColorFromColorRef(colorRef));
    return true;
}

QColor CColorBitmap::ColorFromColorRef(quint32 colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}
