#pragma once

#include "data/DbError.h"

#include <QList>
#include <QStringList>
#include <QVariant>

class CDBConnection;

// The rows of one statement, read completely: the statement is finished
// before anything else runs on the connection.
struct CQueryResult {
    QStringList columns;
    QList<QVariant> values; // row after row, column after column
    int rows = 0;
    qint64 rowsAffected = -1;
    QVariant lastInsertId;

    int ColumnCount() const { return static_cast<int>(columns.size()); }
    const QVariant& Value(int row, int column) const {
        return values.at(static_cast<qsizetype>(row) * columns.size() + column);
    }
    QVariant& ValueRef(int row, int column) {
        return values[static_cast<qsizetype>(row) * columns.size() + column];
    }
    int ColumnIndex(const QString& name) const;
    void Clear() { *this = CQueryResult(); }
};

// Runs statements on the shared connection. SQL texts pass through the
// dialect first; values are bound, never pasted. The file back end is driven
// through SQLite's own interface, which reads rows several times faster than
// the generic driver layer.
class CSqlExecutor {
public:
    // One statement with '?' placeholders. Rows go to result when given.
    static bool Run(CDBConnection& connection, const QString& sql, const QVariantList& params,
                    CQueryResult* result, CDbError* error);
    // The same without the dialect's rewriting (the text is already the
    // back end's own).
    static bool RunNative(CDBConnection& connection, const QString& sql, const QVariantList& params,
                          CQueryResult* result, CDbError* error);
    // Several statements separated by ';', without values (schema scripts).
    static bool RunScript(CDBConnection& connection, const QString& script, CDbError* error);
};
