#pragma once

#include "data/BindingSet.h"

// A copy of a time block staged for scheduling over several days.
class CTimeSheetIESet : public CBindingSet {
public:
    explicit CTimeSheetIESet(CDBConnection* connection, int firstWrittenColumn = 1,
                             const QString& source = QStringLiteral("tblTimeSheet_ImportExport"));

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
    int m_BatchID = 0;
    int m_OperationType = 0;
};
