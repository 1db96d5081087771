#include "timeline/TimeLinePainter.h"

#include "timeline/TimeLine.h"

#include <QPainter>

#include <algorithm>

namespace {

const QColor kColumn(Qt::white);
const QColor kRowLine(0xE0, 0xE0, 0xE0);
const QColor kHourLine(0xB0, 0xB0, 0xB0);
const QColor kInsertion(Qt::red);
const QString kWorkedHours = QStringLiteral("Worked Hours: ");

} // namespace

CTimeLinePainter::CTimeLinePainter(const CTimeLine& engine, const Style& style)
    : m_engine(engine)
    , m_style(style)
{}

QColor CTimeLinePainter::ToQColor(unsigned colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void CTimeLinePainter::Paint(QPainter& painter, const QRect& bounds) const
{
    painter.fillRect(bounds, m_style.back);
    painter.setFont(m_style.textFont);
    painter.setPen(m_style.buttonText);
    painter.drawText(QPoint(1, 4 + painter.fontMetrics().ascent()), kWorkedHours);
    if (!m_engine.Bounds().isEmpty()) {
        PaintTimeScale(painter);
        PaintBlocks(painter);
        PaintTicks(painter);
        PaintMarks(painter);
        PaintProjects(painter, bounds);
    }
    if (m_style.focusRect) {
        QPen pen(m_style.buttonText, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds.adjusted(0, 0, -1, -1));
    }
}

void CTimeLinePainter::PaintTimeScale(QPainter& painter) const
{
    const int left = m_engine.ColumnLeft();
    const int gridTop = m_engine.GridTop();
    const int gridBottom = m_engine.GridBottom();
    // The column, a little taller than the grid.
    painter.fillRect(
        QRect(QPoint(left, gridTop - 1), QPoint(left + m_engine.ColumnWidth() - 1, gridBottom + 4)),
        kColumn);

    const int rows = m_engine.RowCount();
    const int rowHeight = m_engine.RowHeight();
    for (int row = 0; row <= rows; ++row) {
        const int minutes = m_engine.RowMinutes(row);
        if (minutes < 0 || minutes > CTimeLine::kMinutesPerDay)
            continue;
        const int y = m_engine.RowTop(row);
        painter.setPen(minutes % 60 == 0 ? kHourLine : kRowLine);
        painter.drawLine(left, y, left + m_engine.ColumnWidth() - 1, y);
    }

    const int x = m_engine.Bounds().left() +
                  (m_engine.Use12Hour() ? 0 : static_cast<int>(20 * m_engine.ScaleX()));
    const int labelRight = left - 3;
    painter.setPen(m_style.buttonText);
    for (int row = 0; row <= rows; ++row) {
        const QString text = m_engine.TimeLabel(row);
        if (text.isEmpty())
            continue;
        const bool onHour = m_engine.RowMinutes(row) % 60 == 0;
        painter.setFont(onHour ? m_style.boldFont : m_style.textFont);
        const int top = m_engine.RowTop(row) - rowHeight / 2;
        const QRect box(x, top, std::max(labelRight - x, 1), rowHeight);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
    }
}

void CTimeLinePainter::PaintBlock(QPainter& painter, int startY, int stopY, const QColor& colour,
                                  bool highlighted) const
{
    if (startY == stopY)
        return;
    if (stopY < startY)
        std::swap(startY, stopY);
    startY = std::max(startY, m_engine.GridTop());
    stopY = std::min(stopY, m_engine.GridBottom());
    if (stopY - startY < 2)
        return;
    const QRect box(m_engine.ColumnLeft(), startY + 1, m_engine.ColumnWidth(), stopY - startY - 1);
    if (highlighted) {
        painter.fillRect(box, Qt::white);
        painter.fillRect(box, QBrush(colour, Qt::BDiagPattern));
    } else {
        painter.fillRect(box, colour);
    }
    painter.setPen(m_style.highlight);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

void CTimeLinePainter::PaintBlocks(QPainter& painter) const
{
    const int gridTop = m_engine.GridTop();
    const int gridBottom = m_engine.GridBottom();
    const CTimeBlock* highlighted = m_engine.Highlighted();
    for (const auto& block : m_engine.Entries()) {
        if (block->m_marked)
            continue;
        const int top = m_engine.BlockTop(*block);
        const int bottom = m_engine.BlockBottom(*block);
        if (bottom < gridTop || top > gridBottom)
            continue;
        PaintBlock(painter, top, bottom, ToQColor(block->m_colour), block.get() == highlighted);
    }
    int y1 = 0;
    int y2 = 0;
    Colour colour = 0;
    if (m_engine.DragPreview(&y1, &y2, &colour))
        PaintBlock(painter, y1, y2, ToQColor(colour), false);
}

void CTimeLinePainter::PaintTicks(QPainter& painter) const
{
    const int left = m_engine.ColumnLeft();
    const QColor tick = ToQColor(m_engine.TickColour());
    for (int row = 0; row <= m_engine.RowCount(); ++row) {
        const int minutes = m_engine.RowMinutes(row);
        if (minutes < 0 || minutes > CTimeLine::kMinutesPerDay)
            continue;
        const int y = m_engine.RowTop(row);
        painter.setPen(tick);
        painter.drawLine(left - 4, y, left + (minutes % 60 == 0 ? 8 : 4), y);
    }
}

void CTimeLinePainter::PaintMarks(QPainter& painter) const
{
    const int left = m_engine.ColumnLeft();
    const int right = left + m_engine.ColumnWidth() - 1;
    const int edge = m_engine.EdgeY();
    if (edge >= 0 && !m_engine.EditLocked()) {
        painter.setPen(m_style.highlight);
        painter.drawLine(left, edge, right, edge);
    }
    if (m_engine.InsertionShown()) {
        const int y = m_engine.InsertionY();
        if (y >= m_engine.GridTop() && y <= m_engine.GridBottom())
            painter.fillRect(QRect(left, y - 1, m_engine.ColumnWidth(), 2), kInsertion);
    }
}

void CTimeLinePainter::PaintProjects(QPainter& painter, const QRect& bounds) const
{
    const auto& projects = m_engine.Projects();
    painter.setFont(m_style.textFont);
    const int lineHeight = painter.fontMetrics().height();
    for (const CTimeLine::ProjLabel& label : m_engine.ProjLabels()) {
        if (label.index < 0 || label.index >= static_cast<int>(projects.size()))
            continue;
        const bool current = label.index == m_engine.CurrentProjIndex();
        const QColor colour = ToQColor(projects[static_cast<std::size_t>(label.index)]->m_colour);
        painter.fillRect(label.button, colour);
        painter.setPen(current ? m_style.highlight : m_style.buttonText);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(label.button.adjusted(0, 0, -1, -1));
        if (current)
            painter.drawRect(label.button.adjusted(-2, -2, 1, 1));

        const int right =
            m_style.rightEdge > 0 ? std::min(m_style.rightEdge, bounds.right()) : bounds.right();
        const QRect text(label.x, label.button.center().y() - lineHeight / 2,
                         std::max(right - label.x, 1), lineHeight);
        if (current) {
            const int width =
                std::min(painter.fontMetrics().horizontalAdvance(label.text) + 4, text.width());
            painter.fillRect(QRect(text.left() - 2, text.top(), width, text.height()),
                             m_style.highlight);
            painter.setPen(m_style.highlightText);
        } else {
            painter.setPen(m_style.buttonText);
        }
        QFont font = m_style.textFont;
        font.setUnderline(label.index == m_engine.HoveredLabel() && !current);
        painter.setFont(font);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, label.text);
        painter.setFont(m_style.textFont);
    }
}
