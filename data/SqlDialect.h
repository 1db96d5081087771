#pragma once

#include "data/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>
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

    // A row deleted only while nothing points at it, and the rows that point
    // at one: the deleting transaction locks its row for update, then keeps
    // the pointing tables unchanged (writes under way end first, new ones
    // wait); a write that adds a pointer first reads the row it points at
    // for key share (so it waits for a delete under way and then finds the
    // row gone), then writes. Row before table on both sides: neither waits
    // for the other holding what the other needs. "" where the write
    // transaction already keeps other writers out.
    enum class RowLock { ForUpdate, ForKeyShare };
    QString RowLockClause(RowLock lock) const;
    QString KeepTablesStatement(const QStringList& tables) const;

    // ---- A stored time-sheet row's day and times ----------------------------
    // The SQL form of CRowTimes, for statements that read WorkDate,
    // StartTime and StopTime in the database (the saved queries and the
    // server's procedures take it through the macros @daystart, @nextday,
    // @rowminute, @rowoverlaps and @stagedclash, see CSchema::Expand). The
    // statements read tblTimeSheet itself, never a saved query, so that
    // they hold on a database whose saved queries are older.
    // The first moment of the day a date-time expression falls on, and of
    // the day after: a row lies on the day of `value` when its WorkDate is in
    // [DayStart, NextDayStart), a range the index on WorkDate serves.
    QString DayStart(const QString& value) const;
    QString NextDayStart(const QString& value) const;
    // `time`, the stored start or stop of a row whose WorkDate is `workDate`,
    // as minutes 0..1440 of the row's day; NULL when it is not stored.
    QString RowMinute(const QString& workDate, const QString& time) const;
    // The row `alias` of tblTimeSheet and the minutes [start, stop) of its
    // day share a minute (CRowTimes::Overlaps): rows that only touch do
    // not, and a row without times overlaps nothing. `start` comes before
    // `stop` in the text (for bound values).
    QString RowOverlaps(const QString& alias, const QString& start, const QString& stop) const;
    // The bound values of a day: its first moment and that of the day after.
    static QVariantList DayRange(const QDate& day);

    // Scheduling: stages copies of a time block, `rows` of them with
    // thirteen values each: EmpID, ProjID, OrderID, WorkDate, StartTime,
    // StopTime, HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID and
    // the session's BatchID.
    static constexpr int kStageRowsPerStatement = 100;
    QString StageCopiesStatement(int rows) const;
    // Marks the staged copies of an employee and session that clash with
    // booked rows, and books the others. Values: EmpID and BatchID.
    QString ClashMarkStatement() const;
    // A booked row overlaps the staged copy `staged` (an alias or the
    // staging table's name): the one clash rule of scheduling, also in the
    // saved query qselTimeSheetClash and the server's qupdTimeSheetClash
    // (the macro @stagedclash).
    QString StagedClashCondition(const QString& staged) const;
    QString ScheduleImportStatement() const;
    // Gives each of an employee's staged copies whose number its day already
    // holds the next free number of that day. One value: the EmpID.
    QString ScheduleFreeIdStatement() const;
    // The first statement of every scheduling transaction ("" for none).
    QString ScheduleSetupStatement() const;
    // Takes the day lock of every day the employee has staged copies on, in
    // day order; values: the EmpID twice and the BatchID. "" where the
    // transaction itself already excludes other writers.
    QString ScheduleLockStatement() const;

    // ---- Searches: SQL texts the user may read and change ------------------
    // A text as a literal the back end reads the same whatever its string
    // settings (backslashes included). Prefer bound values.
    QString TextLiteral(const QString& text) const;
    // A condition comparing a column with the user's text, ignoring the case
    // of every letter and ordering by characters, alike on both back ends.
    // op is =, <>, <, >, <=, >= or (NOT) LIKE, whose patterns take % and _
    // and treat a backslash as an ordinary character. A column that is not
    // text is compared by its text form.
    QString TextCondition(const QString& column, const QString& op, const QString& value,
                          bool textColumn) const;
    // A number column (of an AdoDataType) as the same text on both back
    // ends: whole numbers without decimals, others without trailing zeros.
    QString NumberText(const QString& column, int type) const;
    // A column of a select list, reported by its name as written (the server
    // folds unquoted names to lower case).
    QString SelectColumn(const QString& name) const;
    // A search runs in a transaction that may read but never write, and
    // stops after this long on either back end (on the server by its own
    // statement timeout too).
    static constexpr int kSearchTimeLimitMs = 15000;
    QStringList ReadOnlyBeginStatements() const;
    QStringList ReadOnlyEndStatements() const;
    // Many rows in one statement: the server takes one array a column (of
    // the column's SQL type), the database file rows of values.
    struct CBulkColumn {
        const char* name;
        const char* type; // "integer", "real", "numeric", "text", "timestamp"
    };
    int BulkRowsPerStatement() const;
    QString BulkInsertStatement(const QString& table, const QList<CBulkColumn>& columns,
                                int rows) const;
    // The values of the statement, from the rows' values column by column
    // (columns[c][r]).
    QVariantList BulkInsertValues(const QList<QVariantList>& columns) const;

    // Importing time sheets: the lines are staged in a temporary table of
    // this connection (nothing another session can see or touch), and
    // checked against the booked rows in one statement.
    static const QList<CBulkColumn>& ImportStageColumns();
    static const QList<CBulkColumn>& TimeSheetColumns();
    // The first statement of an import's transaction ("" for none).
    QString ImportSetupStatement() const;
    QString ImportStageDropStatement() const;
    QString ImportStageCreateStatement() const;
    // Per staged line: Line, overlaps a booked row (0/1), its TimeID is
    // taken (0/1), the day's highest TimeID (NULL for an empty day). A line
    // is staged with its day (WorkDate, the day's first moment, NextDay,
    // the next day's) and its start and stop as minutes of that day.
    QString ImportCheckStatement() const;
    // Keeps other writers off the staged days until the transaction ends:
    // the day locks of the time-sheet procedures, or, for more days than a
    // transaction should lock one by one, the whole table against writes.
    // "" where the transaction itself already excludes other writers.
    static constexpr int kImportMaxDayLocks = 500;
    QString ImportLockStatement(int days) const;

    // ---- The weekly time-sheet workbook -------------------------------------
    // One employee's day: the first start and the last stop as stored (NULL
    // without rows) and the sum of the hours. Values: the EmpID, the day,
    // the day after.
    QString WeekDayTotalsStatement() const;
    // One employee's rows of a day in the order of their start: ProjID,
    // OrderID, InvID, TaskID, StartTime, StopTime, HoursWorked. Values: the
    // EmpID, the day, the day after.
    QString WeekDayRowsStatement() const;

    // A value as it is bound into a statement, and a text as read back.
    QVariant ToDbValue(const QVariant& value) const;
    QString FromDbText(const QString& text) const;
    // Why the back end cannot store this text as it stands ("" when it can).
    QString UnstorableText(const QString& text) const;

private:
    int m_kind;
};
