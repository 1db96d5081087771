#pragma once

#include "records/ProjectInfoWindows.h"
#include "records/ShowPrjDlg.h"
#include "tests/records/HubWindowFixture.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ResourceIds.h"

// Projects of a small company: Ann Lee (1), Bob O'Neil (2), Cleo Ng (3) and
// Dan Ray (4, on no project). Every project checks its team.
//   1 Bridge         leader Ann; team Ann, Bob, Cleo. Tasks: 1 Design (active,
//                    est. 40), 2 Build (active, no estimate), 3 Survey (not
//                    active). Booked: Ann 2.00 + 1.50 on Design, Bob 1.75 on
//                    Build. One to-do and two comments.
//   2 Apollo         leader Bob; team Ann. Task 4 Launch; Ann booked 1.00.
//   3 O'Neil's Deck  leader Bob; team Bob. No tasks; Bob booked 2.50.
//   4 Harbour, 5 HARBOUR  leader Cleo; team Ann. No tasks.
// Ann's projects by name: Apollo, Bridge, Harbour and HARBOUR.
class ProjectInfoTest : public HubWindowTest<FacadeDbTest, CShowPrjDlg, ID_PROJECT_INFO> {
protected:
    ProjectInfoTest()
        : HubWindowTest(Connect::ByWindows)
    {}

    static constexpr int kAnn = 1;
    static constexpr int kBob = 2;
    static constexpr int kCleo = 3;
    static constexpr int kDan = 4;
    static constexpr int kBridge = 1;
    static constexpr int kApollo = 2;
    static constexpr int kDeck = 3;
    static constexpr int kHarbour = 4;
    static constexpr int kHarbourUpper = 5;
    static constexpr int kDesign = 1;
    static constexpr int kBuild = 2;
    static constexpr int kSurvey = 3;
    static constexpr int kLaunch = 4;

    static QString BridgeAbstract()
    {
        return QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Deck and "
                              "{\\b piers} of the new crossing.\\par}");
    }

    void SetUp() override
    {
        HubWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, FirstName, "
                            "NTUserName, DeptID, IsCurrent) VALUES (1, 'Ann Lee', 'Ann', 'ann', 1, "
                            "1), (2, 'Bob O''Neil', 'Bob', 'bob', 1, 1), (3, 'Cleo Ng', 'Cleo', "
                            "'cleo', 1, 1), (4, 'Dan Ray', 'Dan', 'dan', 1, 1)"));
        Exec(
            QStringLiteral(
                "INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck, ProjLeader, CustProjName, "
                "ProjCustContact, ProjInvoiceContact, ProjStartDate, ProjState, ProjProgress, "
                "ProjHourRate, ProjHours, ProjEstHours, Abstract) VALUES (1, 'Bridge', ?, 1, "
                "'Quay crossing', 'Jane Roe', 'Accounts Payable', ?, 2, 0.25, 80, 0, 0, ?), "
                "(2, 'Apollo', ?, 2, NULL, NULL, NULL, NULL, 1, 0, 0, 0, 0, 'Plain abstract'), "
                "(3, 'O''Neil''s Deck', ?, 2, NULL, NULL, NULL, NULL, 2, 0, 0, 0, 0, NULL), "
                "(4, 'Harbour', ?, 3, NULL, NULL, NULL, NULL, 1, 0, 0, 0, 0, 'lower'), "
                "(5, 'HARBOUR', ?, 3, NULL, NULL, NULL, NULL, 1, 0, 0, 0, 0, 'upper')"),
            {true, QVariant::fromValue(CDateTime(2026, 3, 2)), BridgeAbstract(), true, true, true,
             true});
        Exec(QStringLiteral("INSERT INTO tblProjectTeam (ProjID, EmpID) VALUES (1, 1), (1, 2), "
                            "(1, 3), (2, 1), (3, 2), (4, 1), (5, 1)"));
        Exec(QStringLiteral("INSERT INTO tblProjectOrderBook (OrderID, OrderCode, ProjID, "
                            "IsDefault, IsDone, OrderHourRate) VALUES (1, 'B-100', 1, ?, ?, 80), "
                            "(2, 'B-200', 1, ?, ?, 90)"),
             {true, false, false, false});
        Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, EstHours, "
                            "ActHours, Comment, OrderID, DefaultWorkTypeID, PercentComplete, "
                            "EstStart, ActStart) VALUES "
                            "(1, 'Design', 1, 2, 40, 0, 'Drawings', 2, 2, 0.5, ?, ?), "
                            "(2, 'Build', 1, 2, 0, 0, 'On site', NULL, NULL, 0, NULL, NULL), "
                            "(3, 'Survey', 1, 1, 8, 8, 'Done', 1, 1, 1.2, NULL, ?), "
                            "(4, 'Launch', 2, 2, 10, 0, '', NULL, 3, 0, NULL, NULL)"),
             {QVariant::fromValue(CDateTime(2026, 3, 2)),
              QVariant::fromValue(CDateTime(1985, 6, 1)),
              QVariant::fromValue(CDateTime(1900, 1, 1))});
        if (IsPostgres())
            Exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('tblprojecttask', "
                                "'taskid'), (SELECT MAX(TaskID) FROM tblProjectTask))"));
        Book(kAnn, kBridge, kDesign, 1, 2.0f);
        Book(kAnn, kBridge, kDesign, 2, 1.5f);
        Book(kBob, kBridge, kBuild, 1, 1.75f);
        Book(kAnn, kApollo, kLaunch, 3, 1.0f);
        Book(kBob, kDeck, -1, 4, 2.5f);
        Exec(QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, ProjectComment, "
                            "CommentType, CommentDate) VALUES (1, 1, 'Order steel', 'ToDo', ?), "
                            "(1, 2, 'Piers poured', 'Info', ?), (1, 3, 'Rain', 'Bad', ?)"),
             {QVariant::fromValue(CDateTime(2026, 3, 3)),
              QVariant::fromValue(CDateTime(2026, 3, 4)),
              QVariant::fromValue(CDateTime(2026, 3, 5))});
        Option("USER/DefUserName", QStringLiteral("Ann Lee"));
        UseShortFormats();
        StartHub([this](CDummyDlg& hub) { return CreateProjectInfoWindow(hub, m_db); });
    }

    // A time-sheet row on a day of March 2026 (TimeID = the day).
    void Book(int empId, int projId, int taskId, int day, float hours)
    {
        const CDateTime date(2026, 3, day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, "
                            "StartTime, StopTime, HoursWorked, TaskID, Comment, TimeID) VALUES "
                            "(?, ?, NULL, ?, ?, ?, ?, ?, 'booked', ?)"),
             {empId, projId, QVariant::fromValue(date), QVariant::fromValue(date.AddSecs(9 * 3600)),
              QVariant::fromValue(date.AddSecs(9 * 3600 + qint64(hours * 3600))), hours,
              taskId < 0 ? QVariant() : QVariant(taskId), empId * 100 + day});
    }
    QVariant Stored(const QString& sql, const QVariantList& params = {})
    {
        const CQueryResult rows = Query(sql, params);
        return rows.rows > 0 ? rows.Value(0, 0) : QVariant(QStringLiteral("(no row)"));
    }

    // ---- The window ----------------------------------------------------------------------
    // The hub's Project Info command (-1, -1) or its request for a project.
    void Open(int empId = -1, int projId = -1)
    {
        if (empId < 0 && projId < 0)
            m_hub->OnCommand(ID_PROJECT_INFO);
        else
            m_hub->OnShowProjectInfo(empId, projId);
        m_window = dynamic_cast<CShowPrjDlg*>(m_hub->Window(ID_PROJECT_INFO));
        ASSERT_NE(m_window, nullptr) << Messages().join(QLatin1Char('|')).toStdString();
        QCoreApplication::processEvents();
    }
    QComboBox* Chooser() const { return m_window->Control<QComboBox>(CShowPrjDlg::kIdProject); }
    // Chooses a project as the user does.
    void Choose(int projId)
    {
        const int index = Chooser()->findData(qint64(projId));
        ASSERT_GE(index, 0) << projId;
        Chooser()->setCurrentIndex(index);
        m_window->OnCommand(CShowPrjDlg::kIdProject);
    }
    QStringList ChooserItems() const
    {
        QStringList items;
        for (int i = 0; i < Chooser()->count(); ++i)
            items << Chooser()->itemText(i);
        return items;
    }
    // The task list, a row as "ID Task Est Act Percent Details" by key.
    QStringList TaskRows() const
    {
        QStringList rows;
        for (int r = 0; r < m_window->List()->ItemCount(); ++r) {
            QStringList cells;
            for (int key = 0; key < CShowPrjDlg::kTaskColumnCount; ++key)
                cells << m_window->TaskCell(r, key);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
};
