#pragma once

#include "app/KeyCommands.h"
#include "app/Profile.h"
#include "data/DateTime.h"
#include "data/FacadeClients.h"
#include "data/RowTimes.h"
#include "timeline/TimeLineDay.h"
#include "timesheet/EntryContext.h"
#include "timesheet/SaveTimesDlg.h"

#include <QDate>
#include <QDateTime>
#include <QHash>

#include <functional>
#include <memory>

class CDBClass;
class CKeyCommands;
class CPlentor;
class CScheduleTimeDlg;
struct CTimeSheetEntry;
class CUndoRecord;
class QWidget;

// The Save Times dialog for a window: the change-request variant when
// time is booked to change requests.
std::unique_ptr<CSaveTimesDlg> MakeSaveTimesDialog(ISaveTimesOwner& owner,
                                                   const CSaveTimesInput& input, QWidget* parent,
                                                   bool withChangeRequests);

// What the controller needs of the window around it.
class ITimeSheetUi {
public:
    virtual ~ITimeSheetUi() = default;
    // The employee chosen in the user combo; -1 when none.
    virtual int SelectedEmployeeId() = 0;
    virtual QString SelectedUserName() = 0;
    // 1: the shown time sheet may only be viewed.
    virtual int AccessMode() const = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // The info area shows the entry in hand.
    virtual void ShowEntry(const CEntryContext& entry) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void EnableBlockMenus(bool enable) = 0;
    // The calendar, the date picker and the date text show the day.
    virtual void ShowDate(const QDate& day) = 0;
    virtual void EnableUndoRedo(bool undo, bool redo) = 0;
    // The window lays out its controls the first time the control is ready.
    virtual void FirstLayout() = 0;
    virtual QWidget* DialogParent() = 0;

    // Keys: where the focus is and what the accelerators move it to.
    virtual bool AppActive() const { return true; }
    virtual bool UserComboHasFocus() const { return false; }
    // A control of the window by its id (the day buttons, the calendar,
    // the date picker, the user combo; the time line for 1033).
    virtual void FocusControl(int /*id*/) {}
    virtual void CloseWindow() {}
    virtual void ShowProjectInfo(int /*projId*/) {}
    // The employees could be read when the window opened: until they are,
    // nothing is read for an employee.
    virtual bool UsersRead() const { return true; }
    // The line shows what the database holds (projects and day read), or not.
    virtual void NoteDataRead(bool /*read*/) {}
};

// The logic of the time-sheet window: the day on the time line, and every
// block drawn, moved, edited, pasted or deleted turned into a row. It
// works on the control wrapper, the facade and the window's few needs, so
// it runs without a screen.
class CTimeSheetController : public ISaveTimesOwner, public ITimeSheetView, private ITimeLineDay {
public:
    // Messages the window shows for a write's result.
    static QString ResultMessage(int result);

    CTimeSheetController(CPlentor& control, CDBClass& db, ITimeSheetUi& ui);
    ~CTimeSheetController() override;
    CTimeSheetController(const CTimeSheetController&) = delete;
    CTimeSheetController& operator=(const CTimeSheetController&) = delete;

    // The day shown first and the control's start-up settings.
    void Start(const QDate& day);
    void SetEmployee(int empId) { m_empId = empId; }
    // From now on settings are no longer applied; open dialogs end.
    void Close();

    // ---- Control events -------------------------------------------------------
    void OnReady();
    void OnTimeChange(int timeId, int start, int stop, int projId);
    void OnHighlightTime(int timeId, int start, int stop, int projId);
    void OnProjectSelChange(int projId);
    void OnTimeStart(int projId, int start, int drawing);
    void OnTimeStop();
    void OnTimeEdit(int blockId, int start, int stop);
    void OnWantsEdit(int projId, int timeId);
    void OnTimePos(int minute);
    void OnCopyRec(int timeId, int start, int stop, int projId);
    void OnCopyData(int newId, int start, int stop, int projId);
    void OnDeleteAll();
    // The user asked to copy the block onto other days (Schedule Time).
    void OnSchedData(int timeId, int start, int stop, int projId);

    // The one way a block becomes a row (also for undo and redo): the
    // write's result, 0 also when there was nothing to write, -1 when the
    // block was not taken.
    int CentralStore(int timeId, int start, int stop, int projId, int chgReqId, bool replay);

    // ---- The day ------------------------------------------------------------------
    // The employee's projects onto the line, and the tasks of those shown.
    void LoadProjectList();
    // False when the day could not be read: the line keeps the rows last read.
    bool LoadDay(const QDate& day);
    // A day out of step with the database (a read or a write of it failed)
    // is read again, without a word, once the database answers: after each
    // action on the time sheet and at the window's clock tick.
    void CatchUpWithDatabase();
    // What the window could not read is read again: the employee's projects
    // and day, also when it could not read them at all when it opened.
    void ReadAgain();
    // Navigation: clears the history and shows another day.
    void GoToDay(const QDate& day);
    void RefreshTimesheet();
    void RefreshProjects();
    void OnSelChangeUser();
    void UpdateReadOnlyState(int mode);
    // A block booked elsewhere (the auto timer) on a day, shown as the entry
    // in hand when it belongs to the day and the employee shown.
    void SetCurrentEntry(const QDate& day, int projId, const QString& projName, int empId,
                         int start, int stop, const QString& comment);
    bool ApplySettings();
    void ApplyTimeFormat();

    // ---- Keys ------------------------------------------------------------------------
    // The user's key commands (the hub's table); the profile's when none.
    void SetKeyCommands(const CKeyCommands* table) { m_keyTable = table; }
    // A key pressed (0x100) or released (0x101): 1 when it was handled.
    int HandleKey(int virtualKey, int message);
    // An accelerator key: the character or virtual key, and 17 Ctrl or 18 Alt.
    int OnKeyCommand(int keyCode, int modifier);
    // Commands 12863 to 12879; true when handled.
    bool RunKeyCommand(int command);
    bool IsInsertionShown() const { return m_insertionShown; }
    int InsertionMinute();
    bool ShiftHeld() const;
    bool CtrlHeld() const;

    // ---- Undo -------------------------------------------------------------------------
    void OnUndo();
    void OnRedo();
    bool ApplyUndoStep(int kind, CUndoRecord* record) override;
    bool ApplyRedoStep(int kind, CUndoRecord* record) override;
    int CommentSwitch() const override { return 0; }

    // ---- What Save Times reads and writes ------------------------------------------
    CEntryContext& EntryContext() override { return m_entry; }
    CPickListContext* PickListContext() override { return &m_pickContext; }
    bool& ShowAllProjects() override { return m_showAllProjects; }
    QString EmployeeName() override;
    CDBClass& Facade() override { return m_db; }
    void MoveBlockToProject(int timeId, int oldProjId, int newProjId) override;
    void ApplyProjectDefaults(int projId, CEntryContext& entry) override;
    void SetProjectChangedOnLine(bool changed) override { m_projectChangedOnLine = changed; }

    // ---- State --------------------------------------------------------------------------
    const CEntryContext& Entry() const { return m_entry; }
    QDate ShownDay() const { return m_day; }
    int EmployeeId() const { return m_empId; }
    bool IsBusy() const { return m_busy; }
    bool IsDrawing() const { return m_drawing; }
    bool ProjectsLoaded() const { return m_projectsLoaded; }
    bool DayLoaded() const { return m_dayLoaded; }
    int ReadyCount() const { return m_readyCount; }
    int HighlightedBlock() const { return m_highlighted; }
    bool IsSaveTimesRunning() const { return m_saveTimesRunning; }
    CScheduleTimeDlg* ScheduleDialog() const { return m_schedule; }
    CSaveTimesDlg* SaveTimesDialog() const { return m_saveTimes.get(); }
    const CProfile::CValues& Options() const { return m_options; }
    void ReloadOptions();
    int BookingInterval() const;
    // The block the time line shows for a stored row (CRowTimes::LineBlock
    // with the booking interval).
    CRowTimes::CSpan LineBlock(const CTimeSheetEntry& row) const;

private:
    // Tells the window whether the line shows what the database holds.
    void TellReadState();
    // What the time line asks about the day it shows.
    int MinutesNow() override;
    int MinutesToBookNow() override;
    int ElapsedMinutes(int start, int stop) override;

    // A copied block's value, taken whole when it is copied.
    struct CCopiedBlock {
        bool valid = false;
        int projId = -1;
        QDate day;
        int empId = -1;
        int timeId = -1;
        int taskId = -1;
        int orderId = -1;
        int workTypeId = -1;
        int chgReqId = -1;
        QString comment;
    };

    // A warning the user answers with OK.
    static void Warn(const QString& text);
    static QString UnknownWorkType() { return QStringLiteral("Unknown Work Type"); }
    int CurrentEmployee();
    CDateTime WorkDate() const;
    // What ShowEntry tells of the entry in hand.
    enum class EntryShown {
        Details, // the info area, from the entry context as it stands
        Stored,  // the entry's row as the shown day holds it, in the info area
        Told,    // as Stored, and the status line says what the row is now
    };
    void ClearInfo();
    void ClearInfoTexts();
    // The block of an undo or redo step becomes the entry in hand.
    void TakeStepBlock(const CUndoRecord& record);
    // The one place the entry in hand becomes the info area's texts and the
    // status line: every event path ends here, so neither says anything but
    // what is stored (or, while a block is drawn, what is in hand).
    void ShowEntry(EntryShown shown = EntryShown::Details);
    void SetTimes(int start, int stop);
    void FillTimeTexts();
    bool FindStoredRow(int timeId, CTimeSheetEntry& row);
    // The stored row a block of the line shows, by the key it was shown or
    // stored with: false for a block never stored, or whose number another
    // row has taken since.
    bool FindLineRow(int timeId, CTimeSheetEntry& row);
    // An undo or redo step re-applied to its row, found by the row's key.
    bool ReplayStep(int kind, CUndoRecord& record, bool replay);
    // A TimeID that no row of the day and no block of the line has.
    int FreeTimeId(int preferred) const;
    void TakeStoredRow(const CTimeSheetEntry& row);
    void MakeProjectCurrent(int projId);
    void SetShownDay(const QDate& day);
    // The cached rows of the day onto the (cleared) line; the first becomes
    // the entry in hand when asked.
    void ShowDayOnLine(bool firstRowInHand);
    // The order's hour rate into the entry; "ERROR on order rate" when the
    // project has no such order.
    bool TakeOrderRate(int projId, int orderId);
    void ResetToProjectDefaults(int projId);
    // A step re-applied from the history: the entry gets back every value
    // the row had, the order's rate included.
    void TakeReplayRecord();
    void UpdateCost();
    void Status(const QString& text);
    void ReportResult(int result);
    void RememberTaskAndWorkType();
    // The task and work type last booked on the project, when the options
    // keep them (with the task's own order when asked).
    void ApplyRememberedDefaults(bool withOrder);
    // The end of an action: a refresh owed by a change that came while
    // another block was stored, and a day out of step read again.
    void FinishBusyWork();
    void UpdateUndoMenus();
    void RemoveInsertionPoint();
    void MoveHighlighted(int command);
    void TellHighlightedDetails();

    int CreateEntryFromBlock(int projId, int empId, int start, int stop, int timeId, int chgReqId,
                             bool replay);
    int CreateEntry(bool replay, int empId, int timeId, int projId, int start, int stop);
    int EditExistingTimeSheetEntry(int projId, int empId, int chgReqId, int start, int stop,
                                   int timeId, bool replay);
    int WriteEntry(bool existing, int empId, int start, int stop, int timeId, bool skipCheck,
                   bool showMessage, bool replay);
    int CheckOverlap(bool skip, bool showMessage, bool existing, int empId, int start, int stop,
                     int timeId);
    CSaveTimesDlg& AskSaveTimes(bool replay, int timeId, bool noDefaults);
    int RunSaveTimes();
    void TakeSaveTimesChoices(int timeId, int blockProjId);
    void SetChangeRequestText(int timeId);
    bool FindBlockRow(int timeId, int start, int stop, int projId, CTimeSheetEntry& row);

    CPlentor& m_control;
    CDBClass& m_db;
    ITimeSheetUi& m_ui;
    CProfile::CValues m_options;
    CProfile::CValues m_keys;

    QDate m_day;
    int m_empId = -1;
    CEntryContext m_entry;
    // The time id of the entry in hand; -1 for none or a block not yet stored.
    int m_inHandId = -1;
    bool m_entryHasTimes = false;
    // The entry in hand as last found stored, so that its going can be told.
    int m_storedId = -1;
    int m_storedStart = 0;
    int m_storedStop = 0;
    // Counts the status texts this controller gave, so a later one knows
    // whether it would cover them.
    int m_statusesSaid = 0;
    CPickListContext m_pickContext;
    bool m_showAllProjects = false;
    bool m_projectChangedOnLine = false;
    QString m_lastComment;
    QString m_chgReqText;
    CCopiedBlock m_copied;
    // The key (TimesheetID) of the row each stored block of the line shows.
    QHash<int, int> m_lineKeys;
    std::unique_ptr<CUndoRecord> m_replay;

    // Defaults cached for the last project and task asked.
    int m_defaultsProjId = -1;
    CEntryContext m_defaults;

    std::unique_ptr<CSaveTimesDlg> m_saveTimes;
    bool m_saveTimesIsVariant = false;
    CScheduleTimeDlg* m_schedule = nullptr; // while it runs
    bool m_saveTimesRunning = false;
    bool m_busy = false;
    bool m_storing = false;
    bool m_refreshWhenIdle = false;
    bool m_drawing = false;
    bool m_closing = false;
    bool m_projectsLoaded = false;
    QList<int> m_shownProjects; // the projects the line took
    bool m_dayLoaded = false;
    bool m_readingDay = false;
    bool m_firstSizeDone = false;
    bool m_starting = false;
    int m_readyCount = 0;
    int m_highlighted = -1;
    int m_insertionMinute = -1;
    int m_insertionDefault = -1;
    bool m_insertionShown = false;
    bool m_runningKeyCommand = false;
    bool m_quietOverlap = false;
    unsigned m_heldModifiers = 0;
    const CKeyCommands* m_keyTable = nullptr;
    std::unique_ptr<CKeyCommands> m_ownKeyTable;
};
