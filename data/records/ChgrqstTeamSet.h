#pragma once

#include "data/BindingSet.h"

// A member of the team of a change request.
class CChgrqstTeamSet : public CBindingSet {
public:
    explicit CChgrqstTeamSet(CDBConnection* connection, int firstWrittenColumn = 0,
                             const QString& source = QStringLiteral("[tblChgReqTeam]"));

    int m_ChgReqID = 0;
    int m_EmpID = 0;
    QString m_Comment;
};
