#include "data/DatabaseFile.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

bool CreateSqliteDatabaseFile(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (info.exists()) {
        *error = QStringLiteral("%1 already exists.").arg(path);
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("Cannot create the folder %1.").arg(info.absolutePath());
        return false;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(info.absoluteFilePath()).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        // Write-ahead logging lets one user read while another writes.
        rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        *error = QStringLiteral("%1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);
        QFile::remove(info.absoluteFilePath());
        return false;
    }
    sqlite3_close(db);
    return true;
}
