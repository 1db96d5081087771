#pragma once

#include "data/DBClass.h"
#include "tests/support/FacadeFixture.h"

// A connected facade on a database with the full schema, and rows of the
// address book written straight into it.
class ContactsTest : public FacadeDbTest {
protected:
    int TypeId(const QString& name)
    {
        const CQueryResult rows =
            Query(QStringLiteral(
                      "SELECT BusinessTypeID FROM tlkpAddrBusinessType WHERE BusinessType = ?"),
                  {name});
        return rows.rows == 1 ? rows.Value(0, 0).toInt() : -1;
    }
    int CompanyId(const QString& name)
    {
        const CQueryResult rows = Query(
            QStringLiteral("SELECT CompanyID FROM tblAddrCompany WHERE CompanyName = ?"), {name});
        return rows.rows == 1 ? rows.Value(0, 0).toInt() : -1;
    }
    int AddCompany(const QString& name, const QStringList& types = {},
                   const QString& web = QString())
    {
        Exec(QStringLiteral("INSERT INTO tblAddrCompany (CompanyName, Address1, Phone, WWWpage, "
                            "AddressComment) VALUES (?, '1 Quay St', '09 555 0101', ?, "
                            "'Deliveries at the back')"),
             {name, web});
        const int id = CompanyId(name);
        for (const QString& type : types)
            Exec(QStringLiteral("INSERT INTO tblAddrBusinessType (CompanyID, BusinessTypeID) "
                                "VALUES (?, ?)"),
                 {id, TypeId(type)});
        return id;
    }
    int AddPerson(int companyId, const QString& first, const QString& last,
                  const QString& email = QString())
    {
        Exec(QStringLiteral("INSERT INTO tblAddrPerson (CompanyID, FirstName, LastName, FullName, "
                            "PeopleInternetID, PeopleDDSPhone) VALUES (?, ?, ?, ?, ?, '021 0')"),
             {companyId, first, last, first + QLatin1Char(' ') + last, email});
        return Query(QStringLiteral("SELECT MAX(PersonID) FROM tblAddrPerson")).Value(0, 0).toInt();
    }
    int Count(const QString& sql, const QVariantList& params = {})
    {
        return Query(sql, params).Value(0, 0).toInt();
    }
    // The business types a company is linked to, by id.
    QList<int> Links(int companyId)
    {
        QList<int> ids;
        const CQueryResult rows = Query(QStringLiteral("SELECT BusinessTypeID FROM "
                                                       "tblAddrBusinessType WHERE CompanyID = ? "
                                                       "ORDER BY BusinessTypeID"),
                                        {companyId});
        for (int r = 0; r < rows.rows; ++r)
            ids << rows.Value(r, 0).toInt();
        return ids;
    }
    // The address book without the seed's own company.
    void EmptyAddressBook() { Exec(QStringLiteral("DELETE FROM tblAddrCompany")); }
};
