#include "app/DatabaseSwitch.h"

#include "app/DummyDlg.h"
#include "app/Profile.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "platform/MessageBox.h"

namespace {

QString Named(const QString& connectionString)
{
    return connectionString.isEmpty() ? QStringLiteral("(none)")
                                      : CConnectionString(connectionString).Masked();
}

} // namespace

bool TryOpenDatabase(QString& connectionString)
{
    CDBConnection probe;
    probe.UseConnectionString(connectionString);
    if (!probe.Connect(false))
        return false;
    connectionString = probe.ConnectionString();
    probe.ReleaseConnection(true);
    return true;
}

bool SwitchProgramDatabase(CDBClass* db, CDummyDlg* hub, const QString& wanted,
                           const QString& current, SwitchWindows windows)
{
    const auto refuse = [&](const QString& tried) {
        ShowMessageBox(QStringLiteral("Kelvane could not open the database %1 and goes on with %2.")
                           .arg(Named(tried), Named(current)),
                       kMbOk | kMbIconWarning);
    };
    QString opened = wanted;
    if (wanted.isEmpty() || !TryOpenDatabase(opened)) {
        refuse(wanted);
        return false;
    }
    // The windows hold ids of the old database.
    const QList<int> open = hub ? hub->OpenWindowCommands() : QList<int>();
    const auto reopen = [&] {
        if (hub && windows == SwitchWindows::OpenAgain)
            hub->ReopenWindows(open);
    };
    if (hub)
        hub->CloseAllWindows(false);
    if (!db) {
        CProfile::SetDefDatabaseName(opened);
        reopen();
        return true;
    }
    db->ReleaseConnection(true, true);
    CProfile::SetDefDatabaseName(opened);
    db->Connection()->UseProfileString();
    // The back end may differ; its SQL forms are chosen before connecting.
    db->DetectProvider();
    // The new database's own start-up information is read on connecting.
    const CStartupInfo previousInfo = db->StartupInfo();
    db->StartupInfo() = CStartupInfo();
    const bool connected = db->Connect();
    if (!connected || db->StartupAccess() != CDBClass::Access::Ready) {
        // It went away in between, or cannot serve the program (not Kelvane's
        // tables, held by another session): back to the old one, windows and all.
        if (connected)
            db->ReleaseConnection(true, true);
        CProfile::SetDefDatabaseName(current);
        db->Connection()->UseProfileString();
        db->DetectProvider();
        db->StartupInfo() = previousInfo;
        refuse(opened);
        if (windows == SwitchWindows::OpenAgain)
            reopen();
        else if (hub)
            hub->CloseAllWindows(true);
        return false;
    }
    // On a server the start-up view is read only by a known version, which
    // the start reads first too; without it the company and version stay unknown.
    QString version;
    db->CheckDbVersion(0, version, false);
    if (db->StartupInfo().CompanyName.isEmpty() &&
        db->CanUseDbObject(QStringLiteral("qselStartUpInfo")))
        db->ReadStartupInfo();
    if (hub)
        hub->OnDatabaseSwitched();
    QString user;
    db->GetCurrentUser(user);
    db->ReleaseConnection(false, false);
    reopen();
    return true;
}
