#pragma once

#include "data/DBClass.h"

#include <QStringList>

#include <gtest/gtest.h>

// The lookups the time-sheet exchange tests share on both sides of an
// exchange, and time-sheet rows booked as the time sheet books them.
namespace ExchangeRows {

constexpr int kAnn = 1; // rate factor 1.5
constexpr int kBob = 2; // rate factor 1
constexpr int kApollo = 5;
constexpr int kBridge = 6;
constexpr int kApolloOrder = 7; // 100 an hour
constexpr int kBridgeOrder = 8; // 80 an hour
constexpr int kBuild = 9;       // Apollo, work type 2
constexpr int kTest = 10;       // Apollo, no work type of its own
constexpr int kSpan = 11;       // Bridge, work type 4
constexpr int kChangeRequest = 3;

// Written straight into a database that holds the schema and its seed rows.
inline QStringList LookupRows()
{
    return {
        QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                       "IsCurrent, HourRateFactor) VALUES (1, 'Ann Lee', 'ann', 1, 1, 1.5), "
                       "(2, 'Bob Ray', 'bob', 1, 1, 1)"),
        QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, IsTemplate) VALUES "
                       "(5, 'Apollo', 0, 0), (6, 'Bridge', 0, 0)"),
        QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, IsDefault, "
                       "IsDone, OrderHourRate) VALUES (7, 'A-7', 5, 1, 0, 100), "
                       "(8, 'B-8', 6, 1, 0, 80)"),
        QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                       "DefaultWorkTypeID) VALUES (9, 'Build', 5, 2, 2), (10, 'Test', 5, 2, NULL), "
                       "(11, 'Span', 6, 2, 4)"),
        QStringLiteral("INSERT INTO tblChgReq (ChgReqID, Item) VALUES (3, 'Wider deck')"),
    };
}

// An entry of a project's own order, as the time sheet books it.
struct CBooking {
    int emp = kAnn;
    QDate day;
    int start = 0;
    int stop = 0;
    int project = kApollo;
    int task = kBuild;
    int workType = -1;
    QString comment;
    int timeId = 1;
    int changeRequest = -1;
};

inline void Book(CDBClass& db, const CBooking& b)
{
    CTimeSheetWrite e;
    e.WorkDate = CDateTime(b.day);
    e.EmpID = b.emp;
    e.ProjID = b.project;
    e.OrderID = b.project == kApollo ? kApolloOrder : kBridgeOrder;
    e.OrderHourRate = b.project == kApollo ? 100 : 80;
    e.TaskID = b.task;
    e.Start = b.start;
    e.Stop = b.stop;
    e.Comment = b.comment;
    e.WorkTypeID = b.workType;
    e.ObjectID = b.changeRequest;
    e.TimeID = b.timeId;
    ASSERT_EQ(db.UpdateTimeData(nullptr, e), kWriteOk);
}

} // namespace ExchangeRows
