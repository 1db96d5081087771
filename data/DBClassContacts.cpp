// The facade's writes of the address book: companies with their business
// types and first contact, contact persons, and the business types. Each
// write is one transaction: it is done completely or not at all.
#include "data/DBClass.h"

#include "data/FacadeWrite.h"
#include "data/records/AddrCompanySet.h"
#include "data/records/BusTypeSet.h"
#include "data/records/PeopleSet.h"

namespace {

// Lock keys of the name checks (see CFacadeWrite::Begin).
constexpr int kCompanyNames = 1;
constexpr int kBusinessTypeNames = 2;

// A write of the address book, with the name checks its writes make.
class CAddressBookWrite : public CFacadeWrite {
public:
    using CFacadeWrite::CFacadeWrite;

    // The id of another row (not `except`) whose name is `name` ignoring
    // case; -1 for none. Compared here rather than by the database, whose
    // case rules differ between back ends beyond plain ASCII.
    bool FindName(const QString& sql, const QString& name, int except, int& found)
    {
        found = -1;
        CQueryResult rows;
        if (!Run(sql, {}, &rows))
            return false;
        for (int r = 0; r < rows.rows && found < 0; ++r) {
            const int id = rows.Value(r, 0).toInt();
            if (id != except && rows.Value(r, 1).toString().compare(name, Qt::CaseInsensitive) == 0)
                found = id;
        }
        return true;
    }
    // Ok when no other row has the name.
    ContactResult NameFree(const QString& sql, const QString& name, int except)
    {
        int other = -1;
        if (!FindName(sql, name, except, other))
            return ContactResult::OpenFailed;
        return other >= 0 ? ContactResult::Exists : ContactResult::Ok;
    }
    // Begins with the names' lock; Ok when the name is free then.
    ContactResult BeginWithName(int lockKey, const QString& sql, const QString& name, int except)
    {
        return Begin(lockKey) ? NameFree(sql, name, except) : ContactResult::OpenFailed;
    }
    ContactResult Commit()
    {
        return CFacadeWrite::Commit() ? ContactResult::Ok : ContactResult::WriteFailed;
    }
};

const QString kCompanyNamesSql =
    QStringLiteral("SELECT CompanyID, CompanyName FROM tblAddrCompany");
const QString kTypeNamesSql =
    QStringLiteral("SELECT BusinessTypeID, BusinessType FROM tlkpAddrBusinessType");
const QString kCompanyExistsSql =
    QStringLiteral("SELECT CompanyID FROM tblAddrCompany WHERE CompanyID = ?");
const QString kTypeExistsSql =
    QStringLiteral("SELECT BusinessTypeID FROM tlkpAddrBusinessType WHERE BusinessTypeID = ?");
const QString kAddLinkSql =
    QStringLiteral("INSERT INTO tblAddrBusinessType (CompanyID, BusinessTypeID) VALUES (?, ?)");

void FillCompany(CAddrCompanySet& set, const CCompanyValues& values)
{
    set.m_CompanyName = values.CompanyName.trimmed();
    set.m_AddressComment = values.AddressComment;
    set.m_Phone = values.Phone;
    set.m_Fax = values.Fax;
    set.m_WWWpage = values.WWWpage.trimmed();
    set.m_Address1 = values.Address1;
    set.m_Address2 = values.Address2;
    set.m_Address3 = values.Address3;
    set.m_LastUpdate = CDateTime::CurrentDateTime();
}

QString FullName(const CPersonValues& person)
{
    return (person.FirstName + QLatin1Char(' ') + person.LastName).trimmed();
}

void FillPerson(CPeopleSet& set, const CPersonValues& person)
{
    set.m_FirstName = person.FirstName;
    set.m_LastName = person.LastName;
    set.m_FullName = FullName(person);
    set.m_PeopleDDSPhone = person.Phone;
    set.m_PeopleMobilePhone = person.Mobile;
    set.m_PeopleInternetID = person.Email;
    set.m_PeopleFax = person.Fax;
}

// "2 projects, 1 change request and 3 comments".
QString CountText(const QList<std::pair<int, QString>>& counts)
{
    QStringList parts;
    for (const auto& [count, noun] : counts)
        if (count > 0)
            parts << QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? "" : "s");
    if (parts.size() > 1) {
        const QString last = parts.takeLast();
        return parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    }
    return parts.value(0);
}

// A new person of the company, current, inside the caller's transaction.
bool InsertPerson(CDBConnection* connection, CAddressBookWrite& write, int companyId,
                  const CPersonValues& person, int& personId, QString& reason)
{
    CPeopleSet set(connection);
    set.Recordset()->SetQuiet(true);
    set.ClearFields();
    set.ClearStatus();
    FillPerson(set, person);
    set.m_CompanyID = companyId;
    if (!set.Recordset()->CheckAddNew()) {
        reason = set.Recordset()->ErrorText();
        return false;
    }
    personId = set.Recordset()->LastInsertId().toInt();
    // The record class does not write the flags; a new person is current.
    return write.Change(QStringLiteral("UPDATE tblAddrPerson SET IsCurrent = 1 WHERE PersonID = ?"),
                        {personId}) == 1;
}

// A business type's name as it is stored: without blanks around it and cut
// to the column.
QString StoredTypeName(CDBConnection* connection, const QString& name)
{
    CBusTypeSet set(connection);
    set.m_BusinessType = name.trimmed();
    return set.BufferValue(1).toString();
}

} // namespace

ContactResult CDBClass::AddCompany(const CCompanyValues& company, int businessTypeId,
                                   const CPersonValues& person, int& companyId, QString& reason)
{
    companyId = -1;
    CAddrCompanySet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    set.ClearFields();
    set.ClearStatus();
    FillCompany(set, company);
    // The name as it will be stored: the uniqueness test is of that one.
    const QString name = set.BufferValue(1).toString();
    if (name.isEmpty())
        return ContactResult::Empty;
    CAddressBookWrite write(*this, reason);
    if (const ContactResult free = write.BeginWithName(kCompanyNames, kCompanyNamesSql, name, -1);
        free != ContactResult::Ok)
        return free;
    bool typeExists = businessTypeId < 0;
    // Held: a delete of the type under way ends first.
    if (!typeExists && !write.Exists(kTypeExistsSql, businessTypeId, typeExists,
                                     CSqlDialect::RowLock::ForKeyShare))
        return ContactResult::OpenFailed;
    if (!typeExists) {
        reason = QStringLiteral("The business type no longer exists.");
        return ContactResult::NotFound;
    }
    if (!set.Recordset()->CheckAddNew() || !set.Recordset()->LastInsertId().isValid()) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::WriteFailed;
    }
    // The id the insert gave: another company of a similar name cannot be taken for it.
    const int id = set.Recordset()->LastInsertId().toInt();
    if (businessTypeId >= 0 && !write.Run(kAddLinkSql, {id, businessTypeId}))
        return ContactResult::WriteFailed;
    int personId = -1;
    if (person.HasName() && !InsertPerson(m_connection.get(), write, id, person, personId, reason))
        return ContactResult::WriteFailed;
    const ContactResult committed = write.Commit();
    if (committed == ContactResult::Ok)
        companyId = id;
    return committed;
}

ContactResult CDBClass::UpdateCompany(int companyId, const CCompanyValues& company,
                                      const QList<int>& businessTypeIds, QString& reason)
{
    CAddrCompanySet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    CAddressBookWrite write(*this, reason);
    if (!write.Begin(kCompanyNames))
        return ContactResult::OpenFailed;
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[CompanyID] = ?"), QString(),
                                {companyId})) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::OpenFailed;
    }
    if (set.Recordset()->IsEOF())
        return ContactResult::NotFound;
    FillCompany(set, company);
    const QString name = set.BufferValue(1).toString();
    if (name.isEmpty())
        return ContactResult::Empty;
    // Its own name in other case is no clash.
    if (const ContactResult free = write.NameFree(kCompanyNamesSql, name, companyId);
        free != ContactResult::Ok)
        return free;
    if (!set.Recordset()->UpdateCurrRecord()) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::WriteFailed;
    }
    // The types before the links (see CSqlDialect::RowLockClause): a type
    // deleted meanwhile gets no link, as a link must name a type.
    QList<int> kept;
    for (int typeId : businessTypeIds) {
        if (kept.contains(typeId))
            continue;
        bool exists = false;
        if (!write.Exists(kTypeExistsSql, typeId, exists, CSqlDialect::RowLock::ForKeyShare))
            return ContactResult::OpenFailed;
        if (exists)
            kept << typeId;
    }
    if (write.Change(QStringLiteral("DELETE FROM tblAddrBusinessType WHERE CompanyID = ?"),
                     {companyId}) < 0)
        return ContactResult::WriteFailed;
    for (int typeId : std::as_const(kept))
        if (!write.Run(kAddLinkSql, {companyId, typeId}))
            return ContactResult::WriteFailed;
    return write.Commit();
}

ContactResult CDBClass::DeleteCompany(int companyId, QString& reason)
{
    CAddressBookWrite write(*this, reason);
    bool exists = false;
    // Records that name the company keep it: they would point at nothing.
    // Its row first, then their tables: those being written now are counted
    // once written, new ones wait.
    if (!write.Begin() ||
        !write.Exists(kCompanyExistsSql, companyId, exists, CSqlDialect::RowLock::ForUpdate) ||
        !write.KeepTablesUnchanged({QStringLiteral("tblProject"), QStringLiteral("tblChgReq"),
                                    QStringLiteral("tblProjectComment")}))
        return ContactResult::OpenFailed;
    if (!exists)
        return ContactResult::NotFound;
    CQueryResult counts;
    if (!write.Run(QStringLiteral("SELECT (SELECT COUNT(*) FROM tblProject WHERE CompanyID = ?), "
                                  "(SELECT COUNT(*) FROM tblChgReq WHERE CompanyID = ?), "
                                  "(SELECT COUNT(*) FROM tblProjectComment WHERE CompanyID = ?)"),
                   {companyId, companyId, companyId}, &counts) ||
        counts.rows != 1)
        return ContactResult::OpenFailed;
    const QString users = CountText({{counts.Value(0, 0).toInt(), QStringLiteral("project")},
                                     {counts.Value(0, 1).toInt(), QStringLiteral("change request")},
                                     {counts.Value(0, 2).toInt(), QStringLiteral("comment")}});
    if (!users.isEmpty()) {
        reason = users;
        return ContactResult::InUse;
    }
    // The company's persons and type links go with it.
    for (const char* table : {"tblAddrPerson", "tblAddrBusinessType"})
        if (write.Change(
                QStringLiteral("DELETE FROM %1 WHERE CompanyID = ?").arg(QLatin1String(table)),
                {companyId}) < 0)
            return ContactResult::WriteFailed;
    if (write.Change(QStringLiteral("DELETE FROM tblAddrCompany WHERE CompanyID = ?"),
                     {companyId}) != 1)
        return ContactResult::WriteFailed;
    return write.Commit();
}

ContactResult CDBClass::AddPerson(int companyId, const CPersonValues& person, int& personId,
                                  QString& reason)
{
    personId = -1;
    CAddressBookWrite write(*this, reason);
    bool exists = false;
    // Held: a delete of the company under way ends first.
    if (!write.Begin() ||
        !write.Exists(kCompanyExistsSql, companyId, exists, CSqlDialect::RowLock::ForKeyShare))
        return ContactResult::OpenFailed;
    if (!exists)
        return ContactResult::NotFound;
    int id = -1;
    if (!InsertPerson(m_connection.get(), write, companyId, person, id, reason))
        return ContactResult::WriteFailed;
    const ContactResult committed = write.Commit();
    if (committed == ContactResult::Ok)
        personId = id;
    return committed;
}

ContactResult CDBClass::UpdatePerson(int personId, const CPersonValues& person, QString& reason)
{
    CAddressBookWrite write(*this, reason);
    if (!write.Begin())
        return ContactResult::OpenFailed;
    CPeopleSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[PersonID] = ?"), QString(), {personId})) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::OpenFailed;
    }
    if (set.Recordset()->IsEOF())
        return ContactResult::NotFound;
    FillPerson(set, person);
    if (!set.Recordset()->UpdateCurrRecord()) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::WriteFailed;
    }
    return write.Commit();
}

ContactResult CDBClass::DeletePerson(int personId, QString& reason)
{
    CAddressBookWrite write(*this, reason);
    if (!write.Begin())
        return ContactResult::OpenFailed;
    const qint64 deleted =
        write.Change(QStringLiteral("DELETE FROM tblAddrPerson WHERE PersonID = ?"), {personId});
    if (deleted < 0)
        return ContactResult::WriteFailed;
    if (deleted == 0)
        return ContactResult::NotFound;
    return write.Commit();
}

// ---- Business types ------------------------------------------------------------------------

ContactResult CDBClass::AddBusinessType(const QString& name, int& businessTypeId, QString& reason)
{
    businessTypeId = -1;
    const QString stored = StoredTypeName(m_connection.get(), name);
    if (stored.isEmpty())
        return ContactResult::Empty;
    CAddressBookWrite write(*this, reason);
    if (const ContactResult free =
            write.BeginWithName(kBusinessTypeNames, kTypeNamesSql, stored, -1);
        free != ContactResult::Ok)
        return free;
    CBusTypeSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    set.ClearStatus();
    set.m_BusinessType = stored;
    if (!set.Recordset()->CheckAddNew()) {
        reason = set.Recordset()->ErrorText();
        return ContactResult::WriteFailed;
    }
    const ContactResult committed = write.Commit();
    if (committed == ContactResult::Ok)
        businessTypeId = set.Recordset()->LastInsertId().toInt();
    return committed;
}

ContactResult CDBClass::RenameBusinessType(int businessTypeId, const QString& name, QString& reason)
{
    const QString stored = StoredTypeName(m_connection.get(), name);
    if (stored.isEmpty())
        return ContactResult::Empty;
    CAddressBookWrite write(*this, reason);
    // Its own name in other case is no clash: a change of case is a rename.
    if (const ContactResult free =
            write.BeginWithName(kBusinessTypeNames, kTypeNamesSql, stored, businessTypeId);
        free != ContactResult::Ok)
        return free;
    const qint64 changed = write.Change(
        QStringLiteral("UPDATE tlkpAddrBusinessType SET BusinessType = ? WHERE BusinessTypeID = ?"),
        {stored, businessTypeId});
    if (changed < 0)
        return ContactResult::WriteFailed;
    if (changed == 0)
        return ContactResult::NotFound;
    return write.Commit();
}

ContactResult CDBClass::DeleteBusinessType(const QString& name, QString& reason)
{
    const QString stored = StoredTypeName(m_connection.get(), name);
    if (stored.isEmpty())
        return ContactResult::NotFound;
    CAddressBookWrite write(*this, reason);
    int id = -1;
    if (!write.Begin(kBusinessTypeNames) || !write.FindName(kTypeNamesSql, stored, -1, id))
        return ContactResult::OpenFailed;
    if (id < 0)
        return ContactResult::NotFound;
    // The companies lose the type with it: no link may name a type that is
    // gone. Its row first, then the links: links being written now go too,
    // new ones wait and then find the type gone.
    bool exists = false;
    if (!write.Exists(kTypeExistsSql, id, exists, CSqlDialect::RowLock::ForUpdate) ||
        !write.KeepTablesUnchanged({QStringLiteral("tblAddrBusinessType")}))
        return ContactResult::OpenFailed;
    if (!exists)
        return ContactResult::NotFound;
    if (write.Change(QStringLiteral("DELETE FROM tblAddrBusinessType WHERE BusinessTypeID = ?"),
                     {id}) < 0 ||
        write.Change(QStringLiteral("DELETE FROM tlkpAddrBusinessType WHERE BusinessTypeID = ?"),
                     {id}) != 1)
        return ContactResult::WriteFailed;
    return write.Commit();
}
