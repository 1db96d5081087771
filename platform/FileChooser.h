#pragma once

#include <QString>

// File dialogs go through this hook, so that tests can answer them and lower
// layers can ask for a file without knowing any window. The program installs
// a hook that shows the real dialog.
class IFileChooserHook {
public:
    virtual ~IFileChooserHook() = default;
    // The chosen existing file's full path, or "" when cancelled. `filters`
    // is a Qt filter list ("Text (*.txt);;All Files (*)").
    virtual QString OpenFile(const QString& title, const QString& startPath,
                             const QString& filters) = 0;
};

// Without a hook nobody can choose: the answer is "cancelled".
QString ChooseOpenFile(const QString& title, const QString& startPath, const QString& filters);
void SetFileChooserHook(IFileChooserHook* hook);
