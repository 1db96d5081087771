#include "autotimer/TimerIcons.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kFirstFrame = 178;
constexpr int kFrameCount = 6;
constexpr int kWindowIcon = 290;

// The program's clock face with the booked block swept round to the frame:
// each frame turns the block on by a sixth of the dial. The window's icon
// has the crown of a stopwatch.
QPixmap DrawTimer(int size, int frame, bool crown)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = qMax(1.0, size / 16.0);
    const qreal top = crown ? size * 0.14 : pen;
    const QRectF face(pen + (top - pen) / 2, top, size - 2 * pen - (top - pen), size - top - pen);
    const QColor ink(0x1f, 0x4e, 0x79);
    if (crown) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawRect(QRectF(size * 0.42, 0, size * 0.16, top));
    }
    painter.setPen(QPen(ink, pen));
    painter.setBrush(QColor(0xf4, 0xf8, 0xfc));
    painter.drawEllipse(face);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd9, 0x5b, 0x2b));
    painter.drawPie(face.adjusted(pen, pen, -pen, -pen), (90 - frame * 60) * 16, -60 * 16);
    const QPointF centre = face.center();
    painter.setPen(QPen(ink, pen * 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.translate(centre);
    painter.rotate(frame * 60 + 30);
    painter.drawLine(QPointF(0, 0), QPointF(0, -face.height() * 0.36));
    return pixmap;
}

} // namespace

QIcon TimerIcon(int resourceId)
{
    const bool window = resourceId == kWindowIcon;
    int frame = resourceId - kFirstFrame;
    if (window || frame < 0 || frame >= kFrameCount)
        frame = 0;
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48})
        icon.addPixmap(DrawTimer(size, frame, window));
    return icon;
}
