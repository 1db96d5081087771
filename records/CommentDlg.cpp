#include "records/CommentDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "data/records/CommentSet.h"
#include "data/records/CompanyDetailSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "records/CmtViewDlg.h"
#include "records/CommentColumns.h"
#include "records/CommentWindows.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace {

const QString kProjectRoot = QStringLiteral("Project Comments");
const QString kCompanyRoot = QStringLiteral("Company Comments");

} // namespace

CCommentDlg::CCommentDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CRecordListDlg(IDD_COMMENTS, hub, db, QStringLiteral("CommentDlg"), parent)
{
    setWindowTitle(QStringLiteral("Tasks"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_TASKS, QString(), image));
    m_nodeText = kProjectRoot;
    BuildControls();
    BuildMenus();
}

CCommentDlg::~CCommentDlg() = default;

void CCommentDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    m_view = MakeCombo(this, kIdView);
    m_view->addItems({QStringLiteral("Project"), QStringLiteral("Company")});
    m_type = MakeCombo(this, kIdType);
    m_user = MakeCombo(this, kIdUser);
    m_showAll = new QCheckBox(QStringLiteral("Show all projects"), this);
    SetControlId(m_showAll, kIdShowAll);
    row->addWidget(MakeLabel(QStringLiteral("&Type:"), m_view, this));
    row->addWidget(m_view);
    row->addSpacing(8);
    row->addWidget(MakeLabel(QStringLiteral("&Status:"), m_type, this));
    row->addWidget(m_type);
    row->addSpacing(8);
    row->addWidget(MakeLabel(QStringLiteral("&User:"), m_user, this));
    row->addWidget(m_user);
    row->addSpacing(8);
    row->addWidget(m_showAll);
    row->addStretch(1);
    layout->addLayout(row);

    layout->addWidget(MakeArea(), 1);

    m_status = new CPlainLabel(this);
    SetControlId(m_status, kIdStatus);
    layout->addWidget(m_status);

    connect(m_view, &QComboBox::activated, this, [this] { OnCommand(kIdView); });
    connect(m_type, &QComboBox::activated, this, [this] { OnCommand(kIdType); });
    connect(m_user, &QComboBox::activated, this, [this] { OnCommand(kIdUser); });
    connect(m_showAll, &QCheckBox::clicked, this, [this] { OnCommand(kIdShowAll); });
    connect(Tree(), &QTreeWidget::currentItemChanged, this, [this] { OnTreeSelChanged(); });
    connect(PopupMenu(), &QMenu::aboutToHide, this, [this] { activateWindow(); });
}

void CCommentDlg::BuildMenus()
{
    BuildMainMenu({{QStringLiteral("&Actions"),
                    0,
                    {{QStringLiteral("Save &List Layout"), kCmdSaveLayout, {}},
                     {QStringLiteral("Set List to &Default Layout"), kCmdDefaultLayout, {}},
                     {QStringLiteral("&Refresh List"), kCmdRefresh, {}}}}},
                  kCmdSearch);
}

// ---- Opening ------------------------------------------------------------------------------

QString CCommentDlg::DefaultUserName() const
{
    return HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
}

bool CCommentDlg::RequestPending() const
{
    return m_hub &&
           (m_hub->m_pendingFlags[kRequestComments] || m_hub->m_pendingFlags[kRequestToDos] ||
            m_hub->m_pendingFlags[kRequestCompany]);
}

bool CCommentDlg::IsCompanyView() const
{
    return m_view->currentIndex() == 1;
}

bool CCommentDlg::OnInitDialog()
{
    CWaitCursor wait;
    m_initialising = true;
    m_connected = m_db.OpenConnection();
    const bool comments = m_hub && m_hub->m_pendingFlags[kRequestComments];
    const bool toDos = m_hub && m_hub->m_pendingFlags[kRequestToDos];
    const bool company = m_hub && m_hub->m_pendingFlags[kRequestCompany];

    m_view->setCurrentIndex(company ? 1 : 0);
    m_showAll->setVisible(!company);
    m_userName = DefaultUserName();
    m_defProject = CProfile::DefProjStr();

    // The options' type, unless the request asks for comments or to-dos.
    m_typePreset = CurrentOptions().Text("DefTaskType");
    if (toDos || m_typePreset.isEmpty())
        m_typePreset = comments ? QStringLiteral("Info") : QStringLiteral("ToDo");
    FillFilterCombos();
    if (RequestPending() || m_user->currentIndex() < 0)
        m_user->setCurrentIndex(0);
    if (comments)
        m_type->setCurrentIndex(m_type->count() - 1);
    // A company's comments are all of them, as when the window is brought forward.
    if (company)
        m_type->setCurrentIndex(0);

    Tree()->CreateTree(IDC_TREE, QRect(), this);
    FillTree();
    BuildList();
    LayoutArea();
    if (QTreeWidgetItem* item = Tree()->currentItem()) {
        TakeNode(item);
    } else {
        m_nodeText = IsCompanyView() ? kCompanyRoot : kProjectRoot;
        m_nodeId = -1;
        SelectNodeByText(m_nodeText);
    }
    if (!IsCompanyView() && m_nodeId >= 0)
        m_db.GetProjectInfo(m_nodeId, m_companyName, m_companyId);

    SaveRestorePlacement(true);
    m_pendingFilter.Clear();
    m_listFilter.Clear();
    m_initialising = false;
    ShowSortMark();
    DoUpdateCommentData(m_nodeText, true);
    return true;
}

void CCommentDlg::FillFilterCombos()
{
    CComboItems users(m_user);
    if (m_db.FillEmployeeCombo(users, m_userName, -1, QStringLiteral("All")) < 0)
        m_db.FillEmployeeCombo(users, m_db.CurrentUserName(), -1, QStringLiteral("All"));
    CComboItems types(m_type);
    const int typeIndex = m_db.FillCommentTypes(types, m_typePreset, true);
    m_type->setCurrentIndex(qMax(0, typeIndex));
    m_type->addItem(CCommentFilter::ThreeTypes(), m_type->count());
    m_filtersRead = !m_db.Connection()->OutageInThisAction();
}

void CCommentDlg::ReadFilters()
{
    if (m_filtersRead)
        return;
    const QString user = m_user->currentText();
    FillFilterCombos();
    if (const int index = m_user->findText(user); index >= 0)
        m_user->setCurrentIndex(index);
}

// ---- The tree -------------------------------------------------------------------------------

void CCommentDlg::FillTree()
{
    const bool wasRebuilding = m_rebuildingTree;
    m_rebuildingTree = true;
    CMyTreeCtrl* tree = Tree();
    tree->clear();
    const bool company = IsCompanyView();
    QTreeWidgetItem* root = tree->InsertItem(company ? kCompanyRoot : kProjectRoot, nullptr, 0, -1);
    QTreeWidgetItem* selected = nullptr;
    const int requestedCompany = m_hub ? m_hub->m_pendingCompanyId : -1;
    if (!company) {
        int empId = m_user->currentIndex() >= 0 ? m_user->currentData().toInt() : -1;
        if (CurrentOptions().Bool("ShowMineComments"))
            empId = m_db.GetEmpIdByName(m_userName);
        // A project asked for by another window is listed whoever's it is.
        const bool request = m_hub && (m_hub->m_pendingFlags[kRequestComments] ||
                                       m_hub->m_pendingFlags[kRequestToDos]);
        if (request || m_showAll->isChecked())
            empId = -2;
        selected = InsertProjects(root, empId, request);
    } else {
        CCompanyDetailSet set(m_db.Connection());
        set.Recordset()->SetSort(QStringLiteral("[CompanyName]"));
        set.Recordset()->SetQuiet(true);
        if (!m_db.OpenRecordSet(&set)) {
            ShowMessageBox(QStringLiteral("Unable to open Company Address select query"),
                           kMbOk | kMbIconError);
        } else {
            const bool request = m_hub && m_hub->m_pendingFlags[kRequestCompany];
            for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
                QTreeWidgetItem* item =
                    tree->InsertItem(set.m_Company_Name, root, 0, set.m_Company_ID);
                if (!selected && request && set.m_Company_ID == requestedCompany)
                    selected = item;
            }
            m_db.CloseRecordSet(&set);
        }
    }
    root->setExpanded(true);
    tree->setCurrentItem(selected ? selected : root);
    m_rebuildingTree = wasRebuilding;
}

void CCommentDlg::OnTreeSelChanged()
{
    if (m_initialising)
        return;
    QTreeWidgetItem* item = Tree()->currentItem();
    if (!item)
        return;
    TakeNode(item);
    m_companyName.clear();
    m_companyId = -1;
    if (!IsCompanyView() && m_nodeId >= 0)
        m_db.GetProjectInfo(m_nodeId, m_companyName, m_companyId);
    if (!m_rebuildingTree)
        DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::OnTreeItemActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    TakeNode(item);
    OnAddTask();
}

// ---- The controls ---------------------------------------------------------------------------

void CCommentDlg::OnSelChangeView()
{
    List()->Clear();
    m_rows.Clear();
    const bool company = IsCompanyView();
    m_nodeText = company ? kCompanyRoot : kProjectRoot;
    m_nodeId = -1;
    m_showAll->setVisible(!company);
    FillTree();
    Tree()->setFocus();
    if (!company && !m_defProject.isEmpty())
        SelectNodeByText(m_defProject);
    DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::OnSelChangeType()
{
    BuildList();
    DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::OnSelChangeUser()
{
    LayoutArea();
    DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::OnShowAllProjects()
{
    const QString node = m_nodeText;
    FillTree();
    SelectNodeByText(node);
    DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::SelectTypeEntry(const QString& text)
{
    const int index = m_type->findText(text, Qt::MatchFixedString);
    if (index >= 0)
        m_type->setCurrentIndex(index);
}

// ---- The hub ---------------------------------------------------------------------------------

void CCommentDlg::SyncToMainProject()
{
    if (!m_hub)
        return;
    if (m_hub->m_pendingFlags[kRequestCompany]) {
        m_view->setCurrentIndex(1);
        m_showAll->setVisible(false);
        FillTree();
        QString name;
        if (m_db.GetCompanyNameById(m_hub->m_pendingCompanyId, name))
            SelectNodeByText(name);
        m_type->setCurrentIndex(0);
        DoUpdateCommentData(m_nodeText, true);
        return;
    }
    m_view->setCurrentIndex(0);
    m_showAll->setVisible(true);
    FillTree();
    const QString name = m_db.GetProjNameById(m_hub->m_pendingProjId);
    const QString type = m_hub->m_pendingFlags[kRequestComments] ? CCommentFilter::ThreeTypes()
                                                                 : QStringLiteral("Todo");
    const int index = m_type->findText(type, Qt::MatchFixedString);
    if (index < 0)
        return;
    m_type->setCurrentIndex(index);
    if (!name.isEmpty())
        SelectNodeByText(name);
    else
        SelectNodeByText(kProjectRoot);
    DoUpdateCommentData(m_nodeText, true);
}

void CCommentDlg::Refresh()
{
    if (RequestPending())
        SyncToMainProject();
    else
        DoUpdateCommentData(m_nodeText, true);
}

// ---- Commands ----------------------------------------------------------------------------------

bool CCommentDlg::OnCommand(int id)
{
    switch (id) {
    case kCmdDone:
        OnSetDone();
        return true;
    case kCmdAdd:
        OnAddTask();
        return true;
    case kCmdDelete:
        OnDeleteTask();
        return true;
    case kCmdView:
        ViewItem(List()->GetFirstSelected());
        return true;
    case kIdShowAll:
        OnShowAllProjects();
        return true;
    case kCmdSearch:
        OnSearch();
        return true;
    case kIdView:
        OnSelChangeView();
        return true;
    case kIdType:
        OnSelChangeType();
        return true;
    case kIdUser:
        OnSelChangeUser();
        return true;
    default:
        return CRecordListDlg::OnCommand(id);
    }
}

void CCommentDlg::OnSearch()
{
    // The hub runs the search dialog for comments.
    if (m_hub)
        m_hub->OnCommand(ID_SEARCH_COMMENTS);
}

// ---- Closing ----------------------------------------------------------------------------------

void CCommentDlg::OnClosing()
{
    // A running edit dialog ends as if its window's work were done.
    if (m_viewDlg)
        m_viewDlg->EndDialog(IDOK);
    m_rows.Clear();
    m_set.reset();
}
