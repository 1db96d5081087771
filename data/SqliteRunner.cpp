#include "data/BackendRunners.h"

#include "data/DBConnection.h"
#include "data/RowCursor.h"
#include "data/SqliteFunctions.h"
#include "data/StatementCache.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace {

const QString kSource = QStringLiteral("Database");

QString Seconds(int ms)
{
    const int seconds = qMax(1, (ms + 500) / 1000);
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}

// The error of a failed step, in the user's words where SQLite's would only
// puzzle (a lock, the time limit, the file); SQLite's own text stays in
// `message`.
CDbError SqliteError(CDBConnection& connection, sqlite3* db, int rc)
{
    QString text = QString::fromUtf8(sqlite3_errmsg(db));
    const QString raw = QString::fromUtf8(sqlite3_errstr(rc)) + QStringLiteral(": ") + text;
    const int primary = rc & 0xFF;
    const int limit = connection.AnswerLimitMs();
    HRESULT code = kE_CommandError;
    if (primary == SQLITE_CONSTRAINT) {
        code = kE_IntegrityViolation;
    } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        code = kE_Timeout;
        int waited = connection.WaitLimits().lockMs;
        if (waited <= 0 || (limit > 0 && waited > limit))
            waited = limit > 0 ? limit : CDBConnection::kFileBusyTimeoutMs;
        const QString holders = connection.DescribeLockHolders();
        text = holders.isEmpty()
                   ? QStringLiteral("Another program keeps the database file locked. Kelvane "
                                    "waited %1.")
                         .arg(Seconds(waited))
                   : QStringLiteral("Another program keeps the database file locked: %1. Kelvane "
                                    "waited %2.")
                         .arg(holders.mid(holders.indexOf(QLatin1String(" by ")) + 4),
                              Seconds(waited));
    } else if (primary == SQLITE_INTERRUPT && !connection.StatementLimit()) {
        code = kE_Timeout;
        text = QStringLiteral("The database did not answer within %1; the statement was stopped.")
                   .arg(Seconds(limit));
    } else if (primary == SQLITE_FULL) {
        text = QStringLiteral("The disk that holds the database file is full; nothing was "
                              "stored.");
    } else if (primary == SQLITE_READONLY) {
        text = QStringLiteral("The database file may not be written.");
    } else if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_IOERR ||
               primary == SQLITE_CANTOPEN) {
        code = kE_FAIL;
        text = primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT
                   ? QStringLiteral("The database file is damaged or is no database file.")
                   : QStringLiteral("The database file cannot be read or written: the disk may "
                                    "be full or failing, or the folder may be gone.");
    }
    return CDbError(code, text, kSource, raw);
}

bool BindSqlite(sqlite3_stmt* stmt, const QVariantList& params, const CSqlDialect& dialect)
{
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size())
        return false;
    for (int i = 0; i < params.size(); ++i) {
        const QVariant v = dialect.ToDbValue(params.at(i));
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Char:
            case QMetaType::UChar:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt, i + 1, bytes.constData(),
                                         static_cast<sqlite3_uint64>(bytes.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                // As UTF-8: SQLite reads a leading U+FEFF or U+FFFE of UTF-16
                // as a byte-order mark and drops or swaps the text.
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text64(stmt, i + 1, text.constData(),
                                         static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                         SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

// Values are read through sqlite3_value, which (unlike the sqlite3_column_*
// calls) takes no connection mutex per call.
void PackColumn(CPackedRows& rows, sqlite3_stmt* stmt, int column)
{
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        rows.AddInt(sqlite3_value_int64(value));
        break;
    case SQLITE_FLOAT:
        rows.AddDouble(sqlite3_value_double(value));
        break;
    case SQLITE_NULL:
        rows.AddNull();
        break;
    case SQLITE_BLOB: {
        const void* data = sqlite3_value_blob(value);
        rows.AddBlob(data, sqlite3_value_bytes(value));
        break;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        rows.AddText(text, sqlite3_value_bytes(value));
        break;
    }
    }
}

// A statement of the connection's cache, bound and ready to step; nullptr
// with the error otherwise. Open cursors are buffered first when the
// statement writes or changes the transaction.
sqlite3_stmt* PrepareBound(CDBConnection& connection, sqlite3* db, const QString& sql,
                           const QVariantList& params, CDbError* error)
{
    CStatementCache& cache = connection.Statements();
    int rc = SQLITE_OK;
    bool extra = false;
    sqlite3_stmt* stmt = cache.AcquireSqlite(db, sql, &rc, &extra);
    if (!stmt) {
        *error = rc != SQLITE_OK
                     ? SqliteError(connection, db, rc)
                     : CDbError(kE_CommandError, QStringLiteral("The SQL text holds no statement"),
                                kSource);
        return nullptr;
    }
    if (extra) {
        cache.ReleaseSqlite(stmt);
        *error = CDbError(kE_CommandError,
                          QStringLiteral("Only one SQL statement can be run at a time"), kSource);
        return nullptr;
    }
    if (!BindSqlite(stmt, params, connection.Dialect())) {
        const int expected = sqlite3_bind_parameter_count(stmt);
        cache.ReleaseSqlite(stmt);
        *error = CDbError(kE_CommandError,
                          QStringLiteral("The statement expects %1 values, %2 were given")
                              .arg(expected)
                              .arg(params.size()),
                          kSource);
        return nullptr;
    }
    // Reads may interleave with an open cursor; a write or a transaction
    // statement must not change what the cursor is still to deliver.
    // A write goes only to the file the connection's path still names: one
    // of its own, or the start of a transaction, is checked here; what a
    // transaction writes, once before its commit (CommitTrans).
    if (!sqlite3_stmt_readonly(stmt) && connection.TransactionDepth() == 0 &&
        !connection.CheckFileIdentity(error)) {
        cache.ReleaseSqlite(stmt);
        return nullptr;
    }
    if (connection.HasOpenCursors() &&
        !(sqlite3_stmt_readonly(stmt) && sqlite3_column_count(stmt) > 0))
        connection.BufferOpenCursors();
    return stmt;
}

sqlite3* OpenHandle(CDBConnection& connection, CDbError* error)
{
    sqlite3* db = SqliteHandle(connection.Database());
    if (!db)
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
    return db;
}

// What the planner makes of a statement, a line a step; empty when it does
// not prepare.
QStringList QueryPlan(sqlite3* db, const QString& sql, const QVariantList& params,
                      const CSqlDialect& dialect)
{
    QStringList plan;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = "EXPLAIN QUERY PLAN " + sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr) == SQLITE_OK && stmt &&
        BindSqlite(stmt, params, dialect))
        while (sqlite3_step(stmt) == SQLITE_ROW)
            plan << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    sqlite3_finalize(stmt);
    return plan;
}

// A sorted statement's LIMIT keeps its rows in a b-tree with a small cache of
// its own, written to a temporary file as it grows: from about 200,000 rows
// on, the statement without the LIMIT, whose sorter sorts in large runs, is
// faster by far, and its first rows are the same, in the same order, when the
// two plans are the same (either sort keeps rows of equal keys in the order
// they come). The statement to run instead and the rows to read; false to run
// it as it is.
bool FirstRowsOfSort(sqlite3* db, const QString& sql, const QVariantList& params,
                     const CSqlDialect& dialect, QString* unlimited, int* rows)
{
    constexpr int kSorterRows = 200000;
    if (sql.isEmpty() || !sql.back().isDigit())
        return false;
    static const QRegularExpression limit(QStringLiteral("\\sLIMIT\\s+(\\d+)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = limit.match(sql);
    bool ok = false;
    const int count = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
    if (!ok || count < kSorterRows)
        return false;
    const QString head = sql.left(match.capturedStart());
    const QStringList plan = QueryPlan(db, sql, params, dialect);
    if (!plan.contains(QStringLiteral("USE TEMP B-TREE FOR ORDER BY")) ||
        QueryPlan(db, head, params, dialect) != plan)
        return false;
    *unlimited = head;
    *rows = count;
    return true;
}

bool RunSqliteImpl(CDBConnection& connection, const QString& sql, const QVariantList& params,
                   CQueryResult* result, CDbError* error)
{
    sqlite3* db = OpenHandle(connection, error);
    if (!db)
        return false;
    QString unlimited;
    int rowsWanted = -1;
    const bool firstRows =
        result && FirstRowsOfSort(db, sql, params, connection.Dialect(), &unlimited, &rowsWanted);
    sqlite3_stmt* stmt = PrepareBound(connection, db, firstRows ? unlimited : sql, params, error);
    if (!stmt)
        return false;
    CStatementCache& cache = connection.Statements();
    // The columns are known once the statement has stepped: a kept statement
    // is prepared again on its first step after the tables changed.
    connection.BeginWait();
    int rc = sqlite3_step(stmt);
    const int columns = sqlite3_column_count(stmt);
    std::shared_ptr<CPackedRows> rows;
    if (result) {
        result->Clear();
        result->columns = cache.ColumnNames(stmt);
        rows = std::make_shared<CPackedRows>(columns);
    }
    for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
        if (!rows)
            continue;
        if (rows->Rows() == rowsWanted) {
            rc = SQLITE_DONE;
            break;
        }
        for (int c = 0; c < columns; ++c)
            PackColumn(*rows, stmt, c);
    }
    if (rc != SQLITE_DONE) {
        *error = SqliteError(connection, db, rc);
        cache.ReleaseSqlite(stmt);
        if (result)
            result->Clear();
        return false;
    }
    if (result) {
        result->SetStore(rows, rows->Rows());
        result->rowsAffected = columns == 0 ? sqlite3_changes64(db) : -1;
        result->lastInsertId = QVariant(static_cast<qlonglong>(sqlite3_last_insert_rowid(db)));
    }
    cache.ReleaseSqlite(stmt);
    return true;
}

// Steps a statement of the cache row by row; reads the current row's cells
// straight from SQLite.
class CSqliteCursor final : public CRowCursor {
public:
    CSqliteCursor(CDBConnection& connection, sqlite3* db, sqlite3_stmt* stmt)
        : CRowCursor(connection)
        , m_owner(&connection)
        , m_db(db)
        , m_stmt(stmt)
    {}

    // Steps to the first row: the columns are known after it (a kept
    // statement is prepared again on its first step after the tables
    // changed), and a statement that fails at once fails the open.
    bool Start(CDbError* error)
    {
        m_owner->BeginWait();
        m_firstRc = sqlite3_step(m_stmt);
        SetColumns(Connection()->Statements().ColumnNames(m_stmt));
        if (m_firstRc == SQLITE_ROW || m_firstRc == SQLITE_DONE)
            return true;
        *error = SqliteError(*m_owner, m_db, m_firstRc);
        Release();
        return false;
    }
    ~CSqliteCursor() override { Release(); }

    void Buffer() override
    {
        if (!m_stmt)
            return;
        const int columns = ColumnCount();
        auto rows = std::make_unique<CPackedRows>(columns);
        // The row stepped to and not yet delivered, or the current one.
        const bool current = HasRow() || m_firstRc == SQLITE_ROW;
        if (current)
            for (int c = 0; c < columns; ++c)
                PackColumn(*rows, m_stmt, c);
        int rc = m_firstRc == SQLITE_DONE ? SQLITE_DONE : SQLITE_ROW;
        m_firstRc = -1;
        m_owner->BeginWait();
        while (rc == SQLITE_ROW && (rc = sqlite3_step(m_stmt)) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                PackColumn(*rows, m_stmt, c);
        if (rc != SQLITE_DONE)
            m_bufferError = SqliteError(*m_owner, m_db, rc);
        Release();
        m_buffer = std::move(rows);
        // Before the first row the next Fetch delivers row 0.
        m_bufferRow = HasRow() ? 0 : -1;
        SetBuffered();
    }

    void Abandon() override { Release(); }

    CellType Type(int, int column) const override { return Cell(column).type; }
    qint64 Int(int, int column, bool* ok) const override { return Cell(column).Int(ok); }
    double Double(int, int column, bool* ok) const override { return Cell(column).Double(ok); }
    QString Text(int, int column) const override { return Cell(column).Text(); }
    QByteArray Bytes(int, int column) const override { return Cell(column).Bytes(); }
    CDateTime Date(int, int column, bool* ok) const override { return Cell(column).Date(ok); }
    bool Peek(int, int column, CCellView* cell) const override
    {
        *cell = Cell(column);
        return true;
    }

private:
    bool Fetch() override
    {
        if (m_buffer) {
            if (++m_bufferRow < m_buffer->Rows())
                return true;
            if (m_bufferError.IsError())
                Fail(m_bufferError);
            m_buffer.reset();
            return false;
        }
        if (!m_stmt)
            return false;
        if (m_firstRc < 0)
            m_owner->BeginWait();
        const int rc = m_firstRc >= 0 ? m_firstRc : sqlite3_step(m_stmt);
        m_firstRc = -1;
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            Fail(SqliteError(*m_owner, m_db, rc));
        Release();
        return false;
    }

    CCellView Cell(int column) const
    {
        if (column < 0 || column >= ColumnCount() || !HasRow())
            return CCellView();
        if (m_buffer)
            return m_buffer->View(m_bufferRow, column);
        if (!m_stmt)
            return CCellView();
        sqlite3_value* value = sqlite3_column_value(m_stmt, column);
        CCellView cell;
        switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            cell.type = CellType::Int;
            cell.integer = sqlite3_value_int64(value);
            break;
        case SQLITE_FLOAT:
            cell.type = CellType::Double;
            cell.real = sqlite3_value_double(value);
            break;
        case SQLITE_BLOB:
            cell.type = CellType::Blob;
            cell.data = static_cast<const char*>(sqlite3_value_blob(value));
            cell.length = sqlite3_value_bytes(value);
            break;
        case SQLITE_TEXT:
            cell.type = CellType::Text;
            cell.data = reinterpret_cast<const char*>(sqlite3_value_text(value));
            cell.length = sqlite3_value_bytes(value);
            break;
        default:
            break;
        }
        return cell;
    }

    // The statement goes back to the cache (reset), the connection is free.
    void Release()
    {
        if (m_stmt && Connection())
            Connection()->Statements().ReleaseSqlite(m_stmt);
        m_stmt = nullptr;
        Unregister();
    }

    CDBConnection* m_owner;
    sqlite3* m_db;
    sqlite3_stmt* m_stmt;
    std::unique_ptr<CPackedRows> m_buffer;
    int m_bufferRow = -1;
    CDbError m_bufferError;
    int m_firstRc = -1; // the result of the first step, not yet delivered
};

} // namespace

namespace BackendRunners {

bool RunSqlite(CDBConnection& connection, const QString& sql, const QVariantList& params,
               CQueryResult* result, CDbError* error)
{
    return RunSqliteImpl(connection, sql, params, result, error);
}

std::unique_ptr<CRowCursor> OpenSqliteCursor(CDBConnection& connection, const QString& sql,
                                             const QVariantList& params, CDbError* error)
{
    sqlite3* db = OpenHandle(connection, error);
    if (!db)
        return nullptr;
    sqlite3_stmt* stmt = PrepareBound(connection, db, sql, params, error);
    if (!stmt)
        return nullptr;
    auto cursor = std::make_unique<CSqliteCursor>(connection, db, stmt);
    if (!cursor->Start(error))
        return nullptr;
    return cursor;
}

bool RunSqliteScript(CDBConnection& connection, const QString& script, CDbError* error)
{
    connection.BufferOpenCursors();
    sqlite3* db = SqliteHandle(connection.Database());
    if (!db) {
        *error = CDbError(kE_FAIL, QStringLiteral("The database connection is not open"), kSource);
        return false;
    }
    char* message = nullptr;
    connection.BeginWait();
    const int rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        *error = SqliteError(connection, db, rc);
        if (message) {
            error->description = QString::fromUtf8(message);
            sqlite3_free(message);
        }
        return false;
    }
    return true;
}

} // namespace BackendRunners
