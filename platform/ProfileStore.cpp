#include "platform/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a process that has just made its lock file takes to lock it and
// write its number into it, at the most.
constexpr int kLockMakingMs = 100;

// Nobody holds the lock file: a process holding the lock keeps the file
// locked (flock) for as long as it holds it.
bool Unheld(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    ::flock(fd, LOCK_UN);
    return true;
}

// The file exists and only its owner may read it. QSettings saves through
// a temporary file that takes the mode of the file it replaces, so a file
// made owner-only first never shows its contents to anyone else, whatever
// the umask. Where it cannot be made, no write will succeed either.
void MakeOwnerOnly(const QString& fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0 && errno == ENOENT && QDir().mkpath(QFileInfo(fileName).absolutePath()))
        fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & 077) != 0)
        ::fchmod(fd, status.st_mode & 0700);
    ::close(fd);
}

} // namespace

CProfileStore::CProfileStore()
    : QSettings(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(kProfileOrganisation),
                QLatin1String(kProfileApplication))
{
    MakeOwnerOnly(fileName());
}

bool CProfileStore::ClearStaleLock()
{
    const QString lock = CProfileStore().fileName() + QStringLiteral(".lock");
    const QByteArray path = QFile::encodeName(lock);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A lock file nobody holds was left by a process that died, whatever it
    // says. An empty one may be a lock being made this very moment, so it
    // counts only when it is still empty and unheld a moment later.
    bool stale = Unheld(fd);
    if (stale && QFileInfo(lock).size() == 0) {
        QThread::msleep(kLockMakingMs);
        stale = QFileInfo(lock).size() == 0 && Unheld(fd);
    }
    // Removed while holding it, as the lock's own clean-up does.
    if (stale)
        stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.constData()) == 0;
    ::close(fd);
    return stale;
}
