#pragma once

#include "app/HubWindow.h"
#include "timesheet/TimeSheetController.h"
#include "ui/AcceleratorTable.h"
#include "ui/SecurityDlg.h"
#include "ui/TipButton.h"

#include <QDate>
#include <QSize>

#include <memory>

class CDBClass;
class CPlentor;
class CRichTextCtrl;
class CTipDateTimeCtrl;
class CTipMonthCalCtrl;
class CUserCombo;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;

// The window in which an employee records a day: the time line of the
// employee's blocks, the day and the employee shown, and what is known of
// the block in hand. Its logic is the controller's; the window lays out the
// controls, passes the control's events on and shows what it is told.
class CTimeAppDlg : public CSecurityDlg,
                    public IHubWindow,
                    public ITimeSheetUi,
                    public ITipButtonOwner {
    Q_OBJECT
public:
    // Makes the window with its time line; null (after saying why) when the
    // time-line control cannot be created.
    static CTimeAppDlg* Create(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CTimeAppDlg() override;

    bool OnCommand(int id) override;

    CTimeSheetController& Controller() { return *m_ctl; }
    CPlentor& TimeLine() { return *m_plentor; }

    // ---- IHubWindow ----------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    void RefreshDay(const QDate& day) override;
    void EnableEditing(bool enable) override { EnableBlockMenus(enable); }
    void SetReadOnly(int state) override;
    void ShowDay(const QDate& day) override;
    void ApplySettings() override;
    void ShowRecord(const QDate& day, int projId, const QString& user, int empId, int start,
                    int stop, const QString& text) override;
    void ReadAgain() override;

    // ---- ITimeSheetUi ---------------------------------------------------------------
    int SelectedEmployeeId() override;
    QString SelectedUserName() override;
    int AccessMode() const override { return Value(); }
    void SetStatusText(const QString& text) override;
    void ShowEntry(const CEntryContext& entry) override;
    void SetCaption(const QString& caption) override;
    void EnableBlockMenus(bool enable) override;
    void ShowDate(const QDate& day) override;
    void EnableUndoRedo(bool undo, bool redo) override;
    void FirstLayout() override;
    QWidget* DialogParent() override { return this; }
    bool AppActive() const override;
    bool UserComboHasFocus() const override;
    void FocusControl(int id) override;
    void CloseWindow() override { close(); }
    void ShowProjectInfo(int projId) override;
    bool UsersRead() const override { return !m_usersNotRead; }
    void NoteDataRead(bool read) override;

    // ---- Keys ------------------------------------------------------------------------
    int HandleKey(int virtualKey, int message) override;
    int OnKeyCommand(int keyCode, int modifier) override;

    // The user combo chose another employee (its rights check passed).
    void OnSelChangeUser() override;
    void OnDayButtonMsg(int id) override { OnDayButton(id); }

    // Refreshes the clock text (the window's timer does it every 10 s).
    void UpdateClock();
    QString ClockText() const;
    QString StatusText() const;

protected:
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    CTimeAppDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent);
    void BuildControls();
    void BuildMenus();
    void WireEvents();
    void FillUsers();
    // Starts the line on the signed-on employee; false while the employees
    // cannot be read.
    bool StartWithUser();
    void OnDayButton(int id);
    // Moves to a day and names it in the status line.
    void ShowDayTold(const QDate& day);
    void SizeTimeLine();
    void SizeTo(int width, int height);
    void SaveState();

    CDummyDlg* m_hub;
    CDBClass& m_db;
    CPlentor* m_plentor = nullptr;
    std::unique_ptr<CTimeSheetController> m_ctl;
    CUserCombo* m_users = nullptr;
    CTipDateTimeCtrl* m_datePicker = nullptr;
    CTipMonthCalCtrl* m_calendar = nullptr;
    CTipButton* m_prevDay = nullptr;
    CTipButton* m_nextDay = nullptr;
    CRichTextCtrl* m_comment = nullptr;
    CAcceleratorTable m_accelerators;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_clock = nullptr;
    QLineEdit* m_dateText = nullptr;
    QLabel* m_project = nullptr;
    QLabel* m_start = nullptr;
    QLabel* m_stop = nullptr;
    QLabel* m_workType = nullptr;
    QLabel* m_task = nullptr;
    QLabel* m_order = nullptr;
    QLabel* m_hours = nullptr;
    QLabel* m_cost = nullptr;
    QTimer* m_clockTimer = nullptr;
    QMenu* m_mainMenu = nullptr;
    QSize m_timeLineSize;
    bool m_closing = false;
    bool m_settingDate = false;
    bool m_userAbsent = false;
    // The employees could not be read when it opened: nothing is started yet.
    bool m_usersNotRead = false;
    // What the status line last said of the line's data.
    bool m_dataRead = true;
    bool m_blockEditing = true;
    QTime m_lastClock;
};
