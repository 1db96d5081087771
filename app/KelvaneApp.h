#pragma once

#include "app/Profile.h"
#include "data/DBConnection.h"
#include "data/FacadeClients.h"
#include "data/NameValueArray.h"
#include "ui/ContextHelpDlg.h"
#include "ui/UserCombo.h"

#include <QDate>
#include <QString>

#include <memory>

class CDBClass;
class CDummyDlg;
class CTerminationSignals;
class IItemList;
class QComboBox;
class QUrl;
class QMenu;
struct CMenuEntry;

// The program's one application object: start-up, sign-on, the shared
// services windows use, and shut-down. Reached through theApp().
class CKelvaneApp : public IFacadeHost, public IUserRights, public IContextHelpHook {
public:
    // What the connect loop does next.
    enum ConnectResult {
        kConnectClose = 0,
        kConnectRetry = 1,
        kConnectRetryReleased = 2,
        kConnectGoOn = 3
    };

    static constexpr double kMinDbVersion = 2.2;
    static constexpr const char* kClientVersion = "2.2.00";
    // The same version as databases name the programs they admit.
    static constexpr int kClientVersionNumber = 220;
    // While starting, a statement waits this long for another session's
    // lock, and may run this long, before the start says what blocks it.
    static constexpr CDBConnection::CWaitLimits kStartupWaitLimits{5000, 15000};

    CKelvaneApp();
    ~CKelvaneApp() override;
    CKelvaneApp(const CKelvaneApp&) = delete;
    CKelvaneApp& operator=(const CKelvaneApp&) = delete;

    // The whole life of the program up to the hub's loop: false when the
    // program must end (the reason was shown). RunHub then runs the loop.
    bool Start();
    int RunHub();
    void Shutdown();
    // From now on while this object lives, SIGTERM and SIGINT (a desktop
    // logout, Ctrl+C in a terminal) end the program as the hub's Close
    // command does, so that everything it started, the office too, ends
    // with it. The Close command may refuse while a dialog is open and
    // says why; another signal then ends the loops all the same.
    void CloseOnTerminationSignals();
    void OnTerminationSignal();

    int ConnectDatabase(bool releaseFirst, bool checkCached);
    bool LogOnUser();
    bool LoadCurrentEmployee(int& securityLevel);
    void RegisterStoredProcs();
    // The embedded database of a first start, made only when the profile has
    // never named a database (never as a fallback for one that failed).
    bool EnsureFirstStartDatabase();

    CDBClass* Facade() const { return m_db.get(); }
    CDummyDlg* Hub() const { return m_hub.get(); }
    const CNameValueArray& RequiredVersions() const { return m_requiredVersions; }
    int LogonMode() const { return m_logonMode; }
    int SecurityLevel() const override { return m_securityLevel; }
    int DefaultUserEmpId() const override;
    // F1 in a dialog: the help of the control with the focus.
    void ShowContextHelp(int helpId) override;
    // The topic of a help id (its low 16 bits); -1 when it has none.
    static int HelpTopicForId(int helpId);
    // The page context help opens: the topic's anchor, or the file's start.
    static QUrl ContextHelpUrl(const QString& file, int helpId);
    void SetSecurityLevel(int level) { m_securityLevel = level; }

    // ---- Services ------------------------------------------------------------
    QString GetDefaultUserName();
    void SetDefUserName(const QString& name);
    int GetCurrentEmpId();
    QString FormatSqlDate(const QDate& date, bool withTime = false) const;
    QString GetEditionName() const;
    QString BuildConnectionString(bool describe) const;
    // A database as the user knows it: the file, or server and database.
    static QString DescribeDatabase(const QString& connectionString);
    int GetComboSelectionId(QComboBox* combo, const QString& text, bool requireSelection);
    bool SetClipboardText(const QString& text);
    bool GetClipboardText(QString& text);
    // 0: empty, 1: the text given, 2: a stock comment picked at random.
    bool GetAutoComment(int mode, const QString& text, QString& comment) const;
    bool ChooseDatabaseFile(QString& folder, QString& fileName);
    bool ChooseTextFile(QString& fileName);
    bool SaveCurrentDate();
    // The window kind codes of the registered style sheets.
    static bool GetWindowCode(int command, QString& code);
    // Registered style sheets: at most kXsltSlots nickname and file pairs a
    // kind, in slots "0" to "9" of the kind's sections. Loading gives the
    // pairs in slot order, and their slots when asked; storing puts each pair
    // in the first free slot.
    static constexpr int kXsltSlots = 10;
    static bool LoadSaveXsltList(const QString& code, QStringList& nicknames, QStringList& files,
                                 bool load, QList<int>* slotNumbers = nullptr);
    static void DeleteXsltEntry(const QString& code, int slot);

    // The open windows.
    bool IsAutoLogging() const;
    void SetTimesheetReadOnly(int state);
    void PassDateToTimesheet(const QDate& day);
    void PassRecordToTimesheet(const QDate& day, int projId, const QString& user, int empId,
                               int start, int stop, const QString& text);
    // The project commands of a window's main menu, by the options.
    static QList<CMenuEntry> BuildProjectMenu(const QString& user);
    // A window's main menu as it opens: its "Contacts", "Comments" and
    // "Change Requests" commands shown by the options.
    static void BuildProjectMenu(QMenu* popup);

    // The day the time-sheet window shows.
    QDate CurrentDay() const { return m_currentDay; }
    void SetCurrentDay(const QDate& day);

    // IFacadeHost
    QString ApplicationUserName() const override;
    QString LoginName() const override;
    void ChooseUser() override;

private:
    std::unique_ptr<CDBClass> m_db;
    std::unique_ptr<CDummyDlg> m_hub;
    CNameValueArray m_requiredVersions;
    int m_logonMode = 0;
    int m_securityLevel = 0;
    QDate m_currentDay;
    QStringList m_stockComments;
    std::unique_ptr<CTerminationSignals> m_terminationSignals;
    bool m_closeAsked = false;
};

// The application object while the program runs.
CKelvaneApp& theApp();
bool HasApp();
// The "Admin" options as the running program reads them (booking interval
// and back end from the facade when there is one).
CProfile::CValues CurrentOptions();
