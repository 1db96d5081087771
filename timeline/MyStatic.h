#pragma once

#include <QLabel>

// The hours label (control 236): the day's total, right-aligned on the
// control's back colour.
class CMyStatic : public QLabel {
    Q_OBJECT
public:
    explicit CMyStatic(QWidget* parent);

    void SetText(const QString& text);
    void SetColours(const QColor& text, const QColor& back);
};
