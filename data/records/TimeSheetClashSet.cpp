#include "data/records/TimeSheetClashSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 15> kColumns = {{
    Unbound("TimesheetID", adInteger),
    Col("EmpID", adInteger),
    Col("ProjID", adInteger),
    Unbound("OrderID", adInteger),
    Col("WorkDate", adDate),
    Col("StartTime", adDate),
    Col("StopTime", adDate),
    Unbound("HoursWorked"),
    Col("TaskID", adInteger),
    Unbound("Comment"),
    Unbound("InvCost"),
    Unbound("WorkTypeID", adInteger),
    Unbound("TimeID", adInteger),
    Unbound("BatchID", adInteger),
    Unbound("OperationType", adInteger),
}};

} // namespace

CTimeSheetClashSet::CTimeSheetClashSet(CDBConnection* connection, int firstWrittenColumn,
                                       const QString& source)
    : CBindingSet(connection, kColumns, 15, firstWrittenColumn, source)
{
    BindBuffers(m_EmpID, m_ProjID, m_WorkDate, m_StartTime, m_StopTime, m_TaskID);
}
