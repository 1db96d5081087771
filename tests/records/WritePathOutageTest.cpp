// The record windows' writes while the database fails under them: the test
// program's own server stopped or frozen, the database file on a full disk
// or held by another program's long write. Each try is told once, saying
// what was not done; nothing is stored; the same write works once the
// database answers.
#include "app/DummyDlg.h"
#include "records/BusTypeManage.h"
#include "records/ChgRstAddDlg.h"
#include "records/ChgRstItemsPage.h"
#include "records/ChgRstRefPage.h"
#include "records/ChgRstTeamDlg.h"
#include "records/CmtAddDlg.h"
#include "records/CmtViewDlg.h"
#include "records/CompanyDetailsDlg.h"
#include "records/CompanyEditDlg.h"
#include "records/ContactDetailsDlg.h"
#include "records/ContactDlg.h"
#include "records/ProjectTasksDlg.h"
#include "records/TabCRViewTeam.h"
#include "records/ViewChgRqst.h"
#include "tests/records/ChgRqstWindowFixture.h"
#include "tests/records/CommentFixture.h"
#include "tests/records/OutageFixture.h"
#include "tests/records/ProjectInfoFixture.h"
#include "tests/support/ContactsFixture.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/RichTextCtrl.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

class CommentOutageTest : public OutageTest<CommentTest> {};
class ChgRqstOutageTest : public OutageTest<ChgRqstWindowTest> {};

class ProjectInfoOutageTest : public OutageTest<ProjectInfoTest> {};

// The contacts window over Rata Ltd (Ann Lee, Bob Hill) and Tui Ltd.
class ContactOutageTest : public OutageTest<ContactsTest> {
protected:
    void SetUp() override
    {
        OutageTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const int rata = AddCompany(QStringLiteral("Rata Ltd"), {QStringLiteral("Customer")});
        AddPerson(rata, QStringLiteral("Ann"), QStringLiteral("Lee"));
        AddPerson(rata, QStringLiteral("Bob"), QStringLiteral("Hill"));
        AddCompany(QStringLiteral("Tui Ltd"));
        m_hub = std::make_unique<CDummyDlg>(&m_db);
        m_window = std::make_unique<CContactDlg>(m_hub.get(), m_db);
        ASSERT_TRUE(m_window->Create());
    }
    void TearDown() override
    {
        m_window.reset();
        m_hub.reset();
        OutageTest::TearDown();
    }
    void Choose(const QString& company)
    {
        QTreeWidgetItem* item = m_window->Tree()->FindItemByText(company);
        ASSERT_NE(item, nullptr) << company.toStdString();
        m_window->Tree()->setCurrentItem(item);
    }
    // Where the write is taken: the company chosen (and its first person).
    std::function<void(const std::function<void()>&)> At(const QString& company)
    {
        return [this, company](const std::function<void()>& inside) {
            Choose(company);
            m_window->List()->SelectItem(0);
            inside();
        };
    }
    // The person dialog's step: names typed, then Update.
    std::function<void()> Person(int command, const QString& first)
    {
        return [this, command, first] {
            CScriptedModals modals;
            modals.Then([first](CDialogBase& dialog) {
                dialog.Control<QLineEdit>(CContactDetailsDlg::kIdFirst)->setText(first);
                dialog.Control<QLineEdit>(CContactDetailsDlg::kIdLast)
                    ->setText(QStringLiteral("Tane"));
                dialog.OnCommand(CContactDetailsDlg::kIdUpdate);
                return dialog.EndCode();
            });
            m_window->OnCommand(command);
        };
    }
    std::function<void()> Command(int command)
    {
        return [this, command] { m_window->OnCommand(command); };
    }

    std::unique_ptr<CDummyDlg> m_hub;
    std::unique_ptr<CContactDlg> m_window;
};

} // namespace

TEST_P(CommentOutageTest, AddEditDoneAndDeleteAreToldOnceAndStoreNothing)
{
    Open();
    ShowEverything();
    CModalWrite<CCmtAddDlg> add;
    CModalWrite<CCmtViewDlg> edit;
    const auto select = [this](int commentId) { SelectRow(RowOf(commentId)); };
    const QList<CWriteCase> cases = {
        {"add",
         add.Within(
             [this] {
                 SelectNode(QStringLiteral("Bridge"));
                 m_window->OnCommand(CCommentDlg::kCmdAdd);
             },
             [](CCmtAddDlg& d) {
                 d.Control<CRichTextCtrl>(CCmtAddDlg::kIdComment)
                     ->setPlainText(QStringLiteral("Ring the site"));
             }),
         add.Press(IDOK), QStringLiteral("The comment was not added."),
         QStringLiteral("SELECT CommentID, ProjectComment FROM tblProjectComment ORDER BY 1")},
        {"edit",
         edit.Within(
             [this, select] {
                 ShowEverything();
                 select(1);
                 m_window->OnCommand(CCommentDlg::kCmdView);
             },
             [](CCmtViewDlg& d) {
                 d.Control<CRichTextCtrl>(CCmtViewDlg::kIdComment)
                     ->setPlainText(QStringLiteral("Checked"));
             }),
         edit.Press(IDOK), QStringLiteral("Comment # 1 was not updated."),
         QStringLiteral("SELECT ProjectComment FROM tblProjectComment WHERE CommentID = 1"),
         CWriteCase::Fault::Hangs},
        {"done in the dialog",
         edit.Within(
             [this, select] {
                 ShowEverything();
                 select(5);
                 m_window->OnCommand(CCommentDlg::kCmdView);
             },
             [](CCmtViewDlg&) {}),
         edit.Press(CCmtViewDlg::kIdDone), QStringLiteral("Comment # 5 was not marked done."),
         QStringLiteral("SELECT ActionDate FROM tblProjectComment WHERE CommentID = 5")},
        {"done", Directly,
         [this, select] {
             select(1);
             m_window->OnCommand(CCommentDlg::kCmdDone);
         },
         QStringLiteral("Comment # 1 was not marked done."),
         QStringLiteral("SELECT CommentType FROM tblProjectComment WHERE CommentID = 1")},
        {"delete",
         Directly,
         [this, select] {
             select(2);
             m_window->OnCommand(CCommentDlg::kCmdDelete);
         },
         QStringLiteral("Comment # 2 was not deleted."),
         QStringLiteral("SELECT CommentID FROM tblProjectComment ORDER BY 1"),
         CWriteCase::Fault::Fails,
         {kIdYes}},
    };
    for (const CWriteCase& c : cases)
        Check(c);
}

KELVANE_INSTANTIATE_BACKENDS(CommentOutageTest);

TEST_P(ChgRqstOutageTest, AddEditTeamAndDeleteAreToldOnceAndStoreNothing)
{
    Open();
    ShowEverything();
    CModalWrite<CChgRstAddDlg> add;
    CModalWrite<CViewChgRqst> view;
    // Every project's requests, one of them chosen.
    const auto select = [this](int n) {
        SelectNode(QStringLiteral("Projects"));
        SelectRow(RowOf(Id(n)));
    };
    const auto viewing = [this, &view, select](int n) {
        return view.Within(
            [this, n, select] {
                select(n);
                m_window->OnCommand(CChgRqstDlg::kCmdView);
            },
            [](CViewChgRqst& d) {
                d.Control<QLineEdit>(CViewChgRqst::kIdReference)->setText(QStringLiteral("R-7"));
            });
    };
    const auto chooseAnn = [](CViewChgRqst& d) {
        CScriptedModals modals;
        modals.Then([](CDialogBase& dialog) {
            auto* team = dialog.Control<QListWidget>(CChgRstTeamDlg::kIdTeam);
            for (int row = 0; row < team->count(); ++row)
                team->item(row)->setSelected(team->item(row)->text() == QLatin1String("Ann Lee"));
            dialog.OnCommand(IDOK);
            return dialog.EndCode() != 0 ? dialog.EndCode() : int(IDCANCEL);
        });
        d.TeamPage()->ChangeTeam();
    };
    const QList<CWriteCase> cases = {
        {"add",
         add.Within(
             [this] {
                 SelectNode(QStringLiteral("Bridge"));
                 m_window->OnCommand(CChgRqstDlg::kCmdAdd);
             },
             [](CChgRstAddDlg& d) {
                 d.RefPage()->SetReference(QStringLiteral("R-5"));
                 d.ItemsPage()->TextField()->setPlainText(QStringLiteral("Pour the deck"));
                 d.ItemsPage()->OnTipButtonClick(CChgRstItemsPage::kIdAdd);
             }),
         add.Press(IDOK),
         QStringLiteral("Unable to add the change request - nothing has been written."),
         QStringLiteral("SELECT ChgReqID, Item FROM tblChgReq ORDER BY 1")},
        {"edit", viewing(3), view.Press(CViewChgRqst::kIdUpdate),
         QStringLiteral("Change request # %1 was not updated.").arg(Id(3)),
         QStringLiteral("SELECT Reference FROM tblChgReq WHERE ChgReqID = %1").arg(Id(3)),
         CWriteCase::Fault::Hangs},
        {"team", viewing(1), view.Do(chooseAnn),
         QStringLiteral("The team of change request # %1 was not changed.").arg(Id(1)),
         QStringLiteral("SELECT EmpID FROM tblChgReqTeam WHERE ChgReqID = %1 ORDER BY 1")
             .arg(Id(1))},
        {"delete",
         Directly,
         [this, select] {
             select(5);
             m_window->OnCommand(CChgRqstDlg::kCmdDelete);
         },
         QStringLiteral("Unable to delete change request %1 - nothing has been deleted.")
             .arg(Id(5)),
         QStringLiteral("SELECT ChgReqID FROM tblChgReq ORDER BY 1"),
         CWriteCase::Fault::Fails,
         {kIdYes}},
    };
    for (const CWriteCase& c : cases)
        Check(c);
}

KELVANE_INSTANTIATE_BACKENDS(ChgRqstOutageTest);

TEST_P(ContactOutageTest, CompaniesPersonsAndBusinessTypesAreToldOnceAndStoreNothing)
{
    CModalWrite<CCompanyDetailsDlg> addCompany;
    CModalWrite<CCompanyEditDlg> editCompany;
    CModalWrite<CBusTypeManage> types;
    const auto typeNamed = [this, &types](const QString& name) {
        return types.Within([this] { m_window->OnCommand(CContactDlg::kCmdManageTypes); },
                            [name](CBusTypeManage& d) {
                                d.Control<QLineEdit>(CBusTypeManage::kIdName)->setText(name);
                            });
    };
    const QString companies = QStringLiteral("SELECT CompanyID, CompanyName FROM tblAddrCompany "
                                             "ORDER BY 1");
    const QString persons =
        QStringLiteral("SELECT PersonID, FirstName, LastName FROM tblAddrPerson ORDER BY 1");
    const QString typeNames =
        QStringLiteral("SELECT BusinessTypeID, BusinessType FROM tlkpAddrBusinessType ORDER BY 1");
    const QList<CWriteCase> cases = {
        {"add company",
         addCompany.Within([this] { m_window->OnCommand(CContactDlg::kCmdAddCompany); },
                           [](CCompanyDetailsDlg& d) {
                               d.Control<QLineEdit>(CCompanyDetailsDlg::kIdName)
                                   ->setText(QStringLiteral("Kauri Ltd"));
                               auto* type =
                                   d.Control<QComboBox>(CCompanyDetailsDlg::kIdBusinessType);
                               type->setCurrentIndex(type->findText(QStringLiteral("Customer")));
                           }),
         addCompany.Press(IDOK), QStringLiteral("The company was not added."), companies},
        {"edit company",
         editCompany.Within(
             [this] {
                 Choose(QStringLiteral("Tui Ltd"));
                 m_window->OnCommand(CContactDlg::kCmdEditCompany);
             },
             [](CCompanyEditDlg& d) {
                 d.Control<QLineEdit>(CCompanyEditDlg::kIdName)->setText(QStringLiteral("Tui Co"));
             }),
         editCompany.Press(IDOK), QStringLiteral("The company was not updated."), companies,
         CWriteCase::Fault::Hangs},
        {"delete company",
         At(QStringLiteral("Kauri Ltd")),
         Command(CContactDlg::kCmdDeleteCompany),
         QStringLiteral("Kauri Ltd could not be deleted."),
         companies,
         CWriteCase::Fault::Fails,
         {kIdYes}},
        {"add person", At(QStringLiteral("Rata Ltd")),
         Person(CContactDlg::kCmdAddPerson, QStringLiteral("Mere")),
         QStringLiteral("The contact person was not added."), persons},
        {"edit person", At(QStringLiteral("Rata Ltd")),
         Person(CContactDlg::kCmdEditPerson, QStringLiteral("Hemi")),
         QStringLiteral("The contact person was not updated."), persons},
        {"delete person",
         At(QStringLiteral("Rata Ltd")),
         Command(CContactDlg::kCmdDeletePerson),
         QStringLiteral("was not deleted."),
         persons,
         CWriteCase::Fault::Fails,
         {kIdYes}},
        {"add type", typeNamed(QStringLiteral("Freight")), types.Press(CBusTypeManage::kIdAdd),
         QStringLiteral("The business type was not added."), typeNames},
        {"rename type", typeNamed(QStringLiteral("Carrier")),
         types.Press(CBusTypeManage::kIdUpdate),
         QStringLiteral("The business type was not renamed."), typeNames},
        {"delete type", typeNamed(QStringLiteral("Carrier")),
         types.Press(CBusTypeManage::kIdDelete),
         QStringLiteral("The business type was not deleted."), typeNames},
    };
    for (const CWriteCase& c : cases)
        Check(c);
}

KELVANE_INSTANTIATE_BACKENDS(ContactOutageTest);

TEST_P(ProjectInfoOutageTest, TasksAndTotalsAreToldOnceAndStoreNothing)
{
    Exec(QStringLiteral("INSERT INTO tblProjectTask (TaskID, Task, ProjID, State, EstHours) VALUES "
                        "(9, 'Spare', 1, 2, 1)"));
    Open(kAnn, kBridge);
    CModalWrite<CProjectTasksDlg> tasks;
    // The tasks dialog of Bridge from the window's task list, on a task.
    const auto onTask = [this, &tasks](const QString& task, const QString& text,
                                       const QString& hours) {
        return tasks.Within([this] { m_window->ViewTask(0); },
                            [task, text, hours](CProjectTasksDlg& d) {
                                auto* combo = d.Control<QComboBox>(CProjectTasksDlg::kIdTask);
                                combo->setCurrentIndex(combo->findText(task));
                                d.OnCommand(CProjectTasksDlg::kIdTask);
                                combo->setEditText(text);
                                d.Control<QLineEdit>(CProjectTasksDlg::kIdEstHours)->setText(hours);
                            });
    };
    const QString taskRows =
        QStringLiteral("SELECT TaskID, Task, EstHours FROM tblProjectTask ORDER BY 1");
    const QList<CWriteCase> cases = {
        {"add task", onTask(QStringLiteral("Design"), QStringLiteral("Paint"), QStringLiteral("4")),
         tasks.Do([](CProjectTasksDlg& d) { d.OnAddTask(); }),
         QStringLiteral("The task was not added."), taskRows},
        {"update task",
         onTask(QStringLiteral("Build"), QStringLiteral("Build"), QStringLiteral("6")),
         tasks.Do([](CProjectTasksDlg& d) { d.OnUpdateTask(); }),
         QStringLiteral("Task Build was not updated."), taskRows, CWriteCase::Fault::Hangs},
        {"delete task",
         onTask(QStringLiteral("Spare"), QStringLiteral("Spare"), QStringLiteral("1")),
         tasks.Do([](CProjectTasksDlg& d) { d.OnDeleteTask(); }),
         QStringLiteral("Task Spare was not deleted."),
         taskRows,
         CWriteCase::Fault::Fails,
         {kIdOk}},
        {"update totals", Directly, [this] { m_window->OnUpdateTotals(); },
         QStringLiteral("The totals were not updated."),
         QStringLiteral("SELECT ProjID, ProjHours FROM tblProject ORDER BY 1")},
    };
    for (const CWriteCase& c : cases)
        Check(c);
}

KELVANE_INSTANTIATE_BACKENDS(ProjectInfoOutageTest);
