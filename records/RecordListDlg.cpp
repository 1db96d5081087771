#include "records/RecordListDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "platform/MessageBox.h"
#include "ui/MenuBuilder.h"
#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {

// Main-menu commands the windows hand to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS,  ID_CONTACTS,   ID_TASKS,        ID_PROPERTIES,
                              ID_ABOUT,       ID_REVIEW,     ID_EXPORT,       ID_SET_USER,
                              ID_ONLINE_HELP, ID_AUTO_TIMER, ID_PROJECT_INFO, ID_CHANGE_REQUESTS,
                              ID_OVERVIEW};

} // namespace

CRecordListDlg::CRecordListDlg(int templateId, CDummyDlg* hub, QWidget* parent)
    : CTreeListDlg(templateId, parent)
    , m_hub(hub)
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
    case kCmdFocusList:
        List()->setFocus();
        List()->clearSelection();
        List()->SelectItem(0);
        return true;
    case kCmdFocusTree:
        Tree()->setFocus();
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

// ---- The area ----------------------------------------------------------------------------

QWidget* CRecordListDlg::MakeArea(int splitterId)
{
    m_area = new QWidget(this);
    m_area->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_area->setMinimumSize(300, 160);
    m_area->installEventFilter(this);
    SetControlId(SplitterBar(), splitterId);
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
    QMenuBar* bar = BuildMenuBar(menus, this, [this](int id) { OnCommand(id); });
    QAction* search = bar->addAction(QStringLiteral("&Search"));
    search->setObjectName(QStringLiteral("cmd%1").arg(searchCommand));
    connect(search, &QAction::triggered, this, [this, searchCommand] { OnCommand(searchCommand); });
    layout()->setMenuBar(bar);
    m_mainMenu = bar->actions().first()->menu();
    // The project windows come and go with the options.
    connect(m_mainMenu, &QMenu::aboutToShow, this,
            [this] { CKelvaneApp::BuildProjectMenu(m_mainMenu); });
}

// ---- The list's columns --------------------------------------------------------------------

QList<int> CRecordListDlg::CreateListColumns(const QString& layoutKey,
                                             const QList<CListColumn>& columns)
{
    CMyListCtrl* list = List();
    const int count = static_cast<int>(columns.size());
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
    return order;
}

void CRecordListDlg::SaveListLayout(const QString& layoutKey, int columns)
{
    QString layout;
    if (List()->GetLayout(layout)) {
        List()->LoadLayout(false, layoutKey, layout);
    } else if (ShowMessageBox(
                   QStringLiteral("Error : Some Column values are incorrect - you should "
                                  "revert back to default settings?"),
                   kMbYesNo | kMbIconQuestion) == kIdYes) {
        layout = List()->GetDefaultLayout(columns);
        List()->LoadLayout(false, layoutKey, layout);
    }
    RebuildList();
}

void CRecordListDlg::ResetListLayout(const QString& layoutKey, int columns)
{
    QString layout = List()->GetDefaultLayout(columns);
    List()->LoadLayout(false, layoutKey, layout);
    RebuildList();
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
