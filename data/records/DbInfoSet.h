#pragma once

#include "data/BindingSet.h"

// A revision of the database schema.
class CDbInfoSet : public CBindingSet {
public:
    explicit CDbInfoSet(CDBConnection* connection, int firstWrittenColumn = 0,
                        const QString& source = QStringLiteral("ztlkpDbInfo"));

    CDateTime m_dbInfoDate;
    float m_dbVersion = 0;
    QString m_dBRevision;
    int m_KelvaneMinVersion = -1;
    int m_KelvaneMaxVersion = -1;
    int m_VekMinVersion = -1;
    int m_VekMaxVersion = -1;
    QString m_comment;
    bool m_isActive = false;
};
