#include "records/ShowPrjDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/ProjectSet.h"
#include "platform/ProfileStore.h"
#include "records/CommentWindows.h"
#include "records/ProjStatsDlg.h"
#include "records/ProjectTasksDlg.h"
#include "records/TabPrjCustomer.h"
#include "records/TabPrjLocation.h"
#include "records/TabPrjMembers.h"
#include "records/TabPrjOverview.h"
#include "ui/AppIcon.h"
#include "ui/MenuBuilder.h"
#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/PageTabCtrl.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kPlacementKey = QStringLiteral("ShowPrjDlg");

// Main-menu commands the window hands to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS, ID_CONTACTS,        ID_TASKS,    ID_PROPERTIES,
                              ID_ABOUT,      ID_REVIEW,          ID_EXPORT,   ID_ONLINE_HELP,
                              ID_AUTO_TIMER, ID_CHANGE_REQUESTS, ID_OVERVIEW, ID_SET_USER};

QString DefaultUserName()
{
    return HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
}

} // namespace

CShowPrjDlg::CShowPrjDlg(CDummyDlg* hub, CDBClass& db, int empId, int projId, QWidget* parent)
    : CTreeListDlg(IDD, parent)
    , m_hub(hub)
    , m_db(db)
    , m_projId(projId)
    , m_empId(empId)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Show Project Infomation"));
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    // The request that opened the window is taken.
    if (m_hub) {
        std::fill(std::begin(m_hub->m_pendingFlags), std::begin(m_hub->m_pendingFlags) + 4, false);
        m_hub->m_pendingProjId = -1;
        m_hub->m_pendingEmpId = -1;
    }
    TakeEmployeeAndProject();
    m_accelerators = CAcceleratorTable({{Qt::Key_A, Qt::AltModifier, false, kCmdFocusTasks},
                                        {Qt::Key_L, Qt::AltModifier, false, kCmdFocusTasks},
                                        {Qt::Key_T, Qt::ControlModifier, false, kCmdViewTask}});
    CKeyFilter::Install();
    BuildControls();
    BuildMenus();
    resize(640, 620);
}

void CShowPrjDlg::TakeEmployeeAndProject()
{
    if (m_empId < 0)
        m_empId = m_db.GetEmpIdByName(DefaultUserName());
    if (m_projId < 0 && m_empId >= 0) {
        QList<CProjectEntry> projects;
        if (m_db.LoadProjects(projects, m_empId) && !projects.isEmpty())
            m_projId = projects.first().ProjID;
    }
}

void CShowPrjDlg::ReadAgain()
{
    CWaitCursor wait;
    if (!m_connected)
        m_connected = m_db.OpenConnection();
    TakeEmployeeAndProject();
    if (!m_project && OpenProject(m_projId))
        m_projId = m_project->m_ProjID;
    FillChooser();
    RefreshProject();
    if (m_project)
        FillTaskList(m_projId);
    m_loadedProjId = m_project ? m_projId : -1;
}

CShowPrjDlg::~CShowPrjDlg()
{
    // The results windows read their rows: they go first.
    for (const QPointer<QObject>& view : std::as_const(m_searchViews))
        delete view.data();
    qDeleteAll(m_searchRows);
    if (m_connected)
        m_db.ReleaseConnection(false, true);
}

void CShowPrjDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_chooser = new QComboBox(this);
    SetControlId(m_chooser, kIdProject);
    m_chooser->setMinimumWidth(220);
    m_myActiveCheck = new QCheckBox(QStringLiteral("&My active Projects"), this);
    SetControlId(m_myActiveCheck, kIdMyActive);
    m_updateTotals = new CTipButton(nullptr, this);
    SetControlId(m_updateTotals, kIdUpdateTotals);
    m_updateTotals->setText(QStringLiteral("&Update Totals"));
    m_updateTotals->setAutoDefault(false);
    m_updateTotals->SetOwner(this, kTipOwnerProjectInfo, kIdUpdateTotals);
    auto* projectLabel = new QLabel(QStringLiteral("Pro&ject"), this);
    projectLabel->setBuddy(m_chooser);
    top->addWidget(projectLabel);
    top->addWidget(m_chooser, 1);
    top->addWidget(m_myActiveCheck);
    top->addWidget(m_updateTotals);
    layout->addLayout(top);

    auto* leaderRow = new QHBoxLayout;
    m_leader = new CPlainLabel(this);
    SetControlId(m_leader, kIdLeader);
    m_leader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_nameLabel = new CPlainLabel(this);
    SetControlId(m_nameLabel, kIdProjectName);
    m_nameLabel->hide();
    leaderRow->addWidget(new QLabel(QStringLiteral("Leader"), this));
    leaderRow->addWidget(m_leader, 1);
    leaderRow->addWidget(m_nameLabel);
    layout->addLayout(leaderRow);

    m_abstract = new CRichTextCtrl(this);
    SetControlId(m_abstract, kIdAbstract);
    m_abstract->setReadOnly(true);
    m_abstract->setFixedHeight(84);
    layout->addWidget(m_abstract);

    m_tabs = new CPageTabCtrl(this);
    m_tabs->setObjectName(ControlName(kIdTabs));
    m_tabs->setFixedHeight(190);
    layout->addWidget(m_tabs);

    // The window uses the base's list only.
    Tree()->hide();
    SplitterBar()->hide();
    auto* taskLabel = new QLabel(QStringLiteral("&Active tasks :"), this);
    SetControlId(taskLabel, kIdTaskLabel);
    taskLabel->setBuddy(List());
    layout->addWidget(taskLabel);
    layout->addWidget(List(), 1);

    connect(m_chooser, &QComboBox::activated, this, [this] { OnCommand(kIdProject); });
    connect(m_myActiveCheck, &QCheckBox::clicked, this, [this] { OnCommand(kIdMyActive); });
}

void CShowPrjDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("C&ontacts"), ID_CONTACTS, {}},
          {QStringLiteral("Co&mments"), ID_TASKS, {}},
          {QStringLiteral("C&hange Requests"), ID_CHANGE_REQUESTS, {}},
          {QStringLiteral("A&uto Timer"), ID_AUTO_TIMER, {}},
          {QStringLiteral("O&verview"), ID_OVERVIEW, {}},
          {},
          {QStringLiteral("E&xport ..."), ID_EXPORT, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
    };
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); });
}

void CShowPrjDlg::AddPages()
{
    m_location = new CTabPrjLocation(this);
    m_progress = new CProjStatsDlg(this);
    m_customer = new CTabPrjCustomer(this);
    m_members = new CTabPrjMembers(this);
    m_overview = new CTabPrjOverview(this);
    m_tabs->AddPage(QStringLiteral("Project &Location"), CTabPrjLocation::IDD, m_location);
    m_tabs->AddPage(QStringLiteral("&Progress"), CProjStatsDlg::IDD, m_progress);
    m_tabs->AddPage(QStringLiteral("&Customer"), CTabPrjCustomer::IDD, m_customer);
    m_tabs->AddPage(QStringLiteral("Proj &Members"), CTabPrjMembers::IDD, m_members);
    m_tabs->AddPage(QStringLiteral("&Documentation"), CTabPrjOverview::IDD, m_overview);
    m_pages = {m_location, m_progress, m_customer, m_members, m_overview};
}

// ---- Commands and keys -----------------------------------------------------------------------

bool CShowPrjDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case kIdProject:
        OnSelchangeProject();
        return true;
    case kIdMyActive:
        OnMyActiveProjects();
        return true;
    case kCmdFocusTasks:
        FocusTaskList();
        return true;
    case kCmdViewTask: {
        int row = List()->GetFirstSelected();
        if (row < 0) {
            FocusTaskList();
            row = List()->GetFirstSelected();
        }
        if (row >= 0)
            ViewTask(row);
        return true;
    }
    case ID_CLOSE_WINDOW:
    case kCmdClose:
        close();
        return true;
    default:
        return CTreeListDlg::OnCommand(id);
    }
}

void CShowPrjDlg::FocusTaskList()
{
    List()->setFocus();
    List()->clearSelection();
    List()->SelectItem(0);
}

bool CShowPrjDlg::TakesKey(const QKeyEvent& event) const
{
    // Asked with the shortcut override: the tabs' Alt+L gives way.
    return m_accelerators.Translate(event) != 0;
}

bool CShowPrjDlg::PreTranslateKey(QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int command = m_accelerators.Translate(event);
    if (command == 0)
        return false;
    OnCommand(command);
    return true;
}

void CShowPrjDlg::OnListRowActivated(int row, CMyListCtrl* list)
{
    // The members list reports here too; only tasks open.
    if (list == List() && row >= 0)
        ViewTask(row);
}

int CShowPrjDlg::GetColumnDataKind(int column)
{
    const int key = m_columnKeys.value(column, -1);
    return key == kColTask || key == kColDetails || key < 0 ? kColumnText : kColumnInteger;
}

// ---- Closing ------------------------------------------------------------------------------------

void CShowPrjDlg::CloseWindow(int)
{
    close();
}

void CShowPrjDlg::OnCancel()
{
    close();
}

void CShowPrjDlg::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // A running tasks dialog ends with its work done.
    if (m_tasksDlg)
        m_tasksDlg->EndDialog(IDCANCEL);
    if (m_hub)
        m_hub->m_pendingProjId = -1;
    m_project.reset();
    SaveWindowPlacement(this, kPlacementKey);
    if (m_connected)
        m_db.ReleaseConnection(false, true);
    m_connected = false;
    event->accept();
}
