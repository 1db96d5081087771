#pragma once

#include "data/SqlExecutor.h"

#include <memory>

class CRowCursor;

// The back-end halves of CSqlExecutor: SQLite through its own interface,
// PostgreSQL through libpq, both on the handle of the open QtSql connection.
namespace BackendRunners {

bool RunSqlite(CDBConnection& connection, const QString& sql, const QVariantList& params,
               CQueryResult* result, CDbError* error);
std::unique_ptr<CRowCursor> OpenSqliteCursor(CDBConnection& connection, const QString& sql,
                                             const QVariantList& params, CDbError* error);
bool RunSqliteScript(CDBConnection& connection, const QString& script, CDbError* error);

bool RunPostgres(CDBConnection& connection, const QString& sql, const QVariantList& params,
                 CQueryResult* result, CDbError* error);
std::unique_ptr<CRowCursor> OpenPostgresCursor(CDBConnection& connection, const QString& sql,
                                               const QVariantList& params, CDbError* error);
bool RunPostgresScript(CDBConnection& connection, const QString& script, CDbError* error);

// '?' placeholders to $1, $2 ... outside literals, quoted names and comments.
QString NumberPlaceholders(const QString& sql, int* count);

} // namespace BackendRunners
