#include "data/DBClass.h"

#include "data/records/ClashCountSet.h"
#include "platform/Characters.h"
#include "platform/LocalTime.h"
#include "platform/Trace.h"

#include <cmath>
#include <utility>

namespace {

// A scheduled copy's number within its day: far above the numbers the time
// line gives, and the same for the block on every day.
constexpr int kScheduledTimeIdBase = 10000;
constexpr int kCommentWidth = 255;

// A transaction of its own, or a savepoint in the caller's: whatever fails,
// nothing of this step stays.
class CScheduleStep {
public:
    explicit CScheduleStep(CDBConnection& connection)
        : m_connection(connection)
    {}
    ~CScheduleStep()
    {
        if (m_open)
            m_connection.RollbackTrans();
    }
    CScheduleStep(const CScheduleStep&) = delete;
    CScheduleStep& operator=(const CScheduleStep&) = delete;

    bool Begin(QString& reason)
    {
        CDbError error;
        m_open = m_connection.BeginTrans(&error);
        if (!m_open) {
            reason = error.description;
            return false;
        }
        const QString setup = m_connection.Dialect().ScheduleSetupStatement();
        return setup.isEmpty() || Run(setup, {}, nullptr, reason);
    }
    bool Run(const QString& sql, const QVariantList& params, CQueryResult* rows, QString& reason)
    {
        CDbError error;
        if (CSqlExecutor::RunNative(m_connection, sql, params, rows, &error))
            return true;
        reason = error.description;
        return false;
    }
    bool Commit(QString& reason)
    {
        CDbError error;
        m_open = false;
        if (m_connection.CommitTrans(&error))
            return true;
        reason = error.description;
        return false;
    }

private:
    CDBConnection& m_connection;
    bool m_open = false;
};

} // namespace

bool CDBClass::StageScheduleCopies(const CScheduleCopy& block, const QList<QDate>& days,
                                   QString& reason)
{
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return false;
    }
    CScheduleStep step(*m_connection);
    if (!step.Begin(reason))
        return false;
    // One statement for the old copies: the same rows as deleting them one by one.
    if (!step.Run(
            QStringLiteral("DELETE FROM tblTimeSheet_ImportExport WHERE EmpID = ? AND BatchID = ?"),
            {block.EmpID, m_scheduleBatch}, nullptr, reason))
        return false;
    // A copy on a night the clock changes books the time that passes there,
    // and its cost with it; on other days the block's own hours and cost.
    const double blockHours = block.MinutesWorked / 60.0;
    const auto hoursAndCost = [this, &block, blockHours](const QDate& day) {
        const int face = std::abs(block.Stop - block.Start);
        if (CLocalTime::ElapsedMinutes(day, block.Start, block.Stop) == face)
            return std::pair<double, double>(blockHours, block.InvCost);
        double hours = 0;
        if (!RoundToBookingInterval(day, block.Start, block.Stop, hours))
            hours = CLocalTime::ElapsedMinutes(day, block.Start, block.Stop) / 60.0;
        const double cost = blockHours > 0
                                ? std::round(block.InvCost / blockHours * hours * 10000.0) / 10000.0
                                : 0.0;
        return std::pair<double, double>(hours, cost);
    };
    const QVariant comment = LeftCharacters(block.Comment, kCommentWidth);
    const QVariant workType = block.WorkTypeID < 0 ? QVariant() : QVariant(block.WorkTypeID);
    const QVariant timeId = kScheduledTimeIdBase + block.Start;
    const int chunk = CSqlDialect::kStageRowsPerStatement;
    for (qsizetype first = 0; first < days.size(); first += chunk) {
        const int rows = static_cast<int>(qMin<qsizetype>(chunk, days.size() - first));
        QVariantList values;
        values.reserve(rows * 13);
        for (const QDate& day : days.mid(first, rows)) {
            const auto [hours, cost] = hoursAndCost(day);
            values << block.EmpID << block.ProjID << block.OrderID
                   << QVariant::fromValue(CDateTime(day))
                   << QVariant::fromValue(MinutesOnDay(day, block.Start))
                   << QVariant::fromValue(MinutesOnDay(day, block.Stop)) << hours << block.TaskID
                   << comment << cost << workType << timeId << m_scheduleBatch;
        }
        if (!step.Run(Dialect().StageCopiesStatement(rows), values, nullptr, reason)) {
            qCWarning(lcData, "StageScheduleCopies: copies from %s: %s",
                      qPrintable(days.at(first).toString(Qt::ISODate)), qPrintable(reason));
            return false;
        }
    }
    return step.Commit(reason);
}

bool CDBClass::CountScheduleClashes(int empId, int& count, QString& reason)
{
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return false;
    }
    CScheduleStep step(*m_connection);
    if (!step.Begin(reason))
        return false;
    CClashCountSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = ? AND [BatchID] = ?"), QString(),
                                {empId, m_scheduleBatch})) {
        reason = set.Recordset()->ErrorText();
        return false;
    }
    // No clash: the query has no row for the employee.
    count = set.Recordset()->IsEOF() ? 0 : set.m_ClashCount;
    set.Close();
    return step.Commit(reason);
}

bool CDBClass::ImportSchedule(int empId, int& booked, QString& reason)
{
    booked = 0;
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return false;
    }
    CScheduleStep step(*m_connection);
    if (!step.Begin(reason))
        return false;
    // Other writers of these days wait until the copies are in, so none can
    // slip a clashing row in between the marking and the booking.
    const QString lock = Dialect().ScheduleLockStatement();
    if (!lock.isEmpty() && !step.Run(lock, {empId, empId, m_scheduleBatch}, nullptr, reason))
        return false;
    CQueryResult rows;
    // A copy whose number its day already holds takes the next free one.
    if (!step.Run(Dialect().ClashMarkStatement(), {empId, m_scheduleBatch}, &rows, reason) ||
        !step.Run(Dialect().ScheduleFreeIdStatement(), {empId, m_scheduleBatch}, nullptr, reason) ||
        !step.Run(Dialect().ScheduleImportStatement(), {empId, m_scheduleBatch}, &rows, reason))
        return false;
    // The server's function returns the number; the file back end counts the rows.
    booked = rows.rows > 0 && rows.ColumnCount() > 0 ? rows.Value(0, 0).toInt()
                                                     : static_cast<int>(rows.rowsAffected);
    return step.Commit(reason);
}

bool CDBClass::DiscardScheduleCopies(int empId, QString& reason)
{
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return false;
    }
    CScheduleStep step(*m_connection);
    return step.Begin(reason) &&
           step.Run(QStringLiteral(
                        "DELETE FROM tblTimeSheet_ImportExport WHERE EmpID = ? AND BatchID = ?"),
                    {empId, m_scheduleBatch}, nullptr, reason) &&
           step.Commit(reason);
}
