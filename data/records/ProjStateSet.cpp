#include "data/records/ProjStateSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 2> kColumns = {{
    Col("PS_ID", adInteger),
    Text("StateName", 50),
}};

} // namespace

CProjStateSet::CProjStateSet(CDBConnection* connection, int firstWrittenColumn,
                             const QString& source)
    : CBindingSet(connection, kColumns, 2, firstWrittenColumn, source)
{
    BindBuffers(m_PS_ID, m_StateName);
}
