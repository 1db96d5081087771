#include "data/DBConnection.h"

#include "data/ConnectionString.h"
#include "data/LibPq.h"
#include "data/PgConnectProbe.h"
#include "data/RowCursor.h"
#include "data/SqlExecutor.h"
#include "data/SqliteFunctions.h"
#include "data/StatementCache.h"
#include "data/StatementLimit.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/Trace.h"
#include "platform/UserAction.h"
#include "platform/UserFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>
#include <utility>

namespace {

IConnectionPrompt* s_prompt = nullptr;
std::atomic<int> s_connectionCounter{0};

constexpr const char* kSection = "DB";
constexpr const char* kKey = "DefDatabaseName";
// SQLite asks whether a statement may go on after this many steps.
constexpr int kSqliteStepsBetweenLooks = 1000;

QString StripBrackets(const QString& name)
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    return n;
}

// The code a server refused a connection with: its own where it said one,
// else read from libpq's words where they are English ("" when no server
// answered).
QString RefusalCode(const CPgRefusal& refusal, const QString& raw)
{
    if (!refusal.sqlState.isEmpty())
        return refusal.sqlState;
    const auto says = [&raw](const char* text) {
        return raw.contains(QLatin1String(text), Qt::CaseInsensitive);
    };
    if (says("too many clients") || says("connection slots are reserved") ||
        says("too many connections"))
        return QStringLiteral("53300");
    if (says("starting up") || says("shutting down") || says("in recovery mode") ||
        says("not yet accepting connections"))
        return QStringLiteral("57P03");
    if (says("password") || says("authentication failed") || says("role \"") ||
        says("no pg_hba.conf entry"))
        return QStringLiteral("28000");
    if (says("not currently accepting connections"))
        return QStringLiteral("55000");
    if (says("database \"") && says("does not exist"))
        return QStringLiteral("3D000");
    return QString();
}

// Why a server refused a connection, in the user's words; libpq's own text
// goes to the trace only.
QString PlainConnectFailure(const QString& server, const QString& database, const QString& code,
                            bool timedOut)
{
    if (code == QLatin1String("53300"))
        return QStringLiteral("The database server %1 has no free connection now. Try again in a "
                              "moment, or ask the administrator to allow more connections.")
            .arg(server);
    if (code == QLatin1String("57P03"))
        return QStringLiteral("The database server %1 is starting up or shutting down. Try again "
                              "in a moment.")
            .arg(server);
    if (code.startsWith(QLatin1String("28")))
        return QStringLiteral("The database server %1 refused the user name or password of the "
                              "connection.")
            .arg(server);
    if (code == QLatin1String("55000"))
        return QStringLiteral("The database %1 on the server %2 takes no connections now.")
            .arg(database, server);
    if (code == QLatin1String("3D000"))
        return QStringLiteral("The database %1 does not exist on the server %2.")
            .arg(database, server);
    if (!code.isEmpty())
        return QStringLiteral("The database server %1 refused the connection.").arg(server);
    if (timedOut)
        return QStringLiteral("The database server %1 does not answer.").arg(server);
    return QStringLiteral("The database server %1 cannot be reached: it is not running, or the "
                          "network is down.")
        .arg(server);
}

// Why a database file cannot be used, in the user's words; SQLite's own text
// goes to the trace only.
QString PlainFileFailure(const QString& file, int code)
{
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("%1 is not a database file, or it is damaged.").arg(file);
    case SQLITE_FULL:
        return QStringLiteral("The disk that holds the database file %1 is full.").arg(file);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("The database file %1 may not be written.").arg(file);
    default:
        return QStringLiteral("The database file %1 cannot be read or written: the disk may be "
                              "full or failing, or the folder may be gone.")
            .arg(file);
    }
}

} // namespace

CDBConnection::CDBConnection()
    : m_statements(std::make_unique<CStatementCache>())
{}

CDBConnection::~CDBConnection()
{
    CloseDatabase();
    m_connectionString.clear();
    m_useCount = 0;
}

void CDBConnection::SetPrompt(IConnectionPrompt* prompt)
{
    s_prompt = prompt;
}

IConnectionPrompt* CDBConnection::Prompt()
{
    return s_prompt;
}

QString CDBConnection::LoadConnectionString() const
{
    return m_chooseAnother ? QString() : StoredConnectionString();
}

QString CDBConnection::StoredConnectionString() const
{
    if (!m_useProfile)
        return m_connectionString;
    CProfileStore profile;
    return profile.value(QStringLiteral("%1/%2").arg(QLatin1String(kSection), QLatin1String(kKey)))
        .toString();
}

bool CDBConnection::SaveConnectionString(const QString& connectionString)
{
    if (!connectionString.isEmpty())
        m_chooseAnother = false;
    if (!m_useProfile)
        return true;
    CProfileStore profile;
    const QString key = QStringLiteral("%1/%2").arg(QLatin1String(kSection), QLatin1String(kKey));
    // A write waits for the disk: the string every connect finds stored is left as it is.
    const QVariant stored = profile.value(key);
    if (stored.typeId() == QMetaType::QString && stored.toString() == connectionString)
        return true;
    profile.setValue(key, connectionString);
    profile.sync();
    return profile.status() == QSettings::NoError;
}

void CDBConnection::UseConnectionString(const QString& connectionString)
{
    m_useProfile = false;
    m_chooseAnother = false;
    m_connectionString = connectionString;
}

void CDBConnection::ChooseAnother()
{
    m_chooseAnother = true;
    if (m_useProfile)
        m_connectionString.clear();
}

QString CDBConnection::PromptConnectionString()
{
    const QString chosen = AskForConnectionString(m_connectionString);
    if (!chosen.isEmpty())
        m_connectionString = chosen;
    return chosen;
}

QString CDBConnection::AskForConnectionString(const QString& initial) const
{
    return s_prompt ? s_prompt->PromptConnectionString(initial) : QString();
}

bool CDBConnection::Connect(bool force)
{
    if (!force && m_connected) {
        ++m_useCount;
        return true;
    }
    if (!force && !m_chooseAnother && !m_openedString.isEmpty() &&
        LoadConnectionString() == m_openedString)
        return Reconnect();
    QString connectionString = LoadConnectionString();
    // The chooser starts from the database that failed or was refused.
    QString lastTried = m_chooseAnother ? StoredConnectionString() : connectionString;
    for (;;) {
        if (force || connectionString.isEmpty()) {
            // Cancelling the prompt keeps the string we had.
            const QString chosen = AskForConnectionString(lastTried);
            if (!chosen.isEmpty())
                connectionString = chosen;
        }
        if (connectionString.isEmpty())
            return false;

        QString error;
        if (Open(connectionString, &error)) {
            m_connectionString = connectionString;
            SaveConnectionString(connectionString);
            ++m_useCount;
            return true;
        }
        // A server that is full or starting says so; nothing is wrong with
        // the database, and Retry asks the same one again.
        const bool forNow = m_refusedForNow;
        const QString text =
            forNow ? error
                   : QStringLiteral("Unable to connect to database %1, possible network failure, "
                                    "database corruption, or connecting to wrong database")
                             .arg(CConnectionString(connectionString).Masked()) +
                         QStringLiteral("\n\n") + error;
        if (ShowMessageBox(text, kMbRetryCancel | kMbIconError) != kIdRetry)
            return false;
        force = false;
        if (forNow)
            continue;
        // Retry asks again, starting from what failed.
        lastTried = connectionString;
        connectionString.clear();
    }
}

bool CDBConnection::Reconnect()
{
    // The action that already met the outage does not wait for it again.
    CDbError failure;
    if (OutageInThisAction(&failure))
        return false;
    QString error;
    if (Open(m_openedString, &error)) {
        m_connectionString = m_openedString;
        ++m_useCount;
        return true;
    }
    failure = CDbError(kE_NotConnected, error, QStringLiteral("Connection"));
    NoteOutage(failure);
    TellDbFailure(failure);
    return false;
}

bool CDBConnection::ConnectSilently()
{
    if (m_connected) {
        ++m_useCount;
        return true;
    }
    if (OutageInThisAction())
        return false;
    const QString connectionString = LoadConnectionString();
    QString error;
    if (connectionString.isEmpty() || !Open(connectionString, &error)) {
        if (connectionString.isEmpty())
            m_lastOpenError = QStringLiteral("No database is chosen.");
        return false;
    }
    m_connectionString = connectionString;
    ++m_useCount;
    return true;
}

bool CDBConnection::ReleaseConnection(bool force)
{
    --m_useCount;
    if (force)
        m_useCount = 0;
    if (m_useCount >= 1)
        return true;
    m_useCount = 0;
    if (!m_connected)
        return true;
    CloseDatabase();
    return true;
}

void CDBConnection::DropConnection()
{
    qCWarning(lcData) << "connection dropped";
    m_useCount = 0;
    CloseDatabase();
}

void CDBConnection::GiveUp()
{
    qCWarning(lcData) << "connection given up";
    m_givenUp = true;
}

void CDBConnection::NoteOutage(const CDbError& error)
{
    m_outageAction = UserAction::Current();
    m_outage = error;
    UserAction::NoteFailure();
}

bool CDBConnection::OutageInThisAction(CDbError* error) const
{
    if (m_outageAction != UserAction::Current())
        return false;
    if (error)
        *error = m_outage;
    return true;
}

int CDBConnection::AnswerLimitMs() const
{
    return m_statementLimit ? m_statementLimit->LimitMs() : m_waitLimits.statementMs;
}

bool CDBConnection::KeepWaiting()
{
    if (m_statementLimit)
        return m_statementLimit->KeepGoing();
    const int limit = m_waitLimits.statementMs;
    return limit <= 0 || WaitElapsedMs() <= limit;
}

int CDBConnection::OnSqliteProgress(void* connection)
{
    return static_cast<CDBConnection*>(connection)->KeepWaiting() ? 0 : 1;
}

bool CDBConnection::CheckFileIdentity(CDbError* error)
{
    if (!m_connected || !m_dialect.IsSqlite())
        return true;
    sqlite3* handle = SqliteHandle(m_db);
    int moved = 0;
    if (!handle ||
        sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || !moved)
        return true;
    const QString file = CConnectionString(m_connectionString).Value(QStringLiteral("Data Source"));
    *error = CDbError(kE_FAIL,
                      QStringLiteral("The database file %1 was moved or deleted while Kelvane had "
                                     "it open; nothing more is written to it. Kelvane opens the "
                                     "file of that name again at your next step.")
                          .arg(file),
                      QStringLiteral("Database"));
    // Writes must never go to a file nobody will open again: the connection
    // closes as soon as the statement has unwound.
    GiveUp();
    NoteOutage(*error);
    return false;
}

void CDBConnection::RegisterCursor(CRowCursor* cursor)
{
    if (!m_cursors.contains(cursor))
        m_cursors << cursor;
}

void CDBConnection::UnregisterCursor(CRowCursor* cursor)
{
    m_cursors.removeAll(cursor);
}

void CDBConnection::BufferOpenCursors()
{
    // Buffering ends a cursor's use of the connection; it leaves the list.
    while (!m_cursors.isEmpty()) {
        CRowCursor* cursor = m_cursors.takeFirst();
        cursor->Buffer();
    }
}

void CDBConnection::CloseDatabase()
{
    while (!m_cursors.isEmpty())
        m_cursors.takeFirst()->Abandon();
    if (!m_dbName.isEmpty()) {
        if (m_transactionDepth > 0 && m_db.isOpen() && !m_givenUp)
            CSqlExecutor::RunNative(*this, QStringLiteral("ROLLBACK"), {}, nullptr, nullptr);
        // No statement may outlive the handle it was prepared on.
        m_statements->Clear();
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_dbName);
        m_dbName.clear();
    }
    m_statements->Clear();
    m_transactionDepth = 0;
    m_connected = false;
    m_givenUp = false;
    m_keys.clear();
}

bool CDBConnection::Open(const QString& connectionString, QString* error)
{
    const int kind = CSqlDialect::DetectProvider(connectionString);
    const QString name = QStringLiteral("kelvane-%1").arg(++s_connectionCounter);
    m_refusedForNow = false;
    bool ok = false;
    if (kind == kProviderSqlite) {
        ok = OpenSqlite(
            name, CConnectionString(connectionString).Value(QStringLiteral("Data Source")), error);
    } else if (kind == kProviderPostgres) {
        ok = OpenPostgres(name, connectionString, error);
    } else {
        *error =
            QStringLiteral("The connection string names no known provider (PostgreSQL or SQLite).");
    }
    if (!ok) {
        // Nothing of a failed open stays behind.
        if (QSqlDatabase::contains(name)) {
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
        m_lastOpenError = *error;
        qCWarning(lcData) << "open failed:" << *error;
        return false;
    }
    // A new database replaces the old one only once it is open.
    CloseDatabase();
    m_db = QSqlDatabase::database(name, false);
    m_dbName = name;
    m_dialect = CSqlDialect(kind);
    m_connected = true;
    m_openedString = connectionString;
    m_lastOpenError.clear();
    ApplyWaitLimits();
    if (m_dialect.IsSqlite())
        if (sqlite3* handle = SqliteHandle(m_db))
            sqlite3_progress_handler(handle, kSqliteStepsBetweenLooks, &OnSqliteProgress, this);
    return true;
}

void CDBConnection::SetWaitLimits(const CWaitLimits& limits)
{
    m_waitLimits = limits;
    if (m_connected)
        ApplyWaitLimits();
}

void CDBConnection::ApplyWaitLimits()
{
    const int statementMs = qMax(0, m_waitLimits.statementMs);
    int lockMs = qMax(0, m_waitLimits.lockMs);
    if (m_dialect.IsSqlite()) {
        // Readers and writers wait this long for another program's lock.
        if (lockMs == 0 || (statementMs > 0 && lockMs > statementMs))
            lockMs = statementMs > 0 ? statementMs : kFileBusyTimeoutMs;
        if (sqlite3* handle = SqliteHandle(m_db))
            sqlite3_busy_timeout(handle, lockMs);
        return;
    }
    // The answer is waited for within the statement limit by the program
    // itself (a stopped server answers nothing); a shorter lock wait is left
    // to the server, which then says what it waited for.
    if (statementMs > 0 && lockMs >= statementMs)
        lockMs = 0;
    CSqlExecutor::RunNative(*this,
                            QStringLiteral("SELECT set_config('lock_timeout', ?, false), "
                                           "set_config('statement_timeout', '0', false)"),
                            {QString::number(lockMs)}, nullptr, nullptr);
}

bool CDBConnection::OpenSqlite(const QString& name, const QString& file, QString* error)
{
    if (file.isEmpty()) {
        *error = QStringLiteral("The connection string names no database file.");
        return false;
    }
    // A pipe or a device in the file's place would hold the program for good.
    QString why;
    switch (CheckUserFile(file, kNoSizeLimit, &why)) {
    case UserFileProblem::None:
        break;
    case UserFileProblem::Missing:
        *error = QStringLiteral("The database file %1 does not exist.").arg(file);
        return false;
    case UserFileProblem::Unreadable:
        *error = why;
        return false;
    default:
        *error = QStringLiteral("%1 is not a database file.").arg(file);
        return false;
    }
    const QFileInfo info(file);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw: a file that vanished in between is an error, never a new database.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db.open()) {
        qCWarning(lcData) << "cannot open" << file << db.lastError().text();
        *error = PlainFileFailure(file, db.lastError().nativeErrorCode().toInt());
        return false;
    }
    // The header is read on first use: a file that is no database fails here.
    // One that another program holds locked is open (without waiting here);
    // what holds it is said by whoever reads it first.
    sqlite3_busy_timeout(SqliteHandle(db), 0);
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
        probe.lastError().nativeErrorCode() != QString::number(SQLITE_BUSY)) {
        qCWarning(lcData) << "cannot read" << file << probe.lastError().databaseText();
        *error = PlainFileFailure(file, probe.lastError().nativeErrorCode().toInt());
        return false;
    }
    probe.finish();
    if (!RegisterSqliteFunctions(SqliteHandle(db))) {
        *error = QStringLiteral("%1: cannot register the SQL functions").arg(file);
        return false;
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -%1").arg(kSqlitePageCacheKb));
    return true;
}

bool CDBConnection::OpenPostgres(const QString& name, const QString& connectionString,
                                 QString* error)
{
    if (!LoadLibPq(error))
        return false;
    const CConnectionString cs(connectionString);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(cs.Value(QStringLiteral("Host"), QStringLiteral("localhost")));
    bool portOk = false;
    const int port = cs.Value(QStringLiteral("Port")).toInt(&portOk);
    db.setPort(portOk ? port : 5432);
    db.setDatabaseName(cs.Value(QStringLiteral("Database")));
    db.setUserName(cs.Value(QStringLiteral("User ID")));
    db.setPassword(cs.Value(QStringLiteral("Password")));
    // An unreachable server is reported after a few seconds, never a hang.
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=Kelvane")
                             .arg(kConnectTimeoutMs / 1000));
    QElapsedTimer clock;
    clock.start();
    if (!db.open()) {
        QString raw = db.lastError().text();
        qCWarning(lcData) << "server refused:" << raw;
        // Asked again for the server's code, unless it did not answer at all
        // (a second wait as long would help nobody).
        CPgRefusal refusal;
        if (clock.elapsed() < kConnectTimeoutMs - 500)
            refusal = ProbePgConnect(
                {QStringLiteral("host"), db.hostName(), QStringLiteral("port"),
                 QString::number(db.port()), QStringLiteral("dbname"), db.databaseName(),
                 QStringLiteral("user"), db.userName(), QStringLiteral("password"), db.password(),
                 QStringLiteral("connect_timeout"), QString::number(kConnectTimeoutMs / 1000),
                 QStringLiteral("application_name"), QStringLiteral("Kelvane")},
                kConnectTimeoutMs);
        else
            refusal.timedOut = true;
        // A connection freed in between is taken at once.
        if (refusal.connectsNow && !db.open())
            raw = db.lastError().text();
        if (!db.isOpen()) {
            const QString code = RefusalCode(refusal, raw);
            m_refusedForNow = IsRefusedForNow(code);
            *error = PlainConnectFailure(
                QStringLiteral("%1:%2").arg(db.hostName()).arg(db.port()), db.databaseName(), code,
                refusal.timedOut || raw.contains(QLatin1String("timeout")));
            return false;
        }
    }
    QSqlQuery setup(db);
    setup.exec(QStringLiteral("SET client_min_messages TO warning"));
    return true;
}

bool CDBConnection::Exec(const QString& sql, CDbError* error)
{
    CDbError local;
    CDbError& e = error ? *error : local;
    if (CSqlExecutor::RunNative(*this, sql, {}, nullptr, &e))
        return true;
    if (e.code == kE_FAIL)
        DropConnection();
    return false;
}

bool CDBConnection::BeginTrans(CDbError* error)
{
    if (!m_connected) {
        if (error)
            *error = CDbError(kE_NotConnected, QStringLiteral("Not connected to a database"));
        return false;
    }
    QString sql;
    if (m_transactionDepth == 0)
        sql = m_dialect.IsSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    else
        sql = QStringLiteral("SAVEPOINT kv_sp%1").arg(m_transactionDepth);
    if (!Exec(sql, error))
        return false;
    ++m_transactionDepth;
    return true;
}

bool CDBConnection::CommitTrans(CDbError* error)
{
    if (m_transactionDepth <= 0 || !m_connected)
        return false;
    if (m_transactionDepth == 1) {
        CDbError local;
        if (!CheckFileIdentity(error ? error : &local)) {
            // Closing the file without a commit undoes what the transaction wrote.
            DropConnection();
            return false;
        }
    }
    --m_transactionDepth;
    const QString sql = m_transactionDepth == 0
                            ? QStringLiteral("COMMIT")
                            : QStringLiteral("RELEASE SAVEPOINT kv_sp%1").arg(m_transactionDepth);
    if (Exec(sql, error))
        return true;
    // A commit that failed leaves nothing half done.
    if (m_connected) {
        ++m_transactionDepth;
        RollbackTrans();
    }
    return false;
}

bool CDBConnection::RollbackTrans()
{
    if (m_transactionDepth <= 0 || !m_connected)
        return false;
    // Undoing goes through whatever the action met: a session left inside a
    // failed transaction would refuse everything after.
    const quint64 outage = std::exchange(m_outageAction, 0);
    const auto restore = qScopeGuard([this, outage] { m_outageAction = outage; });
    --m_transactionDepth;
    if (m_transactionDepth == 0)
        return Exec(QStringLiteral("ROLLBACK"), nullptr);
    const QString sp = QStringLiteral("kv_sp%1").arg(m_transactionDepth);
    return Exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + sp, nullptr) &&
           Exec(QStringLiteral("RELEASE SAVEPOINT ") + sp, nullptr);
}

bool CDBConnection::BeginReadOnlyTrans(CDbError* error)
{
    CDbError local;
    CDbError& e = error ? *error : local;
    if (!m_connected) {
        e = CDbError(kE_NotConnected, QStringLiteral("Not connected to a database"));
        return false;
    }
    if (m_transactionDepth != 0) {
        e = CDbError(kE_CommandError,
                     QStringLiteral("A read-only transaction cannot run inside another one"));
        return false;
    }
    for (const QString& sql : m_dialect.ReadOnlyBeginStatements()) {
        if (!Exec(sql, &e)) {
            ++m_transactionDepth;
            EndReadOnlyTrans();
            return false;
        }
    }
    ++m_transactionDepth;
    return true;
}

void CDBConnection::EndReadOnlyTrans()
{
    if (m_transactionDepth <= 0)
        return;
    --m_transactionDepth;
    const quint64 outage = std::exchange(m_outageAction, 0);
    const auto restore = qScopeGuard([this, outage] { m_outageAction = outage; });
    // Each runs whatever the one before did: the connection must not stay read-only.
    for (const QString& sql : m_dialect.ReadOnlyEndStatements())
        if (m_connected)
            Exec(sql, nullptr);
}

QStringList CDBConnection::PrimaryKey(const QString& table)
{
    const QString name = StripBrackets(table).toLower();
    const auto it = m_keys.constFind(name);
    if (it != m_keys.constEnd())
        return *it;
    const QString sql =
        m_dialect.IsPostgres()
            ? QStringLiteral(
                  "SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = "
                  "i.indrelid AND a.attnum = ANY(i.indkey) WHERE i.indrelid = "
                  "to_regclass(?) AND i.indisprimary ORDER BY array_position(i.indkey, a.attnum)")
            : QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk");
    CQueryResult result;
    QStringList columns;
    if (m_connected && CSqlExecutor::RunNative(*this, sql, {name}, &result, nullptr)) {
        for (int row = 0; row < result.rows; ++row)
            columns << result.Value(row, 0).toString();
        m_keys.insert(name, columns);
    }
    return columns;
}
