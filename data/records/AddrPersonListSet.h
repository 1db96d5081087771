#pragma once

#include "data/BindingSet.h"

// A contact person with the main data of the company.
class CAddrPersonListSet : public CBindingSet {
public:
    explicit CAddrPersonListSet(
        CDBConnection* connection, int firstWrittenColumn = 0,
        const QString& source = QStringLiteral("qselAddrCompanyJoinPerson"));

    int m_CompanyID = 0;
    QString m_CompanyName;
    QString m_FullName;
    QString m_FirstName;
    QString m_LastName;
    QString m_Address1;
    QString m_Phone;
    QString m_Fax;
    QString m_WWWPage;
    QString m_PeopleDDSPhone;
    QString m_PeopleMobilePhone;
    QString m_PeopleInternetID;
    QString m_PeopleWWW;
    QString m_PeopleFax;
    QString m_JobTitle;
    int m_PersonID = 0;
};
