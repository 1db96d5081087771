#pragma once

#include "platform/MessageBox.h"

class QWidget;

// Shows the program's message boxes as real dialogs.
class CQtMessageBoxHook : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString& caption, unsigned type) override;
};
