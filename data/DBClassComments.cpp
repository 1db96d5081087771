// The facade's services for the comments and to-dos windows.
#include "data/DBClass.h"

#include "data/BindingSet.h"
#include "data/records/CompanySet.h"
#include "data/records/ProjectSet.h"

bool CDBClass::GetSetupCompany(int& companyId, QString& name)
{
    CCompanySet set(m_connection.get());
    if (!OpenRecordSet(&set))
        return false;
    const bool found = !set.Recordset()->IsEOF();
    if (found) {
        name = set.m_CompanyName;
        // The own company may be set up without an address-book entry.
        companyId = set.IsNull(10) ? -1 : set.m_CompanyID;
    }
    CloseRecordSet(&set);
    return found;
}

bool CDBClass::GetProjectInfo(int projId, QString& companyName, int& companyId)
{
    CProjectSet set(m_connection.get());
    set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {projId});
    if (!OpenRecordSet(&set))
        return false;
    const bool found = !set.Recordset()->IsEOF();
    const int id = found ? set.m_CompanyID : -1;
    CloseRecordSet(&set);
    if (!found)
        return false;
    companyId = id;
    companyName.clear();
    if (id >= 0 && !GetCompanyNameById(id, companyName))
        companyId = -1; // the company went: the project has none
    return true;
}
