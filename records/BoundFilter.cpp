#include "records/BoundFilter.h"

#include "data/DateTime.h"
#include "data/SqlDialect.h"

namespace {

CBoundFilter Bound(const QString& column, const QString& mark, const QVariant& value,
                   const QString& shown)
{
    return {column + mark + QStringLiteral("?"), {value}, column + mark + shown};
}

} // namespace

void CBoundFilter::Append(const QString& joiner, const CBoundFilter& other)
{
    if (!IsEmpty()) {
        sql += joiner;
        text += joiner;
    }
    sql += other.sql;
    text += other.text;
    values += other.values;
}

CBoundFilter CBoundFilter::Equals(const QString& column, const QString& mark, int value)
{
    return Bound(column, mark, value, QString::number(value));
}

CBoundFilter CBoundFilter::Equals(const QString& column, const QString& mark, const QString& value)
{
    return Bound(column, mark, value, CSqlDialect::QuoteText(value));
}

CBoundFilter CBoundFilter::SameDay(const QString& column, const CDateTime& value)
{
    const CDateTime day(value.Date());
    return {QStringLiteral("(%1 >= ? AND %1 < ?)").arg(column),
            {QVariant::fromValue(day), CSqlDialect::DayEnd(value.Date())},
            column + QStringLiteral(" = ") + value.Date().toString(Qt::ISODate)};
}
