#pragma once

#include "data/DateTime.h"

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
    QVariant ObjectTypeID; // null when the column is NULL
    QVariant ObjectID;
    QVariant InvID;
    CDateTime StartTime;
    CDateTime StopTime;
    CDateTime WorkDate;
    float HoursWorked = 0;
    QString Comment;
};

// What the database says about itself when the program connects.
struct CStartupInfo {
    QString CompanyName;
    QString CompanySymbol;
    int PasswordMode = 0;
    int BookingInterval = -1; // minutes; -1 until read
    QString DbVersionText;
    double DbVersion = 0;
    // 1: the hub hides after 2 seconds instead of 10.
    int StartupFlag = 0;
};
