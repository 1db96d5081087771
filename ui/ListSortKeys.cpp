#include "ui/ListSortKeys.h"

#include "platform/TextOrder.h"
#include "ui/MyListCtrl.h"
#include "ui/Utilities.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

constexpr qint64 kUnreadable = std::numeric_limits<qint64>::min();

// The number at the start of a text, as atoi reads it.
qint64 LeadingInteger(const QString& text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
         ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            break;
    }
    return negative ? -value : value;
}

qint64 DateKey(const QDate& date, int msecsOfDay)
{
    return date.toJulianDay() * 86400000 + msecsOfDay;
}

} // namespace

CListSortKeys::CListSortKeys(int kind, int rows)
    : m_kind(kind)
    , m_keys(static_cast<std::size_t>(qMax(rows, 0)), 0)
{
    if (m_kind != kColumnInteger && m_kind != kColumnDateTime)
        m_texts.resize(m_keys.size());
}

void CListSortKeys::SetText(int row, const QString& text)
{
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    const auto at = static_cast<std::size_t>(row);
    if (m_kind == kColumnInteger) {
        m_keys[at] = LeadingInteger(shown);
    } else if (m_kind == kColumnDateTime) {
        int y, mo, d, h, mi, s;
        m_keys[at] = ParseDateParts(shown, y, mo, d, h, mi, s)
                         ? DateKey(QDate(y, mo, d), ((h * 60 + mi) * 60 + s) * 1000)
                         : kUnreadable;
    } else {
        m_texts[at] = shown;
        m_ranked = false;
    }
}

void CListSortKeys::SetNumber(int row, qint64 value)
{
    m_keys[static_cast<std::size_t>(row)] = value;
}

void CListSortKeys::SetDateTime(int row, const CDateTime& value)
{
    m_keys[static_cast<std::size_t>(row)] =
        value.IsValid() ? DateKey(value.Date(), value.Time().msecsSinceStartOfDay()) : kUnreadable;
}

void CListSortKeys::RankTexts()
{
    if (m_ranked)
        return;
    m_ranked = true;
    // Each distinct text gets its collation key once (a list holds few
    // distinct names), then its place among the others.
    QHash<QString, int> distinct;
    std::vector<int> textOf(m_texts.size());
    std::vector<QCollatorSortKey> keys;
    for (std::size_t r = 0; r < m_texts.size(); ++r) {
        const auto found = distinct.constFind(m_texts[r]);
        if (found != distinct.constEnd()) {
            textOf[r] = *found;
            continue;
        }
        const int id = static_cast<int>(keys.size());
        distinct.insert(m_texts[r], id);
        keys.push_back(TextOrder::SortKey(m_texts[r]));
        textOf[r] = id;
    }
    std::vector<int> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&keys](int a, int b) {
        return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]) < 0;
    });
    // Texts the language holds equal ("abc", "ABC") share a rank.
    std::vector<qint64> rank(keys.size());
    qint64 current = 0;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && keys[static_cast<std::size_t>(byKey[i - 1])].compare(
                         keys[static_cast<std::size_t>(byKey[i])]) != 0)
            ++current;
        rank[static_cast<std::size_t>(byKey[i])] = current;
    }
    for (std::size_t r = 0; r < m_texts.size(); ++r)
        m_keys[r] = rank[static_cast<std::size_t>(textOf[r])];
}

void CListSortKeys::Sort(QList<int>& order, bool descending)
{
    RankTexts();
    const auto key = [this](int row) { return m_keys[static_cast<std::size_t>(row)]; };
    if (descending)
        std::stable_sort(order.begin(), order.end(),
                         [&key](int a, int b) { return key(a) > key(b); });
    else
        std::stable_sort(order.begin(), order.end(),
                         [&key](int a, int b) { return key(a) < key(b); });
}

QList<int> CListSortKeys::Order(bool descending)
{
    QList<int> order(static_cast<qsizetype>(m_keys.size()));
    std::iota(order.begin(), order.end(), 0);
    Sort(order, descending);
    return order;
}
