#pragma once

#include "data/DateTime.h"
#include "data/RowTimes.h"

#include <QString>
#include <QVariant>

// The rows the facade keeps in its caches.

struct CProjectEntry {
    QString ProjName;
    int ProjID = -1;
    int EmpID = -1; // the employee the list was loaded for
    int ProjColour = 0;
    int Kind = 2;
    int CompanyID = -1; // -1 until the project's company has been read
};

struct CWorkTypeEntry {
    QString WorkType;
    int WorkTypeID = -1;
    int WorkColour = 0;
};

struct COrderEntry {
    QString OrderCode;
    int OrderID = -1;
    double OrderHourRate = 0;
    int ProjID = -1;
    bool IsDefault = false;
    bool IsDone = false;
};

struct CTaskEntry {
    int TaskID = -1;
    QString Task;
    QString TaskOrder;
    bool IsDefault = false;
    int State = 0;
    int OrderID = -1;
    int DefaultWorkTypeID = -1;
    int ProjID = -1;
    QString Comment;
};

struct CProjectStateEntry {
    int PS_ID = -1;
    QString StateName;
};

struct CEmployeeEntry {
    QString EmpFullName;
    int EmpID = -1;
    int SecLevel = -1;
    float HourRateFactor = 1.0f;
    QString NTUserName;
    QString Email;
    bool IsCurrent = false;
    int DeptID = 1;
    QString EmpRef;
};

// One time-sheet row of the day the facade holds.
struct CTimeSheetEntry {
    int EmpID = -1;
    int ProjID = -1;
    int OrderID = -1;
    int TaskID = -1;
    int WorkTypeID = -1;
    int TimeID = -1;
    int TimesheetID = -1;  // the row's own key; TimeID is handed out again
    QVariant ObjectTypeID; // null when the column is NULL
    QVariant ObjectID;
    QVariant InvID;
    CDateTime StartTime;
    CDateTime StopTime;
    CDateTime WorkDate;
    float HoursWorked = 0;
    QString Comment;

    // Its day, start and stop as the whole program reads them.
    CRowTimes Times() const { return CRowTimes::Read(WorkDate, StartTime, StopTime); }
};

// What the database says about itself when the program connects.
struct CStartupInfo {
    QString CompanyName;
    QString CompanySymbol;
    int PasswordMode = 0;
    int BookingInterval = -1; // minutes; -1 until read
    QString DbVersionText;
    double DbVersion = 0;
    // The lowest program version (x 100) the database admits; -1: not said.
    int ProgramMinVersion = -1;
    // 1: the hub hides after 2 seconds instead of 10; -1 until read from
    // the database property kQuickStartProperty.
    int StartupFlag = -1;
};

// The tblProperty row whose intValue 1 shortens the wait at start.
inline constexpr char kQuickStartProperty[] = "quickStart";

// A time-sheet entry as the time-sheet window and the import hand it to
// CDBClass::UpdateTimeData. Times are minutes since midnight (0..1440).
struct CTimeSheetWrite {
    bool IsUpdate = false; // false: a new row; true: the row of the same key
    CDateTime WorkDate;    // only the date counts
    int EmpID = -1;
    int ProjID = -1;
    int OrderID = -1;
    int TaskID = -1;
    float OrderHourRate = 0;
    int Start = 0;
    int Stop = 0;
    QString Comment;
    QString WorkTypeName;
    int WorkTypeID = -1;      // in: the id when no name is given; out: the id written
    int ObjectTypeID = -1;    // ignored: a linked change request is always type 40
    int ObjectID = -1;        // linked change request, -1 for none
    int InvID = -1;           // ignored: this program never sets the invoice mark
    int TimeID = -1;          // the entry's number within the employee's day
    bool FromHistory = false; // the write re-applies an undo or redo step
    int TimesheetID = -1;     // out: the key of the row written
    // In, for an update or a delete: the key of the row meant. Whatever row
    // now holds the TimeID is left alone when it is another; -1: no test.
    int KeyID = -1;
};

// Results of the time-sheet writes (0 is success).
enum TimeWriteResult : int {
    kWriteOk = 0,
    kWriteBelowZero = 1,
    kWriteAbove1440 = 2,
    kWriteBadTimeId = 3,
    kWriteNoOrder = 4,
    kWriteNotRounded = 6,
    kWriteOverlap = 7,
    kWriteNoRateFactor = 8,
    kWriteDbError = 9,
    kWriteNotOpened = 11,
    kWriteDeleteFailed = 14,
    kWriteDeleteError = 16,
    kWriteProcedureFailed = 17,
    kWriteProcedureRefused = 18,
};

// One time block as Schedule Time copies it onto other days. Times are
// minutes since midnight (0..1440).
struct CScheduleCopy {
    int EmpID = -1;
    int ProjID = -1;
    int OrderID = -1;
    int TaskID = -1;
    int WorkTypeID = -1;
    int Start = 0;
    int Stop = 0;
    int MinutesWorked = 0;
    QString Comment;
    double InvCost = 0;
};
