#pragma once

#include <QList>
#include <QString>

struct CChgRqstRow;

// The ten columns of the change-request list, by kind: title, default
// width, value kind (ListColumnKind), alignment, the list's own index and
// the query column behind it.
class CChgRqstColumns {
public:
    enum Kind : int {
        kAuthority = 0,
        kReference,
        kProject,
        kCompany,
        kContact,
        kDated,
        kActioned,
        kItem,
        kPriority,
        kId,
        kCount
    };

    struct CColumn {
        const char* title;
        int width;
        int kind;
        bool right;
        int listIndex;
        const char* sqlColumn;
    };

    // An unknown kind gives a column without title or query column.
    static const CColumn& Column(int kind);
    static QString SqlColumn(int kind);
    static int ValueKind(int kind);
    static QString CellText(const CChgRqstRow& row, int kind);
    // What the list shows in a cell: a text kept as RTF shows its text.
    static QString ShownCellText(const CChgRqstRow& row, int kind);
    // The rows' places in the list's order by a column: by its values (dates
    // as dates, texts as the list orders them), equal ones by id, both in the
    // direction, as the query orders them.
    static QList<int> Order(const QList<CChgRqstRow>& rows, int kind, bool descending);
};
