#include "app/WindowCaption.h"

#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "ui/StringTable.h"

QString BuildWindowCaption(int stringId, const QString& fallback, CDBClass* db)
{
    if (!db && HasApp())
        db = theApp().Facade();
    QString title = LoadStringRes(stringId);
    if (title.isEmpty())
        title = fallback;
    const bool server = db && db->GetProviderKind() == kProviderPostgres;
    const QString edition = server ? QStringLiteral("Enterprise") : QStringLiteral("Pro");
    if (server)
        return QStringLiteral("%1 - %2").arg(title, edition);
    const QString company = db ? db->StartupInfo().CompanyName : QString();
    return QStringLiteral("%1 %2- %3").arg(title, edition, company);
}
