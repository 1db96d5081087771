#pragma once

#include "tests/support/Waiting.h"
#include "timesheet/TimeAppDlg.h"

#include <QTest>
#include <QWidget>

// The real time line of a time-sheet window, worked as a hand works it.
namespace TimeLineProbe {

// Where on the line a minute lies: the cursor time the line reports.
inline QPoint Find(CTimeAppDlg& window, QWidget* line, int minute)
{
    const QString wanted = QString::asprintf("%02i:%02i", minute / 60, minute % 60);
    for (int x = 0; x < line->width(); x += 8) {
        for (int y = 0; y < line->height(); y += 2) {
            QTest::mouseMove(line, QPoint(x, y));
            if (window.Controller().Entry().cursorText == wanted)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

// A block drawn with the left button, moving every few pixels.
inline void Draw(QWidget* line, QPoint from, QPoint to)
{
    QTest::mousePress(line, Qt::LeftButton, Qt::NoModifier, from);
    for (int y = from.y() + 3; y < to.y(); y += 3)
        QTest::mouseMove(line, QPoint(from.x(), y));
    QTest::mouseMove(line, to);
    QTest::mouseRelease(line, Qt::LeftButton, Qt::NoModifier, to);
    // What the release posted: the store, its dialog, the line drawn again.
    Waiting::Settle();
}

} // namespace TimeLineProbe
