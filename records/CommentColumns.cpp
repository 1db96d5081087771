#include "records/CommentColumns.h"

#include "records/CommentRow.h"
#include "ui/ListSortKeys.h"
#include "ui/MyListCtrl.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"

#include <array>

namespace {

using Column = CCommentColumns::CColumn;

constexpr std::array<Column, CCommentColumns::kCount> kColumns = {{
    {"Project", 100, kColumnText, false, 0, "[ProjName]"},
    {"Company", 100, kColumnText, false, -1, "[CompanyName]"},
    {"User", 100, kColumnText, false, -1, "[EmpFullName]"},
    {"Entered", 100, kColumnDateTime, true, -1, "[CommentDate]"},
    {"Actioned", 100, kColumnDateTime, true, -1, "[ActionDate]"},
    {"Status", 100, kColumnText, false, -1, "[CommentType]"},
    {"Comment", 150, kColumnText, false, -1, "[ProjectComment]"},
    {"Details", 150, kColumnText, false, -1, "[FullDetails]"},
    {"Priority", 60, kColumnText, false, -1, "[Priority]"},
    {"Contact Name", 100, kColumnText, false, -1, "[ContactName]"},
    {"Task", 100, kColumnText, false, -1, nullptr},
    {"Reference", 100, kColumnText, false, -1, "[Reference]"},
    {"ID", 40, kColumnInteger, false, -1, "[CommentID]"},
}};

constexpr Column kNoColumn = {"", 0, kColumnText, false, -1, nullptr};

} // namespace

const CCommentColumns::CColumn& CCommentColumns::Column(int code)
{
    return code >= 0 && code < kCount ? kColumns[static_cast<std::size_t>(code)] : kNoColumn;
}

QString CCommentColumns::SqlColumn(int code)
{
    const char* name = Column(code).sqlColumn;
    return name ? QString::fromLatin1(name) : QString();
}

int CCommentColumns::Kind(int code)
{
    return Column(code).kind;
}

QString CCommentColumns::FilterName(int code)
{
    const QString sql = SqlColumn(code);
    return sql.isEmpty() ? QString::fromLatin1(Column(code).caption) : sql;
}

QString CCommentColumns::FormatDate(const CDateTime& value, bool withTime)
{
    if (!value.IsValid() || value.Date().year() <= 1970)
        return QString();
    const CRegionalFormats& formats = RegionalFormats();
    QString text = FormatDateTime(value, formats.dateFormat);
    if (withTime)
        text += QLatin1Char(' ') + FormatDateTime(value, formats.timeFormat, formats.amDesignator,
                                                  formats.pmDesignator);
    return text;
}

QString CCommentColumns::CellText(const CCommentRow& row, int code)
{
    switch (code) {
    case kProject:
        return row.ProjName;
    case kCompany:
        return row.CompanyName;
    case kUser:
        return row.EmpFullName;
    case kEntered:
        return FormatDate(row.CommentDate, true);
    case kActioned:
        return FormatDate(row.ActionDate, false);
    case kStatus:
        return row.CommentType;
    case kComment:
        return row.ProjectComment;
    case kDetails:
        return row.FullDetails;
    case kPriority:
        return row.PriorityText;
    case kContact:
        return row.ContactName;
    case kTask:
        return row.TaskName;
    case kReference:
        return row.Reference;
    case kId:
        return QString::number(row.CommentID);
    default:
        return QString();
    }
}

QString CCommentColumns::ShownCellText(const CCommentRow& row, int code)
{
    return ShownText(CellText(row, code));
}

CCommentTexts CCommentColumns::Texts(const CCommentRow& row)
{
    CCommentTexts t;
    t.Project = CellText(row, kProject);
    t.Company = CellText(row, kCompany);
    t.User = CellText(row, kUser);
    t.Entered = CellText(row, kEntered);
    t.Actioned = CellText(row, kActioned);
    t.ContactName = CellText(row, kContact);
    t.Priority = CellText(row, kPriority);
    t.Comment = CellText(row, kComment);
    t.Status = CellText(row, kStatus);
    t.Task = CellText(row, kTask);
    t.Details = CellText(row, kDetails);
    t.Reference = CellText(row, kReference);
    return t;
}

QList<int> CCommentColumns::Order(const QList<CCommentRow>& rows, int code, bool descending)
{
    const int count = static_cast<int>(rows.size());
    const bool task = code == kTask;
    CListSortKeys ids(kColumnInteger, count);
    for (int r = 0; r < count; ++r)
        ids.SetNumber(r, rows.at(r).CommentID);
    QList<int> order = ids.Order(!task && descending);
    if (task) {
        CListSortKeys entered(kColumnDateTime, count);
        for (int r = 0; r < count; ++r)
            entered.SetDateTime(r, rows.at(r).CommentDate);
        entered.Sort(order, false);
    }
    const int kind = code == kPriority || code == kId ? kColumnInteger : Kind(code);
    CListSortKeys keys(kind, count);
    for (int r = 0; r < count; ++r) {
        const CCommentRow& row = rows.at(r);
        switch (code) {
        case kEntered:
            keys.SetDateTime(r, row.CommentDate);
            break;
        case kActioned:
            keys.SetDateTime(r, row.ActionDate);
            break;
        case kPriority:
            keys.SetNumber(r, row.Priority);
            break;
        case kId:
            keys.SetNumber(r, row.CommentID);
            break;
        default:
            keys.SetText(r, CellText(row, code));
            break;
        }
    }
    keys.Sort(order, descending);
    return order;
}
