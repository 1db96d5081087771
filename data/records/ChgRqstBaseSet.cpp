#include "data/records/ChgRqstBaseSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 14> kColumns = {{
    Col("ChgReq_ID", adInteger),
    Col("ProjID", adInteger),
    Col("EmpID", adInteger),
    Col("CompanyID", adInteger),
    Text("Contact", 255, ReadRule::None),
    Text("Reference", 255),
    Text("mItem", 255),
    Col("DateCreated", adDate, ReadRule::NullDateZero),
    Col("DateCompleted", adDate, ReadRule::NullDateZero),
    Col("StatusID", adInteger),
    Col("Priority", adInteger),
    Col("DateAssigned", adDate),
    Text("Comment", 6000),
    Text("FullDetail", 6000),
}};

} // namespace

CChgRqstBaseSet::CChgRqstBaseSet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 14, firstWrittenColumn, source)
{
    BindBuffers(m_ChgReq_ID, m_ProjID, m_EmpID, m_CompanyID, m_Contact, m_Reference, m_Item,
                m_DateCreated, m_DateCompleted, m_StatusID, m_Priority, m_DateAssigned, m_Comment,
                m_FullDetail);
}
