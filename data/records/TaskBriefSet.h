#pragma once

#include "data/BindingSet.h"

// A task as the pick list shows it.
class CTaskBriefSet : public CBindingSet {
public:
    explicit CTaskBriefSet(CDBConnection* connection, int firstWrittenColumn = 0,
                           const QString& source = QStringLiteral("qselProjectTask"));

    int m_TaskID = 0;
    QString m_Task;
    int m_ProjID = 0;
    bool m_IsDefault = false;
    int m_DefaultWorkTypeID = 0;
    int m_State = 0;
    QString m_TaskOrder;
    int m_OrderID = 0;
    QString m_Comment;
};
