#pragma once

#include "data/BindingSet.h"

// A task of a project.
class CTaskSet : public CBindingSet {
public:
    explicit CTaskSet(CDBConnection* connection, int firstWrittenColumn = 1,
                      const QString& source = QStringLiteral("tblProjectTask"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_TaskID = 0;
    QString m_Task;
    float m_EstHours = 0;
    float m_ActHours = 0;
    int m_ProjID = 0;
    int m_OrderID = 0;
    QString m_TaskOrder;
    CDateTime m_EstStart;
    CDateTime m_EstFinish;
    CDateTime m_ActStart;
    CDateTime m_ActFinish;
    bool m_IsMilestone = false;
    bool m_IsCritical = false;
    float m_EstCumHours = 0;
    float m_ActCumHours = 0;
    int m_MspTaskID = 0;
    QString m_Comment;
    int m_State = 0;
    float m_PercentComplete = 0;
    int m_DefaultWorkTypeID = 0;
    int m_EnteredBy = 0;
    int m_AllocatedTo = 0;
    QString m_FullDetails;
};
