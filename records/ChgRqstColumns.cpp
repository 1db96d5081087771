#include "records/ChgRqstColumns.h"

#include "data/ChgReqTypes.h"
#include "records/ChgRqstRow.h"
#include "records/CommentColumns.h"
#include "ui/ListSortKeys.h"
#include "ui/MyListCtrl.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"

#include <array>

namespace {

using Column = CChgRqstColumns::CColumn;

constexpr std::array<Column, CChgRqstColumns::kCount> kColumns = {{
    {"Authority", 100, kColumnText, false, 0, "[Authority]"},
    {"Reference", 100, kColumnText, false, 11, "[reference]"},
    {"Project", 100, kColumnText, false, 1, "[Project]"},
    {"Company", 100, kColumnText, false, 2, "[Company]"},
    {"Contact", 100, kColumnText, false, 3, "[Contact]"},
    {"Dated", 100, kColumnDateTime, false, 4, "[DateCreated]"},
    {"Actioned", 100, kColumnDateTime, false, 5, "[DateCompleted]"},
    {"Item", 100, kColumnText, false, 6, "[Item]"},
    {"Priority", 100, kColumnText, false, 7, "[Priority]"},
    {"Id", 100, kColumnInteger, true, 8, "[ChgReqID]"},
}};

constexpr Column kNoColumn = {"", 0, kColumnText, false, -1, nullptr};

} // namespace

const CChgRqstColumns::CColumn& CChgRqstColumns::Column(int kind)
{
    return kind >= 0 && kind < kCount ? kColumns[static_cast<std::size_t>(kind)] : kNoColumn;
}

QString CChgRqstColumns::SqlColumn(int kind)
{
    const char* name = Column(kind).sqlColumn;
    return name ? QString::fromLatin1(name) : QString();
}

int CChgRqstColumns::ValueKind(int kind)
{
    return Column(kind).kind;
}

QString CChgRqstColumns::CellText(const CChgRqstRow& row, int kind)
{
    switch (kind) {
    case kAuthority:
        return row.Authority;
    case kReference:
        return row.Reference;
    case kProject:
        return row.Project;
    case kCompany:
        return row.Company;
    case kContact:
        return row.Contact;
    case kDated:
        return CCommentColumns::FormatDate(row.DateCreated, true);
    case kActioned:
        return CChgReqRecord::IsCompletedDate(row.DateCompleted)
                   ? FormatDateTime(row.DateCompleted, RegionalFormats().dateFormat)
                   : QString();
    case kItem:
        return row.Item;
    case kPriority:
        return row.Priority;
    case kId:
        return QString::number(row.ChgReqID);
    default:
        return QString();
    }
}

QString CChgRqstColumns::ShownCellText(const CChgRqstRow& row, int kind)
{
    return ShownText(CellText(row, kind));
}

QList<int> CChgRqstColumns::Order(const QList<CChgRqstRow>& rows, int kind, bool descending)
{
    const int count = static_cast<int>(rows.size());
    CListSortKeys ids(kColumnInteger, count);
    for (int r = 0; r < count; ++r)
        ids.SetNumber(r, rows.at(r).ChgReqID);
    QList<int> order = ids.Order(descending);
    CListSortKeys keys(ValueKind(kind), count);
    for (int r = 0; r < count; ++r) {
        const CChgRqstRow& row = rows.at(r);
        switch (kind) {
        case kDated:
            keys.SetDateTime(r, row.DateCreated);
            break;
        case kActioned:
            keys.SetDateTime(r, row.DateCompleted);
            break;
        case kId:
            keys.SetNumber(r, row.ChgReqID);
            break;
        default:
            keys.SetText(r, CellText(row, kind));
            break;
        }
    }
    keys.Sort(order, descending);
    return order;
}
