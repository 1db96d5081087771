#include "platform/UserFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

UserFileProblem Said(UserFileProblem problem, const QString& text, QString* why)
{
    if (why)
        *why = text;
    return problem;
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What the status of a file makes of it.
UserFileProblem Judge(const QString& path, const struct stat& info, qint64 maxBytes, QString* why)
{
    if (S_ISDIR(info.st_mode))
        return Said(UserFileProblem::Folder, QStringLiteral("%1 is a folder, not a file").arg(path),
                    why);
    if (!S_ISREG(info.st_mode))
        return Said(UserFileProblem::NotRegular,
                    QStringLiteral("%1 is not a regular file (a device, a named pipe or a socket "
                                   "cannot be read)")
                        .arg(path),
                    why);
    if (maxBytes >= 0 && info.st_size > maxBytes)
        return Said(UserFileProblem::TooLarge,
                    QStringLiteral("%1 is too large (%2 MB; at most %3 MB)")
                        .arg(path, MegabytesText(info.st_size), MegabytesText(maxBytes)),
                    why);
    return UserFileProblem::None;
}

UserFileProblem Failed(const QString& path, int error, QString* why)
{
    if (error == ENOENT || error == ENOTDIR)
        return Said(UserFileProblem::Missing, QStringLiteral("%1 does not exist").arg(path), why);
    return Said(UserFileProblem::Unreadable,
                QStringLiteral("%1 cannot be read: %2").arg(path, ErrnoText(error)), why);
}

} // namespace

QString MegabytesText(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}

UserFileProblem CheckUserFile(const QString& path, qint64 maxBytes, QString* why)
{
    if (path.isEmpty())
        return Said(UserFileProblem::Missing, QStringLiteral("No file was named"), why);
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return Failed(path, errno, why);
    return Judge(path, info, maxBytes, why);
}

UserFileProblem ReadUserFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* why)
{
    bytes.clear();
    if (path.isEmpty())
        return Said(UserFileProblem::Missing, QStringLiteral("No file was named"), why);
    // Opening a pipe without a writer would wait; without blocking it does not.
    int fd = -1;
    do
        fd = ::open(QFile::encodeName(path).constData(),
                    O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Failed(path, errno, why);
    struct stat info {};
    UserFileProblem problem =
        ::fstat(fd, &info) == 0 ? Judge(path, info, maxBytes, why) : Failed(path, errno, why);
    if (problem == UserFileProblem::None) {
        // The size the file claims is a hint: files of /proc claim none.
        const qint64 limit = maxBytes >= 0 ? maxBytes : std::numeric_limits<qint64>::max() - 1;
        bytes.reserve(static_cast<qsizetype>(qMin<qint64>(info.st_size, limit)));
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                problem = Failed(path, errno, why);
                break;
            }
            if (n == 0)
                break;
            if (qint64(bytes.size()) + n > limit) {
                problem = Said(UserFileProblem::TooLarge,
                               QStringLiteral("%1 is too large (more than %2 MB)")
                                   .arg(path, MegabytesText(limit)),
                               why);
                break;
            }
            bytes.append(buffer, n);
        }
    }
    ::close(fd);
    if (problem != UserFileProblem::None)
        bytes.clear();
    return problem;
}
