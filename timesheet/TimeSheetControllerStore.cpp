// The time sheet's writes: the Save Times dialog that asks for an entry's
// details, and the central store that creates, edits and checks the rows.

#include "timesheet/TimeSheetController.h"

#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "data/UndoRecord.h"
#include "data/records/TimeSheetSet.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "timesheet/Plentor.h"
#include "ui/ResourceIds.h"
#include "ui/WaitCursor.h"

#include <utility>

namespace {

bool IsDatabaseError(int result)
{
    return result == kWriteDbError || result == kWriteDeleteError ||
           result == kWriteProcedureFailed;
}

} // namespace

// ---- Save Times ---------------------------------------------------------------------------------

CSaveTimesDlg& CTimeSheetController::AskSaveTimes(bool replay, int timeId, bool noDefaults)
{
    CWaitCursor wait;
    if (!replay && !noDefaults)
        ApplyRememberedDefaults(true);
    if (m_entry.workTypeId < 0 || m_entry.workTypeName.isEmpty())
        m_entry.workTypeName = UnknownWorkType();

    CSaveTimesInput input;
    input.projId = m_entry.projId;
    input.projName = m_entry.projName;
    input.startText = m_entry.startText;
    input.stopText = m_entry.stopText;
    input.orderId = m_entry.orderId;
    input.orderName = m_entry.orderName;
    input.taskId = m_entry.taskId;
    input.taskName = m_entry.taskName;
    input.workTypeId = m_entry.workTypeId;
    input.workTypeName = m_entry.workTypeName;
    input.comment = m_entry.comment;
    input.timeId = timeId;
    input.noDefaults = noDefaults || replay;
    input.chgReqId = m_entry.chgReqId >= 0 ? m_entry.chgReqId : -2;
    const bool variant = m_options.Bool("booktime");
    if (m_saveTimes && m_saveTimesIsVariant == variant) {
        m_saveTimes->Refill(input);
    } else {
        m_saveTimes = MakeSaveTimesDialog(*this, input, m_ui.DialogParent(), variant);
        m_saveTimesIsVariant = variant;
    }
    m_pickContext.projectId = m_entry.projId;
    return *m_saveTimes;
}

int CTimeSheetController::RunSaveTimes()
{
    m_saveTimesRunning = true;
    const int result = m_saveTimes->DoModal();
    m_saveTimesRunning = false;
    return result;
}

void CTimeSheetController::TakeSaveTimesChoices(int timeId, int blockProjId)
{
    const CSaveTimesDlg& dlg = *m_saveTimes;
    m_entry.comment = dlg.Comment();
    m_lastComment = m_entry.comment;
    m_chgReqText = dlg.ChgReqText();
    if (m_chgReqText.isEmpty()) {
        m_entry.chgReqId = -1;
    } else {
        bool ok = false;
        const int id = m_chgReqText.section(QLatin1Char(','), 0, 0).trimmed().toInt(&ok);
        m_entry.chgReqId = ok ? id : -1;
    }
    int workId = -1;
    if (m_entry.workTypeName != UnknownWorkType() &&
        m_db.GetWorkTypeIdByName(m_entry.workTypeName, workId))
        m_entry.workTypeId = workId;
    if (m_entry.projId != blockProjId && dlg.ProjectChanged())
        m_control.ChangeProject(timeId, blockProjId, m_entry.projId);
    m_entry.projName = m_db.GetProjectName(m_entry.projId);
    TakeOrderRate(m_entry.projId, m_entry.orderId);
    UpdateCost();
}

void CTimeSheetController::SetChangeRequestText(int timeId)
{
    if (m_entry.chgReqId >= 0)
        m_control.SetChgRqstStr(QString::number(m_entry.chgReqId), timeId);
    else if (m_chgReqText.isEmpty())
        m_control.SetChgRqstStr(QString(), timeId);
}

// ---- The central store -------------------------------------------------------------------------

void CTimeSheetController::OnTimeChange(int timeId, int start, int stop, int projId)
{
    CentralStore(timeId, start, stop, projId, -2, false);
}

int CTimeSheetController::CentralStore(int timeId, int start, int stop, int projId, int chgReqId,
                                       bool replay)
{
    m_drawing = false;
    if (m_busy) {
        // The block changed while another was stored: read the day again
        // afterwards so that line and database agree.
        m_refreshWhenIdle = true;
        return -1;
    }
    m_storing = true;
    const CActionFailureText failure(start == stop ? QStringLiteral("The block was not deleted.")
                                                   : QStringLiteral("The block was not stored."));
    const int said = m_statusesSaid;
    if (projId < 0) {
        // Drawn where the line could not read the projects: they are read
        // now, and a database that still cannot be had is what is told.
        if (!m_projectsLoaded && !m_db.IsTimeIdInDayCache(timeId)) {
            LoadProjectList();
            m_control.DeleteObjByID(timeId);
            if (m_projectsLoaded)
                m_control.SetCurrentProjID(m_entry.projId);
            m_control.DoPaint();
            TellReadState();
        }
        if (!UserAction::FailureNoted())
            Warn(QStringLiteral("This timesheet entry is invalid \n- you can only create "
                                "timesheets to a valid project"));
        m_storing = false;
        return -1;
    }
    m_entry.comment = m_options.Bool("BlankComment") ? QString() : m_lastComment;
    start = qMin(start, 1440);
    stop = qMin(stop, 1440);
    if (stop < start)
        std::swap(start, stop);
    if (!(start == stop && start != 0)) {
        m_entry.projName = m_db.GetProjectName(projId);
        SetTimes(start, stop);
    }
    m_inHandId = timeId;
    // What is being stored shows while it is (behind Save Times, say).
    ShowEntry();
    int result = 0;
    CTimeSheetEntry shown;
    if (!FindLineRow(timeId, shown) && m_db.IsTimeIdInDayCache(timeId)) {
        // A block never stored, whose number another row (another desk's)
        // has taken since: that row is not the block's to change or delete.
        // The line shows what is stored.
        RefreshTimesheet();
    } else if (m_db.IsTimeIdInDayCache(timeId)) {
        result = EditExistingTimeSheetEntry(projId, m_empId, chgReqId, start, stop, timeId, replay);
        ReportResult(result);
    } else if (start != stop) {
        if (projId != m_entry.projId || m_entry.orderId <= 0)
            ApplyProjectDefaults(projId, m_entry);
        UpdateCost();
        result = CreateEntryFromBlock(projId, m_empId, start, stop, timeId, chgReqId, replay);
    }
    m_storing = false;
    // The line's last words were about the block as drawn; these are about
    // the row, unless this store had its own words ("Entry created", a
    // result) for the status line.
    ShowEntry(result == 0 && said == m_statusesSaid ? EntryShown::Told : EntryShown::Stored);
    FinishBusyWork();
    return result;
}

void CTimeSheetController::FinishBusyWork()
{
    if (m_busy)
        return;
    if (m_refreshWhenIdle) {
        m_refreshWhenIdle = false;
        RefreshTimesheet();
    }
    CatchUpWithDatabase();
}

int CTimeSheetController::CreateEntryFromBlock(int projId, int empId, int start, int stop,
                                               int timeId, int chgReqId, bool replay)
{
    CWaitCursor wait;
    if (empId != CurrentEmployee()) {
        Warn(ResultMessage(15));
        return 15;
    }
    m_busy = true;
    if (projId != m_entry.projId)
        MakeProjectCurrent(projId);
    m_entry.projId = projId;
    if (m_replay)
        m_entry.chgReqId = m_replay->m_ObjectID;
    else if (chgReqId >= 0)
        m_entry.chgReqId = chgReqId;
    else
        m_entry.chgReqId = -1;
    const int result = CreateEntry(replay, empId, timeId, projId, start, stop);
    m_busy = false;
    return result;
}

int CTimeSheetController::CreateEntry(bool replay, int empId, int timeId, int projId, int start,
                                      int stop)
{
    // A replayed block is booked with the values of its step, without asking.
    const bool fromRecord = m_replay != nullptr;
    AskSaveTimes(replay || fromRecord, timeId, false);
    m_db.SetDisplayedDay(m_day);
    int result = 0;
    if (!fromRecord && m_options.Bool("AutoShowSave")) {
        m_control.SetReadOnly(true);
        if (RunSaveTimes() == IDOK) {
            TakeSaveTimesChoices(timeId, projId);
            result = WriteEntry(false, empId, start, stop, timeId, false, true, false);
            if (result == 0) {
                RememberTaskAndWorkType();
                SetChangeRequestText(timeId);
                Status(QStringLiteral("Entry created"));
            } else if (result == 12) {
                m_entry.lengthText.clear();
                m_entry.workTypeName.clear();
            }
        } else {
            // The control deletes nothing while it is read-only.
            m_control.SetReadOnly(false);
            m_control.DeleteObjByID(timeId);
            ClearInfo();
            Status(QStringLiteral("No entry created"));
            result = -1;
        }
        m_saveTimes.reset();
        m_control.SetReadOnly(false);
    } else {
        if (fromRecord) {
            TakeReplayRecord();
            UpdateCost();
        } else {
            QString comment;
            const int mode = m_options.Int("CommentTypeSel");
            if (HasApp())
                theApp().GetAutoComment(mode, m_entry.comment, comment);
            else
                comment = mode == 1 ? m_entry.comment : QString();
            m_entry.comment = comment;
            m_entry.chgReqId = -1;
        }
        result = WriteEntry(false, empId, start, stop, timeId, false, true, replay);
        if (result == 0) {
            if (!fromRecord)
                RememberTaskAndWorkType();
        } else if (result == 12) {
            m_entry.lengthText.clear();
            m_entry.workTypeName.clear();
        }
    }
    if (result >= 0) {
        m_highlighted = m_control.ForceHighlight(timeId, true);
        ReportResult(result);
    }
    m_control.SetReadOnly(false);
    m_control.DoPaint();
    ShowEntry();
    UpdateUndoMenus();
    return qMax(result, 0);
}

int CTimeSheetController::EditExistingTimeSheetEntry(int projId, int empId, int chgReqId, int start,
                                                     int stop, int timeId, bool replay)
{
    if (empId != CurrentEmployee()) {
        Warn(ResultMessage(15));
        return 14;
    }
    const CDateTime date = WorkDate();
    CTimeSheetEntry row;
    const bool cached = m_db.FindDayEntryForKey(row, timeId, empId, date);
    const bool removed = start < 0 || stop < 0 || start == stop || start > 1440 || stop > 1440;
    if (removed) {
        // The row's own values: the delete needs a valid entry to pass.
        if (cached) {
            m_entry.projId = row.ProjID;
            m_entry.taskId = row.TaskID;
            m_entry.orderId = row.OrderID;
            m_entry.workTypeId = row.WorkTypeID;
        }
        const int result = WriteEntry(true, empId, start, stop, timeId, true, false, replay);
        ResetToProjectDefaults(m_entry.projId > 0 ? m_entry.projId : projId);
        UpdateUndoMenus();
        return result;
    }

    CTimeSheetSet set(m_db.Connection());
    set.Recordset()->SetFilter(CDBClass::EntryFilterText(),
                               CDBClass::EntryFilterValues(empId, date, timeId));
    if (!m_db.OpenRecordSet(&set)) {
        // The block has moved on the line, not in the database.
        m_db.MarkDayOutOfStep();
        return 11;
    }
    if (set.Recordset()->IsEOF()) {
        m_db.CloseRecordSet(&set);
        Warn(QStringLiteral("This record you are editing does not exist anymore \n- your "
                            "timesheet records are not synchronised with the database - these "
                            "will be refreshed now"));
        RefreshTimesheet();
        return 14;
    }
    m_entry.projId = projId;
    m_entry.taskId = set.m_TaskID;
    m_entry.orderId = set.m_OrderID;
    m_entry.workTypeId = set.m_WorkTypeID;
    m_entry.comment = set.m_Comment;
    m_entry.chgReqId = set.IsNull(15) ? -1 : set.m_ObjectID;
    m_db.CloseRecordSet(&set);
    if (m_replay) {
        // Undo and redo restore what the entry was, not only where it was.
        TakeReplayRecord();
    } else {
        if (chgReqId >= 0)
            m_entry.chgReqId = chgReqId;
        // The cost is the row's own order's, not that of the block last in hand.
        TakeOrderRate(m_entry.projId, m_entry.orderId);
        m_entry.workTypeName = m_db.GetWorkTypeName(m_entry.workTypeId);
    }
    const int result = WriteEntry(true, empId, start, stop, timeId, true, false, replay);
    UpdateUndoMenus();
    return result;
}

int CTimeSheetController::WriteEntry(bool existing, int empId, int start, int stop, int timeId,
                                     bool skipCheck, bool showMessage, bool replay)
{
    CWaitCursor wait;
    if (m_db.GetProviderKind() != kProviderPostgres && !skipCheck &&
        CheckOverlap(false, showMessage, existing, empId, start, stop, timeId) == 14)
        return 14;

    CTimeSheetWrite entry;
    entry.IsUpdate = existing;
    entry.WorkDate = WorkDate();
    entry.EmpID = empId;
    entry.ProjID = m_entry.projId;
    entry.OrderID = m_entry.orderId;
    entry.TaskID = m_entry.taskId;
    entry.OrderHourRate = static_cast<float>(m_entry.orderRate);
    entry.Start = start;
    entry.Stop = stop;
    entry.Comment = m_entry.comment;
    entry.WorkTypeID = m_entry.workTypeId;
    entry.ObjectID = m_entry.chgReqId >= 0 ? m_entry.chgReqId : -1;
    entry.TimeID = timeId;
    entry.FromHistory = replay;
    // The row the block shows, by its own key: never another row that has
    // taken the block's number. A block never stored names no row (no key is 0).
    entry.KeyID = existing ? m_lineKeys.value(timeId, 0) : -1;

    int result = 0;
    {
        // Only a database error is worth a second try; the messages of the
        // first go unseen when the second succeeds.
        CHeldMessages held;
        CTimeSheetSet set(m_db.Connection());
        CTimeSheetWrite first = entry;
        result = m_db.UpdateTimeData(&set, first);
        entry.TimesheetID = first.TimesheetID;
        if (!IsDatabaseError(result))
            held.Release();
    }
    if (IsDatabaseError(result)) {
        CTimeSheetSet set(m_db.Connection());
        result = m_db.UpdateTimeData(&set, entry);
    }
    if (result == kWriteOk && !existing)
        m_lineKeys.insert(timeId, entry.TimesheetID);
    else if (result == kWriteOk && start == stop)
        m_lineKeys.remove(timeId);
    if (result == kWriteDeleteFailed || result == kWriteOverlap ||
        result == kWriteProcedureRefused) {
        // What the line shows is no longer what is stored.
        RefreshTimesheet();
        return result == kWriteDeleteFailed ? 14 : result;
    }
    return result;
}

int CTimeSheetController::CheckOverlap(bool skip, bool showMessage, bool existing, int empId,
                                       int start, int stop, int timeId)
{
    if (skip)
        return 0;
    int lastStop = 0;
    const bool overlap = m_db.FindOverlappingEntry(nullptr, WorkDate(), empId, start, stop,
                                                   lastStop, timeId, existing ? 0 : 1);
    if (!overlap)
        return 0;
    if (showMessage) {
        Warn(QStringLiteral("This timesheet record has an overlap with an existing record \n- "
                            "this means there is a synchronisation error \n- Timesheet data will "
                            "be synchronised now."));
        RefreshTimesheet();
    }
    return 14;
}
