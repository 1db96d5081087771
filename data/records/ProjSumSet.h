#pragma once

#include "data/BindingSet.h"

// Counts of change requests, to-dos and comments of a project.
class CProjSumSet : public CBindingSet {
public:
    explicit CProjSumSet(CDBConnection* connection, int firstWrittenColumn = 0,
                         const QString& source = QStringLiteral("qselProjEmpSummary"));

    int m_SumChgReq = 0;
    int m_SumTodo = 0;
    int m_SumComment = 0;
};
