#include "ui/AppIcon.h"

#include "ui/LazyIconEngine.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap DrawClock(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = qMax(1.0, size / 16.0);
    const QRectF face(pen, pen, size - 2 * pen, size - 2 * pen);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x79), pen));
    painter.setBrush(QColor(0xf4, 0xf8, 0xfc));
    painter.drawEllipse(face);
    // A time block on the face: the program books time in blocks.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3c, 0x8d, 0xbc));
    painter.drawPie(face.adjusted(pen, pen, -pen, -pen), 90 * 16, -100 * 16);
    const QPointF centre = face.center();
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x79), pen * 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -size * 0.32));
    painter.drawLine(centre, centre + QPointF(size * 0.22, size * 0.08));
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    // Drawn when the desktop first asks for it, not before the first window.
    static const QIcon icon(new CLazyIconEngine([] {
        QIcon drawn;
        for (int size : {16, 22, 24, 32, 48, 64, 128})
            drawn.addPixmap(DrawClock(size));
        return drawn;
    }));
    return icon;
}
