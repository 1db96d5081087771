#pragma once

#include <QList>
#include <QString>

class CDateTime;
struct CCommentRow;
struct CCommentTexts;

// The thirteen columns of the comments list, by code: caption, default
// width, value kind (ListColumnKind), header alignment, the list value the
// list control is handed, and the query column behind it.
class CCommentColumns {
public:
    enum Code : int {
        kProject = 0,
        kCompany,
        kUser,
        kEntered,
        kActioned,
        kStatus,
        kComment,
        kDetails,
        kPriority,
        kContact,
        kTask,
        kReference,
        kId,
        kCount
    };

    struct CColumn {
        const char* caption;
        int width;
        int kind;
        bool right;
        int listValue;
        const char* sqlColumn; // nullptr: the query has no such column
    };

    // An unknown code gives a column without caption or query column.
    static const CColumn& Column(int code);
    // "[ProjName]" and so on; "" for the task, which the query does not hold.
    static QString SqlColumn(int code);
    static int Kind(int code);
    // What "Filter by" names the column by.
    static QString FilterName(int code);

    static QString CellText(const CCommentRow& row, int code);
    // What the list shows in a cell: a text kept as RTF shows its text.
    static QString ShownCellText(const CCommentRow& row, int code);
    static CCommentTexts Texts(const CCommentRow& row);
    // A stored date in the user's format (with the time of day when asked);
    // "" for none and for dates not after 1970.
    static QString FormatDate(const CDateTime& value, bool withTime);
    // The rows' places in the list's order by a column: by its values (the
    // query's: the priority as a number, dates as dates; texts as the list
    // orders them), equal ones by id, both in the direction; equal tasks, a
    // column the query does not hold, by date and id ascending.
    static QList<int> Order(const QList<CCommentRow>& rows, int code, bool descending);
};
