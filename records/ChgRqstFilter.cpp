#include "records/ChgRqstFilter.h"

#include "data/DateTime.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstRow.h"
#include "ui/MyListCtrl.h"

CBoundFilter CChgRqstFilter::OpenRequests()
{
    // The zero date of a database file is before 1900 too.
    return {QStringLiteral("([DateCompleted] < ? or [DateCompleted] is null)"),
            {QVariant::fromValue(CDateTime(1900, 1, 1))},
            QStringLiteral("([DateCompleted] < '1900-01-01' or [DateCompleted] is null)")};
}

CBoundFilter CChgRqstFilter::Build(int projId, int teamEmpId, int authorityId, bool openOnly,
                                   const QString& priority)
{
    CBoundFilter filter;
    if (projId >= 0)
        filter = CBoundFilter::Equals(QStringLiteral("[ProjID]"), QStringLiteral("= "), projId);
    const auto people = [&filter](const QString& sql, const QVariantList& values) {
        QString text = sql;
        for (const QVariant& value : values)
            text.replace(text.indexOf(QLatin1Char('?')), 1, value.toString());
        filter.Append(QStringLiteral(" AND "), CBoundFilter{sql, values, text});
    };
    const int t = teamEmpId;
    const int a = authorityId;
    if (t >= 0) {
        if (a < 0)
            people(QStringLiteral("(([empid]=? and [teamempid] is null)\tor ([empid]<>? and "
                                  "[teamempid]=?) or ([empid]=? and [teamempid]=?))"),
                   {t, t, t, t, t});
        else if (a == t)
            people(QStringLiteral("(([empid]=? AND [teamempid]=?) or ([empid]=? and [teamempid] "
                                  "is null))"),
                   {a, t, a});
        else
            people(QStringLiteral("(([empid]=? AND [teamempid]=?))"), {a, t});
    } else if (a > 0) {
        filter.Append(QStringLiteral(" AND "),
                      CBoundFilter::Equals(QStringLiteral("[EmpID]"), QStringLiteral(" = "), a));
    }
    if (openOnly)
        filter.Append(QStringLiteral(" AND "), OpenRequests());
    if (!priority.isEmpty())
        filter.Append(QStringLiteral(" AND "), CBoundFilter::Equals(QStringLiteral("Priority"),
                                                                    QStringLiteral("="), priority));
    return filter;
}

CBoundFilter CChgRqstFilter::ForQuery(int projId, int teamEmpId, int authorityId, bool openOnly,
                                      const QString& priority)
{
    CBoundFilter filter = Build(projId, teamEmpId, authorityId, openOnly, priority);
    // A team member's rows with any authority: the member is on the team or
    // the request is his. No index serves an OR over the request and its
    // team, so the requests that name him are found first; Build's condition
    // still decides each row.
    if (teamEmpId >= 0 && authorityId < 0) {
        filter.sql += QStringLiteral(" AND [ChgReqID] IN (SELECT ChgReqID FROM tblChgReqTeam WHERE "
                                     "EmpID = ? UNION ALL SELECT ChgReqID FROM tblChgReq WHERE "
                                     "EmpID = ?)");
        filter.values << teamEmpId << teamEmpId;
    }
    return filter;
}

bool CChgRqstFilter::ForColumn(const CChgRqstRow& row, int kind, CBoundFilter& out)
{
    const QString cell = CChgRqstColumns::CellText(row, kind);
    const QString column = CChgRqstColumns::SqlColumn(kind);
    if (cell.isEmpty() || column.isEmpty())
        return false;
    const QString mark = QStringLiteral(" = ");
    switch (CChgRqstColumns::ValueKind(kind)) {
    case kColumnDateTime:
        out = CBoundFilter::SameDay(column, kind == CChgRqstColumns::kDated ? row.DateCreated
                                                                            : row.DateCompleted);
        return true;
    case kColumnInteger:
        out = CBoundFilter::Equals(column, mark, row.ChgReqID);
        return true;
    default:
        out = CBoundFilter::Equals(column, mark, cell);
        return true;
    }
}
