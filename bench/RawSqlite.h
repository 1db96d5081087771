#pragma once

#include "data/DBConnection.h"
#include "data/SqliteFunctions.h"

#include <QString>

#include <sqlite3.h>

// A connection of SQLite's own interface set up as the program sets up its
// connections (the same page cache and SQL functions), so that a baseline
// does the same database work.
inline sqlite3* OpenRawSqlite(const QString& file, int flags)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, flags, nullptr);
    const QByteArray pragma =
        "PRAGMA cache_size = -" + QByteArray::number(CDBConnection::kSqlitePageCacheKb);
    sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
    RegisterSqliteFunctions(db);
    return db;
}
