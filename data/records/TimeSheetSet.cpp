#include "data/records/TimeSheetSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 16> kColumns = {{
    Col("TimesheetID", adInteger),
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
    Col("InvID", adInteger),
    Col("ObjectTypeID", adInteger),
    Col("ObjectID", adInteger),
}};

} // namespace

CTimeSheetSet::CTimeSheetSet(CDBConnection* connection, int firstWrittenColumn,
                             const QString& source)
    : CBindingSet(connection, kColumns, 16, firstWrittenColumn, source)
{
    // A row is known by its key and its (EmpID, WorkDate, TimeID); an update
    // rewrites everything else.
    for (int column : {0, 1, 4, 12})
        SetIncluded(column, false);
    BindBuffers(m_TimesheetID, m_EmpID, m_ProjID, m_OrderID, m_WorkDate, m_StartTime, m_StopTime,
                m_HoursWorked, m_TaskID, m_Comment, m_InvCost, m_WorkTypeID, m_TimeID, m_InvID,
                m_ObjectTypeID, m_ObjectID);
}

int CTimeSheetSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
