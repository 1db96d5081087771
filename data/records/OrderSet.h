#pragma once

#include "data/BindingSet.h"

// An order of a project, with its hour rate.
class COrderSet : public CBindingSet {
public:
    explicit COrderSet(CDBConnection* connection, int firstWrittenColumn = 1,
                       const QString& source = QStringLiteral("tblProjectOrderBook"));

    int m_OrderID = 0;
    QString m_OrderCode;
    QString m_Description;
    QString m_ContactName;
    bool m_IsFixedPrice = false;
    double m_CostMax = 0;
    double m_OrderHourRate = 0;
    float m_EstHours = 0;
    float m_ActHours = 0;
    CDateTime m_StartDate;
    CDateTime m_StopDate;
    bool m_IsDone = false;
    bool m_IsDefault = false;
    int m_ProjID = 0;
    double m_ActCost = 0;
};
