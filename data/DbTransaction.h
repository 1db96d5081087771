#pragma once

#include <QString>
#include <QVariantList>

class CDBConnection;
class CQueryResult;

// One write: a transaction of its own, or a savepoint in the caller's. What
// is not committed is rolled back, whatever returned early. Errors come back
// in words, for the caller to tell.
class CDbTransaction {
public:
    explicit CDbTransaction(CDBConnection& connection)
        : m_connection(connection)
    {}
    ~CDbTransaction();
    CDbTransaction(const CDbTransaction&) = delete;
    CDbTransaction& operator=(const CDbTransaction&) = delete;

    bool Begin(QString& reason);
    // A statement in the back end's own SQL; "" does nothing.
    bool Run(const QString& sql, const QVariantList& params, CQueryResult* rows, QString& reason);
    bool Commit(QString& reason);

private:
    CDBConnection& m_connection;
    bool m_open = false;
};
