// Draws the employee overview's tree icons into a folder (xml/ of the
// sources): kelvane-drawicons <folder>. The icons are kept in the sources;
// run this only to draw them again.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 16;
const QColor kInk(0x1f, 0x4e, 0x79);

QImage Draw(const std::function<void(QPainter&)>& paint)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

// The user: a head over shoulders.
void Person(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x6f, 0xa8, 0xdc));
    QPainterPath shoulders;
    shoulders.moveTo(2.5, 15.5);
    shoulders.cubicTo(2.5, 10, 13.5, 10, 13.5, 15.5);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(0xf3, 0xd2, 0xb3));
    p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
}

// Projects: a folder.
void Folder(QPainter& p)
{
    p.setPen(QPen(QColor(0x9c, 0x6b, 0x10), 1));
    p.setBrush(QColor(0xf0, 0xc0, 0x4a));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xfa, 0xd8, 0x6e));
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

// Time sheets: a ruled sheet with a clock in its corner.
void Sheet(QPainter& p)
{
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 0.5, 10, 14));
    p.setPen(QPen(QColor(0x7a, 0x9c, 0xc6), 1));
    for (double y = 3.5; y < 13; y += 2.5)
        p.drawLine(QPointF(3, y), QPointF(10, y));
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xf4, 0xf8, 0xfc));
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    p.drawLine(QPointF(12, 12), QPointF(12, 9.8));
    p.drawLine(QPointF(12, 12), QPointF(13.8, 12));
}

// Change requests: a page with a red mark for the change asked.
void Request(QPainter& p)
{
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10, 0.5);
    page.lineTo(13.5, 4);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(10, 0.5), QPointF(10, 4));
    p.drawLine(QPointF(10, 4), QPointF(13.5, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc8, 0x2a, 0x2a));
    p.drawRoundedRect(QRectF(7, 5, 2.2, 6), 1, 1);
    p.drawEllipse(QRectF(7, 12, 2.2, 2.2));
}

// Comments: a speech bubble with two lines of text.
void Bubble(QPainter& p)
{
    p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 1));
    p.setBrush(QColor(0xdc, 0xf0, 0xd8));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 1.5, 15, 10), 3, 3);
    QPainterPath tail;
    tail.moveTo(4, 11);
    tail.lineTo(3.5, 15);
    tail.lineTo(8, 11);
    tail.closeSubpath();
    p.drawPath(bubble.united(tail));
    p.drawLine(QPointF(3.5, 5), QPointF(12.5, 5));
    p.drawLine(QPointF(3.5, 8), QPointF(10, 8));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-drawicons <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char* file;
        void (*paint)(QPainter&);
    } icons[] = {
        {"setuser.Ico", Person},          {"project.Ico", Folder}, {"timesheetsf.ico", Sheet},
        {"project_request.ico", Request}, {"task.ico", Bubble},
    };
    for (const auto& icon : icons) {
        const QString file = folder.filePath(QLatin1String(icon.file));
        QImageWriter writer(file, "ico");
        if (!writer.write(Draw(icon.paint))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
