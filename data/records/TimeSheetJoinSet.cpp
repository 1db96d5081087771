#include "data/records/TimeSheetJoinSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 16> kColumns = {{
    Text("ProjName", 50),
    Text("OrderCode", 50),
    Text("Task", 255),
    Col("TimesheetID", adInteger),
    Col("EmpID", adInteger),
    Col("ProjID", adInteger),
    Col("OrderID", adInteger),
    Col("StartTime", adDate),
    Col("StopTime", adDate),
    Col("WorkDate", adDate),
    Col("TaskID", adInteger),
    Col("HoursWorked", adSingle),
    Text("Comment", 255),
    Text("InvCost", 255),
    Col("WorkTypeID", adInteger),
    Col("TimeID", adInteger),
}};

} // namespace

CTimeSheetJoinSet::CTimeSheetJoinSet(CDBConnection* connection, int firstWrittenColumn,
                                     const QString& source)
    : CBindingSet(connection, kColumns, 16, firstWrittenColumn, source)
{
    BindBuffers(m_ProjName, m_OrderCode, m_Task, m_TimesheetID, m_EmpID, m_ProjID, m_OrderID,
                m_StartTime, m_StopTime, m_WorkDate, m_TaskID, m_HoursWorked, m_Comment, m_InvCost,
                m_WorkTypeID, m_TimeID);
}
