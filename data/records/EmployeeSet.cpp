#include "data/records/EmployeeSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 28> kColumns = {{
    Col("EmpID", adInteger),
    Text("FirstName", 50),
    Text("LastName", 50),
    Text("EmpFullName", 50),
    Col("HourRateFactor", adSingle, ReadRule::NullOne),
    Unbound("IsProjectEng", adBoolean),
    Text("Initial", 10),
    Col("IsCurrent", adBoolean),
    Text("IRDNo", 20),
    Col("StartDate", adDate),
    Col("StopDate", adDate),
    Col("CurrentProjID", adInteger, ReadRule::NullMinusOne),
    Col("SecLevel", adInteger, ReadRule::NullMinusOne),
    Text("JobTitle", 250),
    Text("Email", 500),
    Text("Phone", 50),
    Text("Fax", 50),
    Text("MobilePhone", 50),
    Unbound("Photo"),
    Unbound("AccountSufix"),
    Col("PersonID", adInteger),
    Col("CompanyID", adInteger, ReadRule::NullMinusOne),
    Unbound("Signatur"),
    Col("DeptID", adInteger),
    Text("Pwd", 20),
    Text("NTUserName", 20),
    Col("ManagerID", adInteger),
    Text("EmpRef", 50),
}};

} // namespace

CEmployeeSet::CEmployeeSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 28, firstWrittenColumn, source)
{
    // The employee table belongs to Vek; this program writes only these.
    for (int column = 0; column < ColumnCount(); ++column)
        SetIncluded(column, false);
    for (int column : {1, 2, 3, 6, 11, 13, 14, 15, 16, 17, 23, 24})
        SetIncluded(column, true);
    BindBuffers(m_EmpID, m_FirstName, m_LastName, m_EmpFullName, m_HourRateFactor, m_Initial,
                m_IsCurrent, m_IRDNo, m_StartDate, m_StopDate, m_CurrentProjID, m_SecLevel,
                m_JobTitle, m_Email, m_Phone, m_Fax, m_MobilePhone, m_PersonID, m_CompanyID,
                m_DeptID, m_Pwd, m_NTUserName, m_ManagerID, m_EmpRef);
}
