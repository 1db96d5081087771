#include "data/BindingSet.h"

#include "data/DBConnection.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqlExecutor.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"

#include <limits>

namespace {

template <typename T>
T& Buf(void* p)
{
    return *static_cast<T*>(p);
}

template <typename T>
const T& Buf(const void* p)
{
    return *static_cast<const T*>(p);
}

// Cuts a text to at most `width` characters; no width, no cut.
QString CutToWidth(const QString& text, int width)
{
    return width <= 0 ? text : LeftCharacters(text, width);
}

// The texts of the static column tables, made once and shared by every record
// object (record objects are made for every lookup).
QString NameOf(const char* text, bool utf8)
{
    if (!text)
        return QString();
    static QHash<const char*, QString> s_names;
    auto it = s_names.constFind(text);
    if (it == s_names.constEnd())
        it = s_names.insert(text, utf8 ? QString::fromUtf8(text) : QString::fromLatin1(text));
    return *it;
}

} // namespace

CBindingSet::CBindingSet(CDBConnection* connection, std::span<const CColumnDef> columns,
                         int columnCount, int firstWrittenColumn, const QString& source)
    : m_pRs(std::make_unique<CMyAdoRecordSet>(connection, source, firstWrittenColumn, this))
    , m_defs(columns.first(qMin<std::size_t>(columns.size(), kMaxColumns)))
    , m_include(static_cast<qsizetype>(m_defs.size()), char(1))
    , m_columnCount(qMin(columnCount, kMaxColumns))
    , m_firstWritten(firstWrittenColumn)
{
    m_descriptors.resize(static_cast<qsizetype>(m_defs.size()));
    for (std::size_t i = 0; i < m_defs.size(); ++i) {
        const CColumnDef& def = m_defs[i];
        CColumnDescriptor& d = m_descriptors[static_cast<qsizetype>(i)];
        d.type = def.type;
        d.size = def.width;
        d.name = NameOf(def.name, false);
        d.caption = NameOf(def.caption, true);
        d.width = def.listWidth;
        d.translation = def.translation;
        d.position = def.position;
    }
    m_pRs->SetColumnCount(m_columnCount);
}

CBindingSet::~CBindingSet() = default;

const QString& CBindingSet::Source() const
{
    return m_pRs->Source();
}

CBindingSet::TypeClass CBindingSet::ClassOf(int adoType)
{
    switch (adoType) {
    case adInteger:
    case adSmallInt:
        return kInt;
    case adSingle:
        return kFloat;
    case adDouble:
    case adCurrency:
        return kDouble;
    case adBoolean:
        return kBool;
    case adDate:
        return kDate;
    case adChar:
    case adVarChar:
    case adLongVarChar:
        return kText;
    case adLongVarBinary:
        return kBytes;
    default:
        return kNone;
    }
}

void CBindingSet::BindNext(int& next, void* buffer, int typeClass)
{
    while (next < BoundColumnCount() && !m_defs[next].bound)
        ++next;
    Q_ASSERT_X(next < BoundColumnCount(), "CBindingSet", "more buffers than bound columns");
    if (next >= BoundColumnCount())
        return;
    Q_ASSERT_X(ClassOf(m_defs[next].type) == typeClass, "CBindingSet",
               "buffer type does not match the column type");
    if (ClassOf(m_defs[next].type) == typeClass)
        m_descriptors[next].buffer = buffer;
    ++next;
}

void CBindingSet::SetNullImage(int column, bool applyRule)
{
    CColumnDescriptor& d = m_descriptors[column];
    void* p = d.buffer;
    const ReadRule rule = applyRule ? m_defs[column].rule : ReadRule::None;
    switch (ClassOf(d.type)) {
    case kInt:
        Buf<int>(p) = rule == ReadRule::NullMinusOne ? -1 : rule == ReadRule::NullOne ? 1 : 0;
        break;
    case kFloat:
        Buf<float>(p) = rule == ReadRule::NullOne ? 1.0f : 0.0f;
        break;
    case kDouble:
        Buf<double>(p) = rule == ReadRule::NullOne ? 1.0 : 0.0;
        break;
    case kBool:
        Buf<bool>(p) = false;
        break;
    case kText:
        Buf<QString>(p).clear();
        break;
    case kDate:
        Buf<CDateTime>(p) = CDateTime();
        break;
    case kBytes:
        Buf<QByteArray>(p).clear();
        break;
    case kNone:
        break;
    }
}

bool CBindingSet::HoldsNullImage(int column) const
{
    const CColumnDescriptor& d = m_descriptors[column];
    const void* p = d.buffer;
    const ReadRule rule = m_defs[column].rule;
    switch (ClassOf(d.type)) {
    case kInt:
        return Buf<int>(p) == (rule == ReadRule::NullMinusOne ? -1
                               : rule == ReadRule::NullOne    ? 1
                                                              : 0);
    case kFloat:
        return Buf<float>(p) == (rule == ReadRule::NullOne ? 1.0f : 0.0f);
    case kDouble:
        return Buf<double>(p) == (rule == ReadRule::NullOne ? 1.0 : 0.0);
    case kBool:
        return !Buf<bool>(p);
    case kText:
        return Buf<QString>(p).isEmpty();
    case kDate:
        return Buf<CDateTime>(p).IsNull();
    case kBytes:
        return Buf<QByteArray>(p).isEmpty();
    case kNone:
        return true;
    }
    return true;
}

void CBindingSet::LoadRow(const CQueryResult& result, int row)
{
    QHash<int, QVariant> changed;
    if (result.HasChanges())
        for (int c = 0; c < result.ColumnCount(); ++c)
            if (result.IsChanged(row, c))
                changed.insert(c, result.Value(row, c));
    static const CPackedRows kNoRows(0);
    const IRowStore* store = result.Store();
    LoadRow(store ? *store : kNoRows, row, store ? result.ColumnCount() : 0, changed);
}

void CBindingSet::LoadRow(const IRowStore& store, int row, int columnCount,
                          const QHash<int, QVariant>& changed)
{
    for (int i = 0; i < BoundColumnCount(); ++i) {
        CColumnDescriptor& d = m_descriptors[i];
        if (!d.buffer)
            continue;
        if (i >= columnCount) {
            // The source has fewer columns than the class reads.
            d.status = adFldUnavailable;
            SetNullImage(i);
            continue;
        }
        const auto it = changed.isEmpty() ? changed.constEnd() : changed.constFind(i);
        if (it != changed.constEnd()) {
            // A cell this program wrote holds the value as it was bound.
            CPackedRows one(1);
            one.AddVariant(*it);
            LoadCell(i, one, 0, 0);
        } else {
            LoadCell(i, store, row, i);
        }
    }
}

namespace {

// A cell of a store read through the store, or through its native view.
struct CStoreCell {
    const IRowStore& store;
    int row;
    int column;
    bool IsNull() const { return store.IsNull(row, column); }
    qint64 Int(bool* ok) const { return store.Int(row, column, ok); }
    double Double(bool* ok) const { return store.Double(row, column, ok); }
    QString Text() const { return store.Text(row, column); }
    CDateTime Date(bool* ok) const { return store.Date(row, column, ok); }
    QByteArray Bytes() const { return store.Bytes(row, column); }
};

struct CViewCell {
    const CCellView& view;
    bool IsNull() const { return view.type == CellType::Null; }
    qint64 Int(bool* ok) const { return view.Int(ok); }
    double Double(bool* ok) const { return view.Double(ok); }
    QString Text() const { return view.Text(); }
    CDateTime Date(bool* ok) const { return view.Date(ok); }
    QByteArray Bytes() const { return view.Bytes(); }
};

} // namespace

void CBindingSet::LoadCell(int i, const IRowStore& store, int row, int column)
{
    CCellView view;
    if (store.Peek(row, column, &view))
        LoadValue(i, CViewCell{view});
    else
        LoadValue(i, CStoreCell{store, row, column});
}

template <typename Cell>
void CBindingSet::LoadValue(int i, const Cell& cell)
{
    CColumnDescriptor& d = m_descriptors[i];
    if (cell.IsNull()) {
        d.status = adFldNull;
        SetNullImage(i);
        return;
    }
    d.status = adFldOK;
    bool ok = true;
    switch (ClassOf(d.type)) {
    case kInt: {
        qint64 n = cell.Int(&ok);
        const qint64 lo = d.type == adSmallInt ? std::numeric_limits<short>::min()
                                               : std::numeric_limits<int>::min();
        const qint64 hi = d.type == adSmallInt ? std::numeric_limits<short>::max()
                                               : std::numeric_limits<int>::max();
        if (ok && (n < lo || n > hi)) {
            // Another program's value beyond the buffer: the row reads as
            // if it had none, and the status says why.
            d.status = adFldDataOverFlow;
            SetNullImage(i);
            return;
        }
        Buf<int>(d.buffer) = static_cast<int>(n);
        break;
    }
    case kFloat:
        Buf<float>(d.buffer) = static_cast<float>(cell.Double(&ok));
        break;
    case kDouble:
        Buf<double>(d.buffer) = cell.Double(&ok);
        break;
    case kBool:
        Buf<bool>(d.buffer) = cell.Double(&ok) != 0;
        break;
    case kText:
        Buf<QString>(d.buffer) = cell.Text();
        break;
    case kDate:
        Buf<CDateTime>(d.buffer) = cell.Date(&ok);
        break;
    case kBytes:
        Buf<QByteArray>(d.buffer) = cell.Bytes();
        break;
    case kNone:
        break;
    }
    if (!ok) {
        d.status = adFldCantConvertValue;
        SetNullImage(i);
    }
}

QVariant CBindingSet::BufferValue(int column) const
{
    const CColumnDescriptor& d = m_descriptors[column];
    if (!d.buffer)
        return QVariant();
    // A NULL that nobody replaced stays NULL.
    if (ReadsAsNull(d.status) && HoldsNullImage(column))
        return QVariant();
    switch (ClassOf(d.type)) {
    case kInt:
        return Buf<int>(d.buffer);
    case kFloat:
        return static_cast<double>(Buf<float>(d.buffer));
    case kDouble:
        return Buf<double>(d.buffer);
    case kBool:
        return Buf<bool>(d.buffer) ? 1 : 0;
    case kText:
        return CutToWidth(Buf<QString>(d.buffer), d.size);
    case kDate: {
        const CDateTime& dt = Buf<CDateTime>(d.buffer);
        return dt.IsValid() ? QVariant::fromValue(dt) : QVariant();
    }
    case kBytes:
        return Buf<QByteArray>(d.buffer);
    case kNone:
        break;
    }
    return QVariant();
}

namespace {

struct CRefCell {
    const CCellRef& cell;
    bool IsNull() const { return cell.IsNull(); }
    qint64 Int(bool* ok) const { return cell.Int(ok); }
    double Double(bool* ok) const { return cell.Double(ok); }
    QString Text() const { return cell.Text(); }
    CDateTime Date(bool* ok) const { return cell.Date(ok); }
    QByteArray Bytes() const { return cell.Value().toByteArray(); }
};

} // namespace

template <typename T>
bool CBindingSet::SameAsRead(int column, const CCellRef& cell)
{
    CColumnDescriptor& d = m_descriptors[column];
    const T now = Buf<T>(d.buffer);
    const int status = d.status;
    LoadValue(column, CRefCell{cell});
    const bool same = Buf<T>(d.buffer) == now && ReadsAsNull(d.status) == ReadsAsNull(status);
    Buf<T>(d.buffer) = now;
    d.status = status;
    return same;
}

bool CBindingSet::HoldsReadValue(int column, const CCellRef& cell)
{
    if (!m_descriptors[column].buffer)
        return true;
    switch (ClassOf(m_descriptors[column].type)) {
    case kInt:
        return SameAsRead<int>(column, cell);
    case kFloat:
        return SameAsRead<float>(column, cell);
    case kDouble:
        return SameAsRead<double>(column, cell);
    case kBool:
        return SameAsRead<bool>(column, cell);
    case kText:
        return SameAsRead<QString>(column, cell);
    case kDate:
        return SameAsRead<CDateTime>(column, cell);
    case kBytes:
        return SameAsRead<QByteArray>(column, cell);
    case kNone:
        break;
    }
    return true;
}

bool CBindingSet::SkippedOnWrite(int column) const
{
    const CColumnDescriptor& d = m_descriptors[column];
    if (!d.buffer)
        return true;
    // A value that could not be read is left as stored rather than overwritten.
    if (d.status == adFldCantConvertValue && HoldsNullImage(column))
        return true;
    return d.type == adDate && ReadsAsNull(d.status) && HoldsNullImage(column);
}

void CBindingSet::ClearStatus()
{
    for (CColumnDescriptor& d : m_descriptors)
        d.status = adFldOK;
}

void CBindingSet::ClearFields()
{
    for (int i = 0; i < BoundColumnCount(); ++i) {
        if (m_descriptors[i].buffer)
            SetNullImage(i, false);
    }
}

bool CBindingSet::OpenTableWithQuery(int* fieldCount, const QString& filter, const QString& sort,
                                     const QVariantList& values)
{
    m_pRs->SetFilter(filter, values);
    m_pRs->SetSort(sort);
    if (!m_pRs->OpenTableWithQueryRecEx(fieldCount, 0, nullptr, nullptr))
        return false;
    MapFields();
    if (m_pRs->IsEOF())
        return true;
    for (int i = 0; i < m_columnCount && i < BoundColumnCount(); ++i) {
        if (m_descriptors[i].buffer && !m_pRs->CheckDataIntegrity(m_descriptors[i].status, i)) {
            ShowMessageBox(QStringLiteral("Data integrity error"), kMbOk | kMbIconError);
            return false;
        }
    }
    return true;
}

bool CBindingSet::OpenTableWithLongQuery(int* fieldCount, const QString& filter,
                                         const QString& sort, const QVariantList& values)
{
    return OpenTableWithQuery(fieldCount, filter, sort, values);
}

bool CBindingSet::MoveNext()
{
    if (!m_pRs->MoveNext()) {
        m_pRs->ReportComError(CMyAdoRecordSet::NoCurrentRecordError());
        return false;
    }
    MapFields();
    return true;
}

bool CBindingSet::MoveFirst()
{
    if (!m_pRs->MoveFirst())
        return false;
    MapFields();
    return true;
}

bool CBindingSet::MoveLast()
{
    if (!m_pRs->MoveLast()) {
        m_pRs->ReportComError(CMyAdoRecordSet::NoCurrentRecordError());
        return false;
    }
    MapFields();
    return true;
}

bool CBindingSet::Close()
{
    return m_pRs->Close();
}

bool CBindingSet::Delete()
{
    return m_pRs->DeleteCurrRecord();
}

bool CBindingSet::Update()
{
    return m_pRs->UpdateCurrRecord();
}
