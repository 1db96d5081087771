#pragma once

#include "data/BindingSet.h"

// A comment as the search lists show it.
class CCommentListSet : public CBindingSet {
public:
    explicit CCommentListSet(CDBConnection* connection, int firstWrittenColumn = 0,
                             const QString& source = QStringLiteral("qselProjectCommentFull"));

    int m_CommentID = 0;
    QString m_ProjectComment;
    CDateTime m_CommentDate;
    QString m_CommentType;
    CDateTime m_ActionDate;
    int m_Priority = 0;
    QString m_ContactName;
    QString m_EmpFullName;
    QString m_ProjName;
    QString m_CompanyName;
    QString m_PriorityText;
    int m_ObjectTypeID = 0;
    int m_ObjectID = 0;
};
