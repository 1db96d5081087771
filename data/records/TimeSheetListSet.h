#pragma once

#include "data/BindingSet.h"

#include <QStringList>

// A time block as the search lists show it.
class CTimeSheetListSet : public CBindingSet {
public:
    explicit CTimeSheetListSet(
        CDBConnection* connection, int firstWrittenColumn = 0,
        const QString& source = QStringLiteral("qselTimeJoinProjectTaskOrderAllFields"));

    QString m_ProjName;
    QString m_OrderCode;
    QString m_Task;
    int m_TimesheetID = 0;
    CDateTime m_StartTime;
    CDateTime m_StopTime;
    CDateTime m_WorkDate;
    float m_HoursWorked = 0;
    QString m_Comment;
    QString m_InvCost;
    QString m_EmpFullName;
    QString m_WorkType;
    int m_ObjectTypeID = 0;
    QString m_Object;
    int m_ObjectID = 0;

    // Texts the user of the record keeps with it.
    QStringList m_strings;
};
