#include "data/records/ChgRqstListSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 18> kColumns = {{
    Listed(Col("ChgReqID", adInteger), "ChgReqID", 70, 0, 0),
    Unbound(nullptr, adInteger),
    Unbound(nullptr, adInteger),
    Unbound(nullptr, adInteger),
    Listed(Text("Contact", 50), "Contact", 70, 0, 1),
    Listed(Text("Reference", 50), "Reference", 70, 0, 2),
    Listed(Text("Item", 255), "Item", 200, 0, 3),
    Listed(Col("DateCreated", adDate, ReadRule::NullDateZero), "Dated", 70, 0, 4),
    Listed(Col("DateCompleted", adDate, ReadRule::NullDateZero), "Actioned", 70, 0, 5),
    Col(nullptr, adInteger),
    Listed(Col("Priority", adInteger), "Priority", 70, 1, 6),
    Col(nullptr, adDate, ReadRule::NullDateZero),
    Listed(Text("Comment", 6000), "Comment", 200, 0, 7),
    Listed(Text("FullDetail", 6000), "Full Details", 200, 0, 8),
    Listed(Text("ProjName", 50), "Project", 70, 0, 9),
    Listed(Text("EmpFullName", 50), "Authority", 70, 0, 10),
    Listed(Text("CompanyName", 50), "Company", 70, 0, 11),
    Listed(Text("StatusText", 50), "Status", 70, 0, 12),
}};

} // namespace

CChgRqstListSet::CChgRqstListSet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 18, firstWrittenColumn, source)
{
    BindBuffers(m_ChgReqID, m_Contact, m_Reference, m_Item, m_DateCreated, m_DateCompleted,
                m_Column10, m_Priority, m_Column12, m_Comment, m_FullDetail, m_ProjName,
                m_EmpFullName, m_CompanyName, m_StatusText);
}
