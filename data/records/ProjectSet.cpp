#include "data/records/ProjectSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 27> kColumns = {{
    Col("ProjID", adInteger, ReadRule::NullMinusOne),
    Text("ProjName", 50),
    Text("CustProjName", 50),
    Col("IsInternal", adBoolean),
    Col("IsProduct", adBoolean),
    Text("ProjDir", 50),
    Col("CompanyID", adInteger, ReadRule::NullMinusOne),
    Col("ProjHourRate", adCurrency),
    Col("ProjStartDate", adDate, ReadRule::NullDateZero),
    Col("ProjStopDate", adDate, ReadRule::NullDateZero),
    Col("ProjLeader", adInteger, ReadRule::NullMinusOne),
    Col("DrawingStartNo", adInteger, ReadRule::NullMinusOne),
    Text("Abstract", 6000),
    Col("ProjState", adInteger, ReadRule::NullMinusOne),
    Col("UseTeamCheck", adBoolean),
    Text("ProjCustContact", 255),
    Text("ProjInvoiceContact", 255),
    Col("ProjProgress", adSingle, ReadRule::NullZero),
    Col("MspProjectID", adInteger, ReadRule::NullMinusOne),
    Col("ProjColour", adInteger),
    Col("IsTemplate", adBoolean),
    Col("ProjHours", adSingle),
    Col("ProjEstHours", adSingle),
    Col("ProjCost", adCurrency),
    Text("ProjGroup", 50),
    Text("ProjType", 50),
    Text("ProjFilename", 255),
}};

} // namespace

CProjectSet::CProjectSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 27, firstWrittenColumn, source)
{
    BindBuffers(m_ProjID, m_ProjName, m_CustProjName, m_IsInternal, m_IsProduct, m_ProjDir,
                m_CompanyID, m_ProjHourRate, m_ProjStartDate, m_ProjStopDate, m_ProjLeader,
                m_DrawingStartNo, m_Abstract, m_ProjState, m_UseTeamCheck, m_ProjCustContact,
                m_ProjInvoiceContact, m_ProjProgress, m_MspProjectID, m_ProjColour, m_IsTemplate,
                m_ProjHours, m_ProjEstHours, m_ProjCost, m_ProjGroup, m_ProjType, m_ProjFilename);
}
