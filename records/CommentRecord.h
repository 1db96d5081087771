#pragma once

#include <QString>

#include <initializer_list>

class CDBClass;
class CProjectCommentSet;

// What the comment windows share when they write a comment through
// CProjectCommentSet: its columns by position and the steps around a write.
class CCommentRecord {
public:
    enum Column : int {
        kCommentID = 0,
        kProjID,
        kEmpID,
        kCompanyID,
        kProjectComment,
        kCommentDate,
        kActionDate,
        kPriority,
        kContactName,
        kCommentType,
        kObjectTypeID,
        kObjectID,
        kFullDetails,
        kReference,
    };

    // Opens the comment's row; errors are not shown but come back in
    // `reason`. 1: the row is there, 0: it is gone, -1: no reading.
    static int Open(CDBClass& db, CProjectCommentSet& set, int commentId, QString& reason);
    // The same for a write: when the table cannot be read the user is told
    // what was not done (`notDone`, "Comment # 4 was not deleted.") and why.
    static int OpenForWrite(CDBClass& db, CProjectCommentSet& set, int commentId,
                            const QString& notDone);
    // Tells a write of the set that failed: what was not done over why.
    static void TellNotWritten(const QString& notDone, const CProjectCommentSet& set);
    // The next update writes these columns and no other.
    static void WriteOnly(CProjectCommentSet& set, std::initializer_list<int> columns);
    // Sets a column's value as present, or as NULL.
    static void SetInt(CProjectCommentSet& set, int column, int value);
    static void SetNull(CProjectCommentSet& set, int column);
    // A row without a company (NULL or -1) gets the own company, when one is
    // set up with an id; it stays without otherwise.
    static void GiveOwnCompanyWhenNone(CDBClass& db, CProjectCommentSet& set);
    // At most `characters` characters of the text, never half of one
    // (LeftCharacters).
    static QString Cut(const QString& text, int characters);
};
