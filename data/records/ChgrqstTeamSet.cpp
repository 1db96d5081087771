#include "data/records/ChgrqstTeamSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 3> kColumns = {{
    Col("ChgReqID", adInteger),
    Col("EmpID", adInteger),
    Text("Comment", 255),
}};

} // namespace

CChgrqstTeamSet::CChgrqstTeamSet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 3, firstWrittenColumn, source)
{
    BindBuffers(m_ChgReqID, m_EmpID, m_Comment);
}
