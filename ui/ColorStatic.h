#pragma once

#include <QColor>
#include <QLabel>

// A label in its own text colour (dark red unless set), underlined, on the
// window's background.
class CColorStatic : public QLabel {
    Q_OBJECT
public:
    static inline const QColor kDefaultColor = QColor(128, 0, 0);

    explicit CColorStatic(QWidget* parent = nullptr);
    explicit CColorStatic(const QString& text, QWidget* parent = nullptr);

    void SetTextColor(const QColor& color);
    QColor TextColor() const { return m_color; }

private:
    void ApplyLook();

    QColor m_color = kDefaultColor;
};
