#include "data/records/WorkTypeSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 3> kColumns = {{
    Col("WorkTypeID", adInteger),
    Text("WorkType", 50),
    Col("WorkColour", adInteger),
}};

} // namespace

CWorkTypeSet::CWorkTypeSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 3, firstWrittenColumn, source)
{
    BindBuffers(m_WorkTypeID, m_WorkType, m_WorkColour);
}
