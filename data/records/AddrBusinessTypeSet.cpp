#include "data/records/AddrBusinessTypeSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 2> kColumns = {{
    Col("CompanyID", adInteger),
    Col("BusinessTypeID", adInteger),
}};

} // namespace

CAddrBusinessTypeSet::CAddrBusinessTypeSet(CDBConnection* connection, int firstWrittenColumn,
                                           const QString& source)
    : CBindingSet(connection, kColumns, 2, firstWrittenColumn, source)
{
    BindBuffers(m_CompanyID, m_BusinessTypeID);
}
