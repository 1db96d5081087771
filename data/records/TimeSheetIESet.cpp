#include "data/records/TimeSheetIESet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 15> kColumns = {{
    Unbound("TimesheetID", adInteger),
    Col("EmpID", adInteger),
    Col("ProjID", adInteger),
    Col("OrderID", adInteger),
    Col("WorkDate", adDate),
    Col("StartTime", adDate),
    Col("StopTime", adDate),
    Col("HoursWorked", adSingle),
    Col("TaskID", adInteger),
    Text("Comment", 255),
    Col("InvCost", adCurrency),
    Col("WorkTypeID", adInteger),
    Col("TimeID", adInteger),
    Col("BatchID", adInteger),
    Col("OperationType", adInteger),
}};

} // namespace

CTimeSheetIESet::CTimeSheetIESet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 15, firstWrittenColumn, source)
{
    BindBuffers(m_EmpID, m_ProjID, m_OrderID, m_WorkDate, m_StartTime, m_StopTime, m_HoursWorked,
                m_TaskID, m_Comment, m_InvCost, m_WorkTypeID, m_TimeID, m_BatchID, m_OperationType);
}
