#pragma once

#include "data/BindingSet.h"

// A project an employee may book.
class CProjEmpSet : public CBindingSet {
public:
    explicit CProjEmpSet(CDBConnection* connection, int firstWrittenColumn = 0,
                         const QString& source = QStringLiteral("qselProjTeamAndProject"));

    int m_Proj_ID = 0;
    QString m_ProjName;
    int m_ProjColour = 0;
    int m_EmpID = 0;
    QString m_FirstName;
};
