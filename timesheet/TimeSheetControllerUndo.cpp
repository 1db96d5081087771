// The time sheet's undo and redo: the facade's history steps applied to
// the time line.

#include "timesheet/TimeSheetController.h"

#include "data/DBClass.h"
#include "data/UndoHistory.h"
#include "data/UndoRecord.h"
#include "timesheet/Plentor.h"

void CTimeSheetController::OnUndo()
{
    m_db.Undo();
    UpdateUndoMenus();
}

void CTimeSheetController::OnRedo()
{
    m_db.Redo();
    UpdateUndoMenus();
}

void CTimeSheetController::ApplyUndoStep(int kind, CUndoRecord* record)
{
    if (!record)
        return;
    TakeStepBlock(*record);
    switch (kind) {
    case CUndoStep::kInserted:
        ApplyRedoStep(CUndoStep::kDeleted, record);
        break;
    case CUndoStep::kDeleted:
        ApplyRedoStep(CUndoStep::kInserted, record);
        break;
    case CUndoStep::kUpdated:
        m_replay = std::make_unique<CUndoRecord>(*record);
        CentralStore(record->m_TimeID, record->m_start, record->m_stop, record->m_ProjID,
                     record->m_ObjectID, true);
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
}

void CTimeSheetController::ApplyRedoStep(int kind, CUndoRecord* record)
{
    if (!record)
        return;
    TakeStepBlock(*record);
    m_replay = std::make_unique<CUndoRecord>(*record);
    switch (kind) {
    case CUndoStep::kInserted:
    case CUndoStep::kUpdated:
        // With the step's values. A redone change is a new change: its own
        // step goes on the undo list, and this one leaves the redo list.
        CentralStore(record->m_TimeID, record->m_start, record->m_stop, record->m_ProjID,
                     record->m_ObjectID, kind == CUndoStep::kInserted);
        m_replay.reset();
        RefreshTimesheet();
        break;
    case CUndoStep::kDeleted:
        m_control.DeleteObj(record->m_TimeID);
        CentralStore(record->m_TimeID, 0, 0, record->m_ProjID, record->m_ObjectID, true);
        m_replay.reset();
        // A read-only line (auto timing, a view-only user) keeps the block:
        // show it what is stored.
        RefreshTimesheet();
        break;
    default:
        m_replay.reset();
        break;
    }
    TakeStepBlock(*record);
    ShowEntry(EntryShown::Told);
}
