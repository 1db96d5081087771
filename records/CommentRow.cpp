#include "records/CommentRow.h"

#include "data/DBClass.h"
#include "data/records/CommentSet.h"

CCommentRow CCommentRow::FromSet(const CCommentSet& set, CDBClass& db,
                                 QHash<int, QString>* taskNames)
{
    CCommentRow row;
    row.CommentID = set.m_CommentID;
    row.ProjID = set.IsNull(1) ? -1 : set.m_ProjID;
    row.EmpID = set.IsNull(2) ? -1 : set.m_EmpID;
    row.CompanyID = set.IsNull(3) ? -1 : set.m_CompanyID;
    row.ProjectComment = set.m_ProjectComment;
    row.CommentDate = set.m_CommentDate;
    row.CommentType = set.m_CommentType;
    row.ActionDate = set.m_ActionDate;
    row.Priority = set.IsNull(8) ? 2 : set.m_Priority;
    row.ContactName = set.m_ContactName;
    row.EmpFullName = set.m_EmpFullName;
    row.ProjName = set.m_ProjName;
    row.CompanyName = set.m_CompanyName;
    row.PriorityText = set.m_PriorityText;
    row.ObjectTypeID = set.IsNull(14) ? -1 : set.m_ObjectTypeID;
    row.ObjectID = set.IsNull(15) ? -1 : set.m_ObjectID;
    row.FullDetails = set.m_FullDetails;
    row.Reference = set.m_Reference;
    if (row.ObjectID >= 0 && taskNames) {
        // The facade searches its task list for every row.
        auto known = taskNames->constFind(row.ObjectID);
        if (known == taskNames->cend())
            known = taskNames->insert(row.ObjectID, db.GetTaskName(row.ObjectID));
        row.TaskName = *known;
    } else if (row.ObjectID >= 0) {
        row.TaskName = db.GetTaskName(row.ObjectID);
    }
    return row;
}

bool CCommentRow::IsToDo() const
{
    return CommentType.compare(QLatin1String("ToDo"), Qt::CaseInsensitive) == 0;
}
