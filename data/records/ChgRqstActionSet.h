#pragma once

#include "data/BindingSet.h"

// An action taken on a change request.
class CChgRqstActionSet : public CBindingSet {
public:
    explicit CChgRqstActionSet(CDBConnection* connection, int firstWrittenColumn = 1,
                               const QString& source = QStringLiteral("[tblChgReqAction]"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_ChgReqID = 0;
    int m_DeliverableID = 0;
    QString m_VersionMod;
    int m_EmpID = 0;
    CDateTime m_DateAssigned;
    CDateTime m_DateComplete;
    QString m_Comment;
    int m_StatusID = 0;
};
