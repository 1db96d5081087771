#pragma once

#include "app/HubWindow.h"
#include "app/KeyCommands.h"
#include "app/TrayIcon.h"
#include "ui/AcceleratorTable.h"
#include "ui/DialogBase.h"

#include <QHash>
#include <QPointer>

class CDBClass;
class CElidedLabel;
class CUnreadWindows;
class QLabel;
class QTimer;

// The hub: the program's main window for its first seconds, the owner of
// every top-level window (one of each, opened on demand, brought forward on
// a second request) and of the commands windows forward to it. When its last
// window closes it releases the database connection.
class CDummyDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CDummyDlg(CDBClass* db, QWidget* parent = nullptr);
    ~CDummyDlg() override;

    bool OnCommand(int id) override;

    // ---- Openers ---------------------------------------------------------------
    void OnTimesheets();
    void OnContacts();
    void OnTaskOpen1();
    void OnTasksFromMenu();
    void OnChangeRequests();
    void OnAutoTimer();
    void OnOverview();
    void OnProjectInfo();
    void OnShowProjectInfo(int empId, int projId);
    void OnReview();
    void OnProperties();
    void OnAbout();
    void OnOnlineHelp();
    // The search dialog of a kind (ID_SEARCH, ID_SEARCH_CONTACTS, ...), modal.
    void OnSearch(int command);
    void OnSetUsername();
    void OnCloseApp();

    // Opens the window of a command once; brings it forward when open.
    // 1 when it was created, 0 when it was only brought forward, -1 when it
    // could not be made.
    int ShowChildWindow(int command, int flag);
    void FocusToActiveWindow1(QWidget* window, int command);
    bool OpenWindowByCommand(int command);
    void OpenStartWindow(int command);
    // Every window closes: a modal run over one (a dialog, message box or
    // file chooser) is ended first, and a window with runs over it is
    // deleted once the program is back in its main loop. Reopening waits
    // for that too.
    void CloseAllWindows(bool reopen);
    // The commands of the windows open now, in the order they close.
    QList<int> OpenWindowCommands() const;
    // Opens the windows of the commands again (the program now uses another
    // database), or the start window when there are none; once the closed
    // windows are gone.
    void ReopenWindows(const QList<int>& commands);
    // The command of the start window chosen in the options; 0 for none.
    int StartWindowCommand() const;
    void RefreshTimesheet(const QDate& day);
    void EnableTimesheetEditing(bool enable);
    // A window tells whether it read what it shows (see CUnreadWindows).
    void NoteWindowRead(QWidget* window, bool read);
    bool IsWindowUnread(const QWidget* window) const;

    // ---- Review period --------------------------------------------------------------
    // Kinds 4 (this month) and 5 (this week, Monday to Sunday); false for others.
    static bool CalcReviewPeriod(QDate& end, QDate& start, int kind, const QDate& today);
    // Kinds 0..3: 7 x kind + 6 days before (relative 0) or after (1) the reference.
    static void FormatReviewDate(const QDate& reference, QDate& result, int kind, int relative);

    // ---- Keys -------------------------------------------------------------------------
    // Rebuilds the key commands from the stored "Keys" settings.
    void BuildKeyAccelerators();
    bool FindKeyCommand(int key, int& index, bool highlighted, bool editing, bool ctrlDown,
                        bool shiftDown) const;
    const CKeyCommands& KeyCommands() const { return m_keyCommands; }
    // The "Keys" values as last read, for the key-commands options page.
    const CProfile::CValues& KeyValues() const { return m_keyValues; }
    // The program-wide keys; dialogs that have the focus translate with them.
    const CAcceleratorTable& Accelerators() const { return m_accelerators; }

    // ---- Start-up timer and tray icon ------------------------------------------------
    static constexpr int kStartupTimerId = 148;
    // The delay the hub waits before it hides; a value >= 0 replaces the
    // one the start-up would choose (tests).
    void SetStartupDelayOverride(int ms) { m_startupDelayOverride = ms; }
    int StartupDelay() const { return m_startupDelay; }
    bool IsStartupPending() const { return m_startupPending; }
    bool IsStartupTimerActive() const;
    void OnTimer(int id);
    // A mouse message on the tray icon (CTrayIcon::MouseMessage).
    void OnTrayMouse(int mouseMessage);
    CTrayIcon* Tray() const { return m_tray; }
    CTrayIcon::CMenuState TrayMenuState() const;
    bool UserNameWasEmpty() const { return m_userNameEmpty; }

    // ---- State -----------------------------------------------------------------------
    int OpenWindows() const { return m_openWindows; }
    IHubWindow* Window(int command) const;
    bool IsAskingForUser() const { return m_askingForUser; }
    void SetAskingForUser(bool asking) { m_askingForUser = asking; }
    // A modal Set User round that ended without a user name stops further rounds.
    bool UserAskedInVain() const { return m_userAskedInVain; }
    // For a window that cannot show without a user of the database: the
    // user is asked modally, so nothing under the question can be used, and
    // the windows stay (the asking one reads the user itself).
    void AskForUserBeforeShowing();
    // Another database is in use: its own password rule and users count.
    void OnDatabaseSwitched();
    // The pending selection handed to the tasks and review windows.
    int m_pendingProjId = -1;
    // The employee whose project the project information is asked for (-1:
    // the current user).
    int m_pendingEmpId = -1;
    int m_pendingCompanyId = -1;
    bool m_pendingFlags[5] = {false, false, false, false, false};
    // The project-information pane of the time sheet is open.
    bool m_projectInfoBusy = false;
    // The review period the review window was last opened for.
    QDate m_reviewStart;
    QDate m_reviewEnd;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Slot {
        int flag = 0;
        IHubWindow* window = nullptr;
        QPointer<QWidget> widget;
        // Which window the slot holds, also once it is being destroyed.
        const QObject* object = nullptr;
    };
    int AdoptWindow(int command, int flag, IHubWindow* window);
    void OnWindowClosed(int command);
    // A window is destroyed: its slot is freed unless another window has it now.
    void OnWindowDestroyed(int command, const QObject* window);
    void CloseSlot(int command, int flag);
    void ReleaseIfIdle();
    void NotAvailable(int command);
    int ModalWindow(int command);
    void UpdateCaption();
    void StartStartupTimer(int delay);
    // Without a notification area the hub is the only way back to the program.
    bool CanHide() const;

    CDBClass* m_db;
    QHash<int, Slot> m_slots;
    CUnreadWindows* m_unread = nullptr;
    int m_openWindows = 0;
    bool m_askingForUser = false;
    bool m_keepWindowsOnNewUser = false;
    bool m_userAskedInVain = false;
    bool m_modalOpen = false;
    int m_passwordMode = -1;
    QLabel* m_status = nullptr;
    CElidedLabel* m_database = nullptr;

    CKeyCommands m_keyCommands;
    CProfile::CValues m_keyValues;
    CAcceleratorTable m_accelerators;
    CTrayIcon* m_tray = nullptr;
    QTimer* m_startupTimer = nullptr;
    int m_startupDelay = 10000;
    int m_startupDelayOverride = -1;
    bool m_startupPending = false;
    bool m_userNameEmpty = false;
    bool m_closing = false;
    bool m_started = false;
    bool m_aboutOpen = false;
    QPointer<CDialogBase> m_about;
    bool m_searchOpen = false;
};
