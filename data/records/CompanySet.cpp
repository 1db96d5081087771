#include "data/records/CompanySet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 12> kColumns = {{
    Text("CompanyName", 50),
    Col("CompanyLogo", adLongVarBinary),
    Text("CompanyMailToAddress", 250),
    Text("CompanySendToAddress", 250),
    Text("CompanyPhone", 50),
    Text("CompanyFax", 50),
    Text("CompanyEmail", 50),
    Text("CompanyGSTNo", 50),
    Text("CompanyWebPage", 16),
    Text("CompanySymbol", 100),
    Col("CompanyID", adInteger),
    Text("OrderPrefix", 50),
}};

} // namespace

CCompanySet::CCompanySet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 12, firstWrittenColumn, source)
{
    BindBuffers(m_CompanyName, m_CompanyLogo, m_CompanyMailToAddress, m_CompanySendToAddress,
                m_CompanyPhone, m_CompanyFax, m_CompanyEmail, m_CompanyGSTNo, m_CompanyWebPage,
                m_CompanySymbol, m_CompanyID, m_OrderPrefix);
}
