#pragma once

#include "data/DbError.h"
#include "data/SqlExecutor.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class CBindingSet;
class CDBConnection;
class CRowCursor;

// How an open reads the rows of its statement.
enum class CursorMode {
    // Every row is read at open and kept: the recordset can count its rows,
    // move back, move to the last row and be read again from the first;
    // Rows() holds them all. The default.
    Snapshot,
    // The rows stream from the database as the recordset moves forward; only
    // the current row is held, so memory stays flat however many rows the
    // statement returns. For every fill, export and review that walks the
    // rows once from the first to the last:
    //
    //   set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    //   if (db.OpenRecordSet(&set))
    //       for (; !set.Recordset()->IsEOF(); set.MoveNext())
    //           use(set.m_ProjName, set.m_SumOfHoursWorked1);
    //
    // Differences from a snapshot: RecordCount() is -1 (unknown);
    // MovePrevious() and MoveLast() fail (ErrorText() says why); MoveFirst()
    // on a later row runs the statement again; Rows() holds the column names
    // but no rows. The current row can still be updated or deleted. Other
    // statements may run while the recordset is open: the connection moves
    // the rows not yet read into memory first when it must (see CRowCursor).
    ForwardOnly,
};

// The one recordset of the program: the rows of a table, saved query or
// statement, a current row, and the writes of that row back to its table.
// Every record object owns one; ad-hoc SQL opens one without an owner.
// Errors never escape as exceptions: they are reported (see ReportComError)
// and the operation returns false.
class CMyAdoRecordSet {
public:
    CMyAdoRecordSet(CDBConnection* connection, const QString& source, int firstWrittenColumn,
                    CBindingSet* owner);
    virtual ~CMyAdoRecordSet();
    CMyAdoRecordSet(const CMyAdoRecordSet&) = delete;
    CMyAdoRecordSet& operator=(const CMyAdoRecordSet&) = delete;

    bool IsOpen() const { return m_open; }
    bool Close();
    // Connects without asking when the shared connection is closed.
    bool EnsureConnected();
    bool OpenConnection(bool serverCursor);

    // "Select * from" the source.
    bool OpenRecordSetRecEx();
    // The SELECT of BuildSelect; a given override replaces the member filter
    // or sort. fieldCount receives the number of columns read.
    bool OpenTableWithQueryRecEx(int* fieldCount, int mode, const QString* filter,
                                 const QString* sort);
    bool BuildSelect(QString& out, const QString* filter, const QString* sort) const;
    // The saved query or procedure named by the source, with the owner's
    // buffers at the given column positions as its values (see
    // AppendParameters); bind: fetch into the owner's buffers.
    bool OpenRecordSetParam(const QString* filter, const QString* sort, const QList<int>* columns,
                            bool bind);
    // Any statement, with bound values; its rows become this recordset.
    bool OpenSql(const QString& sql, const QVariantList& params = {});
    // Runs the last open again.
    bool Requery();

    // Writes the current row's buffers back to that row, found by its key.
    bool UpdateCurrRecord();
    // Inserts the owner's buffers as a new row.
    bool CheckAddNew();
    // Deletes the current row from its table.
    bool DeleteCurrRecord();

    bool CheckDataIntegrity(int status, int column) const;

    // How the next open reads its rows (see CursorMode); Snapshot unless set.
    // An open recordset keeps the mode it was opened with.
    void SetCursorMode(CursorMode mode) { m_mode = mode; }
    CursorMode GetCursorMode() const { return m_mode; }
    bool IsForwardOnly() const { return m_cursor != nullptr; }

    // Navigation, with the cursor rules of the original recordsets: an empty
    // recordset is at BOF and EOF at once; moving past either end is an error
    // (reported silently). A forward-only recordset reports a read error while
    // moving on (the database went away) and is then at EOF.
    bool IsBOF() const;
    bool IsEOF() const;
    bool MoveNext();
    bool MovePrevious();
    bool MoveFirst();
    bool MoveLast();
    // The rows of a snapshot not deleted through it; -1 when closed or
    // forward-only.
    int RecordCount() const { return m_open && !m_cursor ? m_visibleRows : -1; }
    int FieldCount() const { return m_result.ColumnCount(); }
    QString FieldName(int column) const { return m_result.columns.value(column); }
    int FieldIndex(const QString& name) const { return m_result.ColumnIndex(name); }
    // A value of the current row (null at BOF or EOF).
    QVariant Value(int column) const;
    QVariant Value(const QString& name) const;
    // Typed reads of the current row, without a QVariant: NULL, BOF, EOF and
    // a value that does not convert give 0 / "" / a null date and ok false.
    CCellRef Cell(int column) const;
    bool IsNull(int column) const { return Cell(column).IsNull(); }
    qint64 IntValue(int column, bool* ok = nullptr) const { return Cell(column).Int(ok); }
    double DoubleValue(int column, bool* ok = nullptr) const { return Cell(column).Double(ok); }
    QString TextValue(int column) const { return Cell(column).Text(); }
    CDateTime DateValue(int column, bool* ok = nullptr) const { return Cell(column).Date(ok); }
    // Every row of a snapshot (only the column names when forward-only).
    const CQueryResult& Rows() const { return m_result; }
    // Whether a row of Rows() has been deleted through this recordset.
    bool IsRowDeleted(int row) const
    {
        return row >= 0 && row < m_deleted.size() && m_deleted.at(row);
    }
    // The record object the recordset belongs to (null for ad-hoc SQL).
    const CBindingSet* Owner() const { return m_owner; }

    static void FormatComError(const CDbError& error, QString& out);
    void ReportComError(const CDbError& error);
    // The error of a move past the end, for callers that walk by hand.
    static CDbError NoCurrentRecordError();

    // Members callers set before opening. The filter's '?' marks take the
    // values given with it.
    void SetFilter(const QString& filter, const QVariantList& values = {})
    {
        m_filter = filter;
        m_filterValues = values;
    }
    const QVariantList& FilterValues() const { return m_filterValues; }
    // Reports errors only into ErrorText(), for callers that word their own.
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    bool IsQuiet() const { return m_quiet; }
    void SetSort(const QString& sort) { m_sort = sort; }
    const QString& Filter() const { return m_filter; }
    const QString& Sort() const { return m_sort; }
    const QString& Source() const { return m_source; }
    void SetColumnCount(int count) { m_columnCount = count; }
    const QString& ErrorText() const { return m_errorText; }
    // The code of the last error reported.
    HRESULT ErrorCode() const { return m_errorCode; }
    QVariant LastInsertId() const { return m_lastInsertId; }
    int LockType() const { return m_lockType; }
    void SetLockType(int lockType) { m_lockType = lockType; }

private:
    bool OpenStatement(const QString& sql, const QVariantList& params, bool translate);
    bool OpenCursor(const QString& sql, const QVariantList& params, bool translate);
    void AfterMove();
    // Tells, once per database, the values of the current row that the
    // owner's buffers cannot hold (another program's), naming the row.
    void TellUnheldValues();
    QString RowKeyText() const;
    bool HasCurrentRow() const;
    QVariant CurrentValue(int column) const;
    const QVariant* ChangedValue(int column) const;
    bool KeyCondition(QString* where, QVariantList* values, bool* keyed, CDbError* error);
    bool RunWrite(const QString& sql, const QVariantList& params, qint64 expectedRows,
                  bool ownTransaction, CQueryResult* result);
    bool NeedsOwnTransaction(bool keyed, qint64 expectedRows) const;
    void SetCurrentValue(int column, const QVariant& value);
    QString TableName() const;

    CDBConnection* m_connection;
    CBindingSet* m_owner;
    QString m_source;
    QString m_filter;
    QVariantList m_filterValues;
    QString m_sort;
    int m_columnCount = 0;
    int m_firstWritten;
    QString m_errorText;
    HRESULT m_errorCode = kS_OK;
    int m_lockType = 3;

    bool m_open = false;
    CursorMode m_mode = CursorMode::Snapshot;
    // Forward-only: the statement being read, and what this program did to
    // its current row.
    std::unique_ptr<CRowCursor> m_cursor;
    QHash<int, QVariant> m_currentChanges;
    bool m_currentDeleted = false;
    CQueryResult m_result;
    QList<bool> m_deleted;
    int m_visibleRows = 0;
    int m_pos = -1;
    QString m_lastSql;
    QVariantList m_lastParams;
    bool m_lastTranslated = true;
    bool m_bind = true;
    bool m_quiet = false;
    QVariant m_lastInsertId;
};
