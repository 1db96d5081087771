#include "app/FirstStart.h"

#include "app/Profile.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"
#include "platform/FaultPoint.h"
#include "platform/MessageBox.h"
#include "ui/Utilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QString CFirstStart::DatabaseFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("kelvane.db"));
}

bool CFirstStart::Prepare(QString* error)
{
    const QString file = DatabaseFile();
    const QString connectionString = CConnectionString::SqliteString(file);
    if (QFileInfo::exists(file)) {
        // Made before: use it as it is (the start checks what it holds).
        CProfile::SetDefDatabaseName(connectionString);
        return true;
    }
    // The database is built whole in a file of its own and moved into place
    // in one step: a crash at any point leaves no half-made database behind.
    RemoveLeftovers(file);
    const QString part =
        QStringLiteral("%1.%2.part").arg(file, QString::number(QCoreApplication::applicationPid()));
    RemoveDatabaseFiles(part);
    if (!CreateSqliteDatabaseFile(part, error))
        return false;
    FaultPoint("FirstStart:created");
    CDBConnection connection;
    connection.UseConnectionString(CConnectionString::SqliteString(part));
    if (!connection.ConnectSilently()) {
        *error = connection.LastOpenError();
        RemoveDatabaseFiles(part);
        return false;
    }
    QString fullName;
    QString note;
    CDbError dbError;
    // Tables, seed rows and the first rows: one transaction.
    bool ok = connection.BeginTrans(&dbError);
    if (!ok)
        *error = dbError.description;
    ok = ok && CSchema::Create(connection, error);
    // One employee, signed on without a password, and something to book on
    // from the first minute.
    ok = ok && CSchema::AddFirstRows(connection, &fullName, error, &note);
    FaultPoint("FirstStart:rows");
    if (ok && !connection.CommitTrans(&dbError)) {
        ok = false;
        *error = dbError.description;
    }
    connection.ReleaseConnection(true);
    FaultPoint("FirstStart:built");
    if (!ok || !MoveIntoPlace(part, file, error)) {
        RemoveDatabaseFiles(part);
        return false;
    }
    FaultPoint("FirstStart:placed");
    CProfile::SetDefDatabaseName(connectionString);
    CProfile::SetDefUserName(fullName);
    if (!note.isEmpty())
        ShowMessageBox(note, kMbOk | kMbIconWarning);
    return true;
}

void CFirstStart::RemoveDatabaseFiles(const QString& file)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(file + QLatin1String(suffix));
}

void CFirstStart::RemoveLeftovers(const QString& file)
{
    // Parts of first starts that were killed: nobody works on them any more.
    // A database file's log without the file belongs to no database.
    const QFileInfo info(file);
    QDir dir = info.absoluteDir();
    const QStringList parts =
        dir.entryList({info.fileName() + QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    for (const QString& name : parts) {
        bool numeric = false;
        const qint64 pid = name.section(QLatin1Char('.'), -2, -2).toLongLong(&numeric);
        if (numeric && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            RemoveDatabaseFiles(dir.filePath(name));
    }
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(file + QLatin1String(suffix));
}

bool CFirstStart::MoveIntoPlace(const QString& part, const QString& file, QString* error)
{
    const QByteArray from = QFile::encodeName(part);
    const QByteArray to = QFile::encodeName(file);
    if (QFileInfo::exists(part + QStringLiteral("-wal")) ||
        QFileInfo::exists(part + QStringLiteral("-journal"))) {
        *error = QStringLiteral("The new database %1 was not closed completely.").arg(part);
        return false;
    }
    // On the disk before it gets its name.
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        *error = QStringLiteral("%1: %2").arg(part, QString::fromLocal8Bit(std::strerror(errno)));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    // Never over a database another start placed meanwhile: that one is used.
    if (::link(from.constData(), to.constData()) == 0 || errno == EEXIST) {
        ::unlink(from.constData());
    } else if (::rename(from.constData(), to.constData()) != 0) { // no hard links here
        *error = QStringLiteral("%1: %2").arg(file, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
