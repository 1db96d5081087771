#pragma once

#include "data/DateTime.h"

#include <QString>

#include <memory>

class CTimeSheetSet;
struct CTimeSheetEntry;

// A snapshot of one time-sheet entry, kept by the undo history and handed
// to the time-sheet window when a step is undone or redone. Times are
// minutes since midnight; -1 stands for a NULL link or invoice.
class CUndoRecord {
public:
    CUndoRecord() = default;
    virtual ~CUndoRecord() = default;

    // The current row of an open time-sheet record.
    static CUndoRecord FromRow(const CTimeSheetSet& set, bool isUpdate, float rate);
    // A row of the day as read.
    static CUndoRecord FromEntry(const CTimeSheetEntry& e, bool isUpdate, float rate);

    // What the row holds once the step's write is done: the record itself,
    // or for a change the values it wrote. The step is applied only to a
    // row that still holds them.
    const CUndoRecord& Stored() const { return m_after ? *m_after : *this; }
    // The same entry values, day and employee (not the rate, not the TimeID).
    bool SameValues(const CUndoRecord& other) const;

    bool m_isUpdate = false;
    int m_TimeID = -1;
    // The row's own key; -1 while the step's row is not stored. The TimeID
    // is only the number the line gave the block and may be given again.
    int m_TimesheetID = -1;
    std::shared_ptr<const CUndoRecord> m_after;
    CDateTime m_WorkDate;
    int m_start = 0;
    int m_stop = 0;
    int m_ProjID = -1;
    int m_EmpID = -1;
    int m_OrderID = -1;
    int m_TaskID = -1;
    float m_rate = 0;
    QString m_Comment;
    int m_WorkTypeID = -1;
    int m_ObjectTypeID = -1;
    int m_ObjectID = -1;
    int m_InvID = -1;
};
