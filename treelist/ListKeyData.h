#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace Sarvex {

// Rows arrive as comma-separated text: cut at every comma, no quoting, no
// trimming, empty cells kept; an empty text is one empty cell.
inline QStringList SplitCsv(const QString& csv)
{
    return csv.split(QLatin1Char(','));
}

// One stored row: its cells in column order, cell 0 being the item text.
struct CListRowData {
    QStringList cells;
};

struct CListColumn {
    // 1: numeric, other values: text.
    std::int16_t colInfo = 0;
    bool ascending = true;
    QString heading;
    // 0 left, 1 right, 2 centred.
    std::int16_t format = 0;
    int width = 0;
};

// The list of one tree key: its columns and its rows by tag key. The rows
// behave as an array indexed by tag key whose slots may be empty; only the
// filled slots are held.
class CListKeyData {
public:
    CListKeyData(std::int32_t key, std::int32_t parentKey)
        : m_key(key)
        , m_parentKey(parentKey)
    {}

    std::int32_t Key() const { return m_key; }
    std::int32_t ParentKey() const { return m_parentKey; }

    void AddColumn(const CListColumn& column)
    {
        m_columns.push_back(column);
        m_lastSortedColumn = 0;
    }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const std::vector<CListColumn>& Columns() const { return m_columns; }
    CListColumn& Column(int index) { return m_columns[static_cast<std::size_t>(index)]; }

    // The size of the rows array: one past the highest slot ever filled,
    // less the slots removed since.
    std::int32_t RowSlots() const { return m_rowSlots; }
    const std::map<std::int32_t, CListRowData>& Rows() const { return m_rows; }
    // Null for an empty slot or one past the array.
    const CListRowData* Row(std::int32_t tagKey) const
    {
        const auto it = m_rows.find(tagKey);
        return it == m_rows.end() ? nullptr : &it->second;
    }
    CListRowData* Row(std::int32_t tagKey)
    {
        const auto it = m_rows.find(tagKey);
        return it == m_rows.end() ? nullptr : &it->second;
    }
    // A slot of the rows array: the array's size, one past its last slot,
    // must still be a 32-bit count.
    static bool IsSlot(std::int32_t tagKey)
    {
        return tagKey >= 0 && tagKey < std::numeric_limits<std::int32_t>::max();
    }
    // Fills slot tagKey (IsSlot), replacing what it held.
    void StoreRow(std::int32_t tagKey, CListRowData row)
    {
        if (!IsSlot(tagKey))
            return;
        m_rows[tagKey] = std::move(row);
        if (tagKey >= m_rowSlots)
            m_rowSlots = tagKey + 1;
    }
    // Removes slot tagKey; the later slots move up one place. False when
    // there is no such slot.
    bool RemoveSlot(std::int32_t tagKey)
    {
        if (tagKey < 0 || tagKey >= m_rowSlots)
            return false;
        m_rows.erase(tagKey);
        std::map<std::int32_t, CListRowData> later;
        auto it = m_rows.upper_bound(tagKey);
        while (it != m_rows.end()) {
            later.emplace(it->first - 1, std::move(it->second));
            it = m_rows.erase(it);
        }
        m_rows.merge(later);
        --m_rowSlots;
        return true;
    }

    int LastSortedColumn() const { return m_lastSortedColumn; }
    void SetLastSortedColumn(int column) { m_lastSortedColumn = column; }
    std::int32_t IconId() const { return m_iconId; }
    void SetIconId(std::int32_t iconId) { m_iconId = iconId; }

private:
    std::int32_t m_key;
    std::int32_t m_parentKey;
    std::vector<CListColumn> m_columns;
    std::map<std::int32_t, CListRowData> m_rows;
    std::int32_t m_rowSlots = 0;
    int m_lastSortedColumn = 0;
    std::int32_t m_iconId = 0;
};

using ListDefinitions = std::map<std::int32_t, CListKeyData>;

} // namespace Sarvex
