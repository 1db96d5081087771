#pragma once

#include "data/ColumnDef.h"
#include "data/DateTime.h"
#include "data/MyAdoRecordSet.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <span>

class CCellRef;
class CDBConnection;
class CQueryResult;
class IRowStore;

// The base of every record class: one object is both the current row and
// the cursor. The record class declares its columns once (a static table of
// CColumnDef) and binds one member per bound column; every fetch copies the
// current row into those members. The same descriptors drive the writes.
//
// A fill or export that walks the rows once reads them forward-only, holding
// only the current row (see CursorMode):
//   set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
//
// Buffer types by column type: adInteger and adSmallInt int, adSingle float,
// adDouble and adCurrency double, adDate CDateTime, adBoolean bool, texts
// QString, adLongVarBinary QByteArray.
class CBindingSet {
public:
    static constexpr int kMaxColumns = 255;

    CBindingSet(CDBConnection* connection, std::span<const CColumnDef> columns, int columnCount,
                int firstWrittenColumn, const QString& source);
    virtual ~CBindingSet();
    CBindingSet(const CBindingSet&) = delete;
    CBindingSet& operator=(const CBindingSet&) = delete;

    // Refreshes what the descriptors show after a fetch. Record classes with
    // list captions or derived values extend it.
    virtual void MapFields() {}

    // The filter's '?' marks take `values`.
    bool OpenTableWithQuery(int* fieldCount, const QString& filter, const QString& sort,
                            const QVariantList& values = {});
    bool OpenTableWithLongQuery(int* fieldCount, const QString& filter, const QString& sort,
                                const QVariantList& values = {});
    bool MoveNext();
    bool MoveFirst();
    bool MoveLast();
    bool Close();
    bool Delete();
    bool Update();

    // Every status to OK, and every buffer to its zero value.
    void ClearStatus();
    void ClearFields();

    CMyAdoRecordSet* Recordset() const { return m_pRs.get(); }
    int ColumnCount() const { return m_columnCount; }
    int BoundColumnCount() const { return static_cast<int>(m_defs.size()); }
    int FirstWrittenColumn() const { return m_firstWritten; }
    const QString& Source() const;
    CColumnDescriptor& Descriptor(int column) { return m_descriptors[column]; }
    const CColumnDescriptor& Descriptor(int column) const { return m_descriptors[column]; }
    const CColumnDef& Definition(int column) const { return m_defs[column]; }
    // 1: UPDATE writes the column.
    void SetIncluded(int column, bool included) { m_include[column] = included ? 1 : 0; }
    bool IsIncluded(int column) const { return m_include[column] != 0; }
    // NULL, or a value another program stored that the buffer cannot hold
    // (it reads as if there were none; see IsUnheld).
    bool IsNull(int column) const { return ReadsAsNull(m_descriptors[column].status); }
    bool IsUnheld(int column) const
    {
        const int status = m_descriptors[column].status;
        return status == adFldDataOverFlow || status == adFldCantConvertValue;
    }
    static bool ReadsAsNull(int status)
    {
        return status == adFldNull || status == adFldDataOverFlow ||
               status == adFldCantConvertValue;
    }

    // The value a bound column's buffer holds, as a variant (null when the
    // status is NULL and the buffer is still what NULL gave it).
    QVariant BufferValue(int column) const;
    // Whether a write leaves the column out (a NULL date, or not bound).
    bool SkippedOnWrite(int column) const;
    // Whether the column's buffer still holds what a read of `cell` gives
    // (its value, and whether it is NULL): the caller left it as read.
    bool HoldsReadValue(int column, const CCellRef& cell);

    // Copies one row of a result into the buffers; called by the recordset
    // on every fetch.
    void LoadRow(const CQueryResult& result, int row);
    // The same from any store of rows (a forward-only cursor's current row),
    // with the cells this program changed by column.
    void LoadRow(const IRowStore& store, int row, int columnCount,
                 const QHash<int, QVariant>& changed);

protected:
    // Binds the members to the bound columns in column order.
    template <typename... Buffers>
    void BindBuffers(Buffers&... buffers)
    {
        int next = 0;
        (BindNext(next, &buffers), ...);
    }

private:
    void BindNext(int& next, void* buffer, int typeClass);
    void BindNext(int& next, int* p) { BindNext(next, p, kInt); }
    void BindNext(int& next, float* p) { BindNext(next, p, kFloat); }
    void BindNext(int& next, double* p) { BindNext(next, p, kDouble); }
    void BindNext(int& next, bool* p) { BindNext(next, p, kBool); }
    void BindNext(int& next, QString* p) { BindNext(next, p, kText); }
    void BindNext(int& next, CDateTime* p) { BindNext(next, p, kDate); }
    void BindNext(int& next, QByteArray* p) { BindNext(next, p, kBytes); }

    enum TypeClass { kNone, kInt, kFloat, kDouble, kBool, kText, kDate, kBytes };
    static TypeClass ClassOf(int adoType);
    void SetNullImage(int column, bool applyRule = true);
    void LoadCell(int column, const IRowStore& store, int row, int storeColumn);
    template <typename Cell>
    void LoadValue(int column, const Cell& cell);
    template <typename T>
    bool SameAsRead(int column, const CCellRef& cell);
    bool HoldsNullImage(int column) const;

    std::unique_ptr<CMyAdoRecordSet> m_pRs;
    std::span<const CColumnDef> m_defs;
    QList<CColumnDescriptor> m_descriptors;
    QByteArray m_include;
    int m_columnCount;
    int m_firstWritten;
};
