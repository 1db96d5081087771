#pragma once

#include <QString>
#include <QVariantList>

class CDateTime;

// A condition of a list window's query: its SQL with '?' marks for the
// values, and the same condition with the values written in, as captions
// show it. Values are never pasted into the SQL.
struct CBoundFilter {
    QString sql;
    QVariantList values;
    QString text;

    bool IsEmpty() const { return sql.isEmpty(); }
    void Clear() { *this = CBoundFilter(); }
    // This condition, the joiner (when this one is not empty) and the other.
    void Append(const QString& joiner, const CBoundFilter& other);

    // "column mark ?" with the value; the text shows it written in (a text
    // quoted as SQL would hold it).
    static CBoundFilter Equals(const QString& column, const QString& mark, int value);
    static CBoundFilter Equals(const QString& column, const QString& mark, const QString& value);
    // The stored date-time's day, whatever its time and the format shown.
    static CBoundFilter SameDay(const QString& column, const CDateTime& value);
};
