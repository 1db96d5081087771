#include "data/records/ChgRqstBriefSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 13> kColumns = {{
    Text("Authority", 50),
    Text("Project", 50),
    Text("Company", 50),
    Text("Contact", 50),
    Col("DateCreated", adDate, ReadRule::NullDateZero),
    Col("DateCompleted", adDate, ReadRule::NullDateZero),
    Text("Item", 255),
    Text("Priority", 50),
    Col("ChgReqID", adInteger),
    Col("EmpID", adInteger),
    Col("ProjID", adInteger),
    Text("Reference", 50),
    Col("CompID", adInteger),
}};

} // namespace

CChgRqstBriefSet::CChgRqstBriefSet(CDBConnection* connection, int firstWrittenColumn,
                                   const QString& source)
    : CBindingSet(connection, kColumns, 13, firstWrittenColumn, source)
{
    BindBuffers(m_Authority, m_Project, m_Company, m_Contact, m_DateCreated, m_DateCompleted,
                m_Item, m_Priority, m_ChgReqID, m_EmpID, m_ProjID, m_Reference, m_CompID);
}
