#pragma once

#include <QCollatorSortKey>
#include <QString>

// Texts in the order of the user's language, ignoring case: "Äpfel" and
// "Émile" beside "apfel" and "eve", not after "zebra". Every list that sorts
// names sorts them so. A desktop without a language (the C locale) gets the
// common order of the Latin languages.
namespace TextOrder {

// Negative, 0 or positive, as a comes before, with or after b.
int Compare(const QString& a, const QString& b);
// A key that compares as the text does; quicker when a text is compared
// many times, as in a sort.
QCollatorSortKey SortKey(const QString& text);

} // namespace TextOrder
