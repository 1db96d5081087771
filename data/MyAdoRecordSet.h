#pragma once

#include "data/DbError.h"
#include "data/SqlExecutor.h"

#include <QList>
#include <QString>
#include <QVariant>

class CBindingSet;
class CDBConnection;

// The one recordset of the program: the rows of a table, saved query or
// statement held in memory, a current row, and the writes of that row back
// to its table. Every record object owns one; ad-hoc SQL opens one without
// an owner. Errors never escape as exceptions: they are reported (see
// ReportComError) and the operation returns false.
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

    // Navigation, with the cursor rules of the original recordsets: an empty
    // recordset is at BOF and EOF at once; moving past either end is an error
    // (reported silently).
    bool IsBOF() const { return m_pos < 0 || m_visibleRows == 0; }
    bool IsEOF() const { return m_pos >= m_result.rows || m_visibleRows == 0; }
    bool MoveNext();
    bool MovePrevious();
    bool MoveFirst();
    bool MoveLast();
    int RecordCount() const { return m_open ? m_visibleRows : -1; }
    int FieldCount() const { return m_result.ColumnCount(); }
    QString FieldName(int column) const { return m_result.columns.value(column); }
    // A value of the current row (null at BOF or EOF).
    QVariant Value(int column) const;
    QVariant Value(const QString& name) const;
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
    void AfterMove();
    bool KeyCondition(QString* where, QVariantList* values, CDbError* error);
    bool RunWrite(const QString& sql, const QVariantList& params, qint64 expectedRows,
                  CQueryResult* result);
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
