#include "tests/support/ContactsFixture.h"

#include <QScopeGuard>

namespace {

class DBClassContactsTest : public ContactsTest {
protected:
    static CCompanyValues Company(const QString& name)
    {
        CCompanyValues c;
        c.CompanyName = name;
        c.Address1 = QStringLiteral("1 Quay St");
        c.Phone = QStringLiteral("09 555 0101");
        c.WWWpage = QStringLiteral("www.example.com");
        c.AddressComment = QStringLiteral("Deliveries at the back");
        return c;
    }
    static CPersonValues Person(const QString& first, const QString& last)
    {
        CPersonValues p;
        p.FirstName = first;
        p.LastName = last;
        p.Email = first.toLower() + QStringLiteral("@example.com");
        return p;
    }
    int Add(const QString& name, int typeId = -1, const CPersonValues& person = {})
    {
        int id = -1;
        QString reason;
        const ContactResult result = m_db.AddCompany(Company(name), typeId, person, id, reason);
        EXPECT_EQ(result, ContactResult::Ok) << reason.toStdString();
        return id;
    }
    // Every insert into the person table fails from now until the guard goes.
    auto RefusePersons()
    {
        if (IsPostgres()) {
            Exec(QStringLiteral("CREATE FUNCTION kv_refuse() RETURNS trigger AS $$ BEGIN RAISE "
                                "EXCEPTION 'persons refused'; END $$ LANGUAGE plpgsql"));
            Exec(QStringLiteral("CREATE TRIGGER kv_refuse BEFORE INSERT ON tblAddrPerson FOR EACH "
                                "ROW EXECUTE FUNCTION kv_refuse()"));
        } else {
            Exec(QStringLiteral("CREATE TRIGGER kv_refuse BEFORE INSERT ON tblAddrPerson BEGIN "
                                "SELECT RAISE(ABORT, 'persons refused'); END"));
        }
        return qScopeGuard([this] {
            Exec(QStringLiteral("DROP TRIGGER kv_refuse") +
                 (IsPostgres() ? QStringLiteral(" ON tblAddrPerson") : QString()));
            if (IsPostgres())
                Exec(QStringLiteral("DROP FUNCTION kv_refuse()"));
        });
    }
};

} // namespace

TEST_P(DBClassContactsTest, AddingACompanyStoresItsTypeAndACurrentFirstPersonUnderTheNewId)
{
    const int customer = TypeId(QStringLiteral("Customer"));
    const int id = Add(QStringLiteral("O'Brien & Søn"), customer,
                       Person(QStringLiteral("Åsa"), QStringLiteral("O'Neil")));
    ASSERT_GT(id, 0);
    const CQueryResult company = Query(
        QStringLiteral("SELECT CompanyName, Address1, WWWpage, AddressComment FROM tblAddrCompany "
                       "WHERE CompanyID = ?"),
        {id});
    ASSERT_EQ(company.rows, 1);
    EXPECT_EQ(company.Value(0, 0).toString(), QStringLiteral("O'Brien & Søn"));
    EXPECT_EQ(company.Value(0, 2).toString(), QStringLiteral("www.example.com"));
    EXPECT_EQ(Links(id), QList<int>({customer}));
    const CQueryResult person = Query(QStringLiteral("SELECT FirstName, LastName, FullName, "
                                                     "PeopleInternetID, IsCurrent FROM "
                                                     "tblAddrPerson WHERE CompanyID = ?"),
                                      {id});
    ASSERT_EQ(person.rows, 1);
    EXPECT_EQ(person.Value(0, 2).toString(), QStringLiteral("Åsa O'Neil"));
    EXPECT_EQ(person.Value(0, 3).toString(), QStringLiteral("åsa@example.com"));
    EXPECT_EQ(person.Value(0, 4).toInt(), 1);

    // Without a name no person is stored.
    const int other = Add(QStringLiteral("Quiet Ltd"), customer);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson WHERE CompanyID = ?"), {other}),
        0);
}

TEST_P(DBClassContactsTest, CompanyNamesAreUniqueIgnoringCaseAndBlankNamesAreRefused)
{
    Add(QStringLiteral("Ärzte Nord"));
    int id = -1;
    QString reason;
    EXPECT_EQ(m_db.AddCompany(Company(QStringLiteral("  ärzte NORD ")), -1, {}, id, reason),
              ContactResult::Exists);
    EXPECT_EQ(m_db.AddCompany(Company(QStringLiteral("   ")), -1, {}, id, reason),
              ContactResult::Empty);
    EXPECT_EQ(id, -1);
    // Names are compared as they will be stored: cut to the column.
    const QString longName = QString(254, QLatin1Char('a')) + QStringLiteral("\U0001F600tail");
    const int first = Add(longName);
    const CQueryResult stored = Query(
        QStringLiteral("SELECT CompanyName FROM tblAddrCompany WHERE CompanyID = ?"), {first});
    EXPECT_EQ(stored.Value(0, 0).toString(), longName.left(256)); // 255 characters, none split
    EXPECT_EQ(m_db.AddCompany(Company(longName + QStringLiteral("more")), -1, {}, id, reason),
              ContactResult::Exists);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrCompany")), 3); // with the seed's
}

TEST_P(DBClassContactsTest, AFailedAddLeavesNothingBehind)
{
    const int customer = TypeId(QStringLiteral("Customer"));
    const int before = Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrCompany"));
    {
        const auto refused = RefusePersons();
        int id = -1;
        QString reason;
        EXPECT_EQ(m_db.AddCompany(Company(QStringLiteral("Half Written")), customer,
                                  Person(QStringLiteral("Ann"), QStringLiteral("Lee")), id, reason),
                  ContactResult::WriteFailed);
        EXPECT_TRUE(reason.contains(QStringLiteral("persons refused"))) << reason.toStdString();
        EXPECT_EQ(id, -1);
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrCompany")), before);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrBusinessType")), 0);
    EXPECT_EQ(m_db.Connection()->TransactionDepth(), 0);
    // The same company goes in once the persons are taken again.
    EXPECT_GT(Add(QStringLiteral("Half Written"), customer,
                  Person(QStringLiteral("Ann"), QStringLiteral("Lee"))),
              0);
}

TEST_P(DBClassContactsTest, EditingRewritesFieldsAndLinksAndStopsForAVanishedCompany)
{
    const int customer = TypeId(QStringLiteral("Customer"));
    const int supplier = TypeId(QStringLiteral("Supplier"));
    const int partner = TypeId(QStringLiteral("Partner"));
    const int id = Add(QStringLiteral("Kiwi Steel"), customer);
    const int other = Add(QStringLiteral("Tui Glass"), customer);
    QString reason;

    CCompanyValues values = Company(QStringLiteral("KIWI steel"));
    values.Phone = QStringLiteral("04 555 0199");
    ASSERT_EQ(m_db.UpdateCompany(id, values, {supplier, partner, supplier}, reason),
              ContactResult::Ok)
        << reason.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT CompanyName, Phone FROM tblAddrCompany WHERE "
                                   "CompanyID = ?"),
                    {id})
                  .Value(0, 1)
                  .toString(),
              QStringLiteral("04 555 0199"));
    EXPECT_EQ(Links(id), QList<int>({supplier, partner}));
    EXPECT_EQ(Links(other), QList<int>({customer}));

    // Another company's name, in any case, is taken.
    EXPECT_EQ(m_db.UpdateCompany(id, Company(QStringLiteral("tui GLASS")), {}, reason),
              ContactResult::Exists);
    EXPECT_EQ(Links(id), QList<int>({supplier, partner}));
    // No type at all leaves no link.
    ASSERT_EQ(m_db.UpdateCompany(id, values, {}, reason), ContactResult::Ok);
    EXPECT_TRUE(Links(id).isEmpty());

    Exec(QStringLiteral("DELETE FROM tblAddrCompany WHERE CompanyID = ?"), {other});
    EXPECT_EQ(m_db.UpdateCompany(other, Company(QStringLiteral("Tui Glass")), {partner}, reason),
              ContactResult::NotFound);
    EXPECT_EQ(Links(other), QList<int>({customer})); // untouched: nothing was written
}

TEST_P(DBClassContactsTest, DeletingACompanyTakesItsPersonsAndLinksUnlessRecordsNameIt)
{
    const int customer = TypeId(QStringLiteral("Customer"));
    const int id = Add(QStringLiteral("D'Arcy Ltd"), customer,
                       Person(QStringLiteral("Ann"), QStringLiteral("Lee")));
    const int used = Add(QStringLiteral("Used Ltd"), customer);
    Exec(QStringLiteral("INSERT INTO tblProject (ProjName, CompanyID) VALUES ('Bridge', ?), "
                        "('Tunnel', ?)"),
         {used, used});
    Exec(QStringLiteral("INSERT INTO tblChgReq (ProjID, CompanyID) VALUES (1, ?)"), {used});
    QString reason;

    ASSERT_EQ(m_db.DeleteCompany(id, reason), ContactResult::Ok) << reason.toStdString();
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrCompany WHERE CompanyID = ?"), {id}), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson WHERE CompanyID = ?"), {id}),
              0);
    EXPECT_TRUE(Links(id).isEmpty());
    EXPECT_EQ(m_db.DeleteCompany(id, reason), ContactResult::NotFound);

    EXPECT_EQ(m_db.DeleteCompany(used, reason), ContactResult::InUse);
    EXPECT_EQ(reason, QStringLiteral("2 projects and 1 change request"));
    EXPECT_EQ(Links(used), QList<int>({customer}));
}

TEST_P(DBClassContactsTest, PersonsAreAddedCurrentAndChangedAndDeletedById)
{
    const int id = Add(QStringLiteral("Rata Ltd"));
    int personId = -1;
    QString reason;
    ASSERT_EQ(m_db.AddPerson(id, Person(QStringLiteral("Ngaio"), QStringLiteral("Marsh")), personId,
                             reason),
              ContactResult::Ok)
        << reason.toStdString();
    int twin = -1;
    ASSERT_EQ(
        m_db.AddPerson(id, Person(QStringLiteral("Ngaio"), QStringLiteral("Marsh")), twin, reason),
        ContactResult::Ok);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT IsCurrent FROM tblAddrPerson WHERE PersonID = ?"), {personId}),
        1);

    CPersonValues changed = Person(QStringLiteral("Ngaio"), QString(41, QChar(0x00E9)));
    changed.Phone = QStringLiteral(" ");
    ASSERT_EQ(m_db.UpdatePerson(personId, changed, reason), ContactResult::Ok);
    const CQueryResult row = Query(QStringLiteral("SELECT LastName, PeopleDDSPhone, FullName FROM "
                                                  "tblAddrPerson WHERE PersonID = ?"),
                                   {personId});
    EXPECT_EQ(row.Value(0, 0).toString(), QString(20, QChar(0x00E9))); // cut to the column
    EXPECT_EQ(row.Value(0, 1).toString(), QStringLiteral(" "));
    EXPECT_EQ(Query(QStringLiteral("SELECT LastName FROM tblAddrPerson WHERE PersonID = ?"), {twin})
                  .Value(0, 0)
                  .toString(),
              QStringLiteral("Marsh"));

    ASSERT_EQ(m_db.DeletePerson(personId, reason), ContactResult::Ok);
    EXPECT_EQ(m_db.DeletePerson(personId, reason), ContactResult::NotFound);
    EXPECT_EQ(m_db.UpdatePerson(personId, changed, reason), ContactResult::NotFound);
    EXPECT_EQ(m_db.AddPerson(id + 100, changed, personId, reason), ContactResult::NotFound);
}

TEST_P(DBClassContactsTest, BusinessTypeNamesAreUniqueIgnoringCase)
{
    int id = -1;
    QString reason;
    ASSERT_EQ(m_db.AddBusinessType(QStringLiteral("Über Trade"), id, reason), ContactResult::Ok);
    EXPECT_EQ(m_db.AddBusinessType(QStringLiteral("über trade"), id, reason),
              ContactResult::Exists);
    EXPECT_EQ(m_db.AddBusinessType(QStringLiteral("customer"), id, reason), ContactResult::Exists);
    EXPECT_EQ(m_db.AddBusinessType(QStringLiteral(" "), id, reason), ContactResult::Empty);
    int quoted = -1;
    ASSERT_EQ(m_db.AddBusinessType(QStringLiteral("Men's Wear"), quoted, reason),
              ContactResult::Ok);
    EXPECT_EQ(TypeId(QStringLiteral("Men's Wear")), quoted);

    // A change of case is a rename; another type's name is not.
    const int customer = TypeId(QStringLiteral("Customer"));
    ASSERT_EQ(m_db.RenameBusinessType(customer, QStringLiteral("CUSTOMER"), reason),
              ContactResult::Ok);
    EXPECT_EQ(TypeId(QStringLiteral("CUSTOMER")), customer);
    EXPECT_EQ(m_db.RenameBusinessType(customer, QStringLiteral("supplier"), reason),
              ContactResult::Exists);
    EXPECT_EQ(m_db.RenameBusinessType(9999, QStringLiteral("Nobody"), reason),
              ContactResult::NotFound);
}

TEST_P(DBClassContactsTest, DeletingABusinessTypeTakesItsLinks)
{
    const int customer = TypeId(QStringLiteral("Customer"));
    const int supplier = TypeId(QStringLiteral("Supplier"));
    const int id = Add(QStringLiteral("Both Ltd"), customer);
    QString reason;
    ASSERT_EQ(
        m_db.UpdateCompany(id, Company(QStringLiteral("Both Ltd")), {customer, supplier}, reason),
        ContactResult::Ok);
    ASSERT_EQ(m_db.DeleteBusinessType(QStringLiteral("customer"), reason), ContactResult::Ok);
    EXPECT_EQ(TypeId(QStringLiteral("Customer")), -1);
    EXPECT_EQ(Links(id), QList<int>({supplier}));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrBusinessType b WHERE NOT EXISTS "
                                   "(SELECT 1 FROM tlkpAddrBusinessType t WHERE t.BusinessTypeID "
                                   "= b.BusinessTypeID)")),
              0);
    EXPECT_EQ(m_db.DeleteBusinessType(QStringLiteral("Customer"), reason), ContactResult::NotFound);
    // A company edited with a type deleted meanwhile gets no link to it.
    ASSERT_EQ(
        m_db.UpdateCompany(id, Company(QStringLiteral("Both Ltd")), {customer, supplier}, reason),
        ContactResult::Ok);
    EXPECT_EQ(Links(id), QList<int>({supplier}));
    int other = -1;
    EXPECT_EQ(m_db.AddCompany(Company(QStringLiteral("Late Ltd")), customer, {}, other, reason),
              ContactResult::NotFound);
}

KELVANE_INSTANTIATE_BACKENDS(DBClassContactsTest);
