#include "app/ControlRegistration.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/DatabaseFile.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "ui/ConnectionDlg.h"
#include "ui/QtMessageBoxHook.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Until the application shell is in place the program only opens the
// configured database (creating the embedded one on first start) and says so.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvane"));

    RegisterControlsBeside(QCoreApplication::applicationDirPath());

    CQtMessageBoxHook messages;
    SetMessageBoxHook(&messages);
    CConnectionDlgPrompt prompt;
    CDBConnection::SetPrompt(&prompt);

    CDBConnection connection;
    if (connection.LoadConnectionString().isEmpty()) {
        const QString file = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                 .filePath(QStringLiteral("kelvane.db"));
        QString error;
        if (!QFileInfo::exists(file) && !CreateSqliteDatabaseFile(file, &error)) {
            ShowMessageBox(error, kMbOk | kMbIconError);
            return 1;
        }
        connection.SaveConnectionString(CConnectionString::SqliteString(file));
    }
    if (!connection.Connect(false))
        return 1;
    ShowMessageBox(QStringLiteral("Kelvane is connected to %1.")
                       .arg(CConnectionString(connection.ConnectionString()).Masked()),
                   kMbOk | kMbIconInformation);
    connection.ReleaseConnection(true);
    return 0;
}
