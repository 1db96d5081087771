#pragma once

#include "data/BindingSet.h"

// A business type of the address book.
class CBusTypeSet : public CBindingSet {
public:
    explicit CBusTypeSet(CDBConnection* connection, int firstWrittenColumn = 1,
                         const QString& source = QStringLiteral("tlkpAddrBusinessType"));

    int m_BusinessTypeID = 0;
    QString m_BusinessType;
};
