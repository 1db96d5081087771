#pragma once

#include <QRect>
#include <QString>

class QHelpEvent;
class QWidget;

// The tool tip of a tip control: its text and the rectangle it shows in,
// the control's own rectangle when the tip was set. The tip shows only
// while the mouse is strictly inside that rectangle, never on its border.
class TipInfo {
public:
    // Keeps the text and the control's rectangle; the first call makes the tip.
    void SetTip(const QWidget* control, const QString& text);
    bool HasTip() const { return m_created; }
    const QString& Text() const { return m_text; }
    const QRect& Rect() const { return m_rect; }
    // Whether the tip shows for the mouse at the point (control coordinates).
    bool Relays(const QPoint& point) const;
    // A tool-tip request of the control: shows or hides the tip. With
    // everywhere the whole control counts. True when the tip was shown.
    bool HandleToolTip(QWidget* control, QHelpEvent* event, bool everywhere = false) const;

private:
    QString m_text;
    QRect m_rect;
    bool m_created = false;
};
