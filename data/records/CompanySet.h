#pragma once

#include "data/BindingSet.h"

// The company that runs the system.
class CCompanySet : public CBindingSet {
public:
    explicit CCompanySet(CDBConnection* connection, int firstWrittenColumn = 0,
                         const QString& source = QStringLiteral("tlkpSetupCompany"));

    QString m_CompanyName;
    QByteArray m_CompanyLogo;
    QString m_CompanyMailToAddress;
    QString m_CompanySendToAddress;
    QString m_CompanyPhone;
    QString m_CompanyFax;
    QString m_CompanyEmail;
    QString m_CompanyGSTNo;
    QString m_CompanyWebPage;
    QString m_CompanySymbol;
    int m_CompanyID = 0;
    QString m_OrderPrefix;
};
