#pragma once

#include <QString>

// Re-sorting an overview page by a clicked column. A page's column headings
// link to "#" + a sort key ("#@Name"); in the page's style sheet the first
// xsl:sort element after that link orders the rows it heads. The key may
// carry a digit after its first character to tell apart the headings of a
// second table ("#@2Name" sorts the second table by "@Name").
class COverviewSort {
public:
    // The sort key of a link address ("file:///.../page.htm#@Name" gives
    // "@Name"); false when the address names none.
    static bool KeyOfAddress(const QString& address, QString& key);
    // The attribute the key sorts by (the marking digit left out).
    static QString SortSelect(const QString& key);
    // Keys whose values are compared as text; all others as numbers.
    static bool IsTextKey(const QString& select);
    // The style sheet with the sort element that follows the key's link
    // replaced, whole, by one that orders by the key in that direction;
    // false when the sheet has no such link or no sort element after it.
    static bool Apply(const QString& styleSheet, const QString& key, bool descending,
                      QString& sorted);
};
