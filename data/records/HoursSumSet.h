#pragma once

#include "data/BindingSet.h"

// Hours booked per project, task, day and employee.
class CHoursSumSet : public CBindingSet {
public:
    explicit CHoursSumSet(CDBConnection* connection, int firstWrittenColumn = 0,
                          const QString& source = QStringLiteral("qselTimeByProjectTaskByDay"));

    QString m_ProjName;
    QString m_Task;
    CDateTime m_WorkDate;
    QString m_DateStr;
    int m_EmpID = 0;
    double m_SumOfHoursWorked1 = 0;
};
