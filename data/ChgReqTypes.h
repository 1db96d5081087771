#pragma once

#include "data/DateTime.h"

#include <QList>
#include <QString>

// Status ids of change requests with a fixed meaning.
enum ChgReqStatus : int {
    kChgReqStatusNew = 1,
    kChgReqStatusDated = 4,     // records a completion date as completion does
    kChgReqStatusReopened = 6,  // where a request goes when completion is cleared
    kChgReqStatusCompleted = 7, // a completed request
    kChgActionCompleted = 12,   // a completed action
};

// The fields of a new change request; one row is written per item.
struct CChgReqValues {
    int ProjID = -1;
    int EmpID = -1;     // the authority
    int CompanyID = -1; // -1: none
    QString Contact;
    QString Reference;
    CDateTime DateCreated;
    int Priority = 2; // 1 high, 2 medium, 3 low
    QString TeamList;
};

// The fields the edit dialog writes back. Item and details are written only
// when `writeTexts` says so (a stored rich text stays as it is otherwise).
struct CChgReqUpdate {
    int ProjID = -1;
    int EmpID = -1;
    QString Contact;
    QString Reference;
    QString Item;
    QString FullDetail;
    bool writeItem = true;
    bool writeDetails = true;
    bool writeContact = true;
    bool writeReference = true;
    QString TeamList;
    int StatusID = kChgReqStatusNew;
    int Priority = 2;
    CDateTime DateCompleted; // null: not completed (NULL)
};

// One action of a change request.
struct CChgReqAction {
    int ChgActionID = -1;
    int EmpID = -1;
    CDateTime DateAssigned;
    CDateTime DateComplete;
    QString Comment;
    int StatusID = -1;
};

// A stored change request with the names of its project, authority and
// company (empty when they are gone), its team and its actions.
struct CChgReqRecord {
    int ChgReqID = -1;
    int ProjID = -1;
    int EmpID = -1;
    int CompanyID = -1;
    QString Contact;
    QString Reference;
    QString Item;
    CDateTime DateCreated;
    CDateTime DateCompleted;
    int StatusID = -1;
    int Priority = 2;
    QString FullDetail;
    QString TeamList;
    QString ProjName;
    QString Authority;
    QString CompanyName;
    QList<int> Team; // employee ids
    QList<CChgReqAction> Actions;

    // Open while its completion date is none, zero or before 1900.
    bool IsCompleted() const { return IsCompletedDate(DateCompleted); }
    static bool IsCompletedDate(const CDateTime& date)
    {
        return date.IsValid() && date.Date() >= QDate(1900, 1, 1);
    }
};

// How a change-request write ended. The windows word the message.
enum class ChgReqResult {
    Ok,
    NotFound,    // the request is gone (deleted elsewhere)
    OpenFailed,  // the tables could not be read
    WriteFailed, // the database refused; nothing was written
};
