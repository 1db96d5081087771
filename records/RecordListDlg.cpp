#include "records/RecordListDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "records/CommentRecord.h"
#include "ui/MenuBuilder.h"
#include "ui/Mnemonics.h"
#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"
#include "ui/VirtualKeys.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QShortcut>

namespace {

// Main-menu commands the windows hand to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS,      ID_CONTACTS,    ID_TASKS,      ID_PROPERTIES,
                              ID_ABOUT,           ID_REVIEW,      ID_EXPORT,     ID_SET_USER,
                              ID_ONLINE_HELP,     ID_HELP_TOPICS, ID_AUTO_TIMER, ID_PROJECT_INFO,
                              ID_CHANGE_REQUESTS, ID_OVERVIEW};

const QString kDefaultPlacement = QStringLiteral("(431,851,476,1171),NORM 1");

// Keypad keys the list and the tree act on (virtual-key codes).
constexpr int kVkMultiply = 0x6A;
constexpr int kVkAdd = 0x6B;
constexpr int kVkSubtract = 0x6D;

} // namespace

CRecordListDlg::CRecordListDlg(int templateId, CDummyDlg* hub, CDBClass& db,
                               const QString& placementKey, QWidget* parent)
    : CTreeListDlg(templateId, parent)
    , m_hub(hub)
    , m_db(db)
    , m_placementKey(placementKey)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    // Accelerators of the windows: Ctrl+L to the list, Ctrl+T to the tree.
    auto* toList = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(toList, &QShortcut::activated, this, [this] { OnCommand(kCmdFocusList); });
    auto* toTree = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(toTree, &QShortcut::activated, this, [this] { OnCommand(kCmdFocusTree); });
}

QComboBox* CRecordListDlg::MakeCombo(QWidget* parent, int id)
{
    auto* combo = new QComboBox(parent);
    SetControlId(combo, id);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QLabel* CRecordListDlg::MakeLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

bool CRecordListDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case kCmdFocusList:
        List()->setFocus();
        List()->clearSelection();
        List()->SelectItem(0);
        return true;
    case kCmdFocusTree:
        Tree()->setFocus();
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
    case kCmdApplyFilter:
        ApplyColumnFilter();
        return true;
    case kCmdRemoveFilter:
        RemoveColumnFilter();
        return true;
    case ID_CLOSE_WINDOW:
        close();
        return true;
    default:
        return CTreeListDlg::OnCommand(id);
    }
}

void CRecordListDlg::SaveRestorePlacement(bool restore)
{
    if (!restore) {
        SaveWindowPlacement(this, m_placementKey);
        return;
    }
    CProfileStore profile;
    const QString key = QStringLiteral("Window Settings/") + m_placementKey;
    if (profile.value(key, QStringLiteral("blank")).toString() == QLatin1String("blank"))
        profile.setValue(key, kDefaultPlacement);
    RestoreWindowPlacement(this, m_placementKey);
}

// ---- The area ----------------------------------------------------------------------------

QWidget* CRecordListDlg::MakeArea()
{
    m_area = new QWidget(this);
    m_area->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_area->setMinimumSize(300, 160);
    m_area->installEventFilter(this);
    SetControlId(SplitterBar(), kIdSplitter);
    Tree()->raise();
    List()->raise();
    SplitterBar()->raise();
    return m_area;
}

bool CRecordListDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        LayoutArea();
    return CTreeListDlg::eventFilter(watched, event);
}

void CRecordListDlg::LayoutArea()
{
    if (m_sizing || !m_area)
        return;
    m_sizing = true;
    LayoutTreeAndList(m_area->geometry(), m_treeWidth);
    m_sizing = false;
}

void CRecordListDlg::OnSplitterMoved(int phase, int x, int)
{
    if (phase == 0) {
        DrawSplitterMove(x, 0);
        return;
    }
    EraseSplitter(x);
    m_treeWidth = qBound(40, m_treeWidth + x, qMax(40, m_area->width() - 40));
    LayoutArea();
}

// ---- The main menu -------------------------------------------------------------------------

void CRecordListDlg::BuildMainMenu(const QList<CMenuEntry>& popups, int searchCommand)
{
    QList<CMenuEntry> menus = {
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
    };
    menus << popups;
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); },
                    {QStringLiteral("&Search"), searchCommand, {}});
}

// ---- The list's columns --------------------------------------------------------------------

void CRecordListDlg::CreateListColumns(const QString& layoutKey, const QList<CListColumn>& columns)
{
    CMyListCtrl* list = List();
    const int count = static_cast<int>(columns.size());
    m_layoutKey = layoutKey;
    m_columnCount = count;
    QString layout;
    list->LoadLayout(true, layoutKey, layout, count);
    QStringList titles;
    QList<int> formats;
    QList<int> widths;
    QList<int> order;
    for (int c = 0; c < count; ++c) {
        titles << columns.at(c).title;
        formats << (columns.at(c).right ? kFormatRight : kFormatLeft);
        widths << columns.at(c).width;
        order << c;
    }
    // A stored layout that does not name each column once leaves the table's order.
    if (list->ArrangeColumns(titles, formats, widths)) {
        order.clear();
        for (const QString& id : list->LayoutColumnIds().mid(0, count))
            order << id.trimmed().toInt();
    }
    list->CreateList(m_listRect, this, titles, formats, widths);
    QList<int> kinds;
    for (int c : std::as_const(order))
        kinds << columns.value(c).kind;
    list->SetColumnKinds(kinds);
    list->raise();
    m_columns = order;
}

void CRecordListDlg::SaveListLayout()
{
    QString layout;
    if (List()->GetLayout(layout)) {
        List()->LoadLayout(false, m_layoutKey, layout);
    } else if (ShowMessageBox(
                   QStringLiteral("Error : Some Column values are incorrect - you should "
                                  "revert back to default settings?"),
                   kMbYesNo | kMbIconQuestion) == kIdYes) {
        layout = List()->GetDefaultLayout(m_columnCount);
        List()->LoadLayout(false, m_layoutKey, layout);
    }
    RebuildList();
}

void CRecordListDlg::ResetListLayout()
{
    QString layout = List()->GetDefaultLayout(m_columnCount);
    List()->LoadLayout(false, m_layoutKey, layout);
    RebuildList();
}

void CRecordListDlg::RebuildList()
{
    BuildList();
    LayoutArea();
    RefillList();
}

// ---- The tree --------------------------------------------------------------------------------

void CRecordListDlg::TakeNode(const QTreeWidgetItem* item)
{
    m_nodeText = item->text(0);
    m_nodeId = static_cast<int>(CMyTreeCtrl::ItemData(item));
}

void CRecordListDlg::SelectNodeByText(const QString& text)
{
    const bool wasRebuilding = m_rebuildingTree;
    m_rebuildingTree = true;
    if (QTreeWidgetItem* item = Tree()->FindItemByText(text)) {
        Tree()->setCurrentItem(item);
        if (m_nodeScroll != QAbstractItemView::EnsureVisible)
            Tree()->scrollToItem(item, m_nodeScroll);
        TakeNode(item);
    }
    m_rebuildingTree = wasRebuilding;
}

void CRecordListDlg::ReadAgain()
{
    ReadFilters();
    OnRefresh();
}

void CRecordListDlg::TellListRead(bool read)
{
    if (m_hub)
        m_hub->NoteWindowRead(this, read);
}

QString CRecordListDlg::ListNotReadText(const QString& what)
{
    return QStringLiteral("%1 could not be read from the database. They are read again at your "
                          "next click or key in this window.")
        .arg(what);
}

void CRecordListDlg::OnRefresh()
{
    const QString node = m_nodeText;
    FillTree();
    SelectNodeByText(node);
    RefillList();
}

QTreeWidgetItem* CRecordListDlg::InsertProjects(QTreeWidgetItem* root, int empId, bool request)
{
    QList<CProjectEntry> projects;
    m_db.LoadProjects(projects, empId >= 0 ? empId : -1);
    const int requested = m_hub ? m_hub->m_pendingProjId : -1;
    QTreeWidgetItem* selected = nullptr;
    int previous = -1;
    for (const CProjectEntry& p : std::as_const(projects)) {
        if (p.ProjID == previous)
            continue;
        previous = p.ProjID;
        QTreeWidgetItem* item = Tree()->InsertItem(p.ProjName, root, 0, p.ProjID);
        if (!selected && ((request && p.ProjID == requested) ||
                          (requested < 0 && !m_defProject.isEmpty() && p.ProjName == m_defProject)))
            selected = item;
    }
    return selected;
}

// ---- The list ------------------------------------------------------------------------------

int CRecordListDlg::SortColumn() const
{
    const int column = List()->LastSortedColumn();
    return column >= 0 && column < m_columns.size() ? column : ColumnOf(DefaultSortKind());
}

void CRecordListDlg::ShowSortMark()
{
    const int column = SortColumn();
    if (column >= 0)
        List()->SetSortMark(-1, column, List()->SortDirections().value(column, 0));
}

QString CRecordListDlg::SortClause(int column, const QString& sql, const QString& idColumn) const
{
    const QString direction = List()->SortDirections().value(column, 0) != 0
                                  ? QStringLiteral(" DESC")
                                  : QStringLiteral(" ASC");
    return sql + direction + QStringLiteral(", ") + idColumn + direction;
}

void CRecordListDlg::SetListCaption(int stringId, const QString& title, const CBoundFilter& filter)
{
    setWindowTitle(QStringLiteral("%1 - %2 - %3")
                       .arg(BuildWindowCaption(stringId, title, &m_db), m_userName,
                            filter.IsEmpty() ? QStringLiteral("No filter") : filter.text));
}

void CRecordListDlg::StepToRow(int oldRow, int newRow)
{
    List()->ResetItemState(oldRow);
    List()->clearSelection();
    List()->SelectItem(newRow);
    ViewItem(newRow);
}

void CRecordListDlg::OnListRowActivated(int row, CMyListCtrl*)
{
    ViewItem(row);
}

void CRecordListDlg::OnKeyDown(int virtualKey, bool fromTree)
{
    if (fromTree) {
        if (virtualKey == kVkAdd)
            OnAddItem();
        // Enter on a node acts as a double click on it does.
        else if (virtualKey == kVkReturn)
            OnTreeItemActivated(Tree()->currentItem());
        return;
    }
    switch (virtualKey) {
    case kVkDelete:
    case kVkSubtract:
        OnDeleteItem();
        break;
    case kVkMultiply:
        ViewItem(List()->GetFirstSelected());
        break;
    case kVkAdd:
        OnAddItem();
        break;
    default:
        break;
    }
}

// ---- The context menu ----------------------------------------------------------------------

QAction* CRecordListDlg::AddMenuCommand(QMenu* menu, const QString& text, int command)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QStringLiteral("cmd%1").arg(command));
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    return action;
}

QString CRecordListDlg::FilterEntryText(const QString& column, const QString& cell,
                                        const QString& more)
{
    const QString shown = LeftCharacters(cell, 10);
    return QStringLiteral("Filter by %1 = %2%3 ")
        .arg(EscapeMnemonics(column), EscapeMnemonics(shown),
             shown.size() < cell.size() ? more : QString());
}

void CRecordListDlg::ApplyColumnFilter()
{
    if (m_pendingFilter.IsEmpty())
        return;
    m_listFilter = m_pendingFilter;
    RefillList();
}

void CRecordListDlg::RemoveColumnFilter()
{
    m_pendingFilter.Clear();
    m_listFilter.Clear();
    RefillList();
}

// ---- Closing ---------------------------------------------------------------------------------

void CRecordListDlg::CloseWindow(int)
{
    close();
}

void CRecordListDlg::OnOK()
{
    close();
}

void CRecordListDlg::OnCancel()
{
    close();
}

void CRecordListDlg::closeEvent(QCloseEvent* event)
{
    if (!m_closing) {
        m_closing = true;
        OnClosing();
        SaveRestorePlacement(false);
        List()->Clear();
        if (m_connected)
            m_db.ReleaseConnection(false, false);
        m_connected = false;
    }
    event->accept();
}
