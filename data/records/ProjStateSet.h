#pragma once

#include "data/BindingSet.h"

// The name of a project state.
class CProjStateSet : public CBindingSet {
public:
    explicit CProjStateSet(CDBConnection* connection, int firstWrittenColumn = 0,
                           const QString& source = QStringLiteral("tlkpProjectState"));

    int m_PS_ID = 0;
    QString m_StateName;
};
