#include "app/FirstStart.h"

#include "app/Profile.h"
#include "data/ConnectionString.h"
#include "data/DBClassTypes.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"
#include "ui/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

QString CFirstStart::DatabaseFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("kelvane.db"));
}

void CFirstStart::DesktopUser(QString& login, QString& fullName)
{
    GetWindowsUserName(login);
    fullName.clear();
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_gecos)
        fullName = QString::fromLocal8Bit(pw->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
    if (fullName.isEmpty())
        fullName = login;
}

bool CFirstStart::Prepare(QString* error)
{
    const QString file = DatabaseFile();
    const QString connectionString = CConnectionString::SqliteString(file);
    if (QFileInfo::exists(file)) {
        // Made before: use it as it is.
        CProfile::SetDefDatabaseName(connectionString);
        return true;
    }
    if (!CreateSqliteDatabaseFile(file, error))
        return false;
    CDBConnection connection;
    connection.UseConnectionString(connectionString);
    if (!connection.Connect(false)) {
        *error = connection.LastOpenError();
        return false;
    }
    QString login;
    QString fullName;
    DesktopUser(login, fullName);
    bool ok = CSchema::Create(connection, error);
    CDbError dbError;
    const auto run = [&](const QString& sql, const QVariantList& values) {
        if (ok && !CSqlExecutor::RunNative(connection, sql, values, nullptr, &dbError)) {
            ok = false;
            *error = dbError.description;
        }
    };
    // The person at the desktop signs on by login name, without a password.
    run(QStringLiteral("UPDATE tblProperty SET intValue = 3 WHERE PropertyName = 'requirePwd'"),
        {});
    // One person on their own machine: the time sheet comes up after 2 s, not 10.
    run(QStringLiteral("INSERT INTO tblProperty (PropertyName, intValue) VALUES (?, 1)"),
        {QString::fromLatin1(kQuickStartProperty)});
    run(QStringLiteral(
            "INSERT INTO tblFinEmployee (FirstName, LastName, EmpFullName, NTUserName, IsCurrent, "
            "DeptID, SecLevel, HourRateFactor) VALUES (?, ?, ?, ?, 1, 1, 1, 1)"),
        {fullName.section(QLatin1Char(' '), 0, 0), fullName.section(QLatin1Char(' '), 1), fullName,
         login});
    // Something to book on from the first minute.
    run(QStringLiteral(
            "INSERT INTO tblProject (ProjName, ProjState, UseTeamCheck, ProjColour, CompanyID) "
            "VALUES ('General', 2, 0, 14120960, 1)"),
        {});
    run(QStringLiteral(
            "INSERT INTO tblProjectOrderBook (OrderCode, Description, ProjID, IsDefault, IsDone, "
            "OrderHourRate) SELECT 'GEN', 'General work', ProjID, 1, 0, 0 FROM tblProject"),
        {});
    run(QStringLiteral(
            "INSERT INTO tblProjectTask (Task, ProjID, OrderID, State, DefaultWorkTypeID, "
            "TaskOrder) "
            "SELECT 'General', o.ProjID, o.OrderID, 2, 1, '1' FROM tblProjectOrderBook o"),
        {});
    connection.ReleaseConnection(true);
    if (!ok) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(file + suffix);
        return false;
    }
    CProfile::SetDefDatabaseName(connectionString);
    CProfile::SetDefUserName(fullName);
    return true;
}
