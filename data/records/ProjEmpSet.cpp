#include "data/records/ProjEmpSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 5> kColumns = {{
    Col("Proj_ID", adInteger),
    Text("ProjName", 50, ReadRule::None),
    Col("ProjColour", adInteger),
    Col("EmpID", adInteger),
    Text("FirstName", 50, ReadRule::None),
}};

} // namespace

CProjEmpSet::CProjEmpSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 5, firstWrittenColumn, source)
{
    BindBuffers(m_Proj_ID, m_ProjName, m_ProjColour, m_EmpID, m_FirstName);
}
