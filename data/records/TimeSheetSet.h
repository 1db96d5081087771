#pragma once

#include "data/BindingSet.h"

// One booked time block: a row of the time sheet.
class CTimeSheetSet : public CBindingSet {
public:
    explicit CTimeSheetSet(CDBConnection* connection, int firstWrittenColumn = 1,
                           const QString& source = QStringLiteral("tblTimeSheet"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_TimesheetID = 0;
    int m_EmpID = 0;
    int m_ProjID = 0;
    int m_OrderID = 0;
    CDateTime m_WorkDate;
    CDateTime m_StartTime;
    CDateTime m_StopTime;
    float m_HoursWorked = 0;
    int m_TaskID = 0;
    QString m_Comment;
    double m_InvCost = 0;
    int m_WorkTypeID = 0;
    int m_TimeID = 0;
    int m_InvID = 0;
    int m_ObjectTypeID = 0;
    int m_ObjectID = 0;
};
