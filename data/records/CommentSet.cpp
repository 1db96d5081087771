#include "data/records/CommentSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 18> kColumns = {{
    Col("CommentID", adInteger),
    Col("ProjID", adInteger),
    Col("EmpID", adInteger),
    Col("CompanyID", adInteger),
    Text("ProjectComment", 255),
    Col("CommentDate", adDate, ReadRule::NullDateZero),
    Text("CommentType", 5),
    Col("ActionDate", adDate, ReadRule::NullDateZero),
    Col("Priority", adInteger),
    Text("ContactName", 50),
    Text("EmpFullName", 50),
    Text("ProjName", 50),
    Text("CompanyName", 50),
    Text("PriorityText", 50),
    Col("ObjectTypeID", adInteger, ReadRule::NullMinusOne),
    Col("ObjectID", adInteger, ReadRule::NullMinusOne),
    Text("FullDetails", 8000),
    Text("Reference", 255),
}};

} // namespace

CCommentSet::CCommentSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 18, firstWrittenColumn, source)
{
    BindBuffers(m_CommentID, m_ProjID, m_EmpID, m_CompanyID, m_ProjectComment, m_CommentDate,
                m_CommentType, m_ActionDate, m_Priority, m_ContactName, m_EmpFullName, m_ProjName,
                m_CompanyName, m_PriorityText, m_ObjectTypeID, m_ObjectID, m_FullDetails,
                m_Reference);
}
