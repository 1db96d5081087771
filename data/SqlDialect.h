#pragma once

#include "data/DateTime.h"

#include <QString>
#include <QVariant>

// The back ends this program runs on. The numbers are the provider kinds the
// rest of the program tests; kind 2 also means "not yet detected".
enum ProviderKind : int {
    kProviderPostgres = 0, // the shared server
    kProviderSqlite = 1,   // a database file
    kProviderUnknown = 2,
};

// Every difference between the back ends lives here: date literals, how a
// value is bound, SQL texts written in the Jet style of the original queries
// turned into what the back end accepts, and procedure calls.
class CSqlDialect {
public:
    explicit CSqlDialect(int kind = kProviderUnknown)
        : m_kind(kind)
    {}

    // Kind named by the connection string's Provider value (exact, case-sensitive).
    static int DetectProvider(const QString& connectionString);
    static QString DriverName(int kind);

    int Kind() const { return m_kind; }
    bool IsPostgres() const { return m_kind == kProviderPostgres; }
    bool IsSqlite() const { return m_kind == kProviderSqlite; }

    // "#" on the file back end, "'" otherwise; Translate() turns #...# into
    // whatever the back end reads.
    QString DateDelimiter() const;
    // A complete literal for a date (midnight unless withTime) that both back
    // ends compare correctly with stored dates.
    QString DateLiteral(const CDateTime& value, bool withTime) const;
    QString DateLiteral(const QDate& value) const;
    // A text as an SQL literal, apostrophes doubled. Prefer bound values.
    static QString QuoteText(const QString& text);

    // Rewrites a Jet-style SQL text: #date# literals, [bracketed] names,
    // TOP n, True/False, & concatenation. String literals are left alone.
    QString Translate(const QString& sql) const;

    // "SELECT * FROM name(?, ?, ...)": stored procedures are functions on
    // the server.
    QString ProcedureCall(const QString& name, int argumentCount) const;
    // A column or table name as generated SQL writes it. PostgreSQL names are
    // created unquoted, so they are folded to lower case.
    QString QuoteIdentifier(const QString& name) const;
    // Stored procedures are called as functions; everything else is a table
    // or view.
    static bool IsProcedureName(const QString& name);
    // A condition true when the column equals the bound value, NULLs included.
    QString NullSafeEquals(const QString& column) const;
    // Clause appended to an INSERT to get the new key back ("" when the back
    // end reports it otherwise).
    QString ReturningClause(const QString& keyColumn) const;

    // Serialises writers of one employee's day until the transaction ends;
    // values: EmpID and the day number. "" where the transaction itself
    // already excludes other writers (the file back end begins every write
    // transaction holding the database's write lock).
    QString DayLockStatement() const;
    static int DayNumber(const QDate& day);

    // Scheduling: stages copies of a time block, `rows` of them with
    // thirteen values each: EmpID, ProjID, OrderID, WorkDate, StartTime,
    // StopTime, HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID and
    // the session's BatchID.
    static constexpr int kStageRowsPerStatement = 100;
    QString StageCopiesStatement(int rows) const;
    // Marks the staged copies of an employee and session that clash with
    // booked rows, and books the others. Values: EmpID and BatchID.
    QString ClashMarkStatement() const;
    QString ScheduleImportStatement() const;
    // The first statement of every scheduling transaction ("" for none).
    QString ScheduleSetupStatement() const;
    // Takes the day lock of every day the employee has staged copies on, in
    // day order; values: the EmpID twice and the BatchID. "" where the
    // transaction itself already excludes other writers.
    QString ScheduleLockStatement() const;

    // A value as it is bound into a statement, and a text as read back.
    QVariant ToDbValue(const QVariant& value) const;
    QString FromDbText(const QString& text) const;
    // Why the back end cannot store this text as it stands ("" when it can).
    QString UnstorableText(const QString& text) const;

private:
    int m_kind;
};
