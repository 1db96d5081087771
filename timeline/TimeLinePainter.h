#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class CTimeLine;
class QPainter;

// Paints what the engine holds: the time labels, the time column with its
// blocks, the rubber band of a drag, the edge and insertion marks and the
// project column. It reads the engine and changes nothing.
class CTimeLinePainter {
public:
    struct Style {
        QFont textFont;
        QFont boldFont;
        QColor back;
        QColor buttonText;
        QColor highlight;
        QColor highlightText;
        bool focusRect = false;
        // Project names stop here: the width the container gave the control.
        int rightEdge = 0;
    };

    CTimeLinePainter(const CTimeLine& engine, const Style& style);

    void Paint(QPainter& painter, const QRect& bounds) const;

    static QColor ToQColor(unsigned colour);

private:
    void PaintTimeScale(QPainter& painter) const;
    void PaintBlocks(QPainter& painter) const;
    void PaintBlock(QPainter& painter, int startY, int stopY, const QColor& colour,
                    bool highlighted) const;
    void PaintTicks(QPainter& painter) const;
    void PaintMarks(QPainter& painter) const;
    void PaintProjects(QPainter& painter, const QRect& bounds) const;

    const CTimeLine& m_engine;
    const Style& m_style;
};
