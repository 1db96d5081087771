#include "data/SqlDialect.h"

namespace {

// A time of the day as "HH:MM".
QString TimeOfDay(int kind, const QString& value)
{
    return kind == kProviderPostgres ? QStringLiteral("to_char(%1, 'HH24:MI')").arg(value)
                                     : QStringLiteral("strftime('%H:%M', %1)").arg(value);
}

// A stop time as "HH:MM"; one at the next midnight (the first value) as
// "24:00", not as the "00:00" that would come before every start.
QString StopOfDay(int kind, const QString& value)
{
    return QStringLiteral("CASE WHEN %1 >= ? THEN '24:00' ELSE %2 END")
        .arg(value, TimeOfDay(kind, value));
}

// The rows of one employee's day, whatever time of the day WorkDate holds.
const char* const kDayCondition = " FROM tblTimeSheet WHERE EmpID = ? AND WorkDate >= ? AND "
                                  "WorkDate < ?";

} // namespace

QString CSqlDialect::WeekDayTotalsStatement() const
{
    return QStringLiteral("SELECT %1 AS minstart, %2 AS maxstop, "
                          "sum(HoursWorked) AS totalhoursworked")
               .arg(TimeOfDay(m_kind, QStringLiteral("min(StartTime)")),
                    StopOfDay(m_kind, QStringLiteral("max(StopTime)"))) +
           QLatin1String(kDayCondition);
}

QString CSqlDialect::WeekDayRowsStatement() const
{
    return QStringLiteral("SELECT ProjID, OrderID, InvID, TaskID, %1 AS StartText, "
                          "%2 AS StopText, HoursWorked")
               .arg(TimeOfDay(m_kind, QStringLiteral("StartTime")),
                    StopOfDay(m_kind, QStringLiteral("StopTime"))) +
           QLatin1String(kDayCondition) + QStringLiteral(" ORDER BY StartTime, TimeID");
}
