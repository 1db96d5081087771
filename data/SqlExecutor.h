#pragma once

#include "data/DbError.h"
#include "data/RowStore.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <memory>

class CDBConnection;
class CRowCursor;

// The rows of one statement, read completely: the statement is finished
// before anything else runs on the connection. Copies share the rows. For
// rows that are only read once, front to back, a CRowCursor
// (CSqlExecutor::OpenCursor) holds no more than the current row.
class CQueryResult {
public:
    QStringList columns;
    int rows = 0;
    qint64 rowsAffected = -1;
    QVariant lastInsertId;

    int ColumnCount() const { return static_cast<int>(columns.size()); }
    int ColumnIndex(const QString& name) const;
    QVariant Value(int row, int column) const;
    // Typed reads without a QVariant per cell (a cell changed by this program
    // reads as it was set). ok is false for NULL and for a value that does not
    // convert; out of range reads as NULL.
    CCellRef Cell(int row, int column) const;
    bool IsNull(int row, int column) const { return Cell(row, column).IsNull(); }
    qint64 Int(int row, int column, bool* ok = nullptr) const { return Cell(row, column).Int(ok); }
    double Double(int row, int column, bool* ok = nullptr) const
    {
        return Cell(row, column).Double(ok);
    }
    QString Text(int row, int column) const { return Cell(row, column).Text(); }
    CDateTime Date(int row, int column, bool* ok = nullptr) const
    {
        return Cell(row, column).Date(ok);
    }
    // A cell as changed by this program since it was read.
    void SetValue(int row, int column, const QVariant& value);
    bool HasChanges() const { return !m_changes.isEmpty(); }
    bool IsChanged(int row, int column) const { return m_changes.contains(Key(row, column)); }
    // The rows as read (null when there are none); typed access for speed.
    const IRowStore* Store() const { return m_store.get(); }
    void SetStore(std::shared_ptr<const IRowStore> store, int rowCount);
    void Clear() { *this = CQueryResult(); }

private:
    qint64 Key(int row, int column) const { return qint64(row) * columns.size() + column; }

    std::shared_ptr<const IRowStore> m_store;
    QHash<qint64, QVariant> m_changes;
};

// For the readers of a statement's rows: a failure met while reading counts as
// one of the statement (see CSqlExecutor).
void NoteStatementFailure(CDBConnection& connection, const CDbError& error);

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

    // One statement whose rows are read forward, one at a time, as the back
    // end delivers them (see CRowCursor): for fills and exports that walk the
    // rows once. Null with the error when the statement cannot run; an error
    // while reading comes from the cursor. The cursor must not outlive the
    // connection object (closing the connection ends it).
    //
    //   CDbError error;
    //   auto rows = CSqlExecutor::OpenCursor(conn, "SELECT ProjID, ProjName FROM tblProject", {},
    //                                        &error);
    //   while (rows && rows->Next())
    //       use(rows->Int(0, 0, &ok), rows->Text(0, 1));
    //   if (rows && rows->Failed()) report(rows->Error());
    static std::unique_ptr<CRowCursor> OpenCursor(CDBConnection& connection, const QString& sql,
                                                  const QVariantList& params, CDbError* error);
    static std::unique_ptr<CRowCursor> OpenCursorNative(CDBConnection& connection,
                                                        const QString& sql,
                                                        const QVariantList& params,
                                                        CDbError* error);
    // The dialect's form of a Jet-style text; made once per connection.
    static QString Translate(CDBConnection& connection, const QString& sql);
};
