#pragma once

#include <QLabel>

// A label that shows stored text (names, references, paths, comments) as
// it is: markup in the text is shown, never drawn as rich text.
class CPlainLabel : public QLabel {
    Q_OBJECT
public:
    explicit CPlainLabel(QWidget* parent = nullptr);
    CPlainLabel(const QString& text, QWidget* parent);
};
