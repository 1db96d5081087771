#include "data/records/DbInfoSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 9> kColumns = {{
    Col("dbInfoDate", adDate),
    Col("dbVersion", adSingle, ReadRule::NullOne),
    Text("dBRevision", 5),
    Col("KelvaneMinVersion", adInteger, ReadRule::NullMinusOne),
    Col("KelvaneMaxVersion", adInteger, ReadRule::NullMinusOne),
    Col("VekMinVersion", adInteger, ReadRule::NullMinusOne),
    Col("VekMaxVersion", adInteger, ReadRule::NullMinusOne),
    Text("comment", 255),
    Col("isActive", adBoolean),
}};

} // namespace

CDbInfoSet::CDbInfoSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 9, firstWrittenColumn, source)
{
    BindBuffers(m_dbInfoDate, m_dbVersion, m_dBRevision, m_KelvaneMinVersion, m_KelvaneMaxVersion,
                m_VekMinVersion, m_VekMaxVersion, m_comment, m_isActive);
}
