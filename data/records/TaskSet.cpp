#include "data/records/TaskSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 23> kColumns = {{
    Col("TaskID", adInteger),
    Text("Task", 50),
    Col("EstHours", adSingle),
    Col("ActHours", adSingle),
    Col("ProjID", adInteger),
    Col("OrderID", adInteger),
    Text("TaskOrder", 15),
    Col("EstStart", adDate, ReadRule::NullDateZero),
    Col("EstFinish", adDate, ReadRule::NullDateZero),
    Col("ActStart", adDate, ReadRule::NullDateZero),
    Col("ActFinish", adDate, ReadRule::NullDateZero),
    Col("IsMilestone", adBoolean),
    Col("IsCritical", adBoolean),
    Col("EstCumHours", adSingle),
    Col("ActCumHours", adSingle),
    Col("MspTaskID", adInteger),
    Text("Comment", 255),
    Col("State", adInteger),
    Col("PercentComplete", adSingle),
    Col("DefaultWorkTypeID", adInteger),
    Col("EnteredBy", adInteger),
    Col("AllocatedTo", adInteger),
    Text("FullDetails", 1000),
}};

} // namespace

CTaskSet::CTaskSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 23, firstWrittenColumn, source)
{
    BindBuffers(m_TaskID, m_Task, m_EstHours, m_ActHours, m_ProjID, m_OrderID, m_TaskOrder,
                m_EstStart, m_EstFinish, m_ActStart, m_ActFinish, m_IsMilestone, m_IsCritical,
                m_EstCumHours, m_ActCumHours, m_MspTaskID, m_Comment, m_State, m_PercentComplete,
                m_DefaultWorkTypeID, m_EnteredBy, m_AllocatedTo, m_FullDetails);
}

int CTaskSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
