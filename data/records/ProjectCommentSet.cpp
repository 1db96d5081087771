#include "data/records/ProjectCommentSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 14> kColumns = {{
    Unbound("CommentID", adInteger),
    Col("ProjID", adInteger),
    Col("EmpID", adInteger),
    Col("CompanyID", adInteger),
    Text("ProjectComment", 255),
    Col("CommentDate", adDate, ReadRule::NullDateZero),
    Col("ActionDate", adDate, ReadRule::NullDateZero),
    Col("Priority", adInteger, ReadRule::NullOne),
    Text("ContactName", 50),
    Text("CommentType", 50),
    Col("ObjectTypeID", adInteger),
    Col("ObjectID", adInteger),
    Text("FullDetails", 8000),
    Text("Reference", 255),
}};

} // namespace

CProjectCommentSet::CProjectCommentSet(CDBConnection* connection, int firstWrittenColumn,
                                       const QString& source)
    : CBindingSet(connection, kColumns, 14, firstWrittenColumn, source)
{
    BindBuffers(m_ProjID, m_EmpID, m_CompanyID, m_ProjectComment, m_CommentDate, m_ActionDate,
                m_Priority, m_ContactName, m_CommentType, m_ObjectTypeID, m_ObjectID, m_FullDetails,
                m_Reference);
}

int CProjectCommentSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
