#include "data/SqlDialect.h"

namespace {

// The rows of one employee's day, whatever time of the day WorkDate holds.
const char* const kDayCondition = " FROM tblTimeSheet WHERE EmpID = ? AND WorkDate >= ? AND "
                                  "WorkDate < ?";

} // namespace

// The times come back as stored: the caller reads them as minutes of the day
// (StoredMinutes), so that 23:59 and the next midnight both end the day.
QString CSqlDialect::WeekDayTotalsStatement() const
{
    return QStringLiteral("SELECT min(StartTime) AS minstart, max(StopTime) AS maxstop, "
                          "sum(CAST(HoursWorked AS DOUBLE PRECISION)) AS totalhoursworked") +
           QLatin1String(kDayCondition);
}

QString CSqlDialect::WeekDayRowsStatement() const
{
    return QStringLiteral("SELECT ProjID, OrderID, InvID, TaskID, StartTime, StopTime, "
                          "HoursWorked") +
           QLatin1String(kDayCondition) + QStringLiteral(" ORDER BY StartTime, TimeID");
}
