#include "data/records/PeopleSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 21> kColumns = {{
    Unbound("PersonID", adInteger),
    Text("FirstName", 20),
    Text("LastName", 20),
    Text("Initial", 5),
    Text("FullName", 50),
    Col("CompanyID", adInteger),
    Text("JobTitle", 250),
    Text("Title", 50),
    Unbound("IsFirstNameTerms", adBoolean),
    Text("Salutation", 50),
    Text("Addressee", 50),
    Text("PeopleDDSPhone", 50),
    Text("PeopleFax", 50),
    Text("PeopleMobilePhone", 50),
    Text("PeopleModem", 50),
    Text("PeopleOtherComms", 100),
    Text("PeopleInternetID", 250),
    Text("PeopleWWW", 250),
    Unbound("SelectXmasCard", adBoolean),
    Unbound("SelectMailDrop", adBoolean),
    Unbound("IsCurrent", adBoolean),
}};

} // namespace

CPeopleSet::CPeopleSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 21, firstWrittenColumn, source)
{
    BindBuffers(m_FirstName, m_LastName, m_Initial, m_FullName, m_CompanyID, m_JobTitle, m_Title,
                m_Salutation, m_Addressee, m_PeopleDDSPhone, m_PeopleFax, m_PeopleMobilePhone,
                m_PeopleModem, m_PeopleOtherComms, m_PeopleInternetID, m_PeopleWWW);
}

int CPeopleSet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
