#include "data/records/StatusSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 4> kColumns = {{
    Col("StatusID", adInteger),
    Text("StatusName", 50),
    Col("IsProject", adInteger),
    Col("StatusType", adInteger),
}};

} // namespace

CStatusSet::CStatusSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 4, firstWrittenColumn, source)
{
    BindBuffers(m_StatusID, m_StatusName, m_IsProject, m_StatusType);
}
