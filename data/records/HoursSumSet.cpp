#include "data/records/HoursSumSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 6> kColumns = {{
    Text("ms_ProjName", 50),
    Text("ms_Task", 255),
    Col("mdt_WorkDate", adDate),
    Text("ms_DateStr", 255),
    Col("mi_EmpID", adInteger),
    Col("mf_SumOfHoursWorked1", adDouble),
}};

} // namespace

CHoursSumSet::CHoursSumSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 6, firstWrittenColumn, source)
{
    BindBuffers(m_ProjName, m_Task, m_WorkDate, m_DateStr, m_EmpID, m_SumOfHoursWorked1);
}
