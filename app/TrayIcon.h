#pragma once

#include "ui/MenuBuilder.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;
class QSystemTrayIcon;

// The program's notification-area icon: a left click brings the open
// windows forward or opens the start window, the context menu offers every
// top-level action. Where the desktop has no notification area nothing is
// shown and the calls do nothing.
class CTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kIconId = 284;

    enum MouseMessage : int { kLeftDown, kLeftUp, kLeftDoubleClick, kRightUp, kOther };

    // What the context menu depends on.
    struct CMenuState {
        QString edition; // "Enterprise" on a server database, "Pro" otherwise
        double dbVersion = 0;
        bool useContacts = false;
        bool useToDo = false;
        bool useChangeRequests = false;
        QString userName;
        bool autoTimerRunning = false;
        bool server = false;
        bool exportImport = false;
        bool xlsOffered = false;
        QString xlsWorkbook; // the registered workbook, empty when none
    };

    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Where commands go: the hub's command handler. The start command is
    // asked for on each click (0 when no start window is chosen); the menu
    // state each time the menu opens.
    void SetNotificationHandler(CommandHandler onCommand, std::function<void(int)> onMouse,
                                std::function<int()> startCommand,
                                std::function<CMenuState()> menuState);

    // id not 0: the tip from string id and the program's icon; 0 removes it.
    bool SetIconById(int id);
    // With an icon: shows it (again); without one: removes it. False when
    // the desktop has no notification area.
    bool SetIcon(const QIcon& icon, const QString& tip);
    // One frame of an animation with its tip, in place of the icon until
    // the next SetIcon; nothing while no icon is shown.
    bool SetAnimationFrame(const QIcon& frame, const QString& tip);
    bool IsShown() const { return m_shown; }
    QString Tip() const { return m_tip; }

    // The command a mouse message on the icon stands for; 0 for none.
    int OnTrayNotification(int iconId, int mouseMessage);
    // The desktop's notification area came back: show the icon again.
    void OnTaskBarCreate();

    static QString MenuTitle(const CMenuState& state);
    static QList<CMenuEntry> BuildPopupMenu(const CMenuState& state);
    // The Search submenu, one entry a record kind (also the hub's).
    static QList<CMenuEntry> SearchMenu();
    // The context menu's current entries (rebuilt each time it opens).
    QMenu* ContextMenu() const { return m_menu; }
    void RebuildMenu();

private:
    void OnActivated(int reason);

    QPointer<QSystemTrayIcon> m_tray;
    QMenu* m_menu = nullptr;
    QIcon m_icon;
    QString m_tip;
    bool m_shown = false;
    CommandHandler m_onCommand;
    std::function<void(int)> m_onMouse;
    std::function<int()> m_startCommand;
    std::function<CMenuState()> m_menuState;
};
