#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Starting other programs and opening addresses in the desktop's programs
// goes through this hook, so that tests see what would be started.
class ILauncherHook {
public:
    virtual ~ILauncherHook() = default;
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    virtual bool OpenUrl(const QUrl& url) = 0;
};

// Without a hook: the program is started detached / the address handed to
// the desktop (QDesktopServices needs a GUI application; see ui/).
bool StartProgram(const QString& program, const QStringList& arguments = {});
bool OpenUrl(const QUrl& url);
void SetLauncherHook(ILauncherHook* hook);
ILauncherHook* LauncherHook();
