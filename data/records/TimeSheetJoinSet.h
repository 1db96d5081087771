#pragma once

#include "data/BindingSet.h"

#include <QStringList>

// A time block with the names of its project, order and task.
class CTimeSheetJoinSet : public CBindingSet {
public:
    explicit CTimeSheetJoinSet(
        CDBConnection* connection, int firstWrittenColumn = 0,
        const QString& source = QStringLiteral("qselTimeJoinProjectTaskOrderAll"));

    QString m_ProjName;
    QString m_OrderCode;
    QString m_Task;
    int m_TimesheetID = 0;
    int m_EmpID = 0;
    int m_ProjID = 0;
    int m_OrderID = 0;
    CDateTime m_StartTime;
    CDateTime m_StopTime;
    CDateTime m_WorkDate;
    int m_TaskID = 0;
    float m_HoursWorked = 0;
    QString m_Comment;
    QString m_InvCost;
    int m_WorkTypeID = 0;
    int m_TimeID = 0;

    // Texts the user of the record keeps with it.
    QStringList m_strings;
};
