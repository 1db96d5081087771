#pragma once

#include "data/DbTransaction.h"
#include "data/SqlDialect.h"

#include <QString>
#include <QVariantList>

#include <optional>

class CDBClass;
class CQueryResult;

// One write of the facade (a CDbTransaction on the shared connection) with
// the statements the facade's writes run in it. Errors are not shown: their
// text goes to `reason`, for the window to word.
class CFacadeWrite {
public:
    CFacadeWrite(CDBClass& db, QString& reason);
    CFacadeWrite(const CFacadeWrite&) = delete;
    CFacadeWrite& operator=(const CFacadeWrite&) = delete;

    // Connects when needed and begins; with a lock key other writers with
    // the same key wait on the server until this one ends (the file
    // database's write lock does so by itself).
    bool Begin(int lockKey = 0);
    bool Run(const QString& sql, const QVariantList& params, CQueryResult* rows = nullptr);
    // The number of rows a statement changed; -1 after an error.
    qint64 Change(const QString& sql, const QVariantList& params);
    // Whether the statement (one bound id) finds a row.
    bool Exists(const QString& sql, int id, bool& exists);
    // The same, holding the row it finds (CSqlDialect::RowLockClause): for
    // update before deleting it unless referenced, for key share before
    // writing a row that points at it.
    bool Exists(const QString& sql, int id, bool& exists, CSqlDialect::RowLock lock);
    // Writes to the tables wait until this transaction ends (the rows that
    // point at a row about to be deleted).
    bool KeepTablesUnchanged(const QStringList& tables);
    // False, with the reason, when the database refused the commit.
    bool Commit();

    CDBClass& Db() const { return m_db; }
    QString& Reason() const { return m_reason; }

private:
    CDBClass& m_db;
    QString& m_reason;
    // Rolled back when it goes uncommitted.
    std::optional<CDbTransaction> m_transaction;
};
