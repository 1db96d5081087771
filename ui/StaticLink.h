#pragma once

#include <QColor>
#include <QLabel>

// A hyperlink label: a click opens its link (or, without one, its text) in
// the desktop's program for it; once opened it shows in the visited colour.
class CStaticLink : public QLabel {
    Q_OBJECT
public:
    static inline const QColor kUnvisitedColor = QColor(0, 0, 255);
    static inline const QColor kVisitedColor = QColor(128, 0, 128);

    explicit CStaticLink(const QString& link = QString(), QWidget* parent = nullptr);

    void SetLink(const QString& link) { m_link = link; }
    const QString& Link() const { return m_link; }
    QColor TextColor() const { return m_color; }
    bool IsVisited() const { return m_color == kVisitedColor; }

    // Opens the link; false (and a beep) when it could not be opened or
    // there is nothing to open.
    bool OpenLink();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyColor();

    QString m_link;
    QColor m_color = kUnvisitedColor;
};
