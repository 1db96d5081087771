#include "data/records/TimeSheetListSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 21> kColumns = {{
    Listed(Text("ProjName", 50), "Project Name", 70, 0, -1),
    Listed(Text("OrderCode", 255), "Order Code", 70, 0, -1),
    Listed(Text("Task", 255), "Task", 70, 0, -1),
    Listed(Col("TimesheetID", adInteger), "Timesheet ID", 70, 0, -1),
    Unbound(nullptr),
    Unbound(nullptr),
    Unbound(nullptr),
    Listed(Col("StartTime", adDate), "Start Time", 70, 0, -1),
    Listed(Col("StopTime", adDate), "Stop Time", 70, 0, -1),
    Listed(Col("WorkDate", adDate), "Work Date", 70, 0, -1),
    Unbound(nullptr),
    Listed(Col("HoursWorked", adSingle), "Hours Worked", 70, 0, -1),
    Listed(Text("Comment", 255), "Comment", 200, 0, -1),
    Listed(Text("InvCost", 255), "Invoiced Cost", 70, 0, -1),
    Unbound(nullptr),
    Unbound(nullptr),
    Listed(Text("EmpFullName", 50), "Name", 70, 0, -1),
    Listed(Text("WorkType", 255), "Work Type", 70, 0, -1),
    Listed(Col("ObjectTypeID", adInteger), "ObjectTypeID", 70, 0, -1),
    Listed(Text("Object", 255), "Object", 70, 0, -1),
    Listed(Col("ObjectID", adInteger), "ObjectID", 70, 0, -1),
}};

} // namespace

CTimeSheetListSet::CTimeSheetListSet(CDBConnection* connection, int firstWrittenColumn,
                                     const QString& source)
    : CBindingSet(connection, kColumns, 21, firstWrittenColumn, source)
{
    BindBuffers(m_ProjName, m_OrderCode, m_Task, m_TimesheetID, m_StartTime, m_StopTime, m_WorkDate,
                m_HoursWorked, m_Comment, m_InvCost, m_EmpFullName, m_WorkType, m_ObjectTypeID,
                m_Object, m_ObjectID);
}
