#pragma once

#include "data/BindingSet.h"

// The number of an employee's staged copies that clash.
class CClashCountSet : public CBindingSet {
public:
    explicit CClashCountSet(CDBConnection* connection, int firstWrittenColumn = 0,
                            const QString& source = QStringLiteral("qsumTimeSheetClash"));

    int m_ClashCount = 0;
};
