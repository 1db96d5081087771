#include "review/SearchResultTable.h"

#include "data/AdoTypes.h"
#include "data/DateTime.h"
#include "data/MyAdoRecordSet.h"
#include "data/SingleText.h"
#include "platform/TextOrder.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

QVariant Typed(const QVariant& value, int type)
{
    if (value.isNull())
        return QVariant();
    bool ok = false;
    switch (type) {
    case adSmallInt:
    case adInteger: {
        const qlonglong number = value.toLongLong(&ok);
        return ok ? QVariant(number) : value;
    }
    case adSingle:
    case adDouble:
    case adCurrency: {
        const double number = value.toDouble(&ok);
        return ok ? QVariant(number) : value;
    }
    case adDate: {
        if (value.metaType() == QMetaType::fromType<CDateTime>())
            return value;
        // Dates are text on the file back end.
        const CDateTime date = CDateTime::Parse(value.toString());
        return date.IsValid() ? QVariant::fromValue(date) : value;
    }
    case adBoolean:
        return QVariant(value.toBool());
    case adChar:
    case adVarChar:
    case adLongVarChar:
        // A column listed as text may hold numbers (the invoiced cost): they
        // sort as the numbers they are, as the recordset sorts them.
        switch (value.metaType().id()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
            return value;
        default:
            return value.toString();
        }
    default:
        return value;
    }
}

QString DateText(const CDateTime& date)
{
    const QTime time = date.Time();
    if (time == QTime(0, 0))
        return date.ToString(QStringLiteral("yyyy-MM-dd"));
    return date.ToString(time.second() ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                       : QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString ValueText(const QVariant& value, int type)
{
    if (value.isNull())
        return QStringLiteral(" ");
    if (value.metaType() == QMetaType::fromType<CDateTime>())
        return DateText(value.value<CDateTime>());
    switch (value.metaType().id()) {
    case QMetaType::Double:
        if (type == adCurrency)
            return QString::number(value.toDouble(), 'f', 2);
        if (type == adSingle)
            return SingleText(value.toFloat());
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

// What a cell sorts by.
struct CSortKey {
    int kind = 0; // 0 NULL, 1 number, 2 date, 3 text
    double number = 0;
    CDateTime date;
    std::optional<QCollatorSortKey> text;
};

CSortKey KeyOf(const QVariant& value)
{
    CSortKey key;
    if (value.isNull())
        return key;
    if (value.metaType() == QMetaType::fromType<CDateTime>()) {
        key.kind = 2;
        key.date = value.value<CDateTime>();
        return key;
    }
    switch (value.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::Bool:
        key.kind = 1;
        key.number = value.toDouble();
        return key;
    default:
        key.kind = 3;
        key.text = TextOrder::SortKey(value.toString());
        return key;
    }
}

// Negative, 0 or positive, as a comes before, with or after b.
int Compare(const CSortKey& a, const CSortKey& b)
{
    // NULLs first; a value of another kind than its column's (a text in a
    // number column) goes after the column's own values.
    if (a.kind != b.kind)
        return a.kind - b.kind;
    switch (a.kind) {
    case 1:
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    case 2: {
        const auto order = a.date <=> b.date;
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    case 3:
        return a.text->compare(*b.text);
    default:
        return 0;
    }
}

} // namespace

CSearchResultTable::CSearchResultTable(QObject* parent)
    : QAbstractTableModel(parent)
{}

void CSearchResultTable::SetColumns(const QList<CColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows.Clear();
    m_rowCount = 0;
    m_order.clear();
    endResetModel();
}

int CSearchResultTable::Fill(CMyAdoRecordSet& rs)
{
    beginResetModel();
    m_rows.Clear();
    m_order.clear();
    m_rowCount = 0;
    rs.MoveFirst();
    if (rs.IsForwardOnly()) {
        // Rows that stream are kept as they come.
        auto kept = std::make_shared<CPackedRows>(rs.FieldCount());
        for (; !rs.IsEOF(); rs.MoveNext())
            for (int c = 0; c < rs.FieldCount(); ++c)
                kept->AddVariant(rs.Value(c));
        m_rows.columns = rs.Rows().columns;
        m_rows.SetStore(kept, kept->Rows());
    } else {
        // A snapshot's rows are shared as they are.
        m_rows = rs.Rows();
    }
    m_order.reserve(m_rows.rows);
    for (int r = 0; r < m_rows.rows; ++r)
        if (!rs.IsRowDeleted(r))
            m_order << r;
    m_rowCount = static_cast<int>(m_order.size());
    endResetModel();
    return (m_rowCount + kBlockRows - 1) / kBlockRows;
}

QVariant CSearchResultTable::Cell(int sourceRow, int column) const
{
    const CColumn& c = m_columns.at(column);
    return Typed(m_rows.Value(sourceRow, c.source), c.type);
}

QVariant CSearchResultTable::Value(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= ColumnCount())
        return QVariant();
    return Cell(m_order.at(row), column);
}

QString CSearchResultTable::Text(int row, int column) const
{
    if (column < 0 || column >= ColumnCount())
        return QString();
    const QVariant value = Value(row, column);
    if (m_translator && !value.isNull()) {
        const QString translated = m_translator(m_columns.at(column), value);
        if (!translated.isNull())
            return translated;
    }
    return ValueText(value, m_columns.at(column).type);
}

QStringList CSearchResultTable::RowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < ColumnCount(); ++c)
        texts << Text(row, c);
    return texts;
}

void CSearchResultTable::SortBy(int column, bool descending)
{
    if (column < 0 || column >= ColumnCount())
        return;
    // By the recordset's row.
    std::vector<CSortKey> keys(static_cast<std::size_t>(m_rows.rows));
    for (int r : std::as_const(m_order))
        keys[static_cast<std::size_t>(r)] = KeyOf(Cell(r, column));
    beginResetModel();
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const int order = Compare(keys[a], keys[b]);
        return descending ? order > 0 : order < 0;
    });
    endResetModel();
}

int CSearchResultTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int CSearchResultTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant CSearchResultTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const QVariant value = Value(index.row(), index.column());
        const int id = value.metaType().id();
        const bool number = (id == QMetaType::LongLong || id == QMetaType::Double) &&
                            m_columns.at(index.column()).translation == 0;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return QVariant();
}

QVariant CSearchResultTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount())
        return m_columns.at(section).caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}
