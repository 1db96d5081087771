#include "data/records/CompanyDetailSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 32> kColumns = {{
    Col("mi_Company_ID", adInteger),
    Text("ms_Company_Name", 50),
    Text("ms_AddressComment", 6000),
    Col("mi_OrganizationID", adInteger),
    Col("mb_SupplierFlag", adBoolean),
    Col("mb_CustomerFlag", adBoolean),
    Col("mb_ApprovedFlag", adBoolean),
    Col("mb_ProspectFlag", adBoolean),
    Text("ms_Phone", 50),
    Text("ms_Fax", 50),
    Text("ms_Phone2", 50),
    Text("ms_CompanyBBS", 100),
    Text("ms_CommsOther", 100),
    Text("ms_Address1", 255),
    Text("ms_Address2", 255),
    Text("ms_Address3", 255),
    Text("ms_POBox", 50),
    Text("ms_ZIP", 50),
    Text("ms_ShipAddress1", 100),
    Text("ms_ShipAddress2", 100),
    Text("ms_ShipAddress3", 100),
    Text("ms_City", 50),
    Text("ms_Country", 50),
    Text("ms_AddressGST", 50),
    Text("ms_InvoicePersonName", 50),
    Col("mb_IsZeroGST", adBoolean),
    Col("mb_IsCurrent", adBoolean),
    Col("mdt_LastUpdate", adDate),
    Col("mby_MarkOutOf10", adSmallInt),
    Text("ms_WWWpage", 255),
    Text("ms_MailingAddress", 255),
    Text("ms_ShortCompanyName", 11),
}};

} // namespace

CCompanyDetailSet::CCompanyDetailSet(CDBConnection* connection, int firstWrittenColumn,
                                     const QString& source)
    : CBindingSet(connection, kColumns, 32, firstWrittenColumn, source)
{
    BindBuffers(m_Company_ID, m_Company_Name, m_AddressComment, m_OrganizationID, m_SupplierFlag,
                m_CustomerFlag, m_ApprovedFlag, m_ProspectFlag, m_Phone, m_Fax, m_Phone2,
                m_CompanyBBS, m_CommsOther, m_Address1, m_Address2, m_Address3, m_POBox, m_ZIP,
                m_ShipAddress1, m_ShipAddress2, m_ShipAddress3, m_City, m_Country, m_AddressGST,
                m_InvoicePersonName, m_IsZeroGST, m_IsCurrent, m_LastUpdate, m_MarkOutOf10,
                m_WWWpage, m_MailingAddress, m_ShortCompanyName);
}
