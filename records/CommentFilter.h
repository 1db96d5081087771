#pragma once

#include <QString>
#include <QVariantList>

struct CCommentRow;

// A condition on the comment query: its SQL with '?' marks for the values,
// and the same condition with the values written in, as the caption shows
// it. Values are never pasted into the SQL.
struct CCommentFilter {
    QString sql;
    QVariantList values;
    QString text;

    bool IsEmpty() const { return sql.isEmpty(); }
    void Clear() { *this = CCommentFilter(); }
    // This condition, the joiner (when this one is not empty) and the other.
    void Append(const QString& joiner, const CCommentFilter& other);

    // The type filter entry that stands for the three ordinary types.
    static QString ThreeTypes() { return QStringLiteral("Bad, Good, Info"); }
    static QString ThreeTypeExpression();

    // The list's filter: the tree node (a project, or in the company view a
    // company; -1 for the root), the user (ids above 0) and the type (an
    // index above 0 of the type filter, whose entry 0 is "All").
    static CCommentFilter Build(bool companyView, int nodeId, int empId, int typeIndex,
                                const QString& typeText);
    // "Filter by" a cell: the row's stored value of that column (dates by
    // their day, the task by its id); false when the cell shows nothing.
    static bool ForColumn(const CCommentRow& row, int code, CCommentFilter& out);
};
