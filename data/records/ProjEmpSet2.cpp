#include "data/records/ProjEmpSet2.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 6> kColumns = {{
    Col("Proj_ID", adInteger),
    Text("ProjName", 50),
    Col("ProjColour", adInteger),
    Col("EmpID", adInteger),
    Text("FirstName", 50),
    Text(nullptr, 50, ReadRule::None),
}};

} // namespace

CProjEmpSet2::CProjEmpSet2(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 5, firstWrittenColumn, source)
{
    BindBuffers(m_Proj_ID, m_ProjName, m_ProjColour, m_EmpID, m_FirstName, m_Column6);
}
