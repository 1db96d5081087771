#pragma once

#include "data/DbError.h"
#include "data/SqlDialect.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>

class CRowCursor;
class CStatementCache;
class CStatementLimit;

// Asks the user which database to use. The program installs its connection
// dialog; tests install a scripted answer.
class IConnectionPrompt {
public:
    virtual ~IConnectionPrompt() = default;
    // The chosen connection string, or "" when the user chose nothing.
    // `current` is what the dialog starts from ("" for none).
    virtual QString PromptConnectionString(const QString& current) = 0;
};

// The one shared connection of the program, counted by its users. Every
// recordset and command of the data layer runs on it.
class CDBConnection {
public:
    // The pages a database file keeps in memory (SQLite's own default is 2 MB):
    // writes to a million-row time sheet touch its indexes all over, while a
    // walk of every row still holds no more than this.
    static constexpr int kSqlitePageCacheKb = 16384;

    CDBConnection();
    virtual ~CDBConnection();
    CDBConnection(const CDBConnection&) = delete;
    CDBConnection& operator=(const CDBConnection&) = delete;

    // Opens the connection, or counts one more use of the open one. With
    // force (or no stored string) the user is asked for a database first.
    bool Connect(bool force);
    // Counts one use down; closes at the last use, or at once when forced.
    bool ReleaseConnection(bool force);
    // Opens the stored string, or counts one more use, asking and telling
    // nothing: false with LastOpenError() for a caller that reports itself.
    bool ConnectSilently();
    // Connected, or connects now without a word (and without counting a use
    // of a connection already open): for reads the program tries by itself.
    bool ConnectedQuietly() { return m_connected || ConnectSilently(); }
    QString PromptConnectionString();
    QString LoadConnectionString() const;
    bool SaveConnectionString(const QString& connectionString);

    // Without the profile, Connect() uses this string and stores nothing:
    // for tools, benchmarks and a second connection in one process.
    void UseConnectionString(const QString& connectionString);
    // Back to the profile's string (after it was changed there).
    void UseProfileString()
    {
        m_useProfile = true;
        m_chooseAnother = false;
        m_connectionString.clear();
    }
    // The next Connect asks for another database. The stored string stays
    // until another database has been chosen and opened, so that cancelling
    // the choice never loses it.
    void ChooseAnother();
    bool IsChoosingAnother() const { return m_chooseAnother; }

    // How long the program waits for the database's answer: commands time out
    // after this long, whatever keeps them (another session's lock, a long
    // statement, a server that stopped answering).
    static constexpr int kCommandTimeoutMs = 15000;
    // How long a server is given to take a connection.
    static constexpr int kConnectTimeoutMs = 5000;
    // How long a statement waits for another session's lock, and how long it
    // waits for an answer (milliseconds). lockMs 0: as long as statementMs
    // allows; statementMs 0: no limit (tools that build large databases).
    // Applied to the open connection and to every later open.
    struct CWaitLimits {
        int lockMs = 0;
        int statementMs = kCommandTimeoutMs;
    };
    void SetWaitLimits(const CWaitLimits& limits);
    // How long a writer on a database file waits for another writer when no
    // limit is set.
    static constexpr int kFileBusyTimeoutMs = 30000;
    const CWaitLimits& WaitLimits() const { return m_waitLimits; }
    // The limit of the wait that begins now: a search's own, else the
    // connection's statement limit.
    int AnswerLimitMs() const;
    // Who holds the locks statements wait for: other sessions on the
    // server, other processes on a database file. "" when none is seen.
    QString DescribeLockHolders();

    // A failure that ends the user's action (the database cannot be reached,
    // did not answer, or kept a lock past the limit): the statements that
    // follow in the same action fail at once with it instead of waiting
    // again, and no connection is tried again before the next action.
    void NoteOutage(const CDbError& error);
    bool OutageInThisAction(CDbError* error = nullptr) const;
    // The server did not answer: nothing more is sent on the connection, and
    // it is closed, without a word to the server (a rollback would wait as
    // long again), once the statement has unwound.
    void GiveUp();
    bool GivenUp() const { return m_givenUp; }

    // The database file this connection writes is still the one its path
    // names; false, with the reason, when it was moved or deleted meanwhile.
    bool CheckFileIdentity(CDbError* error);
    // For the back ends: a wait for the database begins, measured against
    // AnswerLimitMs(); and whether the one under way may go on.
    void BeginWait() { m_waitClock.start(); }
    qint64 WaitElapsedMs() const { return m_waitClock.isValid() ? m_waitClock.elapsed() : 0; }
    bool KeepWaiting();

    bool IsConnected() const { return m_connected; }
    int UseCount() const { return m_useCount; }
    int RecordsetOpens() const { return m_recordsetOpens; }
    void CountRecordsetOpen() { ++m_recordsetOpens; }
    const QString& ConnectionString() const { return m_connectionString; }
    int ProviderKind() const { return m_dialect.Kind(); }
    const CSqlDialect& Dialect() const { return m_dialect; }
    QSqlDatabase& Database() { return m_db; }
    // The driver's message of the last failed open.
    const QString& LastOpenError() const { return m_lastOpenError; }

    // A broken connection: forget it without closing, so that the next
    // operation opens a fresh one from the stored string.
    void DropConnection();

    // Transactions nest: an inner one is a savepoint, so a failed inner write
    // can be undone without losing the outer work.
    bool BeginTrans(CDbError* error = nullptr);
    bool CommitTrans(CDbError* error = nullptr);
    bool RollbackTrans();
    int TransactionDepth() const { return m_transactionDepth; }
    // A transaction in which statements read but cannot change anything; it
    // always ends by rolling back. Not inside another transaction.
    bool BeginReadOnlyTrans(CDbError* error = nullptr);
    void EndReadOnlyTrans();

    // Whether `what` (a stored value this program cannot hold) is told for
    // the first time on this database while the connection object lives.
    bool FirstTelling(const QString& what)
    {
        const QString key = m_connectionString + QLatin1Char('\n') + what;
        if (m_told.contains(key))
            return false;
        m_told.insert(key);
        return true;
    }

    // Primary-key column names of a table as the database reports them
    // (empty for views and tables without a key). Cached per connection.
    QStringList PrimaryKey(const QString& table);

    // The statements prepared on this connection, kept by their text (see
    // CStatementCache); emptied when the connection closes.
    CStatementCache& Statements() { return *m_statements; }

    // Forward-only cursors reading on this connection (see CRowCursor).
    void RegisterCursor(CRowCursor* cursor);
    void UnregisterCursor(CRowCursor* cursor);
    bool HasOpenCursors() const { return !m_cursors.isEmpty(); }
    // Has the open cursors read their remaining rows into memory, so that
    // another statement can use the connection.
    void BufferOpenCursors();

    // The limit its statements run under (see CStatementLimit), or null.
    CStatementLimit* StatementLimit() const { return m_statementLimit; }
    void SetStatementLimit(CStatementLimit* limit) { m_statementLimit = limit; }

    static void SetPrompt(IConnectionPrompt* prompt);
    static IConnectionPrompt* Prompt();

private:
    QString AskForConnectionString(const QString& initial) const;
    bool Open(const QString& connectionString, QString* error);
    bool OpenSqlite(const QString& name, const QString& file, QString* error);
    bool OpenPostgres(const QString& name, const QString& connectionString, QString* error);
    void CloseDatabase();
    bool Exec(const QString& sql, CDbError* error);
    QString StoredConnectionString() const;
    void ApplyWaitLimits();
    bool Reconnect();
    static int OnSqliteProgress(void* connection);

    int m_recordsetOpens = 0;
    QString m_connectionString;
    int m_useCount = 0;
    bool m_connected = false;
    bool m_useProfile = true;
    bool m_chooseAnother = false;
    CWaitLimits m_waitLimits;
    int m_transactionDepth = 0;
    QSqlDatabase m_db;
    QString m_dbName;
    CSqlDialect m_dialect;
    QString m_lastOpenError;
    // The last open failed because the server takes no connection now (all
    // are taken, or it is starting or stopping), not because of the database.
    bool m_refusedForNow = false;
    QHash<QString, QStringList> m_keys;
    QSet<QString> m_told;
    std::unique_ptr<CStatementCache> m_statements;
    QList<CRowCursor*> m_cursors;
    CStatementLimit* m_statementLimit = nullptr;
    QElapsedTimer m_waitClock;
    // The string that has opened once: a later open of it is a reconnect.
    QString m_openedString;
    quint64 m_outageAction = 0;
    CDbError m_outage;
    bool m_givenUp = false;
};
