#include "data/records/ClashCountSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 2> kColumns = {{
    Col("ClashCount", adInteger),
    Unbound("EmpID", adInteger),
}};

} // namespace

CClashCountSet::CClashCountSet(CDBConnection* connection, int firstWrittenColumn,
                               const QString& source)
    : CBindingSet(connection, kColumns, 2, firstWrittenColumn, source)
{
    BindBuffers(m_ClashCount);
}
