#include "records/CommentFilter.h"

#include "data/SqlDialect.h"
#include "records/CommentColumns.h"
#include "records/CommentRow.h"

namespace {

CCommentFilter Equals(const QString& column, const QString& mark, const QVariant& value,
                      const QString& shown)
{
    return {column + mark + QStringLiteral("?"), {value}, column + mark + shown};
}

CCommentFilter Equals(const QString& column, const QString& mark, int value)
{
    return Equals(column, mark, value, QString::number(value));
}

CCommentFilter Equals(const QString& column, const QString& mark, const QString& value)
{
    return Equals(column, mark, value, CSqlDialect::QuoteText(value));
}

} // namespace

void CCommentFilter::Append(const QString& joiner, const CCommentFilter& other)
{
    if (!IsEmpty()) {
        sql += joiner;
        text += joiner;
    }
    sql += other.sql;
    text += other.text;
    values += other.values;
}

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
        filter = Equals(companyView ? QStringLiteral("[CompanyID]") : QStringLiteral("[ProjID]"),
                        QStringLiteral("= "), nodeId);
    const bool hasNode = !filter.IsEmpty();
    if (empId > 0)
        filter.Append(QStringLiteral(" AND"),
                      Equals(QStringLiteral(" [EmpID]"), QStringLiteral(" = "), empId));
    if (typeIndex > 0) {
        const CCommentFilter type =
            typeText.compare(ThreeTypes(), Qt::CaseInsensitive) == 0
                ? CCommentFilter{ThreeTypeExpression(), {}, ThreeTypeExpression()}
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
    case CCommentColumns::kActioned: {
        // By the day, whatever the time and the user's date format.
        const CDateTime& value =
            code == CCommentColumns::kEntered ? row.CommentDate : row.ActionDate;
        const CDateTime day(value.Date());
        out = {QStringLiteral("(%1 >= ? AND %1 < ?)").arg(column),
               {QVariant::fromValue(day), QVariant::fromValue(day.AddDays(1))},
               column + mark + value.Date().toString(Qt::ISODate)};
        return true;
    }
    case CCommentColumns::kPriority:
        out = Equals(column, mark, row.Priority);
        return true;
    case CCommentColumns::kId:
        out = Equals(column, mark, row.CommentID);
        return true;
    case CCommentColumns::kTask:
        // The query has no task name: the task the comment is assigned to.
        out = Equals(QStringLiteral("[ObjectID]"), mark, row.ObjectID);
        return true;
    default:
        if (column.isEmpty())
            return false;
        out = Equals(column, mark, CCommentColumns::CellText(row, code));
        return true;
    }
}
