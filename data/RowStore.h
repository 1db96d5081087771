#pragma once

#include "data/DateTime.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// What a cell of a result holds, as the back end delivered it.
enum class CellType : unsigned char { Null, Int, Double, Text, Blob, Date, Bool };

// One cell as a store holds it, with the conversions every store shares: an
// Int read of a text cell parses it, a Date read of a number takes it as a
// day count since 30 December 1899; ok is false when the value does not fit.
struct CCellView {
    CellType type = CellType::Null;
    qint64 integer = 0;
    double real = 0;
    const char* data = nullptr; // texts and bytes, UTF-8, not terminated
    int length = 0;

    qint64 Int(bool* ok) const;
    double Double(bool* ok) const;
    QString Text() const;
    QByteArray Bytes() const;
    CDateTime Date(bool* ok) const;
};

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

    // The cell as the store holds it, for stores that hold native cells (the
    // typed reads above then cost one lookup instead of two); false: use them.
    virtual bool Peek(int row, int column, CCellView* cell) const
    {
        Q_UNUSED(row);
        Q_UNUSED(column);
        Q_UNUSED(cell);
        return false;
    }

    bool IsNull(int row, int column) const { return Type(row, column) == CellType::Null; }
    QVariant Value(int row, int column) const;
};

// Rows packed into blocks that never move: each row holds a small table of
// cell offsets, then its cells (a tag byte, then eight bytes for numbers or
// a length and the bytes of a text). Blocks are added as rows arrive, so a
// growing result is never copied; nothing is allocated per cell.
class CPackedRows : public IRowStore {
public:
    explicit CPackedRows(int columns)
        : m_columns(columns)
    {}
    ~CPackedRows() override;
    CPackedRows(const CPackedRows&) = delete;
    CPackedRows& operator=(const CPackedRows&) = delete;

    // Cells go in row by row, `columns` to a row.
    void AddNull() { StartCell(CellType::Null); }
    void AddInt(qint64 value);
    void AddDouble(double value);
    void AddText(const char* utf8, int length);
    void AddBlob(const void* data, int length);
    void AddVariant(const QVariant& value);
    int Rows() const { return m_rows; }
    // Bytes held, for tests and benchmarks.
    std::size_t MemoryUsed() const;

    CellType Type(int row, int column) const override;
    qint64 Int(int row, int column, bool* ok) const override;
    double Double(int row, int column, bool* ok) const override;
    QString Text(int row, int column) const override;
    QByteArray Bytes(int row, int column) const override;
    CDateTime Date(int row, int column, bool* ok) const override;
    bool Peek(int row, int column, CCellView* cell) const override
    {
        *cell = View(row, column);
        return true;
    }
    CCellView View(int row, int column) const;

private:
    static constexpr int kIndexShift = 12; // rows per index block: 4096
    static constexpr std::size_t kFirstBlock = 16 * 1024;
    static constexpr std::size_t kLargestBlock = 4 * 1024 * 1024;

    // Room for a cell of `payload` bytes after its tag; returns the payload.
    char* StartCell(CellType type, std::size_t payload = 0);
    void StartRow(std::size_t firstCell);
    void NewBlock(std::size_t needed);
    const char* Cell(int row, int column) const
    {
        const char* start = m_index[static_cast<std::size_t>(row) >> kIndexShift]
                                   [static_cast<std::size_t>(row) & ((1u << kIndexShift) - 1)];
        std::uint32_t offset;
        std::memcpy(&offset, start + sizeof(offset) * static_cast<std::size_t>(column),
                    sizeof(offset));
        return start + offset;
    }

    int m_columns;
    int m_rows = 0;
    int m_cellInRow = 0;   // cells of the row being added
    char* m_row = nullptr; // the row being added
    // Blocks of cells, and blocks of row starts.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::vector<std::size_t> m_blockSizes;
    char* m_free = nullptr;
    std::size_t m_left = 0;
    std::vector<std::unique_ptr<const char*[]>> m_index;
};

// One cell to read: a cell of a store, a value this program put in place of
// one (read with the same conversions), or nothing (NULL). NULL and a value
// that does not convert read as 0, "" or a null date with ok false; ok may be
// null.
class CCellRef {
public:
    CCellRef() = default;
    CCellRef(const IRowStore* store, int row, int column)
        : m_store(store)
        , m_row(row)
        , m_column(column)
    {}
    explicit CCellRef(const QVariant& value);

    bool IsNull() const { return !m_store || m_store->IsNull(m_row, m_column); }
    qint64 Int(bool* ok = nullptr) const;
    double Double(bool* ok = nullptr) const;
    QString Text() const;
    CDateTime Date(bool* ok = nullptr) const;
    QVariant Value() const { return IsNull() ? QVariant() : m_store->Value(m_row, m_column); }

private:
    std::shared_ptr<CPackedRows> m_own;
    const IRowStore* m_store = nullptr;
    int m_row = 0;
    int m_column = 0;
};

// Helpers shared by the stores.
namespace RowStoreText {
bool ToInt(const char* text, int length, qint64* out);
bool ToDouble(const char* text, int length, double* out);
CDateTime ToDate(const char* text, int length);
} // namespace RowStoreText
