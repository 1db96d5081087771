#include "data/records/DepartmentSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 4> kColumns = {{
    Col("DeptID", adInteger, ReadRule::NullMinusOne),
    Text("Department", 50),
    Col("ManagerID", adInteger, ReadRule::NullMinusOne),
    Text("Comments", 50),
}};

} // namespace

CDepartmentSet::CDepartmentSet(CDBConnection* connection, int firstWrittenColumn,
                               const QString& source)
    : CBindingSet(connection, kColumns, 4, firstWrittenColumn, source)
{
    BindBuffers(m_DeptID, m_Department, m_ManagerID, m_Comments);
}
