#include "data/UndoRecord.h"

#include "data/DBClassTypes.h"
#include "data/RowTimes.h"
#include "data/records/TimeSheetSet.h"

namespace {

// Column positions of tblTimeSheet.
constexpr int kInvIdColumn = 13;
constexpr int kObjectTypeIdColumn = 14;
constexpr int kObjectIdColumn = 15;

} // namespace

CUndoRecord CUndoRecord::FromRow(const CTimeSheetSet& set, bool isUpdate, float rate)
{
    CUndoRecord r;
    r.m_isUpdate = isUpdate;
    r.m_TimeID = set.m_TimeID;
    r.m_TimesheetID = set.m_TimesheetID;
    r.m_WorkDate = CDateTime(set.m_WorkDate.Date());
    // A row without times is replayed as its booked hours from 00:00, as
    // the time line shows it.
    const CRowTimes::CSpan span =
        CRowTimes::Read(set.m_WorkDate, set.m_StartTime, set.m_StopTime).Span(set.m_HoursWorked);
    r.m_start = span.start;
    r.m_stop = span.stop;
    r.m_ProjID = set.m_ProjID;
    r.m_EmpID = set.m_EmpID;
    r.m_OrderID = set.m_OrderID;
    r.m_TaskID = set.m_TaskID;
    r.m_rate = rate;
    r.m_Comment = set.m_Comment;
    r.m_WorkTypeID = set.m_WorkTypeID;
    r.m_ObjectTypeID = set.IsNull(kObjectTypeIdColumn) ? -1 : set.m_ObjectTypeID;
    r.m_ObjectID = set.IsNull(kObjectIdColumn) ? -1 : set.m_ObjectID;
    r.m_InvID = set.IsNull(kInvIdColumn) ? -1 : set.m_InvID;
    return r;
}

CUndoRecord CUndoRecord::FromEntry(const CTimeSheetEntry& e, bool isUpdate, float rate)
{
    CUndoRecord r;
    r.m_isUpdate = isUpdate;
    r.m_TimeID = e.TimeID;
    r.m_TimesheetID = e.TimesheetID;
    r.m_WorkDate = CDateTime(e.WorkDate.Date());
    const CRowTimes::CSpan span = e.Times().Span(e.HoursWorked);
    r.m_start = span.start;
    r.m_stop = span.stop;
    r.m_ProjID = e.ProjID;
    r.m_EmpID = e.EmpID;
    r.m_OrderID = e.OrderID;
    r.m_TaskID = e.TaskID;
    r.m_rate = rate;
    r.m_Comment = e.Comment;
    r.m_WorkTypeID = e.WorkTypeID;
    r.m_ObjectTypeID = e.ObjectTypeID.isNull() ? -1 : e.ObjectTypeID.toInt();
    r.m_ObjectID = e.ObjectID.isNull() ? -1 : e.ObjectID.toInt();
    r.m_InvID = e.InvID.isNull() ? -1 : e.InvID.toInt();
    return r;
}

bool CUndoRecord::SameValues(const CUndoRecord& o) const
{
    // A NULL work type is read as 0 by one path and -1 by another.
    const auto workType = [](int id) { return id > 0 ? id : -1; };
    return workType(m_WorkTypeID) == workType(o.m_WorkTypeID) &&
           m_WorkDate.Date() == o.m_WorkDate.Date() && m_EmpID == o.m_EmpID &&
           m_start == o.m_start && m_stop == o.m_stop && m_ProjID == o.m_ProjID &&
           m_OrderID == o.m_OrderID && m_TaskID == o.m_TaskID && m_Comment == o.m_Comment &&
           m_ObjectID == o.m_ObjectID;
}
