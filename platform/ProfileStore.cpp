#include "platform/ProfileStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool CProfileStore::ClearStaleLock()
{
    const QString lock = CProfileStore().fileName() + QStringLiteral(".lock");
    const QByteArray path = QFile::encodeName(lock);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A process holding the lock keeps the file locked (flock) for as long as
    // it holds it; a lock file nobody has locked was left by a process that
    // died. An empty one may be a lock being made this very moment: it is
    // stale only when it is older than that takes.
    bool stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (stale) {
        const QFileInfo info(lock);
        stale = info.size() > 0 || info.lastModified().msecsTo(QDateTime::currentDateTime()) > 2000;
        if (stale)
            stale = ::unlink(path.constData()) == 0;
    }
    ::close(fd);
    return stale;
}
