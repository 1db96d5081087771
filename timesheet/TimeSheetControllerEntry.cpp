// The entry in hand: what the info area and the status line say of it.

#include "timesheet/TimeSheetController.h"

#include "data/DBClass.h"
#include "data/UndoRecord.h"
#include "platform/LocalTime.h"

namespace {

QString Hhmm(int minute)
{
    return CDBClass::FormatTimeOfDay(minute).trimmed();
}

} // namespace

void CTimeSheetController::ShowEntry(EntryShown shown)
{
    QString status;
    if (shown != EntryShown::Details && m_inHandId >= 0) {
        CTimeSheetEntry row;
        if (FindStoredRow(m_inHandId, row)) {
            TakeStoredRow(row);
            m_storedId = m_inHandId;
            m_storedStart = m_entry.start;
            m_storedStop = m_entry.stop;
            // The words the time line uses for a highlighted block.
            status = QStringLiteral("Active %1 to %2 %3")
                         .arg(Hhmm(m_entry.start), Hhmm(m_entry.stop), m_entry.projName);
        } else if (m_storedId == m_inHandId) {
            // Stored before and gone now: removed, or undone. Nothing of it
            // stays in the info area, nor of the row a day load put there.
            status =
                QStringLiteral("Delete  %1, to  %2").arg(Hhmm(m_storedStart), Hhmm(m_storedStop));
            ClearInfoTexts();
        }
    }
    FillTimeTexts();
    m_ui.ShowEntry(m_entry);
    if (shown == EntryShown::Told && !status.isEmpty())
        Status(status);
}

void CTimeSheetController::SetTimes(int start, int stop)
{
    m_entry.start = start;
    m_entry.stop = stop;
    m_entryHasTimes = true;
    FillTimeTexts();
}

void CTimeSheetController::FillTimeTexts()
{
    if (!m_entryHasTimes) {
        m_entry.startText = QStringLiteral("00:00");
        m_entry.stopText = QStringLiteral("00:00");
        m_entry.lengthText.clear();
        return;
    }
    // A block drawn upwards has its stop above its start until it is stored.
    const int low = qBound(0, qMin(m_entry.start, m_entry.stop), 1440);
    const int high = qBound(0, qMax(m_entry.start, m_entry.stop), 1440);
    m_entry.startText = CDBClass::FormatTimeOfDay(low);
    m_entry.stopText = CDBClass::FormatTimeOfDay(high);
    m_entry.lengthText = CDBClass::FormatTimeOfDay(CLocalTime::ElapsedMinutes(m_day, low, high));
}

bool CTimeSheetController::FindStoredRow(int timeId, CTimeSheetEntry& row)
{
    if (m_db.FindDayEntryForKey(row, timeId, CurrentEmployee(), WorkDate()))
        return true;
    // Once more from the database: the cache may be behind. The reload keeps
    // the day key, so later writes go on updating the cache.
    m_db.EnsureDayLoaded(CurrentEmployee(), m_day, true);
    return m_db.FindDayEntryForKey(row, timeId, CurrentEmployee(), WorkDate());
}

bool CTimeSheetController::FindLineRow(int timeId, CTimeSheetEntry& row)
{
    const auto key = m_lineKeys.constFind(timeId);
    return key != m_lineKeys.constEnd() &&
           m_db.FindDayEntryForKey(row, timeId, CurrentEmployee(), WorkDate()) &&
           row.TimesheetID == *key;
}

void CTimeSheetController::ClearInfo()
{
    ClearInfoTexts();
    ShowEntry();
}

void CTimeSheetController::ClearInfoTexts()
{
    m_entryHasTimes = false;
    m_inHandId = -1;
    m_storedId = -1;
    m_entry.costText = QStringLiteral("0.00");
    m_entry.projName.clear();
    m_entry.taskName.clear();
    m_entry.orderName.clear();
    m_entry.workTypeName.clear();
    m_entry.comment.clear();
}

void CTimeSheetController::TakeStepBlock(const CUndoRecord& record)
{
    // The step's block as it was: ShowEntry tells whether it is stored now.
    m_inHandId = record.m_TimeID;
    m_storedId = record.m_TimeID;
    m_storedStart = record.m_start;
    m_storedStop = record.m_stop;
}
