#pragma once

#include "platform/MessageBox.h"

class QWidget;

// Shows the program's message boxes as real dialogs.
class CQtMessageBoxHook : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString& caption, unsigned type) override;

    // The window a box belongs to: the modal dialog in front when one runs,
    // so the box opens on top of it (which stays painted beneath), else the
    // active window.
    static QWidget* Owner();
};
