#pragma once

#include "data/BindingSet.h"

// An employee.
class CEmployeeSet : public CBindingSet {
public:
    explicit CEmployeeSet(CDBConnection* connection, int firstWrittenColumn = 1,
                          const QString& source = QStringLiteral("tblFinEmployee"));

    int m_EmpID = 0;
    QString m_FirstName;
    QString m_LastName;
    QString m_EmpFullName;
    float m_HourRateFactor = 0;
    QString m_Initial;
    bool m_IsCurrent = false;
    QString m_IRDNo;
    CDateTime m_StartDate;
    CDateTime m_StopDate;
    int m_CurrentProjID = 0;
    int m_SecLevel = 0;
    QString m_JobTitle;
    QString m_Email;
    QString m_Phone;
    QString m_Fax;
    QString m_MobilePhone;
    int m_PersonID = 0;
    int m_CompanyID = 0;
    int m_DeptID = 0;
    QString m_Pwd;
    QString m_NTUserName;
    int m_ManagerID = 0;
    QString m_EmpRef;
};
