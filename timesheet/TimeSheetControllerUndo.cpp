// The time sheet's undo and redo: the facade's history steps applied to
// the time line.

#include "timesheet/TimeSheetController.h"

#include "data/DBClass.h"
#include "data/UndoHistory.h"
#include "data/UndoRecord.h"
#include "platform/UserAction.h"
#include "timesheet/Plentor.h"

void CTimeSheetController::OnUndo()
{
    // A step is applied to the day as stored, not as last seen.
    CatchUpWithDatabase();
    const CActionFailureText failure(QStringLiteral("Undo was not done."));
    m_db.Undo();
    UpdateUndoMenus();
}

void CTimeSheetController::OnRedo()
{
    CatchUpWithDatabase();
    const CActionFailureText failure(QStringLiteral("Redo was not done."));
    m_db.Redo();
    UpdateUndoMenus();
}

bool CTimeSheetController::ApplyUndoStep(int kind, CUndoRecord* record)
{
    if (!record)
        return false;
    switch (kind) {
    case CUndoStep::kInserted:
        return ApplyRedoStep(CUndoStep::kDeleted, record);
    case CUndoStep::kDeleted:
        return ApplyRedoStep(CUndoStep::kInserted, record);
    case CUndoStep::kUpdated:
        return ReplayStep(kind, *record, true);
    default:
        return false;
    }
}

bool CTimeSheetController::ApplyRedoStep(int kind, CUndoRecord* record)
{
    if (!record)
        return false;
    // A redone change is a new change: its own step goes on the undo list,
    // and this one leaves the redo list.
    return ReplayStep(kind, *record, kind != CUndoStep::kUpdated);
}

int CTimeSheetController::FreeTimeId(int preferred) const
{
    const auto taken = [this](int id) {
        return m_db.IsTimeIdInDayCache(id) || m_lineKeys.contains(id);
    };
    if (preferred >= 0 && !taken(preferred))
        return preferred;
    int last = -1;
    for (const CTimeSheetEntry& row : m_db.DayEntries())
        last = qMax(last, row.TimeID);
    for (auto it = m_lineKeys.cbegin(); it != m_lineKeys.cend(); ++it)
        last = qMax(last, it.key());
    return last + 1;
}

bool CTimeSheetController::ReplayStep(int kind, CUndoRecord& record, bool replay)
{
    // The day as stored now. The step's row is found by its own key; its
    // TimeID may have been given to another block since.
    RefreshTimesheet();
    if (m_db.DayOutOfStep())
        return false; // the read failed, and said so
    const bool toCreate = kind == CUndoStep::kInserted;
    CTimeSheetEntry row;
    bool found = false;
    for (const CTimeSheetEntry& e : m_db.DayEntries()) {
        if (record.m_TimesheetID >= 0 && e.TimesheetID == record.m_TimesheetID) {
            row = e;
            found = true;
        }
    }
    const bool sameDay = record.m_EmpID == CurrentEmployee() && record.m_WorkDate.Date() == m_day;
    // A row to remove or change back must hold what the step left in it; a
    // row changed or removed since (at another desk, say) is not touched.
    const bool holds =
        toCreate || (found && CUndoRecord::FromEntry(row, false, 0).SameValues(record.Stored()));
    if (!sameDay || !holds) {
        Warn(QStringLiteral("%1 The entry has been changed or deleted since.")
                 .arg(CActionFailureText::Current())
                 .trimmed());
        ClearInfo();
        return false;
    }
    // A re-created entry takes a free number, never another row's.
    const int timeId = toCreate ? FreeTimeId(record.m_TimeID) : row.TimeID;
    record.m_TimeID = timeId;
    TakeStepBlock(record);
    m_replay = std::make_unique<CUndoRecord>(record);
    int result = -1;
    if (kind == CUndoStep::kDeleted) {
        m_control.DeleteObj(timeId);
        result = CentralStore(timeId, 0, 0, record.m_ProjID, record.m_ObjectID, replay);
    } else {
        result = CentralStore(timeId, record.m_start, record.m_stop, record.m_ProjID,
                              record.m_ObjectID, replay);
    }
    m_replay.reset();
    // A read-only line (auto timing, a view-only user) keeps a removed
    // block, and a write that failed leaves the row: show what is stored.
    RefreshTimesheet();
    if (result == 0 && toCreate && FindLineRow(timeId, row)) {
        // The step, and every other that named the row, now name the new
        // row as stored.
        const int oldKey = record.m_TimesheetID;
        const CUndoRecord stored = CUndoRecord::FromEntry(row, record.m_isUpdate, record.m_rate);
        record = stored;
        if (oldKey >= 0)
            m_db.UndoHistory().RenameRow(oldKey, record.m_TimesheetID);
    }
    TakeStepBlock(record);
    ShowEntry(EntryShown::Told);
    return result == 0;
}
