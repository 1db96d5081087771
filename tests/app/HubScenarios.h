#pragma once

#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "autotimer/AutoTimerWindows.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "platform/UserAction.h"
#include "records/ChgRqstDlg.h"
#include "records/ChgRqstWindows.h"
#include "records/CommentDlg.h"
#include "records/CommentWindows.h"
#include "records/ContactDlg.h"
#include "records/ContactWindows.h"
#include "records/ProjectInfoWindows.h"
#include "records/ShowPrjDlg.h"
#include "review/ExchangeWindows.h"
#include "review/ReviewDlg.h"
#include "review/ReviewWindows.h"
#include "review/SearchWindows.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/Waiting.h"
#include "tests/timesheet/TimeLineProbe.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QTest>

#include <functional>
#include <ostream>

// The modal runs a window of the program can have going when the hub closes
// every window (tray Close, Set User, a database switch, a termination
// signal): for each, the window's command, how the run is started in it,
// and the class of what then runs.
namespace HubScenarios {

struct CScenario {
    const char* name;
    int command;
    const char* modal;
    std::function<void(QWidget* window)> open;
    // A real message box (the test programs answer them otherwise).
    bool messageBox = false;
};

// The scenario's name where a test names its parameter.
inline void PrintTo(const CScenario& scenario, std::ostream* os)
{
    *os << scenario.name;
}

template <typename W>
W* As(QWidget* window)
{
    return dynamic_cast<W*>(window);
}

inline void SelectNode(CMyTreeCtrl* tree, const QString& text)
{
    if (QTreeWidgetItem* item = tree->FindItemByText(text))
        tree->setCurrentItem(item);
}

inline void DrawBlock(QWidget* window)
{
    auto* sheet = As<CTimeAppDlg>(window);
    QWidget* line = sheet->TimeLine().ControlWidget();
    const QPoint from = TimeLineProbe::Find(*sheet, line, 9 * 60);
    const QPoint to = TimeLineProbe::Find(*sheet, line, 10 * 60);
    TimeLineProbe::Draw(line, from, to);
}

// A block drawn and its Save Times dialog answered with OK.
inline void DrawAndSave(QWidget* window)
{
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    UserAction::Next();
    DrawBlock(window);
    Waiting::Settle();
}

inline const QList<CScenario>& All()
{
    static const QList<CScenario> scenarios = {
        {"CommentEdit", ID_TASKS, "CCmtViewDlg",
         [](QWidget* w) {
             As<CCommentDlg>(w)->List()->SelectItem(0);
             As<CCommentDlg>(w)->OnCommand(CCommentDlg::kCmdView);
         }},
        {"CommentAdd", ID_TASKS, "CCmtAddDlg",
         [](QWidget* w) { As<CCommentDlg>(w)->OnCommand(CCommentDlg::kCmdAdd); }},
        {"CommentDeleteQuestion", ID_TASKS, "QMessageBox",
         [](QWidget* w) {
             As<CCommentDlg>(w)->List()->SelectItem(0);
             As<CCommentDlg>(w)->OnCommand(CCommentDlg::kCmdDelete);
         },
         true},
        {"CompanyEdit", ID_CONTACTS, "CCompanyEditDlg",
         [](QWidget* w) {
             SelectNode(As<CContactDlg>(w)->Tree(), QStringLiteral("Acme Zürich"));
             As<CContactDlg>(w)->OnCommand(CContactDlg::kCmdEditCompany);
         }},
        {"CompanyAdd", ID_CONTACTS, "CCompanyDetailsDlg",
         [](QWidget* w) { As<CContactDlg>(w)->OnCommand(CContactDlg::kCmdAddCompany); }},
        {"ContactDetails", ID_CONTACTS, "CContactDetailsDlg",
         [](QWidget* w) {
             SelectNode(As<CContactDlg>(w)->Tree(), QStringLiteral("Acme Zürich"));
             As<CContactDlg>(w)->OnCommand(CContactDlg::kCmdAddPerson);
         }},
        {"BusinessTypes", ID_CONTACTS, "CBusTypeManage",
         [](QWidget* w) { As<CContactDlg>(w)->OnCommand(CContactDlg::kCmdManageTypes); }},
        {"ChangeRequestEdit", ID_CHANGE_REQUESTS, "CViewChgRqst",
         [](QWidget* w) {
             As<CChgRqstDlg>(w)->List()->SelectItem(0);
             As<CChgRqstDlg>(w)->OnCommand(CChgRqstDlg::kCmdView);
         }},
        {"ChangeRequestAdd", ID_CHANGE_REQUESTS, "CChgRstAddDlg",
         [](QWidget* w) { As<CChgRqstDlg>(w)->OnCommand(CChgRqstDlg::kCmdAdd); }},
        {"ProjectTasks", ID_PROJECT_INFO, "CProjectTasksDlg",
         [](QWidget* w) { As<CShowPrjDlg>(w)->OnCommand(CShowPrjDlg::kCmdViewTask); }},
        {"ReviewProjects", ID_REVIEW, "CPickListDlg",
         [](QWidget* w) { As<CReviewDlg>(w)->OnCommand(CReviewDlg::kIdChooseProject); }},
        {"SaveTimes", ID_TIMESHEETS, "CSaveTimesDlg", &DrawBlock},
    };
    return scenarios;
}

inline const CScenario* Find(const QString& name)
{
    for (const CScenario& s : All())
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

inline void RegisterWindows()
{
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    RegisterTimeSheetWindows();
    RegisterAutoTimerWindows();
    RegisterContactWindows();
    RegisterCommentWindows();
    RegisterChgRqstWindows();
    RegisterProjectInfoWindows();
    RegisterSearchWindows();
    RegisterReviewWindows();
    RegisterExchangeWindows();
}

// What the windows show: a company with a contact, a to-do and a change
// request of the user's on "General", written as the program writes them.
inline bool Seed(CDBClass& db)
{
    if (!db.OpenConnection())
        return false;
    const int me = db.GetEmpIdByName(CProfile::DefUserName());
    const int general = db.GetProjIdByName(QStringLiteral("General"));
    CCompanyValues company;
    company.CompanyName = QStringLiteral("Acme Zürich");
    CPersonValues person;
    person.FirstName = QStringLiteral("Jane");
    person.LastName = QStringLiteral("O'Hara");
    int companyId = -1;
    QString reason;
    bool ok = db.AddCompany(company, -1, person, companyId, reason) == ContactResult::Ok;
    CChgReqValues request;
    request.ProjID = general;
    request.EmpID = me;
    request.CompanyID = companyId;
    request.DateCreated = CDateTime::CurrentDateTime();
    QList<int> ids;
    ok = ok && db.AddChangeRequest(request, {QStringLiteral("Rampe")}, {me}, ids, reason) ==
                   ChgReqResult::Ok;
    ok = ok && CSqlExecutor::Run(
                   *db.Connection(),
                   QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, "
                                  "CompanyID, ProjectComment, CommentDate, "
                                  "Priority, CommentType, FullDetails) VALUES (?, "
                                  "?, ?, 'Check drawings', ?, 2, 'ToDo', '')"),
                   {general, me, companyId, QVariant::fromValue(CDateTime::CurrentDateTime())},
                   nullptr, nullptr);
    db.ReleaseConnection(false, false);
    return ok;
}

} // namespace HubScenarios
