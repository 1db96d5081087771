#include "data/records/BusTypeSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 2> kColumns = {{
    Col("BusinessTypeID", adInteger),
    Text("BusinessType", 255),
}};

} // namespace

CBusTypeSet::CBusTypeSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 2, firstWrittenColumn, source)
{
    BindBuffers(m_BusinessTypeID, m_BusinessType);
}

int CBusTypeSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
