#include "review/OverviewXmlSource.h"

#include "data/DBClass.h"

#include <QVariantList>

bool COverviewXmlSource::Run(const QString& procedure, const QList<int>& args, QString& xml,
                             QString& why)
{
    QVariantList params;
    for (int arg : args)
        params << arg;
    const QString sql = m_db.Dialect().ProcedureCall(procedure, static_cast<int>(args.size()));
    why.clear();
    if (!m_db.ExecuteToStream(sql, xml, params, &why))
        return false;
    if (xml.isEmpty()) {
        why = QStringLiteral("The database returned no document.");
        return false;
    }
    return true;
}
