#include "data/records/AddrCompanySet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 32> kColumns = {{
    Col("CompanyID", adInteger),
    Text("CompanyName", 255),
    Text("AddressComment", 6000),
    Col("OrganizationID", adInteger),
    Col("SupplierFlag", adBoolean),
    Col("CustomerFlag", adBoolean),
    Col("ApprovedFlag", adBoolean),
    Col("ProspectFlag", adBoolean),
    Text("Phone", 50),
    Text("Fax", 50),
    Text("Phone2", 50),
    Text("CompanyBBS", 100),
    Text("CommsOther", 100),
    Text("Address1", 255),
    Text("Address2", 255),
    Text("Address3", 255),
    Text("POBox", 50),
    Text("ZIP", 50),
    Text("ShipAddress1", 100),
    Text("ShipAddress2", 100),
    Text("ShipAddress3", 100),
    Text("City", 50),
    Text("Country", 50),
    Text("AddressGST", 50),
    Text("InvoicePersonName", 50),
    Col("IsZeroGST", adBoolean),
    Col("IsCurrent", adBoolean),
    Col("LastUpdate", adDate),
    Col("MarkOutOf10", adSmallInt),
    Text("WWWpage", 250),
    Text("MailingAddress", 250),
    Text("ShortCompanyName", 50),
}};

} // namespace

CAddrCompanySet::CAddrCompanySet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 32, firstWrittenColumn, source)
{
    BindBuffers(m_CompanyID, m_CompanyName, m_AddressComment, m_OrganizationID, m_SupplierFlag,
                m_CustomerFlag, m_ApprovedFlag, m_ProspectFlag, m_Phone, m_Fax, m_Phone2,
                m_CompanyBBS, m_CommsOther, m_Address1, m_Address2, m_Address3, m_POBox, m_ZIP,
                m_ShipAddress1, m_ShipAddress2, m_ShipAddress3, m_City, m_Country, m_AddressGST,
                m_InvoicePersonName, m_IsZeroGST, m_IsCurrent, m_LastUpdate, m_MarkOutOf10,
                m_WWWpage, m_MailingAddress, m_ShortCompanyName);
}

int CAddrCompanySet::Width(const char* column)
{
    return TextWidth(kColumns, column);
}
