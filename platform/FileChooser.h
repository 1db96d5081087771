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
    // The full path of a file to write (it may not exist yet), or "" when
    // cancelled. Hooks that only know opening choose the same way.
    virtual QString SaveFile(const QString& title, const QString& startPath, const QString& filters)
    {
        return OpenFile(title, startPath, filters);
    }
};

// Without a hook nobody can choose: the answer is "cancelled".
QString ChooseOpenFile(const QString& title, const QString& startPath, const QString& filters);
QString ChooseSaveFile(const QString& title, const QString& startPath, const QString& filters);
void SetFileChooserHook(IFileChooserHook* hook);
