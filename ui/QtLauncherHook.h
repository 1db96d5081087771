#pragma once

#include "platform/Launcher.h"

// Opens addresses (web pages, mail) in the desktop's own programs through
// Qt's desktop services; programs are started detached.
class CQtLauncherHook : public ILauncherHook {
public:
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool OpenUrl(const QUrl& url) override;
};
