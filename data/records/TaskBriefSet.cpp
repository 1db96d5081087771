#include "data/records/TaskBriefSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 9> kColumns = {{
    Col("TaskID", adInteger),
    Text("Task", 255),
    Col("ProjID", adInteger),
    Col("IsDefault", adBoolean),
    Col("DefaultWorkTypeID", adInteger),
    Col("State", adInteger),
    Text("TaskOrder", 255),
    Col("OrderID", adInteger, ReadRule::NullMinusOne),
    Text("Comment", 8000),
}};

} // namespace

CTaskBriefSet::CTaskBriefSet(CDBConnection* connection, int firstWrittenColumn,
                             const QString& source)
    : CBindingSet(connection, kColumns, 8, firstWrittenColumn, source)
{
    BindBuffers(m_TaskID, m_Task, m_ProjID, m_IsDefault, m_DefaultWorkTypeID, m_State, m_TaskOrder,
                m_OrderID, m_Comment);
}
