#include "timesheet/TimeSheetController.h"

#include "data/DBClass.h"
#include "platform/LocalTime.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "ui/ResourceIds.h"

#include <cmath>
#include <utility>

// Schedule Time for a block of the time line: the block's booking details
// from its stored row (or the project's defaults) handed to the dialog.

bool CTimeSheetController::FindBlockRow(int timeId, int start, int stop, int projId,
                                        CTimeSheetEntry& row)
{
    const int empId = CurrentEmployee();
    if (timeId >= 0)
        return m_db.FindDayEntryForKey(row, timeId, empId, WorkDate());
    // The control hands over a copy without id: the stored row is the one
    // shown at the same place.
    m_db.EnsureDayLoaded(empId, m_day, false);
    for (const CTimeSheetEntry& e : m_db.DayEntries()) {
        const CRowTimes::CSpan block = LineBlock(e);
        if (e.EmpID == empId && e.ProjID == projId && block.start == start && block.stop == stop) {
            row = e;
            return true;
        }
    }
    return false;
}

void CTimeSheetController::OnSchedData(int timeId, int start, int stop, int projId)
{
    // A time sheet that may only be viewed gets nothing scheduled onto it.
    if (m_schedule || m_busy || m_closing || projId < 0 || m_ui.AccessMode() == 1)
        return;
    start = qBound(0, start, 1440);
    stop = qBound(0, stop, 1440);
    if (stop < start)
        std::swap(start, stop);
    if (start == stop)
        return;
    CScheduleBlock block;
    block.timeId = timeId;
    block.date = m_day;
    CScheduleCopy& copy = block.copy;
    copy.EmpID = CurrentEmployee();
    copy.ProjID = projId;
    copy.Start = start;
    copy.Stop = stop;
    CTimeSheetEntry row;
    if (FindBlockRow(timeId, start, stop, projId, row)) {
        copy.TaskID = row.TaskID;
        copy.OrderID = row.OrderID;
        copy.WorkTypeID = row.WorkTypeID;
        copy.Comment = row.Comment;
    } else {
        CEntryContext defaults;
        ApplyProjectDefaults(projId, defaults);
        copy.TaskID = defaults.taskId;
        copy.OrderID = defaults.orderId;
        copy.WorkTypeID = defaults.workTypeId;
    }
    // Hours and cost as a booked row of the block would carry them.
    double hours = 0;
    if (!m_db.RoundToBookingInterval(m_day, start, stop, hours))
        hours = CLocalTime::ElapsedMinutes(m_day, start, stop) / 60.0;
    copy.MinutesWorked = static_cast<int>(std::lround(hours * 60));
    double rate = 0;
    double factor = 1;
    QString code;
    if (m_db.GetOrderCodeAndRate(projId, copy.OrderID, rate, code)) {
        m_db.GetEmpRateFactor(copy.EmpID, factor);
        copy.InvCost = std::round(rate * factor * hours * 10000.0) / 10000.0;
    }
    block.empName = EmployeeName();
    block.projName = m_db.GetProjectName(projId);
    block.taskName = m_db.GetTaskNameForProject(copy.TaskID, projId);

    CScheduleTimeDlg dlg(m_db, block, m_ui.DialogParent());
    m_schedule = &dlg;
    const int result = dlg.DoModal();
    m_schedule = nullptr;
    // Copies booked onto the day shown belong on its time line.
    if (result == IDOK && dlg.BookedCount() > 0 && !m_closing && dlg.FirstDate() <= m_day &&
        m_day <= dlg.LastDate())
        RefreshTimesheet();
}
