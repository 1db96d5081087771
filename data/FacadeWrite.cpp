#include "data/FacadeWrite.h"

#include "data/DBClass.h"
#include "data/SqlExecutor.h"

namespace {

// Server lock keys of the facade's writes. No employee has a negative id, so
// these never meet the employees' day locks.
constexpr int kWriteLockKey = -1;

} // namespace

CFacadeWrite::CFacadeWrite(CDBClass& db, QString& reason)
    : m_db(db)
    , m_reason(reason)
{}

bool CFacadeWrite::Begin(int lockKey)
{
    if (!m_db.EnsureConnected()) {
        m_reason = QStringLiteral("Not connected to a database");
        return false;
    }
    m_transaction.emplace(*m_db.Connection());
    if (!m_transaction->Begin(m_reason))
        return false;
    const QString lock = m_db.Dialect().DayLockStatement();
    return lockKey == 0 || lock.isEmpty() || Run(lock, {kWriteLockKey, lockKey});
}

bool CFacadeWrite::Run(const QString& sql, const QVariantList& params, CQueryResult* rows)
{
    CDbError error;
    if (CSqlExecutor::Run(*m_db.Connection(), sql, params, rows, &error))
        return true;
    m_reason = error.description;
    return false;
}

qint64 CFacadeWrite::Change(const QString& sql, const QVariantList& params)
{
    CQueryResult rows;
    return Run(sql, params, &rows) ? rows.rowsAffected : -1;
}

bool CFacadeWrite::Exists(const QString& sql, int id, bool& exists)
{
    CQueryResult rows;
    if (!Run(sql, {id}, &rows))
        return false;
    exists = rows.rows > 0;
    return true;
}

bool CFacadeWrite::Exists(const QString& sql, int id, bool& exists, CSqlDialect::RowLock lock)
{
    return Exists(sql + m_db.Dialect().RowLockClause(lock), id, exists);
}

bool CFacadeWrite::KeepTablesUnchanged(const QStringList& tables)
{
    const QString sql = m_db.Dialect().KeepTablesStatement(tables);
    return sql.isEmpty() || Run(sql, {});
}

bool CFacadeWrite::Commit()
{
    return m_transaction && m_transaction->Commit(m_reason);
}
