#include "data/records/ProjSumSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 5> kColumns = {{
    Col("SumChgReq", adInteger),
    Col("SumTodo", adInteger),
    Col("SumComment", adInteger),
    Unbound("projID", adInteger),
    Unbound("EmpID", adInteger),
}};

} // namespace

CProjSumSet::CProjSumSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 5, firstWrittenColumn, source)
{
    BindBuffers(m_SumChgReq, m_SumTodo, m_SumComment);
}
