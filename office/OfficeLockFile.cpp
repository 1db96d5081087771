#include "office/OfficeLockFile.h"

#include "platform/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

#include <vector>

#include <netdb.h>
#include <pwd.h>
#include <unistd.h>

namespace {

// A lock is one short line; anything longer is not one.
constexpr qint64 kMaxLockBytes = 4096;
const QByteArray kProfileArgument = QByteArrayLiteral("-env:UserInstallation=");

QByteArray ReadLock(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kMaxLockBytes) : QByteArray();
}

// The fields of the line; empty when it is cut short. A backslash escapes
// the next character, as the office writes ',' and ';' inside a field.
QStringList Fields(const QByteArray& line)
{
    QStringList fields;
    QString field;
    bool escaped = false;
    for (const QChar c : QString::fromUtf8(line)) {
        if (escaped) {
            field += c;
            escaped = false;
        } else if (c == QLatin1Char('\\')) {
            escaped = true;
        } else if (c == QLatin1Char(',') || c == QLatin1Char(';')) {
            fields << field;
            field.clear();
            if (c == QLatin1Char(';'))
                return fields;
        } else {
            field += c;
        }
    }
    return {};
}

// The login the office names: the account, not what USER says.
QString AccountName()
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString();
    return QString::fromLocal8Bit(found->pw_name);
}

bool IsThisHost(const QString& host)
{
    const QString name = QSysInfo::machineHostName();
    if (host.isEmpty())
        return false;
    if (host.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    // The office names the computer by its full domain name where it has one.
    addrinfo hints{};
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.toLocal8Bit().constData(), nullptr, &hints, &found) != 0)
        return false;
    const bool same =
        found && found->ai_canonname &&
        host.compare(QString::fromLocal8Bit(found->ai_canonname), Qt::CaseInsensitive) == 0;
    freeaddrinfo(found);
    return same;
}

bool SameProfile(const QString& a, const QString& b)
{
    const QUrl first(a);
    const QUrl second(b);
    if (first.isLocalFile() && second.isLocalFile())
        return QDir::cleanPath(first.toLocalFile()) == QDir::cleanPath(second.toLocalFile());
    return a == b;
}

// The launcher script, the starter it runs and the office itself.
bool IsOfficeProgram(const QByteArray& name)
{
    return name.contains("soffice") || name.contains("oosplash") || name.contains("libreoffice");
}

// The profile of every office running on this computer, as its URL, or
// empty for one started on the default profile.
QStringList RunningOfficeProfiles()
{
    QStringList profiles;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        entry.toLongLong(&number);
        if (!number)
            continue;
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!command.open(QIODevice::ReadOnly))
            continue;
        // Ended processes have none.
        const QList<QByteArray> arguments = command.readAll().split('\0');
        if (arguments.isEmpty() || arguments.first().isEmpty())
            continue;
        QString profile;
        for (const QByteArray& argument : arguments)
            if (argument.startsWith(kProfileArgument))
                profile = QString::fromLocal8Bit(argument.mid(kProfileArgument.size()));
        QFile name(QStringLiteral("/proc/%1/comm").arg(entry));
        if (!profile.isEmpty() ||
            (name.open(QIODevice::ReadOnly) && IsOfficeProgram(name.readAll())))
            profiles << profile;
    }
    return profiles;
}

} // namespace

COfficeLockFile::COfficeLockFile(const QString& documentPath)
{
    const QFileInfo document(documentPath);
    m_path = QDir(document.absolutePath())
                 .filePath(QStringLiteral(".~lock.%1#").arg(document.fileName()));
}

bool COfficeLockFile::ClearIfStale()
{
    m_fields.clear();
    m_line.clear();
    if (!QFileInfo::exists(m_path))
        return true;
    m_line = ReadLock(m_path);
    m_fields = Fields(m_line);
    if (MayBeHeld())
        return false;
    // Read again: an office may have taken the document meanwhile.
    if (ReadLock(m_path) != m_line || !QFile::remove(m_path))
        return false;
    qCInfo(lcApp).noquote() << "COfficeLockFile: removed" << m_path
                            << "left by an office that has gone:" << QString::fromUtf8(m_line);
    return true;
}

bool COfficeLockFile::MayBeHeld() const
{
    // Who wrote it cannot be told, nor whether an office of another login or
    // of another computer still runs.
    const QString login = AccountName();
    if (m_fields.size() < 5 || login.isEmpty() || m_fields.at(1) != login ||
        !IsThisHost(m_fields.at(2)))
        return true;
    const QString profile = m_fields.at(4);
    if (profile.isEmpty())
        return true;
    // A private profile is only ever named when its office is started; an
    // office started without one may run on any other.
    const bool isPrivate = QFileInfo(QUrl(profile).toLocalFile())
                               .fileName()
                               .startsWith(QLatin1String(kPrivateProfilePrefix));
    for (const QString& running : RunningOfficeProfiles())
        if (running.isEmpty() ? !isPrivate : SameProfile(running, profile))
            return true;
    return false;
}

QString COfficeLockFile::Holder() const
{
    if (m_fields.size() < 5)
        return QString();
    const QString who = m_fields.at(0).isEmpty() ? m_fields.at(1) : m_fields.at(0);
    return QStringLiteral("%1 on %2 since %3").arg(who, m_fields.at(2), m_fields.at(3));
}
