#include "ui/CaptionWidth.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int CaptionWidth(const QWidget& window)
{
    QFont font = window.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon on one side, minimise, maximise and close on the other, each
    // about as wide as the bar is high.
    const int bar = metrics.height() + 8;
    return metrics.horizontalAdvance(window.windowTitle()) + 5 * bar;
}

void WidenToCaption(QWidget& window)
{
    if (!window.isWindow() || window.isMaximized() || window.isFullScreen())
        return;
    int wanted = CaptionWidth(window);
    if (const QScreen* screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        wanted = qMin(wanted, screen->availableGeometry().width());
    wanted = qMin(wanted, window.maximumWidth());
    if (window.width() < wanted)
        window.resize(wanted, window.height());
}
