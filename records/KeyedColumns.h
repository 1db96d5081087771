#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CMyListCtrl;
class CTreeListDlg;

// One column of a report list whose cells are placed by column key: the
// key is the column's place in the table that defines the list.
struct CKeyedColumn {
    const char* caption;
    int width;  // the default; a stored width of -1 keeps it
    int kind;   // ListColumnKind, for the header-click sort
    int format; // ListColumnFormat
};

// Creates the list's columns from the table in the order of the layout
// stored under "Window Settings"/layoutKey (the table's order when the
// stored layout does not name each column once) and gives back the column
// key of each list column.
QList<int> CreateKeyedList(CMyListCtrl& list, CTreeListDlg* owner, const QString& layoutKey,
                           const QList<CKeyedColumn>& table);

// A row's texts, given in column-key order, in the list's column order.
QStringList PlaceByKey(const QList<int>& columnKeys, const QStringList& textsByKey);
