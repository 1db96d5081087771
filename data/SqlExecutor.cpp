#include "data/SqlExecutor.h"

#include "data/BackendRunners.h"
#include "data/DBConnection.h"
#include "data/RowCursor.h"
#include "data/StatementCache.h"
#include "data/StatementLimit.h"
#include "platform/Trace.h"
#include "platform/UserAction.h"

namespace {

const QString kSource = QStringLiteral("Database");

bool CheckConnected(CDBConnection& connection, CDbError* error)
{
    // The action met an outage already: it does not wait for it again.
    if (connection.OutageInThisAction(error))
        return false;
    if (connection.GivenUp())
        connection.DropConnection();
    if (connection.IsConnected() && !connection.Dialect().IsSqlite() &&
        !connection.Dialect().IsPostgres()) {
        *error = CDbError(kE_CommandError, QStringLiteral("Unknown database provider"), kSource);
        return false;
    }
    if (!connection.IsConnected()) {
        *error = CDbError(kE_NotConnected, QStringLiteral("Not connected to a database"), kSource);
        return false;
    }
    // A window's event handled while a long search is heard: the connection
    // is in the middle of that statement.
    if (const CStatementLimit* limit = connection.StatementLimit(); limit && limit->InWatch()) {
        *error = CDbError(kE_CommandError,
                          QStringLiteral("The database is busy with a search; try again when it "
                                         "has finished"),
                          kSource);
        return false;
    }
    return true;
}

// Values the back end would store altered are refused before the statement runs.
bool CheckTexts(const CSqlDialect& dialect, const QVariantList& params, CDbError* error)
{
    for (const QVariant& value : params) {
        if (value.metaType().id() != QMetaType::QString)
            continue;
        const QString reason = dialect.UnstorableText(value.toString());
        if (!reason.isEmpty()) {
            *error = CDbError(kE_UnstorableValue, reason, kSource);
            return false;
        }
    }
    return true;
}

// What a failed statement means beyond itself: a connection given up is
// closed; a lock or time limit that ran out ends the action's waiting; any
// loss of the database is a failure of the user's action.
void AfterFailure(CDBConnection& connection, const CDbError& error)
{
    if (connection.GivenUp())
        connection.DropConnection();
    if (error.code == kE_Timeout && !connection.StatementLimit())
        connection.NoteOutage(error);
    else if (error.IsOutage())
        UserAction::NoteFailure();
}

} // namespace

void NoteStatementFailure(CDBConnection& connection, const CDbError& error)
{
    AfterFailure(connection, error);
}

QVariant CQueryResult::Value(int row, int column) const
{
    if (row < 0 || row >= rows || column < 0 || column >= columns.size())
        return QVariant();
    if (!m_changes.isEmpty()) {
        const auto it = m_changes.constFind(Key(row, column));
        if (it != m_changes.constEnd())
            return *it;
    }
    return m_store ? m_store->Value(row, column) : QVariant();
}

CCellRef CQueryResult::Cell(int row, int column) const
{
    if (row < 0 || row >= rows || column < 0 || column >= columns.size() || !m_store)
        return CCellRef();
    if (!m_changes.isEmpty()) {
        const auto it = m_changes.constFind(Key(row, column));
        if (it != m_changes.constEnd())
            return CCellRef(*it);
    }
    return CCellRef(m_store.get(), row, column);
}

void CQueryResult::SetValue(int row, int column, const QVariant& value)
{
    if (row >= 0 && row < rows && column >= 0 && column < columns.size())
        m_changes.insert(Key(row, column), value);
}

void CQueryResult::SetStore(std::shared_ptr<const IRowStore> store, int rowCount)
{
    m_store = std::move(store);
    rows = rowCount;
    m_changes.clear();
}

int CQueryResult::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString CSqlExecutor::Translate(CDBConnection& connection, const QString& sql)
{
    CStatementCache& cache = connection.Statements();
    if (const QString* known = cache.Translation(sql))
        return *known;
    const QString translated = connection.Dialect().Translate(sql);
    cache.KeepTranslation(sql, translated);
    return translated;
}

bool CSqlExecutor::Run(CDBConnection& connection, const QString& sql, const QVariantList& params,
                       CQueryResult* result, CDbError* error)
{
    return RunNative(connection, Translate(connection, sql), params, result, error);
}

bool CSqlExecutor::RunNative(CDBConnection& connection, const QString& sql,
                             const QVariantList& params, CQueryResult* result, CDbError* error)
{
    CDbError local;
    CDbError& err = error ? *error : local;
    if (!CheckConnected(connection, &err) || !CheckTexts(connection.Dialect(), params, &err))
        return false;
    qCDebug(lcData) << "run:" << sql;
    const bool ok = connection.Dialect().IsSqlite()
                        ? BackendRunners::RunSqlite(connection, sql, params, result, &err)
                        : BackendRunners::RunPostgres(connection, sql, params, result, &err);
    if (!ok) {
        qCDebug(lcData) << "failed:" << err.description;
        AfterFailure(connection, err);
    }
    return ok;
}

bool CSqlExecutor::RunScript(CDBConnection& connection, const QString& script, CDbError* error)
{
    CDbError local;
    CDbError& err = error ? *error : local;
    if (!CheckConnected(connection, &err))
        return false;
    const bool ok = connection.Dialect().IsSqlite()
                        ? BackendRunners::RunSqliteScript(connection, script, &err)
                        : BackendRunners::RunPostgresScript(connection, script, &err);
    if (!ok)
        AfterFailure(connection, err);
    return ok;
}

std::unique_ptr<CRowCursor> CSqlExecutor::OpenCursor(CDBConnection& connection, const QString& sql,
                                                     const QVariantList& params, CDbError* error)
{
    return OpenCursorNative(connection, Translate(connection, sql), params, error);
}

std::unique_ptr<CRowCursor> CSqlExecutor::OpenCursorNative(CDBConnection& connection,
                                                           const QString& sql,
                                                           const QVariantList& params,
                                                           CDbError* error)
{
    CDbError local;
    CDbError& err = error ? *error : local;
    if (!CheckConnected(connection, &err) || !CheckTexts(connection.Dialect(), params, &err))
        return nullptr;
    qCDebug(lcData) << "open cursor:" << sql;
    auto cursor = connection.Dialect().IsSqlite()
                      ? BackendRunners::OpenSqliteCursor(connection, sql, params, &err)
                      : BackendRunners::OpenPostgresCursor(connection, sql, params, &err);
    if (!cursor) {
        qCDebug(lcData) << "failed:" << err.description;
        AfterFailure(connection, err);
    }
    return cursor;
}
