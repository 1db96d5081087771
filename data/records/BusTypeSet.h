#pragma once

#include "data/BindingSet.h"

// A business type of the address book.
class CBusTypeSet : public CBindingSet {
public:
    explicit CBusTypeSet(CDBConnection* connection, int firstWrittenColumn = 1,
                         const QString& source = QStringLiteral("tlkpAddrBusinessType"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_BusinessTypeID = 0;
    QString m_BusinessType;
};
