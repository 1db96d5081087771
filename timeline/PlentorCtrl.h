#pragma once

#include "platform/com/ControlImpl.h"
#include "timeline/MsgSlotPool.h"
#include "timeline/TimeLine.h"
#include "timeline/TimeLineHost.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <memory>
#include <vector>

class CTimeLineWidget;
class ITimeLineDay;

// The time-line control as its container sees it: the dispatch members,
// the events, and the engine and widget behind them. Members never fail:
// called without an engine they do nothing and return the fixed answer of
// their kind.
class CPlentorCtrl : public CControlImpl<CPlentorCtrl>, private ITimeLineHost {
public:
    CPlentorCtrl();
    ~CPlentorCtrl() override;

    static const CDispatchTable<CPlentorCtrl>& DispatchTable();
    // The text fonts before the container sets its own: smaller on a screen
    // scaled above 96 dpi.
    static FontDesc DefaultFont(double scale, int weight);

    // --- Dispatch members, in DISPID order ------------------------------
    QString ProjectName() const { return m_projectName; }
    void SetProjectName(const QString& name);
    std::int16_t StartPosition() const { return 0; }
    void SetStartPosition(std::int16_t hour);
    bool BReadOnly() const { return (m_controlFlags & CTimeLine::kReadOnly) != 0; }
    void SetBReadOnly(bool on);
    std::int32_t ScrlSpeed() const;
    void SetScrlSpeed(std::int32_t ms);
    FontDesc TextFont() const { return m_textFont; }
    void SetTextFont(const FontDesc& font);
    FontDesc FontSB() const { return m_fontSB; }
    void SetFontSB(const FontDesc& font);
    OleColor BackColor() const { return m_backColor; }
    void SetBackColor(OleColor colour);
    std::int16_t ActivateWindow() const { return 0; }
    void SetActivateWindow(std::int16_t value);
    // TRUE only while auto-timing is the one flag: read-only outranks it.
    bool BAutoTiming() const { return m_controlFlags == CTimeLine::kAutoTiming; }
    void SetBAutoTiming(bool on);
    bool SetProjInfo(const QString& name, std::int32_t projId, OleColor colour);
    bool SetTimesheetTimes(std::int32_t entryId, std::int32_t start, std::int32_t stop,
                           std::int32_t projId, const QString& text);
    void DoPaint();
    void ClearProjInfo();
    void ClearTimeInfo();
    std::int16_t ScrollDownTo(std::int16_t hour);
    std::int16_t DeleteHighlightObj();
    void buttpresstest();
    std::int16_t UpdateProjForTimeObj(std::int32_t entryId, std::int32_t oldProjId,
                                      std::int32_t newProjId);
    void SetTimeHHMM(std::int16_t asTime);
    void SetStartPosHour(std::int16_t hour);
    std::int32_t GetIncrementValue();
    void SetIncrTime(std::int16_t minutes);
    std::int16_t GetStartValue();
    void SetCurrentProjID(std::int32_t projId);
    std::int16_t DeleteObjByID(std::int32_t entryId);
    void ChangeProject(std::int32_t entryId, std::int32_t oldProjId, std::int32_t newProjId);
    void SetGrabWidth(std::int16_t width);
    void ReSizeControl(std::int16_t cx, std::int16_t cy);
    void DeleteAllOKRet(std::int16_t ok);
    void SendDeleteKey();
    bool SetNowTimeObj();
    void DeleteAllToday();
    void GetControlSize(std::int32_t* cx, std::int32_t* cy);
    void DoResize(std::int16_t cx, std::int16_t cy);
    void ScrollOne(bool up, std::int16_t amount);
    QString GetVersion();
    void RecreateToolTips();
    bool SetMinIntervalVal(std::int16_t minutes);
    bool SetTickTypes(std::int16_t major, std::int16_t minor);
    void RightHandMenuActivate(std::int32_t command, std::int16_t minutes);
    std::int16_t ForceHighlight(std::int32_t entryId, bool forward);
    bool RemoveHighlight();
    void MenuDeactivate() {}
    std::int16_t DrawTSEntryAt(std::int16_t minutes);
    bool OnCutHighlight();
    bool DrawTSEntryStStp(std::int16_t start, std::int16_t stop);
    bool IsHighlightObj();
    bool IsMenuActive() { return m_menuActive; }
    std::int16_t CreateRectStSp(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                std::int16_t)
    {
        return -1;
    }
    std::int16_t ActivateProjBut(std::int16_t step);
    bool CreateRectStStp(std::int16_t entryId, std::int16_t start, std::int16_t stop,
                         std::int16_t projId, std::int16_t notify, std::int16_t* selected);
    void HighlightProjectName();
    bool ShowInsertionPoint(std::int16_t minutes);
    bool RemoveInsertionPoint();
    std::int16_t ForceEditHighlight();
    bool ForceFocus();
    bool ForceKillFocus();
    bool IsInFocus() { return m_hasFocus; }
    void DrawFocusRect(bool on);
    void ScrollNewProjects();
    bool DeleteObj(std::int16_t entryId);
    void ReadMsgUpdate(const QString&) {}
    bool EditObjById(std::int32_t entryId, std::int32_t start, std::int32_t stop,
                     std::int32_t projId);
    void CreateGridMsg();
    void CreateHoursWorkedMsg();
    std::int32_t ShowCursorNow();
    void CreateProjectNameMsg();
    void InvalidateControl();
    bool SetReadOnly(bool on);
    bool setAutoTiming(bool on);
    bool SetChgRqstStr(const QString& text, std::int32_t entryId);

    // The standard members.
    OleColor ForeColor() const { return m_foreColor; }
    void SetForeColor(OleColor colour);
    FontDesc Font() const { return m_font; }
    void SetFont(const FontDesc& font);
    std::int32_t HWnd() const { return 0; }
    void AboutBox();

    // --- The widget's input, as the control window handles it ------------
    void OnMouseMove(int x, int y);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnLButtonDblClk(int x, int y);
    void OnRButtonDown(int x, int y);
    void OnRButtonUp();
    void OnMouseWheel(int delta);
    void OnKeyDown(int key, int repeat, unsigned flags);
    void OnKeyUp(int key, int repeat, unsigned flags);
    void OnSetFocus();
    void OnKillFocus();
    // The focus is gone; what else a loss of focus does may follow later.
    void ForgetFocus()
    {
        m_hasFocus = false;
        Invalidate();
    }
    // A press of a scroll or page button, or the interval choice.
    void OnChildButton(int id);
    void OnIntervalChosen(const QString& name);
    // The tool-tip text of a child button, told to the container too.
    void SetMsgText(const QString& text) override;
    // Called by every paint with the widget's rectangle; the first one
    // schedules the engine's first layout.
    void OnPaint(const QRect& bounds);
    // The window got another size (from its container's layout, say): the
    // columns follow its width.
    void OnWidgetResized(const QSize& size);

    // --- What the widget paints with --------------------------------------
    const CTimeLine* Engine() const { return m_engine.get(); }
    CTimeLine* Engine() { return m_engine.get(); }
    const QFont& TextQFont() const { return m_textQFont; }
    const QFont& BoldQFont() const { return m_boldQFont; }
    QColor PaintBackColour() const;
    bool ShowsFocusRect() const { return m_drawFocusRect && m_hasFocus; }
    int RequestedWidth() const { return m_requestedWidth; }
    const QString& LastMsgText() const { return m_msgText; }

protected:
    QWidget* MakeWidget(QWidget* parent) override;

private:
    // Keeps replaced engines alive while any engine call is still running.
    class EngineScope {
    public:
        explicit EngineScope(CPlentorCtrl& ctrl);
        ~EngineScope();
        EngineScope(const EngineScope&) = delete;
        EngineScope& operator=(const EngineScope&) = delete;

    private:
        CPlentorCtrl& m_ctrl;
    };

    ITimeLineHost& Host() { return *this; }
    // ITimeLineHost
    void FireEvent(PlentorEvent event, std::span<const std::int32_t> args) override;
    void Post(std::function<void()> task) override;
    void PostMessage(EngineMessage message) override;
    CMsgSlotPool& MsgSlots() override { return m_msgSlots; }
    void SetCursor(TimeLineCursor cursor) override;
    void Invalidate() override;
    int CurrentMinutes() override;
    int MinutesToBookNow() override;
    int ElapsedMinutes(int start, int stop) override;
    void ReportMessage(const QString& text) override;
    // The container's clock and day; null without one.
    ITimeLineDay* DayService() const;

    void FirstLayout();
    void ApplyFlags();
    void UpdateFonts();
    void ComputeScale();
    void ApplyLocale(CTimeLine& engine) const;
    // The widget's and the engine's own notion of the control's size.
    void SetControlSize(int cx, int cy);

    unsigned m_controlFlags = 0;
    CMsgSlotPool m_msgSlots;
    int m_requestedWidth = 0;
    std::array<int, 2> m_startHourCopy{-1, -1};
    FontDesc m_textFont;
    FontDesc m_fontSB;
    FontDesc m_font;
    bool m_textFontSet = false;
    bool m_fontSBSet = false;
    QFont m_textQFont;
    QFont m_boldQFont;
    std::int16_t m_activateWindow = 0;
    bool m_hasFocus = false;
    bool m_drawFocusRect = false;
    QString m_msgText;
    double m_scaleX = 0;
    double m_scaleY = 0;
    std::unique_ptr<CTimeLine> m_engine;
    std::vector<std::unique_ptr<CTimeLine>> m_retired;
    int m_engineDepth = 0;
    int m_resizeDepth = 0;
    bool m_firstPaint = true;
    bool m_firstLayoutPosted = false;
    OleColor m_backColor{0x8000000F};
    OleColor m_foreColor{0x80000012};
    bool m_menuActive = false;
    QPoint m_menuPoint;
    QRect m_bounds;
    QString m_projectName;
    QPointer<CTimeLineWidget> m_widget;
    // Posted tasks go with the control.
    QObject m_poster;
};
