#include "data/RowStore.h"

#include "platform/Characters.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>

namespace {

template <typename T>
T Read(const char* p)
{
    T value;
    std::memcpy(&value, p, sizeof(T));
    return value;
}

// Blocks of results that are gone, kept for the next results. Memory given
// back to the system costs a page fault per page when it is written again,
// which would be most of the time of reading a large result into memory; up
// to kKeptBytes stay with the process instead.
class CBlockPool {
public:
    static CBlockPool& Instance()
    {
        // Never destroyed: results held by other statics may go after it.
        static CBlockPool* const pool = new CBlockPool;
        return *pool;
    }

    std::unique_ptr<char[]> Take(std::size_t size)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            for (auto it = m_kept.rbegin(); it != m_kept.rend(); ++it)
                if (it->size == size) {
                    std::unique_ptr<char[]> block = std::move(it->block);
                    m_keptBytes -= size;
                    m_kept.erase(std::next(it).base());
                    return block;
                }
        }
        return std::make_unique_for_overwrite<char[]>(size);
    }

    void Give(std::unique_ptr<char[]> block, std::size_t size)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_keptBytes + size > kKeptBytes)
            return;
        m_keptBytes += size;
        m_kept.push_back({std::move(block), size});
    }

private:
    static constexpr std::size_t kKeptBytes = 32 * 1024 * 1024;
    struct CKept {
        std::unique_ptr<char[]> block;
        std::size_t size;
    };
    std::mutex m_mutex;
    std::vector<CKept> m_kept;
    std::size_t m_keptBytes = 0;
};

} // namespace

namespace RowStoreText {

bool ToInt(const char* text, int length, qint64* out)
{
    const char* end = text + length;
    while (text < end && *text == ' ')
        ++text;
    long long value = 0;
    const auto r = std::from_chars(text, end, value);
    if (r.ec != std::errc() || r.ptr != end) {
        // "12.0" is an integer too; "12.5" is not.
        double d = 0;
        if (!ToDouble(text, static_cast<int>(end - text), &d) || d != std::trunc(d) ||
            std::fabs(d) > 9.2e18)
            return false;
        value = static_cast<long long>(d);
    }
    *out = value;
    return true;
}

bool ToDouble(const char* text, int length, double* out)
{
    const char* end = text + length;
    while (text < end && *text == ' ')
        ++text;
    const auto r = std::from_chars(text, end, *out);
    return r.ec == std::errc() && r.ptr == end;
}

CDateTime ToDate(const char* text, int length)
{
    // The stored form, read without building a string.
    if (length == 19 && text[4] == '-' && text[7] == '-' && (text[10] == ' ' || text[10] == 'T') &&
        text[13] == ':' && text[16] == ':') {
        int v[6] = {};
        const int starts[6] = {0, 5, 8, 11, 14, 17};
        const int widths[6] = {4, 2, 2, 2, 2, 2};
        for (int i = 0; i < 6; ++i) {
            for (int k = 0; k < widths[i]; ++k) {
                const char c = text[starts[i] + k];
                if (c < '0' || c > '9')
                    return {};
                v[i] = v[i] * 10 + (c - '0');
            }
        }
        const QDate date(v[0], v[1], v[2]);
        const QTime time(v[3], v[4], v[5]);
        if (!date.isValid() || !time.isValid())
            return {};
        return CDateTime(date, time);
    }
    return CDateTime::Parse(QString::fromUtf8(text, length));
}

} // namespace RowStoreText

QVariant IRowStore::Value(int row, int column) const
{
    bool ok = true;
    switch (Type(row, column)) {
    case CellType::Null:
        return QVariant();
    case CellType::Int:
        return QVariant(Int(row, column, &ok));
    case CellType::Bool:
        return QVariant(Int(row, column, &ok) != 0);
    case CellType::Double:
        return QVariant(Double(row, column, &ok));
    case CellType::Text:
        return QVariant(Text(row, column));
    case CellType::Blob:
        return QVariant(Bytes(row, column));
    case CellType::Date: {
        const CDateTime d = Date(row, column, &ok);
        return ok ? QVariant::fromValue(d) : QVariant(Text(row, column));
    }
    }
    return QVariant();
}

CPackedRows::~CPackedRows()
{
    for (std::size_t i = 0; i < m_blocks.size(); ++i)
        CBlockPool::Instance().Give(std::move(m_blocks[i]), m_blockSizes[i]);
}

std::size_t CPackedRows::MemoryUsed() const
{
    std::size_t bytes = m_index.size() * (std::size_t(1) << kIndexShift) * sizeof(const char*);
    for (std::size_t size : m_blockSizes)
        bytes += size;
    return bytes;
}

void CPackedRows::NewBlock(std::size_t needed)
{
    std::size_t size =
        m_blockSizes.empty() ? kFirstBlock : qMin(m_blockSizes.back() * 2, kLargestBlock);
    size = qMax(size, needed);
    m_blocks.push_back(CBlockPool::Instance().Take(size));
    m_blockSizes.push_back(size);
    m_free = m_blocks.back().get();
    m_left = size;
}

void CPackedRows::StartRow(std::size_t firstCell)
{
    const std::size_t table = sizeof(std::uint32_t) * static_cast<std::size_t>(m_columns);
    if (table + firstCell > m_left)
        NewBlock(table + firstCell);
    m_row = m_free;
    m_free += table;
    m_left -= table;
    const std::size_t block = static_cast<std::size_t>(m_rows) >> kIndexShift;
    if (block == m_index.size())
        m_index.push_back(
            std::make_unique_for_overwrite<const char*[]>(std::size_t(1) << kIndexShift));
    m_index[block][static_cast<std::size_t>(m_rows) & ((1u << kIndexShift) - 1)] = m_row;
}

char* CPackedRows::StartCell(CellType type, std::size_t payload)
{
    const std::size_t needed = 1 + payload;
    if (m_cellInRow == 0) {
        StartRow(needed);
    } else if (needed > m_left) {
        // A row never spans blocks: what there is of it moves on.
        const std::size_t used = static_cast<std::size_t>(m_free - m_row);
        const char* old = m_row;
        NewBlock(used + needed);
        std::memcpy(m_free, old, used);
        m_row = m_free;
        m_free += used;
        m_left -= used;
        m_index[static_cast<std::size_t>(m_rows) >> kIndexShift]
               [static_cast<std::size_t>(m_rows) & ((1u << kIndexShift) - 1)] = m_row;
    }
    const auto offset = static_cast<std::uint32_t>(m_free - m_row);
    std::memcpy(m_row + sizeof(offset) * static_cast<std::size_t>(m_cellInRow), &offset,
                sizeof(offset));
    char* cell = m_free;
    *cell = static_cast<char>(type);
    m_free += needed;
    m_left -= needed;
    if (++m_cellInRow == m_columns) {
        m_cellInRow = 0;
        ++m_rows;
    }
    return cell + 1;
}

void CPackedRows::AddInt(qint64 value)
{
    std::memcpy(StartCell(CellType::Int, sizeof(value)), &value, sizeof(value));
}

void CPackedRows::AddDouble(double value)
{
    std::memcpy(StartCell(CellType::Double, sizeof(value)), &value, sizeof(value));
}

void CPackedRows::AddText(const char* utf8, int length)
{
    char* p = StartCell(CellType::Text, sizeof(length) + static_cast<std::size_t>(length));
    std::memcpy(p, &length, sizeof(length));
    if (length > 0) // an empty value may come without a buffer
        std::memcpy(p + sizeof(length), utf8, static_cast<std::size_t>(length));
}

void CPackedRows::AddBlob(const void* data, int length)
{
    char* p = StartCell(CellType::Blob, sizeof(length) + static_cast<std::size_t>(length));
    std::memcpy(p, &length, sizeof(length));
    if (length > 0) // a zero-length blob comes as a null pointer
        std::memcpy(p + sizeof(length), data, static_cast<std::size_t>(length));
}

void CPackedRows::AddVariant(const QVariant& value)
{
    if (value.isNull()) {
        AddNull();
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Bool:
        AddInt(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        AddDouble(value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        AddBlob(bytes.constData(), static_cast<int>(bytes.size()));
        return;
    }
    default:
        break;
    }
    const QByteArray text = value.metaType() == QMetaType::fromType<CDateTime>()
                                ? value.value<CDateTime>().ToIsoText().toUtf8()
                                : value.toString().toUtf8();
    AddText(text.constData(), static_cast<int>(text.size()));
}

CCellView CPackedRows::View(int row, int column) const
{
    const char* cell = Cell(row, column);
    CCellView v;
    v.type = static_cast<CellType>(*cell);
    switch (v.type) {
    case CellType::Int:
        v.integer = Read<qint64>(cell + 1);
        break;
    case CellType::Double:
        v.real = Read<double>(cell + 1);
        break;
    case CellType::Text:
    case CellType::Blob:
        v.length = Read<int>(cell + 1);
        v.data = cell + 1 + sizeof(int);
        break;
    default:
        break;
    }
    return v;
}

CellType CPackedRows::Type(int row, int column) const
{
    return static_cast<CellType>(*Cell(row, column));
}

qint64 CPackedRows::Int(int row, int column, bool* ok) const
{
    return View(row, column).Int(ok);
}

double CPackedRows::Double(int row, int column, bool* ok) const
{
    return View(row, column).Double(ok);
}

QString CPackedRows::Text(int row, int column) const
{
    return View(row, column).Text();
}

QByteArray CPackedRows::Bytes(int row, int column) const
{
    return View(row, column).Bytes();
}

CDateTime CPackedRows::Date(int row, int column, bool* ok) const
{
    return View(row, column).Date(ok);
}

// ---- Cells -------------------------------------------------------------------------

qint64 CCellView::Int(bool* ok) const
{
    *ok = true;
    switch (type) {
    case CellType::Int:
    case CellType::Bool:
        return integer;
    case CellType::Double:
        *ok = real == std::trunc(real) && std::fabs(real) < 9.2e18;
        return *ok ? static_cast<qint64>(real) : 0;
    case CellType::Text: {
        qint64 value = 0;
        *ok = RowStoreText::ToInt(data, length, &value);
        return value;
    }
    default:
        *ok = false;
        return 0;
    }
}

double CCellView::Double(bool* ok) const
{
    *ok = true;
    switch (type) {
    case CellType::Int:
    case CellType::Bool:
        return static_cast<double>(integer);
    case CellType::Double:
        return real;
    case CellType::Text: {
        double value = 0;
        *ok = RowStoreText::ToDouble(data, length, &value);
        return value;
    }
    default:
        *ok = false;
        return 0;
    }
}

QString CCellView::Text() const
{
    switch (type) {
    case CellType::Int:
        return QString::number(integer);
    case CellType::Double:
        return QString::number(real, 'g', 15);
    case CellType::Text:
    case CellType::Blob:
        return TextFromUtf8(data, length);
    default:
        return QString();
    }
}

QByteArray CCellView::Bytes() const
{
    if (type == CellType::Blob || type == CellType::Text)
        return QByteArray(data, length);
    return Text().toUtf8();
}

CDateTime CCellView::Date(bool* ok) const
{
    CDateTime value;
    switch (type) {
    case CellType::Text:
        value = RowStoreText::ToDate(data, length);
        break;
    case CellType::Int:
    case CellType::Double: {
        // A number is a day count since 30 December 1899.
        bool numeric = false;
        value = CDateTime::FromOle(Double(&numeric));
        break;
    }
    default:
        break;
    }
    *ok = value.IsValid();
    return value;
}

// ---- Cell references -----------------------------------------------------------------

CCellRef::CCellRef(const QVariant& value)
    : m_own(std::make_shared<CPackedRows>(1))
{
    m_own->AddVariant(value);
    m_store = m_own.get();
}

qint64 CCellRef::Int(bool* ok) const
{
    bool local = false;
    bool& good = ok ? *ok : local;
    good = false;
    return IsNull() ? 0 : m_store->Int(m_row, m_column, &good);
}

double CCellRef::Double(bool* ok) const
{
    bool local = false;
    bool& good = ok ? *ok : local;
    good = false;
    return IsNull() ? 0 : m_store->Double(m_row, m_column, &good);
}

QString CCellRef::Text() const
{
    return IsNull() ? QString() : m_store->Text(m_row, m_column);
}

CDateTime CCellRef::Date(bool* ok) const
{
    bool local = false;
    bool& good = ok ? *ok : local;
    good = false;
    return IsNull() ? CDateTime() : m_store->Date(m_row, m_column, &good);
}
