#pragma once

#include "data/BindingSet.h"

// A kind of work, with its colour.
class CWorkTypeSet : public CBindingSet {
public:
    explicit CWorkTypeSet(CDBConnection* connection, int firstWrittenColumn = 1,
                          const QString& source = QStringLiteral("tlkpWorkType"));

    int m_WorkTypeID = 0;
    QString m_WorkType;
    int m_WorkColour = 0;
};
