#pragma once

#include "data/BindingSet.h"

// The link between a company and a business type.
class CAddrBusinessTypeSet : public CBindingSet {
public:
    explicit CAddrBusinessTypeSet(CDBConnection* connection, int firstWrittenColumn = 0,
                                  const QString& source = QStringLiteral("tblAddrBusinessType"));

    int m_CompanyID = 0;
    int m_BusinessTypeID = 0;
};
