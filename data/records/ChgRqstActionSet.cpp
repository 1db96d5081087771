#include "data/records/ChgRqstActionSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 9> kColumns = {{
    Unbound("ChgActionID", adInteger),
    Col("ChgReqID", adInteger),
    Col("DeliverableID", adInteger),
    Text("VersionMod", 50, ReadRule::None),
    Col("EmpID", adInteger),
    Col("DateAssigned", adDate, ReadRule::NullDateZero),
    Col("DateComplete", adDate, ReadRule::NullDateZero),
    Text("Comment", 6000),
    Col("StatusID", adInteger),
}};

} // namespace

CChgRqstActionSet::CChgRqstActionSet(CDBConnection* connection, int firstWrittenColumn,
                                     const QString& source)
    : CBindingSet(connection, kColumns, 9, firstWrittenColumn, source)
{
    BindBuffers(m_ChgReqID, m_DeliverableID, m_VersionMod, m_EmpID, m_DateAssigned, m_DateComplete,
                m_Comment, m_StatusID);
}

int CChgRqstActionSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
