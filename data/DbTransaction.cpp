#include "data/DbTransaction.h"

#include "data/DBConnection.h"
#include "data/SqlExecutor.h"

CDbTransaction::~CDbTransaction()
{
    if (m_open)
        m_connection.RollbackTrans();
}

bool CDbTransaction::Begin(QString& reason)
{
    CDbError error;
    m_open = m_connection.BeginTrans(&error);
    if (!m_open)
        reason = error.description;
    return m_open;
}

bool CDbTransaction::Run(const QString& sql, const QVariantList& params, CQueryResult* rows,
                         QString& reason)
{
    if (sql.isEmpty())
        return true;
    CDbError error;
    if (CSqlExecutor::RunNative(m_connection, sql, params, rows, &error))
        return true;
    reason = error.description;
    return false;
}

bool CDbTransaction::Commit(QString& reason)
{
    CDbError error;
    m_open = false;
    if (m_connection.CommitTrans(&error))
        return true;
    reason = error.description;
    return false;
}
