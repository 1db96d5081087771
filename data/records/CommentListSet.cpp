#include "data/records/CommentListSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 16> kColumns = {{
    Listed(Col("CommentID", adInteger), "ID", 70, 0, -1),
    Unbound(nullptr),
    Unbound(nullptr),
    Unbound(nullptr),
    Listed(Text("ProjectComment", 255), "Comment", 200, 0, -1),
    Listed(Col("CommentDate", adDate, ReadRule::NullDateZero), "Date Entered", 70, 0, -1),
    Listed(Text("CommentType", 5), "Status", 70, 0, -1),
    Listed(Col("ActionDate", adDate, ReadRule::NullDateZero), "Completed Date", 70, 0, -1),
    Listed(Col("Priority", adInteger), "Priority", 70, 0, -1),
    Listed(Text("ContactName", 50), "Contact Name", 70, 0, -1),
    Listed(Text("EmpFullName", 50), "User", 70, 0, -1),
    Listed(Text("ProjName", 50), "Project", 70, 0, -1),
    Listed(Text("CompanyName", 50), "Company Name", 70, 0, -1),
    Listed(Text("PriorityText", 50), "Priority Text", 70, 0, -1),
    Listed(Col("ObjectTypeID", adInteger, ReadRule::NullMinusOne), "ObjectTypeID", 70, 0, -1),
    Listed(Col("ObjectID", adInteger, ReadRule::NullMinusOne), "ObjectID", 70, 2, 12),
}};

} // namespace

CCommentListSet::CCommentListSet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 16, firstWrittenColumn, source)
{
    BindBuffers(m_CommentID, m_ProjectComment, m_CommentDate, m_CommentType, m_ActionDate,
                m_Priority, m_ContactName, m_EmpFullName, m_ProjName, m_CompanyName, m_PriorityText,
                m_ObjectTypeID, m_ObjectID);
}
