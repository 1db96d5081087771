#pragma once

#include "data/BindingSet.h"

// A contact person.
class CPeopleSet : public CBindingSet {
public:
    explicit CPeopleSet(CDBConnection* connection, int firstWrittenColumn = 1,
                        const QString& source = QStringLiteral("tblAddrPerson"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    QString m_FirstName;
    QString m_LastName;
    QString m_Initial;
    QString m_FullName;
    int m_CompanyID = 0;
    QString m_JobTitle;
    QString m_Title;
    QString m_Salutation;
    QString m_Addressee;
    QString m_PeopleDDSPhone;
    QString m_PeopleFax;
    QString m_PeopleMobilePhone;
    QString m_PeopleModem;
    QString m_PeopleOtherComms;
    QString m_PeopleInternetID;
    QString m_PeopleWWW;
};
