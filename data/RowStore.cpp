#include "data/RowStore.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

template <typename T>
T Read(const char* p)
{
    T value;
    std::memcpy(&value, p, sizeof(T));
    return value;
}

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
    std::free(m_data);
}

char* CPackedRows::StartCell(CellType type, std::size_t payload)
{
    const std::size_t needed = m_size + 1 + payload;
    if (needed > m_capacity) {
        std::size_t capacity = m_capacity ? m_capacity * 2 : 4096;
        while (capacity < needed)
            capacity *= 2;
        char* grown = static_cast<char*>(std::realloc(m_data, capacity));
        if (!grown)
            throw std::bad_alloc();
        m_data = grown;
        m_capacity = capacity;
    }
    m_offsets.push_back(m_size);
    char* cell = m_data + m_size;
    *cell = static_cast<char>(type);
    m_size = needed;
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

QByteArray CPackedRows::Payload(const char* cell)
{
    const int length = Read<int>(cell + 1);
    return QByteArray::fromRawData(cell + 1 + sizeof(int), length);
}

CellType CPackedRows::Type(int row, int column) const
{
    return static_cast<CellType>(*Cell(row, column));
}

qint64 CPackedRows::Int(int row, int column, bool* ok) const
{
    const char* cell = Cell(row, column);
    *ok = true;
    switch (static_cast<CellType>(*cell)) {
    case CellType::Int:
        return Read<qint64>(cell + 1);
    case CellType::Double: {
        const double d = Read<double>(cell + 1);
        *ok = d == std::trunc(d) && std::fabs(d) < 9.2e18;
        return *ok ? static_cast<qint64>(d) : 0;
    }
    case CellType::Text: {
        const QByteArray text = Payload(cell);
        qint64 value = 0;
        *ok = RowStoreText::ToInt(text.constData(), static_cast<int>(text.size()), &value);
        return value;
    }
    default:
        *ok = false;
        return 0;
    }
}

double CPackedRows::Double(int row, int column, bool* ok) const
{
    const char* cell = Cell(row, column);
    *ok = true;
    switch (static_cast<CellType>(*cell)) {
    case CellType::Int:
        return static_cast<double>(Read<qint64>(cell + 1));
    case CellType::Double:
        return Read<double>(cell + 1);
    case CellType::Text: {
        const QByteArray text = Payload(cell);
        double value = 0;
        *ok = RowStoreText::ToDouble(text.constData(), static_cast<int>(text.size()), &value);
        return value;
    }
    default:
        *ok = false;
        return 0;
    }
}

QString CPackedRows::Text(int row, int column) const
{
    const char* cell = Cell(row, column);
    switch (static_cast<CellType>(*cell)) {
    case CellType::Int:
        return QString::number(Read<qint64>(cell + 1));
    case CellType::Double:
        return QString::number(Read<double>(cell + 1), 'g', 15);
    case CellType::Text:
    case CellType::Blob: {
        const QByteArray text = Payload(cell);
        return QString::fromUtf8(text.constData(), text.size());
    }
    default:
        return QString();
    }
}

QByteArray CPackedRows::Bytes(int row, int column) const
{
    const char* cell = Cell(row, column);
    const CellType type = static_cast<CellType>(*cell);
    if (type == CellType::Blob || type == CellType::Text) {
        const QByteArray payload = Payload(cell);
        return QByteArray(payload.constData(), payload.size());
    }
    return Text(row, column).toUtf8();
}

CDateTime CPackedRows::Date(int row, int column, bool* ok) const
{
    const char* cell = Cell(row, column);
    CDateTime value;
    switch (static_cast<CellType>(*cell)) {
    case CellType::Text: {
        const QByteArray text = Payload(cell);
        value = RowStoreText::ToDate(text.constData(), static_cast<int>(text.size()));
        break;
    }
    case CellType::Int:
    case CellType::Double: {
        // A number is a day count since 30 December 1899.
        bool numeric = false;
        value = CDateTime::FromOle(Double(row, column, &numeric));
        break;
    }
    default:
        break;
    }
    *ok = value.IsValid();
    return value;
}
