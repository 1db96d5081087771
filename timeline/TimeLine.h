#pragma once

#include "timeline/ProjObj.h"
#include "timeline/TimeBlock.h"
#include "timeline/TimeLineHost.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

// The time line's engine: one day of time blocks, the project list, the
// row grid and the editing state machine. It draws nothing itself; the
// control's widget paints what it holds, and everything it tells the
// container goes through its host.
class CTimeLine {
public:
    static constexpr int kMinutesPerDay = 1440;
    static constexpr int kGridTopMargin = 30;
    // The time column's narrowest width; it widens with the control.
    static constexpr int kColumnWidth = 55;
    static constexpr double kColumnLeft = 69.0; // before scaling
    static constexpr int kMaxProjects = 121;
    static constexpr int kLabelsPerPage = 15;
    static constexpr int kMaxClipPasses = 6;
    static constexpr int kRowTopCount = CTimeBlock::kLastRow + 1;

    enum class ObjectState { NONE, EDITING, CREATING, MOVING };
    enum class GrabEdge { GRAB_TOP, GRAB_BOT, GRAB_NOTHING };
    enum class Hit {
        INVALID_OUTSIDE_GRID = 1,
        INSIDE_EXISTING = 2,
        TOTALLY_NEW = 4,
        ON_EDGE = 5,
        EMPTY_GRID = 6, // moves only
    };

    // Bits of the mouse and key state.
    enum KeyState : unsigned {
        NO_KEY_STATE = 0,
        L_KEY_DWN_START = 1,
        L_KEY_DWN = 2,
        R_KEY_DWN = 8,
        MY_FORCE_KEY_UP = 16,
        MOUSEMOVE_STATE = 32,
        START_POSITION_FOUND = 64,
        CONTROL_STATE = 128,
        SEND_STATE = 256,
        TRY_CREATE = 512,
        CONTROL_INSIDE_REC = 1024,
        MAY_START_NEW = 2048, // a press on empty grid that may start a block
    };

    // The control's flags; while either is set nothing can be edited.
    enum ControlFlag : unsigned { kReadOnly = 1, kAutoTiming = 2 };

    enum Button : int {
        kNoButton = -1,
        kScrollUpButton = 204,
        kFirstRowButton = 205,
        kLastRowButton = 228,
        kScrollDownButton = 232,
        kNowButton = 237,
        kPageButton = 239,
    };

    enum Command : int {
        kCmdCopy = 202,
        kCmdPaste = 203,
        kCmdDelete = 229,
        kCmdEdit = 230,
        kCmdDeleteAll = 234,
        kCmdAddBlock = 238,
        kCmdSchedule = 245,
        kCmdInterval3 = 247,
        kCmdInterval2 = 248,
        kCmdInterval1 = 249,
        kCmdCut = 250,
    };

    struct IntervalChoice {
        int ordinal = 0;
        int minutes = 0;
        QString name;
    };

    struct MenuItem {
        int id = 0; // 0: a separator
        QString text;
        bool enabled = true;
        bool checked = false;
    };

    struct TipRecord {
        QString text;
        QRect rect;
        int flag = 0;
        int entryId = -1;
    };

    // A project shown on the current page: its colour button and label.
    struct ProjLabel {
        int index = -1;
        QRect button;
        int x = 0;
        int y = 0;
        QString text;
    };

    explicit CTimeLine(ITimeLineHost& host);
    ~CTimeLine();
    CTimeLine(const CTimeLine&) = delete;
    CTimeLine& operator=(const CTimeLine&) = delete;

    // --- Layout and lifetime --------------------------------------------
    // The first layout, after the control's first paint; fires Ready.
    void OnInit(const QRect& bounds, double scaleX, double scaleY);
    // Fills newEngine, not yet laid out, with this engine's projects, blocks
    // and settings; highlight and block in hand stay behind.
    void CopyDataTo(CTimeLine& newEngine) const;
    // Called on an engine the control has replaced: whatever of it is still
    // running stops reporting.
    void Retire();
    // New derived state for a full repaint (project column, current
    // project); fires ObjectDrawn.
    void Redraw();
    void SetControlFlags(unsigned flags);
    // A new width after the first layout: the columns follow it; the rows,
    // which depend on the height only, stay.
    void SetWidth(int width);
    // The locale's time format the desktop way ("HH:mm", "h:mm tt") and its
    // AM and PM texts.
    void SetLocaleFormats(const QString& timeFormat, const QString& amText, const QString& pmText);
    void SetVerticalDpi(int dpi) { m_dpiY = dpi > 0 ? dpi : 96; }

    // --- Mouse (the state machine) --------------------------------------
    void OnLButtonDown(unsigned flags, int x, int y);
    void OnMouseMove(unsigned flags, int x, int y);
    void OnLButtonUp(unsigned flags, int x, int y);
    void OnMyLButtonUp(unsigned flags, int x, int y);
    void OnLButtonDblClk(unsigned flags, int x, int y);
    // Finds the block under a right-button press.
    void OnRButtonDown(int x, int y);
    QString BuildAddBlockItem(int y) const;
    // The right-button menu at a point, as its items; editable says whether
    // the editing items are enabled.
    std::vector<MenuItem> ContextMenu(int x, int y, bool editable);
    // A command of the right-button menu, given at the point of the press.
    void OnMenuCommand(int command, QPoint menuPoint);
    unsigned& KeyStateMask() { return m_selKeyState; }
    unsigned KeyStateMask() const { return m_selKeyState; }
    Hit LastHit() const { return m_lastHit; }
    void SetObjectState(ObjectState state);

    // --- Blocks ---------------------------------------------------------
    bool SetTimesheetTimes(int entryId, int start, int stop, int projId, const QString& text);
    bool SetProjInfo(const QString& name, int projId, Colour colour);
    void ClearProjInfo();
    void ClearTimeInfo();
    void OnDeleteHighlighted(int entryId);
    void OnDeleteMarked();
    void DeleteAllToday();
    void DeleteAllOKRet(bool ok);
    void OnCopy();
    bool OnCutHighlight();
    void OnPaste();
    void OnSchedule();
    bool UpdateProjForTimeObj(int entryId, int oldProjId, int newProjId);
    bool ChangeProject(int entryId, int newProjId);
    bool EditObjById(int entryId, int start, int stop, int projId);
    bool SetChgRqstStr(const QString& text, int entryId);
    void RecreateToolTips();
    void OnSendMessage(EngineMessage message);
    // True when no listed block has id; otherwise id moves on to the first
    // free one.
    bool IsEntryIdFree(int& id) const;

    // --- View -----------------------------------------------------------
    bool SetMinIntervalVal(float minutes);
    // Stores a new increment and keeps the first row's time; no new layout.
    void SetIncrTime(int minutes);
    void OnIntervalChange(const QString& name);
    void SetStartPosHour(int hour, int minute, bool keep);
    void ScrollDownTo(int hour, int minute);
    bool ScrollToEarlier(int rows);
    bool ScrollToLater(int rows);
    bool ScrollToTime(int minutes);
    void OnButtonPress(int id);
    // The "now" action: a one-increment block at the current time's row.
    void MakeBlockNow();
    void PageProjects();
    int ActivateProjBut(int step);
    // Makes the project at index current, as a click on its button does.
    void ClickProject(int index);
    int ForceHighlight(int entryId, bool next);
    void ShowInsertionPoint(int minutes);
    int ShowCursorNow();
    void RemoveInsertionPoint();
    bool CreateEntryAt(int row, int length);
    int DrawTSEntryAt(int minutes);
    // The new block's entry id, or -1 when none was made.
    int DrawTSEntryStStp(int start, int stop);
    int DrawRectStartStop(int entryId, int start, int stop, int projId, bool announce);
    void SetTickTypes(int major, int minor);
    void SetCurrentProjID(int projId);
    void RemoveHighlight();
    int ForceEditHighlight();
    void SetTimeHHMM(bool asTime);
    void CreateGridMsg();
    void CreateHoursWorkedMsg();
    void CreateProjectNameMsg();
    void HighlightProjectName();
    void SetScrollSpeed(int ms) { m_scrollSpeed = ms; }
    void SetGrabWidth(int width) { m_grabWidth = width; }

    // --- Senders: posted ones go through a slot, the others fire at once --
    void SendTimeStart(int projId, int start, int state);
    void SendTimeInfo(int entryId, int start, int stop, int projId);
    void SendHighlightInfo(int entryId, int start, int stop, int projId);
    void SendTimeEdit(int projId, int start, int stop);
    void SendTimeStop() { Fire(PlentorEvent::NotifyTimeStop, {-1, -1}); }
    void ResetLimits();
    // Forgets the highlighted block without repainting it plain.
    void DropHighlightPointer() { m_highlighted = nullptr; }
    // Screen y of a time in the current geometry.
    int YOfTime(int minutes) const;

    // --- State read by the widget, the control and tests -----------------
    int Ready() const { return m_ready; }
    const QRect& Bounds() const { return m_bounds; }
    Colour TickColour() const { return m_tickColour; }
    int ColumnLeft() const;
    int ColumnWidth() const { return m_columnWidth; }
    int ColumnRight() const { return ColumnLeft() + m_columnWidth; }
    // What the button column and the project labels beside the time
    // column need, at the screen's resolution.
    int ProjectColumnWidth() const;
    // The width of a project label (twenty average characters).
    int ProjectLabelWidth() const { return 20 * ((7 * m_dpiY + 36) / 72); }
    int GridTop() const { return m_bounds.top() + kGridTopMargin; }
    int GridBottom() const { return m_gridBottom; }
    int RowHeight() const { return m_rowHeight; }
    int RowCount() const { return m_rowCount; }
    int RowTop(int row) const;
    int Increment() const { return m_increment; }
    int MinInterval() const { return m_minInterval; }
    double RoundBias() const { return m_roundBias; }
    int ScrollRows() const { return m_scrollRows; }
    int ScrollOffsetPx() const { return m_scrollRows * m_rowHeight; }
    // The time of the first grid row: the scroll offset is its only source.
    int FirstRowMinutes() const;
    int FirstHour() const { return FirstRowMinutes() / 60; }
    int FirstMinute() const { return FirstRowMinutes() % 60; }
    int LastRowMinutes() const { return FirstRowMinutes() + m_rowCount * m_increment; }
    bool AtTop() const;
    bool AtBottom() const;
    int ScrollSpeed() const { return m_scrollSpeed; }
    int GrabWidth() const { return m_grabWidth; }
    int NextEntryId() const { return m_nextEntryId; }
    ObjectState State() const { return m_objectState; }
    GrabEdge GrabbedEdge() const { return m_grabEdge; }
    int EdgeY() const { return m_edgeY; }
    bool EditLocked() const { return (m_controlFlags & (kReadOnly | kAutoTiming)) != 0; }
    bool Use12Hour() const { return m_use12Hour; }

    const std::vector<std::unique_ptr<CTimeBlock>>& Entries() const { return m_entries; }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    bool HasUnsentBlocks() const;
    CTimeBlock* FindById(int entryId) const;
    bool IsListed(const CTimeBlock* block) const;
    int GetEntryId(const CTimeBlock* block) const;
    const CTimeBlock* Highlighted() const { return m_highlighted; }
    const CTimeBlock* InHand() const { return m_inHand; }
    const CTimeBlock* Copied() const { return m_copied.get(); }
    int SelectedId() const { return m_selectedId; }
    // Screen y of a block's top and bottom, scroll included.
    int BlockTop(const CTimeBlock& block) const;
    int BlockBottom(const CTimeBlock& block) const;
    // The rectangle of a block being drawn or resized, for the rubber band.
    bool DragPreview(int* y1, int* y2, Colour* colour) const;
    bool InsertionShown() const { return m_insertShown; }
    int InsertionY() const;

    const std::vector<std::unique_ptr<CProjObj>>& Projects() const { return m_projects; }
    int CurrentProjIndex() const { return m_curProjIndex; }
    int CurrentProjId() const;
    int ProjectPageStart() const { return m_projPageStart; }
    int ProjectsPerPage() const { return m_projPageStep; }
    const std::vector<ProjLabel>& ProjLabels() const { return m_projLabels; }
    int HoveredLabel() const { return m_hoverLabel; }
    Colour ProjectColour(int projId) const;
    QString ProjectName(int projId) const;
    int ProjectIndexOf(int projId) const;
    int ProjectLabelAt(int x, int y) const;
    bool PageButtonEnabled() const;

    const std::vector<IntervalChoice>& Intervals() const { return m_intervals; }
    int CurrentIntervalIndex() const;
    const std::vector<TipRecord>& BlockTips() const { return m_blockTips; }
    const std::vector<TipRecord>& LabelTips() const { return m_labelTips; }
    QString TimeLabel(int row) const;
    int RowMinutes(int row) const { return FirstRowMinutes() + row * m_increment; }
    QString HoursText() const { return m_hoursText; }
    double HoursWorked() const { return m_hoursWorked; }
    // A time of day for status texts, in the locale's format.
    QString FormatTime(int minutes) const;
    QString BuildToolTipText(const CTimeBlock& block) const;

    // Where the child controls go, from the last layout.
    QRect ScrollUpRect() const { return m_scrollUpRect; }
    QRect ScrollDownRect() const { return m_scrollDownRect; }
    QRect PageRect() const { return m_pageRect; }
    QRect NowButtonRect() const { return m_nowRect; }
    QRect IntervalComboRect() const { return m_comboRect; }
    QRect HoursLabelRect() const { return m_hoursRect; }
    double ScaleX() const { return m_scaleX; }

    // Where the last mouse message was, for a paste from the keyboard.
    void SetLastPoint(QPoint point) { m_lastPoint = point; }

    // Whether a point lies in the time column between the grid's top and
    // bottom.
    bool InGrid(int x, int y) const;

private:
    // Mouse
    Hit HitTest(int x, int y);
    Hit HitTestMove(int x, int y);
    CTimeBlock* FindBlockAt(int x, int y, int* edgeY, int excludeId, bool exclude) const;
    CTimeBlock* FindEdgeAt(int x, int y);
    void FindclosestObjectsTo(int y);
    void CheckWithinConstraints(int& top, int& bottom) const;
    void DirFromY(int y);
    bool PointToTime(int y, int* hours, int* minutes);
    int PointToMinutes(int y);
    void LeftMouseDown(int x, int y);
    bool EditEdge(int x, int y);
    bool TestEdgeAtY(int& y, bool isStop, int* t);
    void HoverStep(int x, int y);
    void DrawHighlight(CTimeBlock* block, bool on);
    void ClearEdgeMark();
    void AbandonDrag();

    // Overlaps
    CTimeBlock* FindObjectInSpan(int x1, int y1, int x2, int y2, int* edgeY, bool exclude,
                                 const CTimeBlock* excluded) const;
    bool IsSpanOccupied(int x1, int y1, int x2, int y2) const;
    // Whether a listed block shares a minute with [start, stop).
    bool IsTimeOccupied(int start, int stop) const;
    bool ClipToNeighbour(CTimeBlock& a, CTimeBlock& b) const;
    bool CheckUntilNooverlaps(CTimeBlock*& a, bool* removed);
    CTimeBlock* FindOverlapping(const CTimeBlock& a) const;

    // Block list
    std::unique_ptr<CTimeBlock> NewBlock(int projId, const QString& text, int start, int stop,
                                         Colour colour);
    // A new block at a time, not yet listed; null unless the state is NONE.
    std::unique_ptr<CTimeBlock> CreateTimeObject(int hours, int minutes, int projId,
                                                 const QString& text, bool quiet);
    CTimeBlock* SetObjectEnd(CTimeBlock* block, int hours, int minutes);
    bool FinishTimeObject(bool topEdge, int x, int y);
    void AdjustEnd(bool topEdge, int x, int y);
    bool AddTimeObject(std::unique_ptr<CTimeBlock> block);
    bool RemoveFromInfoStore(CTimeBlock* block);
    void DeleteInfoStorage(bool report, bool markedOnly);
    void ScheduleReport();
    void ReportChanges();
    CTimeBlock* CopySource() const;
    std::unique_ptr<CTimeBlock> CloneBlock(const CTimeBlock& source, CTimeLine& owner) const;
    CTimeBlock* FindBySerial(std::uint64_t serial) const;
    // Drops every pointer to block before it goes.
    void ForgetBlock(const CTimeBlock* block);
    void ClearInHand();
    void ClearHighlight();
    void RecomputeHours();
    void RefreshHoursLabel();

    // View
    void LayoutRows();
    void LayoutControls();
    void LayoutProjects();
    void FillIntervals();
    void AfterScroll();
    bool StepScroll(bool later, int rows);
    QString GridText() const;
    double MinIntervalMinutes() const;
    void DrawCurrent(int index, bool announce);
    int DefaultStartHour() const;

    // Events
    void Fire(PlentorEvent event, std::initializer_list<std::int32_t> args);
    void Status(const QString& text);
    void Message(const QString& text);
    QString Span(const CTimeBlock& block) const;

    bool IsStateSet(unsigned bits) const { return (m_selKeyState & bits) != 0; }
    void SetState(unsigned bits) { m_selKeyState |= bits; }
    void ClearState(unsigned bits) { m_selKeyState &= ~bits; }
    int ColumnX() const { return ColumnLeft() + 1; }

    ITimeLineHost& m_host;
    unsigned m_controlFlags = 0;
    int m_dpiY = 96;

    std::vector<TipRecord> m_blockTips;
    std::vector<TipRecord> m_labelTips;
    std::vector<ProjLabel> m_projLabels;
    int m_hoverLabel = -1;
    ObjectState m_objectState = ObjectState::NONE;
    std::unique_ptr<CTimeBlock> m_template;
    QString m_timeFmt = QStringLiteral("%H:%M");
    QString m_amText = QStringLiteral("AM");
    QString m_pmText = QStringLiteral("PM");
    bool m_use12Hour = false;

    CTimeBlock* m_highlighted = nullptr;
    CTimeBlock* m_hitPos = nullptr;
    CTimeBlock* m_inHand = nullptr;
    // The block the last move step found under the mouse.
    CTimeBlock* m_moveBlock = nullptr;
    // The block in hand while it is not listed (being drawn, or a copy to
    // schedule); owned here until it is listed or dropped.
    std::unique_ptr<CTimeBlock> m_loose;
    std::unique_ptr<CTimeBlock> m_copied;

    DragDir m_dragDir = DragDir::UNDECIDED;
    Colour m_tickColour = 0;
    GrabEdge m_grabEdge = GrabEdge::GRAB_NOTHING;
    QRect m_bounds;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    int m_columnWidth = kColumnWidth;
    int m_highlightId = -1;
    int m_nextEntryId = 0;
    int m_increment = 60;
    int m_lastY = -1;
    QPoint m_lastPoint;
    int m_scrollRows = 0;
    int m_scrollSpeed = 150;
    int m_gridBottom = kGridTopMargin;
    int m_curProjIndex = 0;
    int m_projPageStart = 0;
    int m_projPageStep = 1;
    int m_rowHeight = 14;
    int m_rowCount = 8;
    int m_edgeY = -1;
    int m_grabWidth = 2;
    std::array<int, kRowTopCount> m_rowTop{};
    bool m_deleteAnswered = false;
    bool m_deleteOk = false;
    bool m_askingDeleteAll = false;
    int m_curProjId = -1;
    // The project last announced with NotifyProjectSelChng.
    int m_shownProjId = INT32_MIN;
    double m_hoursWorked = 0.0;
    QString m_hoursText = QStringLiteral(" 0 hours");
    bool m_hoursAsTime = false;
    Hit m_lastHit = Hit::INVALID_OUTSIDE_GRID;
    int m_limitAbove = -1;
    int m_limitBelow = -1;
    int m_minInterval = 6;
    double m_roundBias = 3.0;
    unsigned m_selKeyState = NO_KEY_STATE;
    std::vector<std::unique_ptr<CTimeBlock>> m_entries;
    std::vector<std::unique_ptr<CProjObj>> m_projects;
    std::vector<IntervalChoice> m_intervals;
    int m_ready = 0;
    bool m_busy = false;
    bool m_retired = false;
    bool m_tellingTimePos = false;
    int m_minHeightPx = 1;
    float m_minIntervalF = -1.0f;
    int m_insertTime = 0;
    bool m_insertShown = false;
    int m_tickMajor = 1;
    int m_tickMinor = 1;
    int m_selectedId = 0;
    std::uint64_t m_nextSerial = 1;

    QRect m_scrollUpRect;
    QRect m_scrollDownRect;
    QRect m_pageRect;
    QRect m_nowRect;
    QRect m_comboRect;
    QRect m_hoursRect;
};
