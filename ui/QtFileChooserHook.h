#pragma once

#include "platform/FileChooser.h"

// Chooses files with the desktop's file dialog.
class CQtFileChooserHook : public IFileChooserHook {
public:
    QString OpenFile(const QString& title, const QString& startPath,
                     const QString& filters) override;
    QString SaveFile(const QString& title, const QString& startPath,
                     const QString& filters) override;
};
