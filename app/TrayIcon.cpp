#include "app/TrayIcon.h"

#include "platform/Characters.h"
#include "ui/AppIcon.h"
#include "ui/Mnemonics.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"

#include <QFontMetrics>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>

namespace {

constexpr int kTipLength = 128;

CMenuEntry Item(const char* text, int command)
{
    return {QString::fromLatin1(text), command, {}};
}

CMenuEntry Separator()
{
    return {};
}

} // namespace

CTrayIcon::CTrayIcon(QObject* parent)
    : QObject(parent)
{}

CTrayIcon::~CTrayIcon()
{
    SetIconById(0);
    delete m_menu;
}

void CTrayIcon::SetNotificationHandler(CommandHandler onCommand, std::function<void(int)> onMouse,
                                       std::function<int()> startCommand,
                                       std::function<CMenuState()> menuState)
{
    m_onCommand = std::move(onCommand);
    m_onMouse = std::move(onMouse);
    m_startCommand = std::move(startCommand);
    m_menuState = std::move(menuState);
}

bool CTrayIcon::SetIconById(int id)
{
    if (id == 0)
        return SetIcon(QIcon(), QString());
    return SetIcon(AppIcon(), LoadStringRes(id));
}

bool CTrayIcon::SetIcon(const QIcon& icon, const QString& tip)
{
    if (icon.isNull()) {
        if (!m_shown)
            return true;
        if (m_tray)
            m_tray->hide();
        m_shown = false;
        return true;
    }
    m_icon = icon;
    if (!tip.isEmpty())
        m_tip = LeftCharacters(tip, kTipLength);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Nothing to show it in; a later call tries again.
        m_shown = false;
        return false;
    }
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(this);
        m_menu = new QMenu();
        m_menu->setObjectName(QStringLiteral("trayMenu"));
        connect(m_menu, &QMenu::aboutToShow, this, &CTrayIcon::RebuildMenu);
        m_tray->setContextMenu(m_menu);
        connect(m_tray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
    }
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(PlainTipText(m_tip));
    m_tray->show();
    m_shown = m_tray->isVisible();
    return m_shown;
}

bool CTrayIcon::SetAnimationFrame(const QIcon& frame, const QString& tip)
{
    if (!m_shown || !m_tray || frame.isNull())
        return false;
    // The icon and tip kept for a returning notification area stay the program's.
    m_tray->setIcon(frame);
    m_tray->setToolTip(PlainTipText(LeftCharacters(tip, kTipLength)));
    return true;
}

void CTrayIcon::OnTaskBarCreate()
{
    if (m_shown || !m_icon.isNull())
        SetIcon(m_icon, m_tip);
}

void CTrayIcon::OnActivated(int reason)
{
    int mouse = kOther;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        mouse = kLeftUp;
        break;
    case QSystemTrayIcon::DoubleClick:
        mouse = kLeftDoubleClick;
        break;
    case QSystemTrayIcon::Context:
        mouse = kRightUp;
        break;
    default:
        break;
    }
    if (m_onMouse)
        m_onMouse(mouse);
}

int CTrayIcon::OnTrayNotification(int iconId, int mouseMessage)
{
    if (iconId != kIconId)
        return 0;
    const int start = m_startCommand ? m_startCommand() : 0;
    switch (mouseMessage) {
    case kLeftDoubleClick:
        return start;
    case kLeftUp:
        return start != 0 ? start : int(ID_TIMESHEETS);
    case kRightUp:
        // The desktop has opened the context menu already, rebuilt as it
        // opened: clearing it now would take it away from under the pointer.
        return 0;
    default:
        return 0;
    }
}

QString CTrayIcon::MenuTitle(const CMenuState& state)
{
    return QString::asprintf("%s %s %s - DB %2.2f", "Kelvane", qPrintable(state.edition), "2.2.00",
                             state.dbVersion);
}

QList<CMenuEntry> CTrayIcon::SearchMenu()
{
    return {Item("&Timesheets", ID_SEARCH), Item("Co&mpanies", ID_SEARCH_CONTACTS),
            Item("C&omments", ID_SEARCH_COMMENTS),
            Item("C&hange Requests", ID_SEARCH_CHANGE_REQUESTS)};
}

QList<CMenuEntry> CTrayIcon::BuildPopupMenu(const CMenuState& state)
{
    QList<CMenuEntry> items = {
        Item("Timesheets", ID_TIMESHEETS),
        Item("Review", ID_REVIEW),
        {QStringLiteral("Search"), 0, SearchMenu()},
        Separator(),
        Item("Set User", ID_SET_USER),
        Separator(),
        Item("Properties", ID_PROPERTIES),
        Separator(),
        {QStringLiteral("Help"),
         0,
         {Item("Online Help", ID_ONLINE_HELP), Item("Help Topics", ID_HELP_TOPICS),
          Item("About", ID_ABOUT)}},
        Separator(),
        // Close always closes the program, also before anyone has signed on.
        Item("&Close", ID_CLOSE_APP),
    };
    int pos = 3;
    if (state.useContacts)
        items.insert(pos++, Item("Contacts", ID_CONTACTS));
    if (state.useToDo)
        items.insert(pos++, Item("Comments", ID_TASKS));
    if (state.useChangeRequests)
        items.insert(pos++, Item("Change Requests", ID_CHANGE_REQUESTS));
    if (!state.userName.isEmpty()) {
        const int setUser = pos + 1;
        items[setUser].text = QStringLiteral("Set User (%1)").arg(EscapeMnemonics(state.userName));
        items.insert(setUser + 1, state.autoTimerRunning ? Item("Stop Timer", ID_STOP_TIMING)
                                                         : Item("Auto Timer", ID_AUTO_TIMER_MENU));
        pos = setUser + 3;
        if (state.server)
            items.insert(pos++, Item("Overview", ID_OVERVIEW));
        if (state.exportImport) {
            items.insert(pos++, Item("Export", ID_EXPORT));
            items.insert(pos++, Item("Import", ID_IMPORT));
        }
        if (state.xlsOffered) {
            CMenuEntry xls{QStringLiteral("XLS TS stuff"), 0, {}};
            if (!state.xlsWorkbook.isEmpty())
                xls.items.append({QStringLiteral("Run> %1").arg(EscapeMnemonics(state.xlsWorkbook)),
                                  ID_XLS_TIMESHEET,
                                  {}});
            items.insert(pos++, xls);
        }
    }
    items.insert(pos, Item("Project Info", ID_PROJECT_INFO));
    return items;
}

void CTrayIcon::RebuildMenu()
{
    // A menu on screen keeps its entries until it closes.
    if (!m_menu || m_menu->isVisible())
        return;
    m_menu->clear();
    const CMenuState state = m_menuState ? m_menuState() : CMenuState();
    const QString title = MenuTitle(state);
    m_menu->addSection(title);
    // The style sizes a menu by its entries, not by its title: room for the title too.
    const QFontMetrics metrics(m_menu->font());
    const int frame = m_menu->style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, m_menu) +
                      m_menu->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, m_menu);
    m_menu->setMinimumWidth(metrics.horizontalAdvance(title) + 2 * frame +
                            4 * metrics.averageCharWidth());
    AddMenuEntries(m_menu, BuildPopupMenu(state), [this](int command) {
        if (m_onCommand)
            m_onCommand(command);
    });
}
