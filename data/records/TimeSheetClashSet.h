#pragma once

#include "data/BindingSet.h"

#include <QStringList>

// A staged copy that clashes with a booked block.
class CTimeSheetClashSet : public CBindingSet {
public:
    explicit CTimeSheetClashSet(CDBConnection* connection, int firstWrittenColumn = 0,
                                const QString& source = QStringLiteral("qselTimeSheetClash"));

    int m_EmpID = 0;
    int m_ProjID = 0;
    CDateTime m_WorkDate;
    CDateTime m_StartTime;
    CDateTime m_StopTime;
    int m_TaskID = 0;

    // Headers of the clash list.
    QStringList m_headers = {QStringLiteral("Person"),     QStringLiteral("Project"),
                             QStringLiteral("Work Date"),  QStringLiteral("Work Day"),
                             QStringLiteral("Start Time"), QStringLiteral("Stop Time"),
                             QStringLiteral("Task")};
};
