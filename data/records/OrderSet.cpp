#include "data/records/OrderSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 15> kColumns = {{
    Col("OrderID", adInteger),
    Text("OrderCode", 50),
    Text("Description", 255),
    Text("ContactName", 50),
    Col("IsFixedPrice", adBoolean),
    Col("CostMax", adCurrency),
    Col("OrderHourRate", adCurrency),
    Col("EstHours", adSingle),
    Col("ActHours", adSingle),
    Col("StartDate", adDate),
    Col("StopDate", adDate),
    Col("IsDone", adBoolean),
    Col("IsDefault", adBoolean),
    Col("ProjID", adInteger),
    Col("ActCost", adCurrency),
}};

} // namespace

COrderSet::COrderSet(CDBConnection* connection, int firstWrittenColumn, const QString& source)
    : CBindingSet(connection, kColumns, 15, firstWrittenColumn, source)
{
    BindBuffers(m_OrderID, m_OrderCode, m_Description, m_ContactName, m_IsFixedPrice, m_CostMax,
                m_OrderHourRate, m_EstHours, m_ActHours, m_StartDate, m_StopDate, m_IsDone,
                m_IsDefault, m_ProjID, m_ActCost);
}
