#include "records/ChgRstAddDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/ChgRqstSet.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/ChgRqstMail.h"
#include "records/ChgRstItemsPage.h"
#include "records/ChgRstRefPage.h"
#include "records/ChgRstUsersPage.h"
#include "records/CommentRecord.h"
#include "records/DialogFields.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/PageTabCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/TextFit.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("ChgRAddDlg");
// The team's names as the request keeps them, whole names only.
constexpr int kTeamListLength = 254;

QString JoinTeam(const QStringList& names)
{
    QString text;
    for (const QString& name : names) {
        const QString next = text.isEmpty() ? name : text + QLatin1Char(',') + name;
        if (next.size() > kTeamListLength)
            break;
        text = next;
    }
    return text;
}

} // namespace

CChgRstAddDlg::CChgRstAddDlg(bool byCompany, const QString& name, int id, CDBClass& db,
                             QWidget* parent)
    : CDialogBase(243, parent)
    , m_db(db)
{
    if (byCompany) {
        m_companyId = id;
    } else {
        m_projectName = name;
        m_projId = id;
    }
    setWindowTitle(QStringLiteral("Add Change Request"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_CHANGE_REQUESTS, QString(), image));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_project = new QComboBox(this);
    SetControlId(m_project, kIdProject);
    m_priority = new QComboBox(this);
    SetControlId(m_priority, kIdPriority);
    m_priority->addItems({QStringLiteral("high"), QStringLiteral("medium"), QStringLiteral("low")});
    m_date = new QDateEdit(this);
    SetControlId(m_date, kIdDate);
    m_date->setCalendarPopup(true);
    auto* projectText = new QLabel(QStringLiteral("Project"), this);
    SetControlId(projectText, kIdProjectText);
    projectText->hide();
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Project:"), m_project), 0, 0);
    grid->addWidget(m_project, 0, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Pri&ority:"), m_priority), 1, 0);
    grid->addWidget(m_priority, 1, 1);
    grid->addWidget(label(QStringLiteral("&Date:"), m_date), 1, 2);
    grid->addWidget(m_date, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    m_tabs = new CPageTabCtrl(this);
    SetControlId(m_tabs, kIdTabs);
    m_refPage = new CChgRstRefPage(m_db, m_tabs);
    m_usersPage = new CChgRstUsersPage(m_db, m_tabs);
    m_itemsPage = new CChgRstItemsPage(m_tabs);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(OkCancelRow(*this, QStringLiteral("OK")));
    connect(m_project, &QComboBox::activated, this, [this] { OnCommand(kIdProject); });
    resize(460, 420);
}

bool CChgRstAddDlg::OnInitDialog()
{
    m_userName = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    m_empId = m_db.FindEmpIdByName(m_userName);
    if (m_empId < 0)
        m_empId = m_db.GetEmpIdByName(m_userName);

    m_tabs->AddPage(QStringLiteral("&Reference"), 0, m_refPage);
    m_tabs->AddPage(QStringLiteral("&Users"), 1, m_usersPage);
    m_tabs->AddPage(QStringLiteral("&Items"), 2, m_itemsPage);
    m_date->setDate(CClock::Today());
    m_priority->setCurrentIndex(1);

    CComboItems projects(m_project);
    m_db.FillProjectCombo(projects, m_empId, m_projectName, false);
    // The window's project may be one the user is not on: it is offered all the same.
    if (m_project->currentIndex() < 0 && m_projId >= 0 && !m_projectName.isEmpty()) {
        m_project->addItem(m_projectName, m_projId);
        m_project->setCurrentIndex(m_project->count() - 1);
    }
    m_projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    RestoreWindowPlacement(this, kPlacementKey);
    InitPages();
    return true;
}

void CChgRstAddDlg::InitPages()
{
    m_refPage->Fill(m_projId, m_companyId);
    // The items listed stay.
    m_usersPage->Fill(m_userName);
}

bool CChgRstAddDlg::OnCommand(int id)
{
    if (id == kIdProject) {
        OnSelChangeProject();
        return true;
    }
    return CDialogBase::OnCommand(id);
}

void CChgRstAddDlg::OnSelChangeProject()
{
    CWaitCursor wait;
    m_projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    m_companyId = -1;
    InitPages();
}

bool CChgRstAddDlg::CheckInput()
{
    if (m_projId < 0) {
        ShowMessageBox(QStringLiteral("You need to select a project"), kMbOk | kMbIconWarning);
        return false;
    }
    const QString reference = m_refPage->Reference();
    if (reference.trimmed().isEmpty()) {
        ShowMessageBox(QStringLiteral("You need to set a reference value"), kMbOk | kMbIconWarning);
        return false;
    }
    if (m_itemsPage->Items().isEmpty()) {
        ShowMessageBox(QStringLiteral("You have no items in your change request"),
                       kMbOk | kMbIconWarning);
        return false;
    }
    // What a column cannot hold is cut where the user sees it, and the user is told.
    QString cutReference = reference;
    QString contact = m_refPage->Contact();
    return FitToColumns(
        {{QStringLiteral("The reference"), &cutReference, CChgRqstSet::Width("Reference"),
          [this](const QString& t) { m_refPage->SetReference(t); }},
         {QStringLiteral("The contact"), &contact, CChgRqstSet::Width("Contact"),
          [this](const QString& t) { m_refPage->SetContact(t); }}});
}

void CChgRstAddDlg::OnOK()
{
    if (!CheckInput())
        return;
    SaveWindowPlacement(this, kPlacementKey);
    QStringList teamNames;
    QList<int> team;
    m_usersPage->Team(teamNames, team);
    CChgReqValues values;
    values.ProjID = m_projId;
    values.EmpID = m_usersPage->AuthorityId() >= 0 ? m_usersPage->AuthorityId() : m_empId;
    values.CompanyID = m_refPage->CompanyId();
    values.Contact = m_refPage->Contact();
    values.Reference = m_refPage->Reference();
    // The day chosen, at the time of the writing.
    const QTime now = CClock::Now().time();
    values.DateCreated = CDateTime(m_date->date(), QTime(now.hour(), now.minute(), now.second()));
    values.Priority = m_priority->currentIndex() + 1;
    values.TeamList = JoinTeam(teamNames);
    const QString notAdded =
        QStringLiteral("Unable to add the change request - nothing has been written.");
    QString reason;
    {
        CWaitCursor wait;
        const CActionFailureText failure(notAdded);
        if (m_db.AddChangeRequest(values, m_itemsPage->Items(), team, m_writtenIds, reason) !=
            ChgReqResult::Ok) {
            m_writtenIds.clear();
            ShowMessageBox(FailureMessage(notAdded, kE_CommandError, reason), kMbOk | kMbIconError);
            return;
        }
    }
    AskNotifications(CurrentOptions().Int("ChgRqstNot"), m_usersPage->AuthorityName(),
                     m_writtenIds.isEmpty() ? -1 : m_writtenIds.last(), values.Reference,
                     values.DateCreated);
    EndDialog(IDOK);
}

QStringList CChgRstAddDlg::Addresses(const QList<int>& empIds)
{
    QStringList addresses;
    for (int empId : empIds) {
        CEmployeeEntry employee;
        if (m_db.GetEmployeeById(empId, employee))
            addresses << StripAfterHash(employee.Email).trimmed();
    }
    return addresses;
}

void CChgRstAddDlg::AskNotifications(int option, const QString& authority, int chgReqId,
                                     const QString& reference, const CDateTime& stamp)
{
    if (option < 1 || option > 3)
        return;
    QStringList names;
    QList<int> team;
    m_usersPage->Team(names, team);
    const QString dated = FormatDateTime(stamp, RegionalFormats().dateFormat);
    const auto notify = [&](const QList<int>& empIds) {
        SendChgRqstMail(Addresses(empIds), authority, chgReqId, reference, dated);
    };
    const QList<int> leader{m_usersPage->AuthorityId()};
    if (option == 1) {
        if (ShowMessageBox(
                QStringLiteral("Do you want notification messages sent to the Team Members?"),
                kMbYesNo | kMbIconQuestion) == kIdYes)
            notify(team);
        if (ShowMessageBox(
                QStringLiteral("Do you want notification messages sent to the Team Leader?"),
                kMbYesNo | kMbIconQuestion) == kIdYes)
            notify(leader);
        return;
    }
    notify(team);
    if (option == 3)
        notify(leader);
}

void CChgRstAddDlg::OnCancel()
{
    SaveWindowPlacement(this, kPlacementKey);
    EndDialog(IDCANCEL);
}
