#include "records/ChgRqstDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "records/ChgRqstColumns.h"
#include "records/CommentWindows.h"
#include "records/ViewChgRqst.h"
#include "ui/ComboItems.h"
#include "ui/ElidedLabel.h"
#include "ui/GradientMenu.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace {

const QString kRoot = QStringLiteral("Projects");

} // namespace

CChgRqstDlg::CChgRqstDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CRecordListDlg(IDD_CHANGE_REQUESTS, hub, db, QStringLiteral("CRDlg"), parent)
{
    setWindowTitle(QStringLiteral("Change Requests"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_CHANGE_REQUESTS, QString(), image));
    m_nodeText = kRoot;
    m_nodeScroll = QAbstractItemView::PositionAtTop;
    BuildControls();
    BuildMenus();
}

CChgRqstDlg::~CChgRqstDlg() = default;

void CChgRqstDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* box = new QGroupBox(QStringLiteral("Filter by "), this);
    SetControlId(box, kIdFilterBox);
    auto* row = new QHBoxLayout(box);
    m_authority = MakeCombo(box, kIdAuthority);
    m_teamMember = MakeCombo(box, kIdTeamMember);
    m_priority = MakeCombo(box, kIdPriority);
    m_openOnly = new QCheckBox(QStringLiteral("&Only view non-completed"), box);
    SetControlId(m_openOnly, kIdOpenOnly);
    row->addWidget(MakeLabel(QStringLiteral("&Authority:"), m_authority, box));
    row->addWidget(m_authority);
    row->addSpacing(8);
    row->addWidget(MakeLabel(QStringLiteral("&Team Member:"), m_teamMember, box));
    row->addWidget(m_teamMember);
    row->addSpacing(8);
    row->addWidget(MakeLabel(QStringLiteral("Priority"), m_priority, box));
    row->addWidget(m_priority);
    row->addSpacing(8);
    row->addWidget(m_openOnly);
    row->addStretch(1);
    layout->addWidget(box);

    layout->addWidget(MakeArea(), 1);

    // A long condition is cut, never widening the window.
    m_information = new CElidedLabel(this, Qt::ElideRight);
    m_information->SetFullText(QStringLiteral("Information"));
    SetControlId(m_information, kIdInformation);
    layout->addWidget(m_information);

    connect(m_authority, &QComboBox::activated, this, [this] { OnCommand(kIdAuthority); });
    connect(m_teamMember, &QComboBox::activated, this, [this] { OnCommand(kIdTeamMember); });
    connect(m_priority, &QComboBox::activated, this, [this] { OnCommand(kIdPriority); });
    connect(m_openOnly, &QCheckBox::clicked, this, [this] { OnCommand(kIdOpenOnly); });
    connect(Tree(), &QTreeWidget::currentItemChanged, this, [this] { OnTreeSelChanged(); });
    connect(PopupMenu(), &QMenu::aboutToHide, this, [this] { activateWindow(); });
}

void CChgRqstDlg::BuildMenus()
{
    BuildMainMenu({{QStringLiteral("A&ctions"),
                    0,
                    {{QStringLiteral("Export Microsoft &Word"), kCmdWord, {}},
                     {QStringLiteral("&Refresh List"), kCmdRefresh, {}},
                     {QStringLiteral("Remove Filter"), kCmdRemoveFilter, {}}}},
                   {QStringLiteral("&View"),
                    0,
                    {{QStringLiteral("Save &List Layout"), kCmdSaveLayout, {}},
                     {QStringLiteral("Set List to &Default Layout"), kCmdDefaultLayout, {}}}}},
                  kCmdSearch);
}

// ---- Opening ------------------------------------------------------------------------------

bool CChgRqstDlg::RequestPending() const
{
    return m_hub && m_hub->m_pendingFlags[kRequestChangeRequests] && m_hub->m_pendingProjId >= 0;
}

bool CChgRqstDlg::OnInitDialog()
{
    CWaitCursor wait;
    m_initialising = true;
    m_connected = m_db.OpenConnection();
    m_defProject = CProfile::DefProjStr();
    m_nodeText = kRoot;
    m_userName = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    FillPeopleCombos();
    const QStringList priorities = {QStringLiteral("None"), QStringLiteral("High"),
                                    QStringLiteral("Medium"), QStringLiteral("Low")};
    for (int p = 0; p < priorities.size(); ++p)
        m_priority->addItem(priorities.at(p), p);
    m_priority->setCurrentIndex(0);
    m_openOnly->setChecked(true);

    Tree()->CreateTree(IDC_TREE, QRect(), this);
    BuildList();
    FillTree();
    if (QTreeWidgetItem* item = Tree()->currentItem())
        TakeNode(item);
    SaveRestorePlacement(true);
    LayoutArea();
    m_initialising = false;
    RefreshList();
    return true;
}

void CChgRqstDlg::FillPeopleCombos()
{
    const bool read = m_db.LoadEmployees();
    CComboItems authorities(m_authority);
    m_db.FillEmployeeCombo(authorities, m_userName, -1, QStringLiteral("Any"));
    m_authority->setCurrentIndex(0);
    CComboItems members(m_teamMember);
    if (m_db.FillEmployeeCombo(members, m_userName, -1, QStringLiteral("Any")) < 0)
        m_teamMember->setCurrentIndex(0);
    m_peopleRead = read;
}

void CChgRqstDlg::ReadFilters()
{
    if (m_peopleRead)
        return;
    const QString authority = m_authority->currentText();
    const QString member = m_teamMember->currentText();
    FillPeopleCombos();
    if (const int index = m_authority->findText(authority); index >= 0)
        m_authority->setCurrentIndex(index);
    if (const int index = m_teamMember->findText(member); index >= 0)
        m_teamMember->setCurrentIndex(index);
}

// ---- The tree -------------------------------------------------------------------------------

void CChgRqstDlg::FillTree()
{
    CWaitCursor wait;
    const bool wasRebuilding = m_rebuildingTree;
    m_rebuildingTree = true;
    CMyTreeCtrl* tree = Tree();
    tree->clear();
    QTreeWidgetItem* root = tree->InsertItem(kRoot, nullptr, 0, -1);
    const bool request = RequestPending();
    int empId = -2;
    if (!request && m_authority->currentIndex() >= 0)
        empId = m_authority->currentData().toInt();
    if (CurrentOptions().Bool("ShowMine"))
        empId = m_db.GetEmpIdByName(m_userName);
    // A project asked for by another window is listed whoever's it is.
    if (request)
        empId = -2;
    QTreeWidgetItem* selected = InsertProjects(root, empId, request);
    root->setExpanded(true);
    tree->setCurrentItem(selected ? selected : root);
    m_rebuildingTree = wasRebuilding;
}

void CChgRqstDlg::OnTreeSelChanged()
{
    if (m_initialising)
        return;
    QTreeWidgetItem* item = Tree()->currentItem();
    if (!item)
        return;
    TakeNode(item);
    if (m_rebuildingTree)
        return;
    RefreshList();
    m_information->SetFullText(QString());
    Tree()->setFocus();
}

void CChgRqstDlg::OnTreeItemActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    TakeNode(item);
    if (!m_nodeText.isEmpty())
        OnAdd();
}

// ---- The filter controls --------------------------------------------------------------------

int CChgRqstDlg::TeamMemberId() const
{
    return m_teamMember->currentIndex() >= 0 ? m_teamMember->currentData().toInt() : -2;
}

void CChgRqstDlg::OnFilterChanged()
{
    List()->Clear();
    m_rows.Clear();
    LayoutArea();
    RefreshList();
}

void CChgRqstDlg::OnOpenOnly()
{
    m_openOnly->setEnabled(false);
    RefreshList();
    m_openOnly->setEnabled(true);
}

// ---- The hub ---------------------------------------------------------------------------------

void CChgRqstDlg::SyncToMainProject()
{
    if (!m_hub)
        return;
    const QString name =
        m_hub->m_pendingProjId >= 0 ? m_db.GetProjNameById(m_hub->m_pendingProjId) : QString();
    if (name.isEmpty())
        return;
    if (!Tree()->FindItemByText(name))
        FillTree();
    SelectNodeByText(name);
    Tree()->setFocus();
}

void CChgRqstDlg::Refresh()
{
    SyncToMainProject();
    RefreshList();
}

// ---- Commands ----------------------------------------------------------------------------------

bool CChgRqstDlg::OnCommand(int id)
{
    switch (id) {
    case kCmdWord: {
        int count = 0;
        if (DoChgRqstQuery(0, count))
            m_information->SetFullText(QStringLiteral("%1 Change Requests found").arg(count));
        return true;
    }
    case kCmdSearch:
        OnSearch();
        return true;
    case kCmdView:
        ViewItem(List()->GetFirstSelected());
        return true;
    case kCmdDelete:
        OnButtonDelete();
        return true;
    case kCmdAdd:
        PopupMenu()->hide();
        OnAdd();
        return true;
    case kIdOpenOnly:
        OnOpenOnly();
        return true;
    case kIdPriority:
        RefreshList();
        return true;
    case kIdAuthority:
    case kIdTeamMember:
        OnFilterChanged();
        return true;
    default:
        return CRecordListDlg::OnCommand(id);
    }
}

void CChgRqstDlg::OnSearch()
{
    // The hub runs the search dialog for change requests.
    if (m_hub)
        m_hub->OnCommand(ID_SEARCH_CHANGE_REQUESTS);
}

// ---- Closing ----------------------------------------------------------------------------------

void CChgRqstDlg::OnClosing()
{
    // A running edit dialog ends as if its window's work were done.
    if (m_viewDlg)
        m_viewDlg->EndDialog(IDCANCEL);
    if (!m_userName.isEmpty())
        CProfile::SetDefUserName(m_userName);
    m_rows.Clear();
}
