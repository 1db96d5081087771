#include "data/records/ChgRqstSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 13> kColumns = {{
    Col("ChgReqID", adInteger),
    Col("ProjID", adInteger),
    Col("EmpID", adInteger),
    Col("CompanyID", adInteger),
    Text("Contact", 50),
    Text("Reference", 50),
    Text("Item", 255),
    Col("DateCreated", adDate, ReadRule::NullDateZero),
    Col("DateCompleted", adDate, ReadRule::NullDateZero),
    Col("StatusID", adInteger),
    Col("Priority", adInteger),
    Text("FullDetail", 8000),
    Text("TeamList", 255),
}};

} // namespace

CChgRqstSet::CChgRqstSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 13, firstWrittenColumn, source)
{
    BindBuffers(m_ChgReqID, m_ProjID, m_EmpID, m_CompanyID, m_Contact, m_Reference, m_Item,
                m_DateCreated, m_DateCompleted, m_StatusID, m_Priority, m_FullDetail, m_TeamList);
}

int CChgRqstSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
