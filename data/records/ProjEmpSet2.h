#pragma once

#include "data/BindingSet.h"

// A member of a project team.
class CProjEmpSet2 : public CBindingSet {
public:
    explicit CProjEmpSet2(CDBConnection* connection, int firstWrittenColumn = 0,
                          const QString& source = QStringLiteral("qselProjTeamAndProject"));

    int m_Proj_ID = 0;
    QString m_ProjName;
    int m_ProjColour = 0;
    int m_EmpID = 0;
    QString m_FirstName;
    QString m_Column6;
};
