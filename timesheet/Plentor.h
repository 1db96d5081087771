#pragma once

#include "platform/com/ControlHost.h"

#include <QString>

#include <cstdint>

// The day time line as the time-sheet window drives it: every member is
// one call of the control's member of that number. Times are minutes since
// midnight; ids and colours are longs.
class CPlentor : public CControlHost {
public:
    static constexpr const char* kClassId = "{4170551F-F04B-11D1-ACC6-0040053F2CF2}";

    // The control's events, by number.
    enum Event : int {
        kOnNotifyTimeChange = 1,
        kHighlightTime = 2,
        kNotifyProjectSelChng = 3,
        kReady = 4,
        kNotifyTimeStart = 5,
        kNotifyTimeStop = 6,
        kOnNotifyTimeEdit = 7,
        kWantsEdit = 8,
        kNotifyTimePos = 9,
        kNotifyCopyRec = 10,
        kNotifyCopyData = 11,
        kNotifyToolTip = 12,
        kNotifyShowProjInfo = 13,
        kNotifySchedData = 14,
        kNotifyDeleteAll = 15,
        kDoResizeMe = 16,
        kObjectDrawn = 17,
        kNotifyKeyDown = 18,
        kNotifyKeyUp = 19,
        kMsgUpdate = 20,
    };

    explicit CPlentor(QWidget* parent = nullptr);

    // Creates the control by its class id; false (with LastResult()) when
    // it is not registered or cannot be loaded.
    bool Create();

    void SetscrlSpeed(int speed);
    bool SetProjInfo(const QString& name, int projId, int colour);
    bool SetTimesheetTimes(int timeId, int start, int stop, int projId, const QString& text);
    void DoPaint();
    void ClearProjInfo();
    void ClearTimeInfo();
    int DeleteHighlightObj();
    int UpdateProjForTimeObj(int timeId, int oldProjId, int newProjId);
    void SetTimeHHMM(int value);
    void SetStartPosHour(int hour);
    int GetIncrementValue();
    void SetIncrTime(int minutes);
    void SetCurrentProjID(int projId);
    int DeleteObjByID(int timeId);
    void ChangeProject(int timeId, int oldProjId, int newProjId);
    void SetGrabWidth(int width);
    void ReSizeControl(int width, int height);
    void DeleteAllOKRet(bool yes);
    void SendDeleteKey();
    bool SetNowTimeObj();
    void DeleteAllToday();
    void DoResize(int width, int height);
    void ScrollOne(bool up, int rows);
    QString GetVersion();
    void RecreateToolTips();
    bool SetMinIntervalVal(int minutes);
    bool SetTickTypes(int major, int minor);
    void RightHandMenuActivate(int command, int minute);
    int ForceHighlight(int timeId, bool forward);
    bool RemoveHighlight();
    bool DrawTSEntryStStp(int start, int stop);
    bool IsHighlightObj();
    bool IsMenuActive();
    int ActivateProjBut(int step);
    // The highlight result of the new block comes back in `result`.
    bool CreateRectStStp(int timeId, int start, int stop, int projId, int notify, int& result);
    void HighlightProjectName();
    bool ShowInsertionPoint(int minute);
    bool RemoveInsertionPoint();
    int ForceEditHighlight();
    bool ForceFocus();
    bool ForceKillFocus();
    bool IsInFocus();
    void DrawFocusRect(bool show);
    void ScrollNewProjects();
    bool DeleteObj(int timeId);
    bool EditObjById(int timeId, int start, int stop, int projId);
    void CreateGridMsg();
    void CreateHoursWorkedMsg();
    int ShowCursorNow();
    void CreateProjectNameMsg();
    void InvalidateControl();
    bool SetReadOnly(bool readOnly);
    bool setAutoTiming(bool timing);
    bool SetChgRqstStr(const QString& text, int timeId);

    // Values the control takes as shorts; anything outside is refused
    // rather than cut (a cut id would name another block).
    static bool FitsShort(int value);
};
