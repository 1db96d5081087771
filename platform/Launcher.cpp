#include "platform/Launcher.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
ILauncherHook* s_hook = nullptr;
}

bool StartProgram(const QString& program, const QStringList& arguments)
{
    if (s_hook)
        return s_hook->StartProgram(program, arguments);
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

bool OpenUrl(const QUrl& url)
{
    if (s_hook)
        return s_hook->OpenUrl(url);
    return StartProgram(QStringLiteral("xdg-open"), {url.toString()});
}

void SetLauncherHook(ILauncherHook* hook)
{
    s_hook = hook;
}

ILauncherHook* LauncherHook()
{
    return s_hook;
}
