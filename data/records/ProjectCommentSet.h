#pragma once

#include "data/BindingSet.h"

// A comment or to-do of a project.
class CProjectCommentSet : public CBindingSet {
public:
    explicit CProjectCommentSet(CDBConnection* connection, int firstWrittenColumn = 1,
                                const QString& source = QStringLiteral("tblProjectComment"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_ProjID = 0;
    int m_EmpID = 0;
    int m_CompanyID = 0;
    QString m_ProjectComment;
    CDateTime m_CommentDate;
    CDateTime m_ActionDate;
    int m_Priority = 0;
    QString m_ContactName;
    QString m_CommentType;
    int m_ObjectTypeID = 0;
    int m_ObjectID = 0;
    QString m_FullDetails;
    QString m_Reference;
};
