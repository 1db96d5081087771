#pragma once

#include "data/BindingSet.h"

// A department.
class CDepartmentSet : public CBindingSet {
public:
    explicit CDepartmentSet(CDBConnection* connection, int firstWrittenColumn = 0,
                            const QString& source = QStringLiteral("tblFinDept"));

    int m_DeptID = 0;
    QString m_Department;
    int m_ManagerID = 0;
    QString m_Comments;
};
