#pragma once

#include "data/DateTime.h"

#include <QString>

class CTimeSheetSet;

// A snapshot of one time-sheet entry, kept by the undo history and handed
// to the time-sheet window when a step is undone or redone. Times are
// minutes since midnight; -1 stands for a NULL link or invoice.
class CUndoRecord {
public:
    CUndoRecord() = default;
    virtual ~CUndoRecord() = default;

    // The current row of an open time-sheet record.
    static CUndoRecord FromRow(const CTimeSheetSet& set, bool isUpdate, float rate);

    bool m_isUpdate = false;
    int m_TimeID = -1;
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
