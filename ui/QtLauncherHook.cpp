#include "ui/QtLauncherHook.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

bool CQtLauncherHook::StartProgram(const QString& program, const QStringList& arguments)
{
    return !QStandardPaths::findExecutable(program).isEmpty() &&
           QProcess::startDetached(program, arguments);
}

bool CQtLauncherHook::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
