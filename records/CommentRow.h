#pragma once

#include "data/DateTime.h"

#include <QHash>
#include <QString>
#include <QtGlobal>

class CCommentSet;
class CDBClass;

// One comment as the comments window lists it: the row of the full comment
// query with its task's name. Ids read as NULL are -1; dates read as NULL
// are null.
struct CCommentRow {
    int CommentID = -1;
    int ProjID = -1;
    int EmpID = -1;
    int CompanyID = -1;
    QString ProjName;
    QString CompanyName;
    QString EmpFullName;
    CDateTime CommentDate;
    CDateTime ActionDate;
    QString CommentType;
    QString ProjectComment;
    QString FullDetails;
    int Priority = 2;
    QString PriorityText;
    QString ContactName;
    QString Reference;
    int ObjectTypeID = -1;
    int ObjectID = -1;
    QString TaskName;

    // The current row of an open set; the task's name from the facade, or
    // from `taskNames` once it has been looked up for a row before.
    static CCommentRow FromSet(const CCommentSet& set, CDBClass& db,
                               QHash<int, QString>* taskNames = nullptr);
    bool IsToDo() const;
};
// Texts and dates only: a list of 100,000 grows by moving its memory, not
// each row.
Q_DECLARE_TYPEINFO(CCommentRow, Q_RELOCATABLE_TYPE);

// The texts of one comment as the list shows them, in the order the edit
// dialog takes them.
struct CCommentTexts {
    QString Project;
    QString Company;
    QString User;
    QString Entered;
    QString Actioned;
    QString ContactName;
    QString Priority;
    QString Comment;
    QString Status;
    QString Task;
    QString Details;
    QString Reference;
};
