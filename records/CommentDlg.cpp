#include "records/CommentDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/CommentSet.h"
#include "data/records/CompanyDetailSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "records/CmtViewDlg.h"
#include "records/CommentWindows.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/MenuBuilder.h"
#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("CommentDlg");
const QString kDefaultPlacement = QStringLiteral("(431,851,476,1171),NORM 1");
const QString kProjectRoot = QStringLiteral("Project Comments");
const QString kCompanyRoot = QStringLiteral("Company Comments");

// Main-menu commands the window hands to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS,  ID_CONTACTS,   ID_TASKS,        ID_PROPERTIES,
                              ID_ABOUT,       ID_REVIEW,     ID_EXPORT,       ID_SET_USER,
                              ID_ONLINE_HELP, ID_AUTO_TIMER, ID_PROJECT_INFO, ID_CHANGE_REQUESTS,
                              ID_OVERVIEW};

QComboBox* Combo(QWidget* parent, int id)
{
    auto* combo = new QComboBox(parent);
    CDialogBase::SetControlId(combo, id);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CCommentDlg::CCommentDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CTreeListDlg(IDD_COMMENTS, parent)
    , m_hub(hub)
    , m_db(db)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Tasks"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_TASKS, QString(), image));
    setSizeGripEnabled(true);
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
    m_view = Combo(this, kIdView);
    m_view->addItems({QStringLiteral("Project"), QStringLiteral("Company")});
    m_type = Combo(this, kIdType);
    m_user = Combo(this, kIdUser);
    m_showAll = new QCheckBox(QStringLiteral("Show all projects"), this);
    SetControlId(m_showAll, kIdShowAll);
    row->addWidget(Label(QStringLiteral("&Type:"), m_view, this));
    row->addWidget(m_view);
    row->addSpacing(8);
    row->addWidget(Label(QStringLiteral("&Status:"), m_type, this));
    row->addWidget(m_type);
    row->addSpacing(8);
    row->addWidget(Label(QStringLiteral("&User:"), m_user, this));
    row->addWidget(m_user);
    row->addSpacing(8);
    row->addWidget(m_showAll);
    row->addStretch(1);
    layout->addLayout(row);

    // The tree, the bar and the list are placed over this area by hand, so
    // that the bar can move the edge between them.
    m_area = new QWidget(this);
    m_area->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_area->setMinimumSize(300, 160);
    m_area->installEventFilter(this);
    layout->addWidget(m_area, 1);

    m_status = new QLabel(this);
    SetControlId(m_status, kIdStatus);
    layout->addWidget(m_status);

    SetControlId(SplitterBar(), kIdSplitter);
    Tree()->raise();
    List()->raise();
    SplitterBar()->raise();

    connect(m_view, &QComboBox::activated, this, [this] { OnCommand(kIdView); });
    connect(m_type, &QComboBox::activated, this, [this] { OnCommand(kIdType); });
    connect(m_user, &QComboBox::activated, this, [this] { OnCommand(kIdUser); });
    connect(m_showAll, &QCheckBox::clicked, this, [this] { OnCommand(kIdShowAll); });
    connect(Tree(), &QTreeWidget::currentItemChanged, this, [this] { OnTreeSelChanged(); });
    connect(PopupMenu(), &QMenu::aboutToHide, this, [this] { activateWindow(); });
    // Accelerators of the window: Ctrl+L to the list, Ctrl+T to the tree.
    auto* toList = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(toList, &QShortcut::activated, this, [this] { OnCommand(kCmdFocusList); });
    auto* toTree = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(toTree, &QShortcut::activated, this, [this] { OnCommand(kCmdFocusTree); });
}

void CCommentDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("Contacts"), ID_CONTACTS, {}},
          {QStringLiteral("Comments"), ID_TASKS, {}},
          {QStringLiteral("Change Requests"), ID_CHANGE_REQUESTS, {}},
          {},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&Help Topics"), ID_HELP_TOPICS, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Actions"),
         0,
         {{QStringLiteral("Save &List Layout"), kCmdSaveLayout, {}},
          {QStringLiteral("Set List to &Default Layout"), kCmdDefaultLayout, {}},
          {QStringLiteral("&Refresh List"), kCmdRefresh, {}}}},
    };
    QMenuBar* bar = BuildMenuBar(menus, this, [this](int id) { OnCommand(id); });
    QAction* search = bar->addAction(QStringLiteral("&Search"));
    search->setObjectName(QStringLiteral("cmd%1").arg(kCmdSearch));
    connect(search, &QAction::triggered, this, [this] { OnCommand(kCmdSearch); });
    layout()->setMenuBar(bar);
    m_mainMenu = bar->actions().first()->menu();
    // The project windows come and go with the options.
    connect(m_mainMenu, &QMenu::aboutToShow, this, [this] {
        const CProfile::CValues options = CurrentOptions();
        const auto show = [this](int id, bool visible) {
            if (QAction* a = m_mainMenu->findChild<QAction*>(QStringLiteral("cmd%1").arg(id)))
                a->setVisible(visible);
        };
        show(ID_CONTACTS, options.Bool("UseContacts"));
        show(ID_TASKS, options.Bool("UseToDo"));
        show(ID_CHANGE_REQUESTS, options.Bool("UseChgrqsts"));
    });
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

    CComboItems users(m_user);
    if (m_db.FillEmployeeCombo(users, m_userName, -1, QStringLiteral("All")) < 0)
        m_db.FillEmployeeCombo(users, m_db.CurrentUserName(), -1, QStringLiteral("All"));
    if (RequestPending() || m_user->currentIndex() < 0)
        m_user->setCurrentIndex(0);

    // The options' type, unless the request asks for comments or to-dos.
    QString preset = CurrentOptions().Text("DefTaskType");
    if (toDos || preset.isEmpty())
        preset = comments ? QStringLiteral("Info") : QStringLiteral("ToDo");
    CComboItems types(m_type);
    const int typeIndex = m_db.FillCommentTypes(types, preset, true);
    m_type->setCurrentIndex(qMax(0, typeIndex));
    m_type->addItem(CCommentFilter::ThreeTypes(), m_type->count());
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
        m_nodeText = item->text(0);
        m_nodeId = static_cast<int>(CMyTreeCtrl::ItemData(item));
    } else {
        m_nodeText = IsCompanyView() ? kCompanyRoot : kProjectRoot;
        m_nodeId = -1;
        SelectNodeByText(m_nodeText);
    }
    if (!IsCompanyView() && m_nodeId >= 0)
        m_db.GetProjectInfo(m_nodeId, m_companyName, m_companyId);

    SaveRestorePlacement(true);
    m_pendingFilter.Clear();
    m_appliedFilter.Clear();
    m_initialising = false;
    ShowSortMark();
    DoUpdateCommentData(m_nodeText, true);
    return true;
}

void CCommentDlg::SaveRestorePlacement(bool restore)
{
    if (!restore) {
        SaveWindowPlacement(this, kPlacementKey);
        return;
    }
    CProfileStore profile;
    const QString key = QStringLiteral("Window Settings/") + kPlacementKey;
    if (profile.value(key, QStringLiteral("blank")).toString() == QLatin1String("blank"))
        profile.setValue(key, kDefaultPlacement);
    RestoreWindowPlacement(this, kPlacementKey);
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
    const int requestedProject = m_hub ? m_hub->m_pendingProjId : -1;
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
        QList<CProjectEntry> projects;
        m_db.LoadProjects(projects, empId >= 0 ? empId : -1);
        int previous = -1;
        for (const CProjectEntry& p : std::as_const(projects)) {
            if (p.ProjID == previous)
                continue;
            previous = p.ProjID;
            QTreeWidgetItem* item = tree->InsertItem(p.ProjName, root, 0, p.ProjID);
            if (!selected &&
                ((request && p.ProjID == requestedProject) ||
                 (requestedProject < 0 && !m_defProject.isEmpty() && p.ProjName == m_defProject)))
                selected = item;
        }
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

void CCommentDlg::SelectNodeByText(const QString& text)
{
    const bool wasRebuilding = m_rebuildingTree;
    m_rebuildingTree = true;
    if (QTreeWidgetItem* item = Tree()->FindItemByText(text)) {
        Tree()->setCurrentItem(item);
        m_nodeText = item->text(0);
        m_nodeId = static_cast<int>(CMyTreeCtrl::ItemData(item));
    }
    m_rebuildingTree = wasRebuilding;
}

void CCommentDlg::OnTreeSelChanged()
{
    if (m_initialising)
        return;
    QTreeWidgetItem* item = Tree()->currentItem();
    if (!item)
        return;
    m_nodeText = item->text(0);
    m_nodeId = static_cast<int>(CMyTreeCtrl::ItemData(item));
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
    m_nodeText = item->text(0);
    m_nodeId = static_cast<int>(CMyTreeCtrl::ItemData(item));
    OnAddTask();
}

// ---- The controls ---------------------------------------------------------------------------

void CCommentDlg::OnSelChangeView()
{
    List()->Clear();
    m_rows.clear();
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
    for (int forwarded : kForwarded) {
        if (id != forwarded)
            continue;
        if (m_hub) {
            if (id == ID_SET_USER)
                m_hub->SetAskingForUser(false);
            m_hub->PostCommand(id);
        }
        return true;
    }
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
    case kCmdApplyFilter:
        ApplyColumnFilter();
        return true;
    case kCmdRemoveFilter:
        RemoveColumnFilter();
        return true;
    case kIdShowAll:
        OnShowAllProjects();
        return true;
    case kCmdSearch:
        OnSearch();
        return true;
    case kCmdSaveLayout:
        SaveListLayout();
        return true;
    case kCmdDefaultLayout:
        ResetListLayout();
        return true;
    case kCmdRefresh:
        OnRefresh();
        return true;
    case kCmdFocusList:
        List()->setFocus();
        List()->clearSelection();
        List()->SelectItem(0);
        return true;
    case kCmdFocusTree:
        Tree()->setFocus();
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
    case ID_HELP_TOPICS:
        if (HasApp())
            theApp().ShowContextHelp(0);
        return true;
    case ID_CLOSE_WINDOW:
        close();
        return true;
    default:
        return CTreeListDlg::OnCommand(id);
    }
}

void CCommentDlg::OnSearch()
{
    // The hub runs the search dialog for comments.
    if (m_hub)
        m_hub->OnCommand(ID_SEARCH_COMMENTS);
}

void CCommentDlg::OnRefresh()
{
    // The tree at its place again, then its node's comments.
    const QString node = m_nodeText;
    FillTree();
    SelectNodeByText(node);
    DoUpdateCommentData(m_nodeText, true);
}

// ---- Layout ------------------------------------------------------------------------------------

bool CCommentDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        LayoutArea();
    return CTreeListDlg::eventFilter(watched, event);
}

void CCommentDlg::LayoutArea()
{
    if (m_sizing || !m_area)
        return;
    m_sizing = true;
    LayoutTreeAndList(m_area->geometry(), m_treeWidth);
    m_sizing = false;
}

void CCommentDlg::OnSplitterMoved(int phase, int x, int)
{
    if (phase == 0) {
        DrawSplitterMove(x, 0);
        return;
    }
    EraseSplitter(x);
    m_treeWidth = qBound(40, m_treeWidth + x, qMax(40, m_area->width() - 40));
    LayoutArea();
}

// ---- Closing ----------------------------------------------------------------------------------

void CCommentDlg::CloseWindow(int)
{
    close();
}

void CCommentDlg::OnOK()
{
    close();
}

void CCommentDlg::OnCancel()
{
    close();
}

void CCommentDlg::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // A running edit dialog ends as if its window's work were done.
    if (m_viewDlg)
        m_viewDlg->EndDialog(IDOK);
    SaveRestorePlacement(false);
    List()->Clear();
    m_rows.clear();
    m_set.reset();
    if (m_connected)
        m_db.ReleaseConnection(false, false);
    m_connected = false;
    event->accept();
}
