#pragma once

#include "data/DBClass.h"
#include "data/FacadeClients.h"
#include "data/MyAdoRecordSet.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QObject>

// A database with people, projects, tasks, time sheets, comments and change
// requests to search, and a facade connected to it.
class SearchTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1), "
                            "(2, 'Bob O''Brien', 'bob', 1, 1)"));
        Exec(QStringLiteral(
                 "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader, IsTemplate) "
                 "VALUES (1, 'Bridge', ?, 0, ?), (2, 'Canal', ?, 0, ?)"),
             {false, false, false, false});
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State) VALUES "
                            "(1, 'Design', 1, 2), (2, 'Build', 1, 2), (3, 'design', 2, 2)"));
        const QStringList comments = {
            QStringLiteral("Design review"),
            QStringLiteral("design REVIEW notes"),
            QStringLiteral("O'Brien's bridge"),
            QStringLiteral("'; DROP TABLE tblTimeSheet;--"),
            QStringLiteral("C:\\temp\\x"),
            QStringLiteral("100% done"),
            QStringLiteral("a_b"),
            QStringLiteral("axb"),
        };
        for (int i = 0; i < comments.size(); ++i)
            Book(i + 1, i % 2 + 1, i % 2 + 1, 1 + i % 2, 7 + i % 3, 9 * 60 + 30 * i,
                 comments.at(i));
        Book(9, 1, 2, 3, 9, 17 * 60, QVariant()); // no comment
        Exec(QStringLiteral("INSERT INTO tblProjectComment (CommentID, ProjID, EmpID, "
                            "ProjectComment, Priority, CommentType, ObjectTypeID, ObjectID) "
                            "VALUES (1, 1, 1, 'Check the piers', 1, 'ToDo', 2, 1), "
                            "(2, 2, 2, 'Order gravel', 3, 'ToDo', 2, 3), "
                            "(3, 1, 1, 'Paint', 2, 'Info', 2, 2)"));
        Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, EmpID, Item, Priority, "
                            "DateCreated) VALUES (1, 1, 1, 'Wider lanes', 1, ?), "
                            "(2, 1, 2, 'New colour', 3, ?), (3, 2, 1, 'Deeper lock', 2, NULL)"),
             {QVariant::fromValue(CDateTime(2026, 11, 2, 14, 5)),
              QVariant::fromValue(CDateTime(2026, 11, 30))});
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // A time-sheet row: hours 1.5 + a quarter for each step of minutes.
    void Book(int id, int emp, int proj, int task, int day, int start, const QVariant& comment)
    {
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (TimesheetID, EmpID, ProjID, TaskID, "
                            "WorkDate, StartTime, StopTime, HoursWorked, Comment, TimeID) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {id, emp, proj, task, QVariant::fromValue(CDateTime(2026, 12, day)),
              QVariant::fromValue(CDateTime(2026, 12, day, start / 60, start % 60)),
              QVariant::fromValue(CDateTime(2026, 12, day, start / 60 + 1, start % 60)),
              1.0 + 0.25 * (id % 4), comment, id});
    }

    int TimeSheetRows()
    {
        return Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet")).Value(0, 0).toInt();
    }

    CDBClass m_db;
};

// Keeps the recordsets a search opens, without a window.
class CKeptResults : public ISearchViewFactory {
public:
    QObject* CreateSearchView(const QString&, const QString&, CMyAdoRecordSet* rows,
                              QObject*) override
    {
        last = rows;
        return nullptr;
    }
    CMyAdoRecordSet* last = nullptr;
};
