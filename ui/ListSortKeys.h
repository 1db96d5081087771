#pragma once

#include "data/DateTime.h"

#include <QList>
#include <QString>

#include <vector>

// What a report list's rows sort by in one column, worked out once a row: a
// number, a date-time, or for texts their place in the user's language
// ignoring case (ListColumnKind). Rows are then ordered by comparing numbers,
// however often the list is sorted.
class CListSortKeys {
public:
    CListSortKeys(int kind, int rows);

    // A cell as the list shows it: an empty text counts as one blank; an
    // integer column reads the leading number, a date column the date-time
    // as the program writes one, an unreadable one before every other.
    void SetText(int row, const QString& text);
    // Typed values where the rows have them: the same order as their texts.
    void SetNumber(int row, qint64 value);
    void SetDateTime(int row, const CDateTime& value);

    // Sorts the row numbers in order (each row once) by the keys; rows of
    // equal keys keep their places in order, in either direction.
    void Sort(QList<int>& order, bool descending);
    // The row numbers 0, 1, ... in key order.
    QList<int> Order(bool descending);

private:
    void RankTexts();

    int m_kind;
    std::vector<qint64> m_keys;
    // Texts waiting for their ranks (text columns).
    std::vector<QString> m_texts;
    bool m_ranked = true;
};
