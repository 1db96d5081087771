#pragma once

#include "data/BindingSet.h"

// A change request.
class CChgRqstSet : public CBindingSet {
public:
    explicit CChgRqstSet(CDBConnection* connection, int firstWrittenColumn = 1,
                         const QString& source = QStringLiteral("[tblChgReq]"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_ChgReqID = 0;
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
    QString m_FullDetail;
    QString m_TeamList;
};
