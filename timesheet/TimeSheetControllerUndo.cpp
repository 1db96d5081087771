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
    TakeStepBlock(*record);
    bool written = false;
    switch (kind) {
    case CUndoStep::kInserted:
        written = ApplyRedoStep(CUndoStep::kDeleted, record);
        break;
    case CUndoStep::kDeleted:
        written = ApplyRedoStep(CUndoStep::kInserted, record);
        break;
    case CUndoStep::kUpdated:
        m_replay = std::make_unique<CUndoRecord>(*record);
        written = CentralStore(record->m_TimeID, record->m_start, record->m_stop, record->m_ProjID,
                               record->m_ObjectID, true) == 0;
        m_replay.reset();
        RefreshTimesheet();
        break;
    default:
        break;
    }
    // The step's block as it is stored now, or that it has gone; the day's
    // reload may have put another row's times in the info area.
    TakeStepBlock(*record);
    ShowEntry(EntryShown::Told);
    return written;
}

bool CTimeSheetController::ApplyRedoStep(int kind, CUndoRecord* record)
{
    if (!record)
        return false;
    TakeStepBlock(*record);
    m_replay = std::make_unique<CUndoRecord>(*record);
    int result = -1;
    switch (kind) {
    case CUndoStep::kInserted:
    case CUndoStep::kUpdated:
        // With the step's values. A redone change is a new change: its own
        // step goes on the undo list, and this one leaves the redo list.
        result = CentralStore(record->m_TimeID, record->m_start, record->m_stop, record->m_ProjID,
                              record->m_ObjectID, kind == CUndoStep::kInserted);
        m_replay.reset();
        RefreshTimesheet();
        break;
    case CUndoStep::kDeleted:
        m_control.DeleteObj(record->m_TimeID);
        result = CentralStore(record->m_TimeID, 0, 0, record->m_ProjID, record->m_ObjectID, true);
        m_replay.reset();
        // A read-only line (auto timing, a view-only user) keeps the block,
        // and a delete that failed leaves the row: show what is stored.
        RefreshTimesheet();
        break;
    default:
        m_replay.reset();
        break;
    }
    TakeStepBlock(*record);
    ShowEntry(EntryShown::Told);
    return result == 0;
}
