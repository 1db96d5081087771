#pragma once

#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "review/ReviewDlg.h"
#include "review/ReviewGridView.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"
#include "ui/UserCombo.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QPushButton>

#include <memory>

// Ann Lee and Bob Ray book on Bridge (tasks Design and Build), Apollo
// (Launch) and O'Neil's Barn (Roof) in the first week of March 2024; the
// rows go in out of order. The review is opened by the hub's Review command.
class ReviewTest : public FacadeDbTest, public IUserRights {
protected:
    ReviewTest()
        : FacadeDbTest(Connect::ByWindows)
    {}

    void SetUp() override
    {
        FacadeDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(
            QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                           "IsCurrent, HourRateFactor, SecLevel) VALUES "
                           "(1, 'Ann Lee', 'ann', 1, 1, 1, 1), (2, 'Bob Ray', 'bob', 1, 1, 1, 0)"));
        Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjColour) "
                            "VALUES (1, 'Bridge', ?, 255), (2, 'O''Neil''s Barn', ?, 128), "
                            "(3, 'Apollo', ?, 65280)"),
             {false, false, false});
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (1, 'B-100', 1, ?, ?, 80), "
                            "(2, 'ON-7', 2, ?, ?, 60), (3, 'A-1', 3, ?, ?, 100)"),
             {true, false, true, false, true, false});
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                            "DefaultWorkTypeID) VALUES (1, 'Design', 1, 2, 2), "
                            "(2, 'Build', 1, 2, 1), (3, 'Roof', 2, 2, 1), (4, 'Launch', 3, 2, 3)"));
        Option("USER/DefUserName", QStringLiteral("Ann Lee"));
        CUserCombo::SetUserRights(this);
        RegisterHubWindow(ID_REVIEW, [this](CDummyDlg& hub) -> IHubWindow* {
            auto* review = new CReviewDlg(&hub, m_db, &hub);
            review->SetPeriod(hub.m_reviewStart, hub.m_reviewEnd);
            return review;
        });
        m_hub = std::make_unique<CDummyDlg>(&m_db);
    }
    void TearDown() override
    {
        m_hub.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        UnregisterHubWindow(ID_REVIEW);
        CUserCombo::SetUserRights(nullptr);
        FacadeDbTest::TearDown();
    }

    int SecurityLevel() const override { return m_level; }
    int DefaultUserEmpId() const override { return 1; }

    // One block of an employee: minutes of the day, hours from them.
    void Book(int empId, int projId, int taskId, const QDate& day, int start, int stop,
              const QString& comment = QString(), int workType = 1)
    {
        const CDateTime date(day);
        const int orderId = projId;
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                            "StartTime, StopTime, TimeID, HoursWorked, Comment, WorkTypeID, "
                            "InvCost) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {empId, projId, orderId, taskId, QVariant::fromValue(date),
              QVariant::fromValue(date.AddSecs(start * 60)),
              QVariant::fromValue(date.AddSecs(stop * 60)), start, (stop - start) / 60.0, comment,
              workType, (stop - start)});
    }
    // Projects and tasks whose names differ only in case (the names compare
    // ignoring case in the database): Atlas (4) with Build (5) and build
    // (6), ATLAS (5) with Build (7); Ann books them on alternate days of the
    // week of 4 March.
    void BookCaseVariants()
    {
        Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjColour) "
                            "VALUES (4, 'Atlas', ?, 1), (5, 'ATLAS', ?, 2)"),
             {false, false});
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (4, 'AT-4', 4, ?, ?, 50), "
                            "(5, 'AT-5', 5, ?, ?, 50)"),
             {true, false, true, false});
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, "
                            "DefaultWorkTypeID) VALUES (5, 'Build', 4, 2, 1), "
                            "(6, 'build', 4, 2, 1), (7, 'Build', 5, 2, 1)"));
        const QDate monday(2024, 3, 4);
        Book(1, 4, 5, monday, 8 * 60, 9 * 60);
        Book(1, 4, 6, monday, 10 * 60, 11 * 60);
        Book(1, 5, 7, monday.addDays(1), 13 * 60, 14 * 60);
        Book(1, 4, 6, monday.addDays(1), 10 * 60, 11 * 60);
        Book(1, 4, 5, monday.addDays(2), 8 * 60, 9 * 60);
    }
    // One block booked as the time sheet books it (a stop at 24 * 60 is
    // stored as 23:59, the cost from the order's rate).
    void BookAsTheTimeSheet(int empId, int projId, int taskId, const QDate& day, int start,
                            int stop, const QString& comment = QString())
    {
        CTimeSheetWrite e;
        e.WorkDate = CDateTime(day);
        e.EmpID = empId;
        e.ProjID = projId;
        e.OrderID = projId;
        e.OrderHourRate = projId == 1 ? 80 : projId == 2 ? 60 : 100;
        e.TaskID = taskId;
        e.Start = start;
        e.Stop = stop;
        e.Comment = comment;
        e.TimeID = start;
        // Held as the time sheet holds it (which reads the booking interval).
        ASSERT_TRUE(m_db.OpenConnection());
        const int written = m_db.UpdateTimeData(nullptr, e);
        m_db.ReleaseConnection(false, false);
        ASSERT_EQ(written, kWriteOk) << Messages().join('|').toStdString();
    }
    // The week's rows, out of any order a view might keep.
    void BookTheWeek()
    {
        Book(2, 3, 4, QDate(2024, 3, 6), 8 * 60, 12 * 60, QStringLiteral("Countdown"));
        Book(1, 1, 2, QDate(2024, 3, 6), 14 * 60, 15 * 60, QStringLiteral("Rivets"));
        Book(1, 2, 3, QDate(2024, 3, 6), 10 * 60, 10 * 60 + 15, QStringLiteral("Tiles"));
        Book(1, 1, 2, QDate(2024, 3, 7), 9 * 60, 10 * 60, QStringLiteral("After"));
        Book(2, 1, 2, QDate(2024, 3, 4), 8 * 60, 9 * 60, QStringLiteral("Beams"));
        Book(1, 3, 4, QDate(2024, 3, 4), 13 * 60, 14 * 60 + 30, QStringLiteral("Fuel"));
        Book(1, 1, 1, QDate(2024, 3, 5), 8 * 60, 9 * 60, QStringLiteral("Sketch"));
        Book(1, 1, 2, QDate(2024, 3, 3), 9 * 60, 10 * 60, QStringLiteral("Before"));
        Book(1, 1, 2, QDate(2024, 3, 4), 9 * 60, 11 * 60, QStringLiteral("Girders"));
    }

    void Open()
    {
        m_hub->OnCommand(ID_REVIEW);
        m_window = dynamic_cast<CReviewDlg*>(m_hub->Window(ID_REVIEW));
        ASSERT_NE(m_window, nullptr);
    }
    template <typename W>
    W* Control(int id) const
    {
        return m_window->Control<W>(id);
    }
    // The period and the user chosen in the controls, then "Review".
    void Review(const QDate& start, const QDate& end, const QString& user = QStringLiteral("All"))
    {
        Control<QDateEdit>(CReviewDlg::kIdStart)->setDate(start);
        Control<QDateEdit>(CReviewDlg::kIdEnd)->setDate(end);
        QComboBox* users = Control<QComboBox>(CReviewDlg::kIdUser);
        users->setCurrentIndex(users->findText(user));
        Control<QPushButton>(CReviewDlg::kIdReview)->click();
    }
    QList<QStringList> Grid() const
    {
        QList<QStringList> rows;
        CReviewGridView* list = m_window->GridView();
        for (int r = 0; r < list->ItemCount(); ++r) {
            QStringList row;
            for (int c = 0; c < list->ColumnCount(); ++c)
                row << list->ItemText(r, c);
            rows << row;
        }
        return rows;
    }
    QStringList Headers() const
    {
        QStringList headers;
        CReviewGridView* list = m_window->GridView();
        for (int c = 0; c < list->ColumnCount(); ++c)
            headers << list->HeaderText(c);
        return headers;
    }
    static QStringList Messages() { return CRecordingMessages::Current().Texts(); }

    std::unique_ptr<CDummyDlg> m_hub;
    CReviewDlg* m_window = nullptr;
    int m_level = 1;
};
