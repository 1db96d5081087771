#include "data/UndoRecord.h"

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
