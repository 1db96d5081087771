#include "data/records/AddrPersonListSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 16> kColumns = {{
    Listed(Col("CompanyID", adInteger, ReadRule::NullMinusOne), "ID", 70, 0, -1),
    Listed(Text("CompanyName", 50), "Company Name", 70, 0, -1),
    Listed(Text("FullName", 50), "FullName", 70, 0, -1),
    Listed(Text("FirstName", 50), "FirstName", 70, 0, -1),
    Listed(Text("LastName", 50), "LastName", 70, 0, -1),
    Listed(Text("Address1", 255), "Address1", 70, 0, -1),
    Listed(Text("Phone", 50), "Phone", 70, 0, -1),
    Listed(Text("Fax", 50), "Fax", 70, 0, -1),
    Listed(Text("WWWPage", 250), "WWWPage", 70, 0, -1),
    Listed(Text("PeopleDDSPhone", 50), "Person Phone", 70, 0, -1),
    Listed(Text("PeopleMobilePhone", 50), "Person Mobile Phone", 70, 0, -1),
    Listed(Text("PeopleInternetID", 250), "People Email", 70, 0, -1),
    Listed(Text("PeopleWWW", 250), "WWW", 70, 0, -1),
    Listed(Text("PeopleFax", 50), "Person Fax", 70, 0, -1),
    Listed(Text("JobTitle", 250), "JobTitle", 70, 0, -1),
    Listed(Col("PersonID", adInteger, ReadRule::NullMinusOne), "Person ID", 70, 0, -1),
}};

} // namespace

CAddrPersonListSet::CAddrPersonListSet(CDBConnection* connection, int firstWrittenColumn,
                                       const QString& source)
    : CBindingSet(connection, kColumns, 16, firstWrittenColumn, source)
{
    BindBuffers(m_CompanyID, m_CompanyName, m_FullName, m_FirstName, m_LastName, m_Address1,
                m_Phone, m_Fax, m_WWWPage, m_PeopleDDSPhone, m_PeopleMobilePhone,
                m_PeopleInternetID, m_PeopleWWW, m_PeopleFax, m_JobTitle, m_PersonID);
}
