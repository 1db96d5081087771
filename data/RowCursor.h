#pragma once

#include "data/DbError.h"
#include "data/RowStore.h"

#include <QStringList>

class CDBConnection;

// The rows of one statement, read forward one at a time as the back end
// delivers them: memory stays flat however many rows a query returns.
// Open one with CSqlExecutor::OpenCursor; a forward-only CMyAdoRecordSet
// holds one.
//
// The typed reads of IRowStore read the current row; their `row` argument is
// ignored. Before the first Next() and after the end there is no current row.
//
// A cursor shares its connection with every other statement. When another
// statement needs the connection (on PostgreSQL any statement; on SQLite a
// write or a transaction statement), the connection first has the cursor read
// the rows it has not delivered yet into memory (Buffer()), so nothing is lost
// and nothing runs against a half-read result. When the connection closes,
// the cursor ends where it is.
class CRowCursor : public IRowStore {
public:
    explicit CRowCursor(CDBConnection& connection);
    ~CRowCursor() override;
    CRowCursor(const CRowCursor&) = delete;
    CRowCursor& operator=(const CRowCursor&) = delete;

    const QStringList& Columns() const { return m_columns; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    int ColumnIndex(const QString& name) const;

    // Moves to the next row; false at the end and after an error (Failed()).
    bool Next();
    bool HasRow() const { return m_onRow; }
    bool AtEnd() const { return m_atEnd; }
    bool Failed() const { return m_error.IsError(); }
    const CDbError& Error() const { return m_error; }
    // Rows delivered so far.
    qint64 Position() const { return m_delivered; }

    // The current row's cells by type; NULL and a value that does not convert
    // give the fallback, 0, "" or a null date.
    int IntAt(int column, int fallback = 0) const;
    double DoubleAt(int column) const;
    QString TextAt(int column) const { return Text(0, column); }
    CDateTime DateAt(int column) const;
    bool IsNullAt(int column) const { return IsNull(0, column); }

    // Reads the rows not yet delivered into memory and lets the statement go.
    virtual void Buffer() = 0;
    bool IsBuffered() const { return m_buffered; }
    // The connection closes under the cursor: it ends where it is.
    virtual void Abandon() = 0;

protected:
    // One row on; false at the end or on an error (set through Fail()).
    virtual bool Fetch() = 0;
    void Fail(const CDbError& error) { m_error = error; }
    void SetColumns(QStringList columns) { m_columns = std::move(columns); }
    void SetBuffered() { m_buffered = true; }
    // Leaves the connection's list of open cursors (the statement is done).
    void Unregister();
    CDBConnection* Connection() const { return m_connection; }

private:
    CDBConnection* m_connection;
    // The connection it was opened on, also once it has let it go.
    CDBConnection* m_owner;
    QStringList m_columns;
    CDbError m_error;
    qint64 m_delivered = 0;
    bool m_onRow = false;
    bool m_atEnd = false;
    bool m_buffered = false;
};
