#include "records/CommentFilter.h"

#include "records/CommentColumns.h"
#include "records/CommentRow.h"

QString CCommentFilter::ThreeTypeExpression()
{
    return QStringLiteral(
        "([CommentType] ='Bad' OR [CommentType] ='Good' OR [CommentType] ='Info')");
}

CCommentFilter CCommentFilter::Build(bool companyView, int nodeId, int empId, int typeIndex,
                                     const QString& typeText)
{
    CCommentFilter filter;
    if (nodeId >= 0)
        filter = CCommentFilter(
            Equals(companyView ? QStringLiteral("[CompanyID]") : QStringLiteral("[ProjID]"),
                   QStringLiteral("= "), nodeId));
    const bool hasNode = !filter.IsEmpty();
    if (empId > 0)
        filter.Append(QStringLiteral(" AND"),
                      Equals(QStringLiteral(" [EmpID]"), QStringLiteral(" = "), empId));
    if (typeIndex > 0) {
        const CBoundFilter type =
            typeText.compare(ThreeTypes(), Qt::CaseInsensitive) == 0
                ? CBoundFilter{ThreeTypeExpression(), {}, ThreeTypeExpression()}
                : Equals(QStringLiteral(" [CommentType]"), QStringLiteral("  = "), typeText);
        if (empId > 0 || hasNode) {
            filter.sql += QStringLiteral(" AND ");
            filter.text += QStringLiteral(" AND ");
        }
        filter.sql += type.sql;
        filter.text += type.text;
        filter.values += type.values;
    }
    return filter;
}

bool CCommentFilter::ForColumn(const CCommentRow& row, int code, CCommentFilter& out)
{
    if (CCommentColumns::CellText(row, code).isEmpty())
        return false;
    const QString column = CCommentColumns::SqlColumn(code);
    const QString mark = QStringLiteral(" = ");
    switch (code) {
    case CCommentColumns::kEntered:
    case CCommentColumns::kActioned:
        // By the day, whatever the time and the user's date format.
        out = CCommentFilter(
            SameDay(column, code == CCommentColumns::kEntered ? row.CommentDate : row.ActionDate));
        return true;
    case CCommentColumns::kPriority:
        out = CCommentFilter(Equals(column, mark, row.Priority));
        return true;
    case CCommentColumns::kId:
        out = CCommentFilter(Equals(column, mark, row.CommentID));
        return true;
    case CCommentColumns::kTask:
        // The query has no task name: the task the comment is assigned to.
        out = CCommentFilter(Equals(QStringLiteral("[ObjectID]"), mark, row.ObjectID));
        return true;
    default:
        if (column.isEmpty())
            return false;
        out = CCommentFilter(Equals(column, mark, CCommentColumns::CellText(row, code)));
        return true;
    }
}
