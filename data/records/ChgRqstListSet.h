#pragma once

#include "data/BindingSet.h"

// A change request as the search lists show it.
class CChgRqstListSet : public CBindingSet {
public:
    explicit CChgRqstListSet(CDBConnection* connection, int firstWrittenColumn = 1,
                             const QString& source = QStringLiteral("qSelChgReqBase"));

    int m_ChgReqID = 0;
    QString m_Contact;
    QString m_Reference;
    QString m_Item;
    CDateTime m_DateCreated;
    CDateTime m_DateCompleted;
    int m_Column10 = 0;
    int m_Priority = 0;
    CDateTime m_Column12;
    QString m_Comment;
    QString m_FullDetail;
    QString m_ProjName;
    QString m_EmpFullName;
    QString m_CompanyName;
    QString m_StatusText;
};
