#pragma once

#include "data/BindingSet.h"

// A change request with the date and comment of its latest action.
class CChgRqstBaseSet : public CBindingSet {
public:
    explicit CChgRqstBaseSet(CDBConnection* connection, int firstWrittenColumn = 0,
                             const QString& source = QStringLiteral("[qSelChgReqBase]"));

    int m_ChgReq_ID = 0;
    int m_ProjID = 0;
    int m_EmpID = 0;
    int m_CompanyID = 0;
    QString m_Contact;
    QString m_Reference;
    QString m_Item;
    CDateTime m_DateCreated;
    CDateTime m_DateCompleted;
    int m_StatusID = 0;
    int m_Priority = 0;
    CDateTime m_DateAssigned;
    QString m_Comment;
    QString m_FullDetail;
};
