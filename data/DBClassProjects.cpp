// The facade's services for the project information window and the project
// tasks dialog: the project's totals, its members with their hours, and the
// writes of its tasks that other rows depend on.
#include "data/DBClass.h"

#include "data/DbTransaction.h"
#include "data/FacadeWrite.h"
#include "data/SqlExecutor.h"

#include <QHash>

namespace {

// Hours are single precision in the tables: they are summed in double
// precision, as a running single-precision sum drifts by hundredths.
const QString kTaskHoursSql = QStringLiteral(
    "UPDATE tblProjectTask SET ActHours = COALESCE((SELECT SUM(CAST(t.HoursWorked AS DOUBLE "
    "PRECISION)) FROM tblTimeSheet t WHERE t.TaskID = tblProjectTask.TaskID), 0)");
// The project's booked hours and the estimates of its tasks.
const QString kProjectTotalsSql = QStringLiteral(
    "UPDATE tblProject SET ProjHours = COALESCE((SELECT SUM(CAST(t.HoursWorked AS DOUBLE "
    "PRECISION)) FROM tblTimeSheet t WHERE t.ProjID = tblProject.ProjID), 0), ProjEstHours = "
    "COALESCE((SELECT SUM(CAST(k.EstHours AS DOUBLE PRECISION)) FROM tblProjectTask k WHERE "
    "k.ProjID = tblProject.ProjID), 0)");

} // namespace

bool CDBClass::RebuildProjectTotals(int projId)
{
    if (!EnsureConnected())
        return false;
    const QString only = projId < 0 ? QString() : QStringLiteral(" WHERE ProjID = ?");
    const QVariantList params = projId < 0 ? QVariantList() : QVariantList{projId};
    // The tasks' hours and the project's totals change together or not at all.
    CDbTransaction write(*m_connection);
    QString reason;
    bool ok = write.Begin(reason);
    if (ok && GetProviderKind() == kProviderPostgres) {
        CQueryResult rows;
        ok = write.Run(Dialect().ProcedureCall(QStringLiteral("up_adminBuildProjectTotals"), 1),
                       {projId < 0 ? QVariant() : QVariant(projId)}, &rows, reason);
    } else if (ok) {
        ok = write.Run(kTaskHoursSql + only, params, nullptr, reason);
    }
    ok = ok && write.Run(kProjectTotalsSql + only, params, nullptr, reason) && write.Commit(reason);
    return ok || ReportError(CDbError(kE_CommandError, reason));
}

bool CDBClass::FillProjectMembers(int projId, int leaderId, const QString& leaderName,
                                  QList<CProjectMember>& members)
{
    members.clear();
    CQueryResult hours;
    CQueryResult team;
    if (!RunRows(QStringLiteral("SELECT EmpID, SUM(CAST(HoursWorked AS DOUBLE PRECISION)) FROM "
                                "tblTimeSheet WHERE ProjID = ? GROUP BY EmpID"),
                 {projId}, &hours) ||
        !RunRows(QStringLiteral("SELECT EmpID, EmpFullName FROM qselProjTeamAndProject WHERE "
                                "ProjID = ? ORDER BY EmpFullName, EmpID"),
                 {projId}, &team))
        return false;
    QHash<int, double> booked;
    for (int r = 0; r < hours.rows; ++r)
        booked.insert(hours.Value(r, 0).toInt(), hours.Value(r, 1).toDouble());
    // The leader first; everybody once, whatever their names.
    if (leaderId > 0)
        members << CProjectMember{leaderId, leaderName, booked.value(leaderId)};
    for (int r = 0; r < team.rows; ++r) {
        const int empId = team.Value(r, 0).toInt();
        if (empId != leaderId)
            members << CProjectMember{empId, team.Value(r, 1).toString(), booked.value(empId)};
    }
    return true;
}

TaskDeleteResult CDBClass::DeleteProjectTask(int taskId, int& timeSheets, int& comments,
                                             QString& reason)
{
    timeSheets = 0;
    comments = 0;
    CFacadeWrite write(*this, reason);
    bool exists = false;
    CQueryResult counts;
    // The task's row first, then the tables that point at tasks: a booking
    // under way ends (and is counted), a new one waits.
    if (!write.Begin() ||
        !write.Exists(QStringLiteral("SELECT TaskID FROM tblProjectTask WHERE TaskID = ?"), taskId,
                      exists, CSqlDialect::RowLock::ForUpdate) ||
        !write.KeepTablesUnchanged(
            {QStringLiteral("tblTimeSheet"), QStringLiteral("tblProjectComment")}))
        return TaskDeleteResult::Failed;
    if (!exists)
        return TaskDeleteResult::NotFound;
    if (!write.Run(QStringLiteral("SELECT (SELECT COUNT(*) FROM tblTimeSheet WHERE TaskID = ?), "
                                  "(SELECT COUNT(*) FROM tblProjectComment WHERE ObjectTypeID = "
                                  "2 AND ObjectID = ?)"),
                   {taskId, taskId}, &counts) ||
        counts.rows != 1)
        return TaskDeleteResult::Failed;
    timeSheets = counts.Value(0, 0).toInt();
    comments = counts.Value(0, 1).toInt();
    if (timeSheets > 0 || comments > 0)
        return TaskDeleteResult::InUse;
    const qint64 deleted =
        write.Change(QStringLiteral("DELETE FROM tblProjectTask WHERE TaskID = ?"), {taskId});
    if (deleted < 0)
        return TaskDeleteResult::Failed;
    if (deleted == 0)
        return TaskDeleteResult::NotFound;
    return write.Commit() ? TaskDeleteResult::Ok : TaskDeleteResult::Failed;
}

bool CDBClass::SetTaskState(int taskId, int state, QString& reason)
{
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return false;
    }
    CQueryResult rows;
    CDbError error;
    if (!CSqlExecutor::Run(*m_connection,
                           QStringLiteral("UPDATE tblProjectTask SET State = ? WHERE TaskID = ?"),
                           {state, taskId}, &rows, &error)) {
        reason = error.description;
        return false;
    }
    if (rows.rowsAffected != 1) {
        reason = QStringLiteral("The task no longer exists.");
        return false;
    }
    return true;
}
