#pragma once

#include "platform/Launcher.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// Keeps what would have been opened on the desktop.
class CRecordingLauncher : public ILauncherHook {
public:
    CRecordingLauncher() { SetLauncherHook(this); }
    ~CRecordingLauncher() override { SetLauncherHook(nullptr); }
    CRecordingLauncher(const CRecordingLauncher&) = delete;
    CRecordingLauncher& operator=(const CRecordingLauncher&) = delete;

    bool StartProgram(const QString& program, const QStringList&) override
    {
        started << program;
        return false;
    }
    bool OpenUrl(const QUrl& url) override
    {
        opened << QString::fromLatin1(url.toEncoded());
        return succeed;
    }

    QStringList started;
    // The addresses as sent: percent-encoded.
    QStringList opened;
    bool succeed = true;
};
