#pragma once

#include "data/BindingSet.h"

// A change request in the list by team member.
class CChgRqstBriefSet2 : public CBindingSet {
public:
    explicit CChgRqstBriefSet2(CDBConnection* connection, int firstWrittenColumn = 0,
                               const QString& source = QStringLiteral("[qselchgreqTeamlist]"));

    QString m_Authority;
    QString m_Project;
    QString m_Company;
    QString m_Contact;
    CDateTime m_DateCreated;
    CDateTime m_DateCompleted;
    QString m_Item;
    QString m_Priority;
    int m_ChgReqID = 0;
    int m_EmpID = 0;
    int m_ProjID = 0;
    QString m_Reference;
    int m_CompID = 0;
};
