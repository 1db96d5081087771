#pragma once

#include "data/BindingSet.h"

// A status of change requests and their actions.
class CStatusSet : public CBindingSet {
public:
    explicit CStatusSet(CDBConnection* connection, int firstWrittenColumn = 0,
                        const QString& source = QStringLiteral("tlkpStatus"));

    int m_StatusID = 0;
    QString m_StatusName;
    int m_IsProject = 0;
    int m_StatusType = 0;
};
