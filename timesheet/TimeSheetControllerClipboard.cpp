// The time sheet's copy and paste of blocks: the copied block's values,
// and the pasted block stored with them.

#include "timesheet/TimeSheetController.h"

#include "data/DBClass.h"
#include "platform/UserAction.h"
#include "timesheet/Plentor.h"
#include "ui/ResourceIds.h"

#include <utility>

void CTimeSheetController::OnCopyRec(int timeId, int /*start*/, int /*stop*/, int projId)
{
    if (timeId < 0) {
        Warn(QStringLiteral("ID error - copy fault"));
        return;
    }
    // The block's whole value now: a later change of its row, or another
    // row given its number, does not change what is pasted.
    m_copied = CCopiedBlock();
    m_copied.projId = projId;
    CTimeSheetEntry row;
    if (FindLineRow(timeId, row) && row.ProjID == projId) {
        m_copied.taskId = row.TaskID;
        m_copied.orderId = row.OrderID;
        m_copied.workTypeId = row.WorkTypeID;
        m_copied.comment = row.Comment;
        m_copied.chgReqId = row.ObjectID.isNull() ? -1 : row.ObjectID.toInt();
    } else {
        CEntryContext defaults;
        ApplyProjectDefaults(projId, defaults);
        m_copied.taskId = defaults.taskId;
        m_copied.orderId = defaults.orderId;
        m_copied.workTypeId = defaults.workTypeId;
    }
    m_copied.valid = true;
}

void CTimeSheetController::OnCopyData(int newId, int start, int stop, int projId)
{
    if (!m_copied.valid) {
        Warn(QStringLiteral("Error in copying data"));
        return;
    }
    if (m_busy)
        return;
    const CActionFailureText failure(QStringLiteral("The block was not stored."));
    start = qBound(0, start, 1440);
    stop = qBound(0, stop, 1440);
    if (stop < start)
        std::swap(start, stop);
    m_entry.projId = projId;
    m_entry.projName = m_db.GetProjectName(projId);
    SetTimes(start, stop);
    const int empId = CurrentEmployee();
    if (start == stop)
        return;
    m_busy = true;
    m_inHandId = newId;
    int written = -1;
    // The pasted block is already on the line; it only needs its row. A
    // task or an order belongs to its project: another project than the
    // copied one takes its own.
    CCopiedBlock value = m_copied;
    if (value.projId != projId) {
        CEntryContext defaults;
        ApplyProjectDefaults(projId, defaults);
        value.taskId = defaults.taskId;
        value.orderId = defaults.orderId;
        value.workTypeId = defaults.workTypeId;
    }
    m_entry.taskId = value.taskId;
    m_entry.taskName = m_db.GetTaskNameForProject(value.taskId, projId);
    m_entry.orderId = value.orderId;
    m_entry.orderName = m_db.GetOrderCode(value.orderId);
    m_entry.workTypeId = value.workTypeId;
    m_entry.workTypeName = m_db.GetWorkTypeName(value.workTypeId);
    m_entry.comment = value.comment;
    m_entry.chgReqId = value.chgReqId;
    TakeOrderRate(projId, m_entry.orderId);
    UpdateCost();
    // The panels speak of the pasted block from now on, not of the copied one.
    ShowEntry();
    Status(QStringLiteral("Entry %1 to %2")
               .arg(CDBClass::FormatTimeOfDay(start).trimmed(),
                    CDBClass::FormatTimeOfDay(stop).trimmed()));
    AskSaveTimes(false, newId, true);
    m_control.SetReadOnly(true);
    if (RunSaveTimes() == IDOK) {
        TakeSaveTimesChoices(newId, projId);
        const int result = WriteEntry(false, empId, start, stop, newId, false, true, false);
        written = result;
        if (result == 0) {
            RememberTaskAndWorkType();
            SetChangeRequestText(newId);
        } else if (result == 12) {
            m_entry.lengthText.clear();
            m_entry.workTypeName.clear();
        }
        ReportResult(result);
        m_control.RecreateToolTips();
    } else {
        // The control deletes nothing while it is read-only.
        ReleaseLine();
        m_control.DeleteObjByID(newId);
        ClearInfo();
        Status(QStringLiteral("No entry created"));
    }
    ReleaseLine();
    m_control.DoPaint();
    m_busy = false;
    ShowEntry(written == 0 ? EntryShown::Told : EntryShown::Details);
    UpdateUndoMenus();
    FinishBusyWork();
}
