#pragma once

#include "data/DateTime.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

// What a cell of a result holds, as the back end delivered it.
enum class CellType : unsigned char { Null, Int, Double, Text, Blob, Date, Bool };

// The rows of one result, immutable once read. Typed getters convert on
// request (an Int getter on a text cell parses it) and set ok to false when
// the value does not fit; reading a million cells never builds a QVariant.
class IRowStore {
public:
    virtual ~IRowStore() = default;
    virtual CellType Type(int row, int column) const = 0;
    virtual qint64 Int(int row, int column, bool* ok) const = 0;
    virtual double Double(int row, int column, bool* ok) const = 0;
    virtual QString Text(int row, int column) const = 0;
    virtual QByteArray Bytes(int row, int column) const = 0;
    virtual CDateTime Date(int row, int column, bool* ok) const = 0;

    bool IsNull(int row, int column) const { return Type(row, column) == CellType::Null; }
    QVariant Value(int row, int column) const;
};

// Rows packed into one buffer: a tag byte per cell, then eight bytes for
// numbers or a length and UTF-8 bytes for texts. No allocation per cell.
class CPackedRows : public IRowStore {
public:
    explicit CPackedRows(int columns)
        : m_columns(columns)
    {}
    ~CPackedRows() override;
    CPackedRows(const CPackedRows&) = delete;
    CPackedRows& operator=(const CPackedRows&) = delete;

    void AddNull() { StartCell(CellType::Null); }
    void AddInt(qint64 value);
    void AddDouble(double value);
    void AddText(const char* utf8, int length);
    void AddBlob(const void* data, int length);
    void AddVariant(const QVariant& value);
    int Rows() const { return m_columns ? static_cast<int>(m_offsets.size() / m_columns) : 0; }

    CellType Type(int row, int column) const override;
    qint64 Int(int row, int column, bool* ok) const override;
    double Double(int row, int column, bool* ok) const override;
    QString Text(int row, int column) const override;
    QByteArray Bytes(int row, int column) const override;
    CDateTime Date(int row, int column, bool* ok) const override;

private:
    // Room for a cell of `payload` bytes after its tag; returns the payload.
    char* StartCell(CellType type, std::size_t payload = 0);
    const char* Cell(int row, int column) const
    {
        return m_data + m_offsets[static_cast<std::size_t>(row) * m_columns + column];
    }
    static QByteArray Payload(const char* cell);

    int m_columns;
    // realloc'ed by hand: large blocks grow by remapping, not copying.
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::vector<std::uint64_t> m_offsets;
};

// Helpers shared by the stores.
namespace RowStoreText {
bool ToInt(const char* text, int length, qint64* out);
bool ToDouble(const char* text, int length, double* out);
CDateTime ToDate(const char* text, int length);
} // namespace RowStoreText
