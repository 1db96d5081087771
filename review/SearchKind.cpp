#include "review/SearchKind.h"

#include "data/AdoTypes.h"
#include "data/ColumnDef.h"

#include "data/records/AddrPersonListSet.h"
#include "data/records/ChgRqstListSet.h"
#include "data/records/CommentListSet.h"
#include "data/records/TimeSheetListSet.h"
#include "ui/ResourceIds.h"

namespace {

constexpr CSearchKind kKinds[] = {
    {ID_TIMESHEETS, "Search Timesheets", "View Search Results :  Timesheets", 21, "tblTimeSheet",
     "time sheets"},
    {ID_CONTACTS, "Search Companies", "View Search Results : Companies", 16, "tblAddrPerson",
     "contacts"},
    {ID_TASKS, "Search Comments", "View Search Results : Comments", 16, "tblProjectComment",
     "comments"},
    {ID_CHANGE_REQUESTS, "Search Change Requests", "View Search Results : Change Requests", 18,
     "tblChgReq", "change requests"},
};

} // namespace

const CSearchKind* FindSearchKind(int kind)
{
    for (const CSearchKind& k : kKinds)
        if (k.kind == kind)
            return &k;
    return nullptr;
}

std::unique_ptr<CBindingSet> CreateSearchListSet(int kind, CDBConnection* connection)
{
    switch (kind) {
    case ID_TIMESHEETS:
        return std::make_unique<CTimeSheetListSet>(connection);
    case ID_CONTACTS:
        return std::make_unique<CAddrPersonListSet>(connection);
    case ID_TASKS:
        return std::make_unique<CCommentListSet>(connection);
    case ID_CHANGE_REQUESTS:
        return std::make_unique<CChgRqstListSet>(connection);
    default:
        return nullptr;
    }
}

int SearchColumnType(int kind, const CColumnDescriptor& column)
{
    if (kind == ID_TIMESHEETS && column.name == QLatin1String("InvCost"))
        return adCurrency;
    return column.type;
}
