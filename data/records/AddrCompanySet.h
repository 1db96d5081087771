#pragma once

#include "data/BindingSet.h"

// A company of the address book.
class CAddrCompanySet : public CBindingSet {
public:
    explicit CAddrCompanySet(CDBConnection* connection, int firstWrittenColumn = 1,
                             const QString& source = QStringLiteral("tblAddrCompany"));
    // The width of a text column (see TextWidth).
    static int Width(const char* column);

    int m_CompanyID = 0;
    QString m_CompanyName;
    QString m_AddressComment;
    int m_OrganizationID = 0;
    bool m_SupplierFlag = false;
    bool m_CustomerFlag = false;
    bool m_ApprovedFlag = false;
    bool m_ProspectFlag = false;
    QString m_Phone;
    QString m_Fax;
    QString m_Phone2;
    QString m_CompanyBBS;
    QString m_CommsOther;
    QString m_Address1;
    QString m_Address2;
    QString m_Address3;
    QString m_POBox;
    QString m_ZIP;
    QString m_ShipAddress1;
    QString m_ShipAddress2;
    QString m_ShipAddress3;
    QString m_City;
    QString m_Country;
    QString m_AddressGST;
    QString m_InvoicePersonName;
    bool m_IsZeroGST = false;
    bool m_IsCurrent = false;
    CDateTime m_LastUpdate;
    int m_MarkOutOf10 = 0;
    QString m_WWWpage;
    QString m_MailingAddress;
    QString m_ShortCompanyName;
};
