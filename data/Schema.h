#pragma once

#include <QString>
#include <QStringList>

class CDBConnection;
struct CDbError;

// The tables, saved queries and stored procedures of a Kelvane database,
// kept once in data/schema/ and written out in the form of each back end.
class CSchema {
public:
    // The schema version this program's tables, saved queries and procedures
    // make: the newest row of data/schema/revisions.sql. A database below it
    // needs kelvane-createdb --update.
    static constexpr double kVersion = 2.21;

    // Creates the schema and the seed rows in an empty database, all or
    // nothing. Refuses (and changes nothing in) a database that already
    // holds any of the tables or views.
    static bool Create(CDBConnection& connection, QString* error);

    // Brings a database made by an earlier version up to date, its rows
    // untouched: missing indexes are created, the saved queries and (on the
    // server) the stored procedures replaced by their current definitions,
    // the revision recorded, all or nothing. Refuses a database that lacks any of the tables.
    static bool Update(CDBConnection& connection, QString* error);

    // The rows a new database needs before anyone can book, the same for a
    // first start and the create tool: the person at the desktop as its
    // first employee, signing on by login name without a password (their
    // full name goes to `fullName`), the quick start, and the project
    // "General" with its order and task. Runs inside the caller's transaction.
    // A login longer than a logon name (kLogonNameWidth) is not stored: the
    // employee signs on in the logon dialog without a password, and `note`
    // says so.
    static bool AddFirstRows(CDBConnection& connection, QString* fullName, QString* error,
                             QString* note = nullptr);
    // The characters tblFinEmployee.NTUserName holds, as other programs read it.
    static constexpr int kLogonNameWidth = 20;

    // The objects a complete database holds.
    static QStringList TableNames();
    static QStringList ViewNames();
    static QStringList IndexNames();
    static QStringList ProcedureNames(); // server back end only
    // The tables, views and procedures the connected database lacks.
    static QStringList Missing(CDBConnection& connection);
    // Whether the connected database holds the named table or view.
    static bool Exists(CDBConnection& connection, const QString& name);
    // The schema's tables the connected database holds, in one query
    // (none, with the error, when the query fails).
    static QStringList PresentTables(CDBConnection& connection, CDbError* error = nullptr);

    // A script of data/schema/ ("tables", "views", "procedures-postgres",
    // "seed", "revisions") in the form of a back end.
    static QString Script(const QString& name, int providerKind);
    // The type words of a script expanded for a back end.
    static QString Expand(const QString& sql, int providerKind);
};
