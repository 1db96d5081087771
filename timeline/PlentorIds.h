#pragma once

#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "timeline/PlentorEvents.h"

#include <cstdint>

// What a container knows of the time-line control: its class ids, its
// members by DISPID and (in PlentorEvents.h) its events.
namespace PlentorIds {

inline constexpr Guid kTypeLib = Guid::Literal("{4170551C-F04B-11D1-ACC6-0040053F2CF2}");
inline constexpr Guid kDispatchIid = Guid::Literal("{4170551D-F04B-11D1-ACC6-0040053F2CF2}");
inline constexpr Guid kEventsIid = Guid::Literal("{4170551E-F04B-11D1-ACC6-0040053F2CF2}");
inline constexpr Guid kClsid = Guid::Literal("{4170551F-F04B-11D1-ACC6-0040053F2CF2}");
inline constexpr Guid kPropPageClsid = Guid::Literal("{41705520-F04B-11D1-ACC6-0040053F2CF2}");
inline constexpr const char* kProgId = "PLENTORX.PlentorCtrl.1";
inline constexpr const char* kPropPageProgId = "PLENTORX.PlentorPropPage.1";
inline constexpr std::uint32_t kMiscStatus = 0x20191;
inline constexpr const char* kVersionText = "2, 1, 0, 7 ";

// The service a container may offer through its site so that the line reads
// the program's clock and counts hours on the day it shows: an ITimeLineDay
// (timeline/TimeLineDay.h), owned by the container.
inline constexpr Guid kDayService = Guid::Literal("{22EFC25A-B23E-4873-9958-165442A4324C}");

// Members in dispatch order; the DISPID is the position.
enum Member : DispId {
    kProjectName = 1,       // property, text
    kStartPosition,         // property, short
    kBReadOnly,             // property, BOOL
    kScrlSpeed,             // property, long
    kTextFont,              // property, font
    kFontSB,                // property, font
    kBackcolour,            // property, OLE colour (the standard BackColor)
    kActivateWindow,        // property, short
    kBAutoTiming,           // property, BOOL
    kSetProjInfo,           // (text, long, colour) -> BOOL
    kSetTimesheetTimes,     // (long x 4, text) -> BOOL
    kDoPaint,               // ()
    kClearProjInfo,         // ()
    kClearTimeInfo,         // ()
    kScrollDownTo,          // (short) -> short
    kDeleteHighlightObj,    // () -> short
    kButtpresstest,         // ()
    kUpdateProjForTimeObj,  // (long x 3) -> short
    kSetTimeHHMM,           // (short)
    kSetStartPosHour,       // (short)
    kGetIncrementValue,     // () -> long
    kSetIncrTime,           // (short)
    kGetStartValue,         // () -> short
    kSetCurrentProjID,      // (long)
    kDeleteObjByID,         // (long) -> short
    kChangeProject,         // (long x 3)
    kSetGrabWidth,          // (short)
    kReSizeControl,         // (short, short)
    kDeleteAllOKRet,        // (short)
    kSendDeleteKey,         // ()
    kSetNowTimeObj,         // () -> BOOL
    kDeleteAllToday,        // ()
    kGetControlSize,        // (long*, long*)
    kDoResize,              // (short, short)
    kScrollOne,             // (BOOL, short)
    kGetVersion,            // () -> text
    kRecreateToolTips,      // ()
    kSetMinIntervalVal,     // (short) -> BOOL
    kSetTickTypes,          // (short, short) -> BOOL
    kRightHandMenuActivate, // (long, short)
    kForceHighlight,        // (long, BOOL) -> short
    kRemoveHighlight,       // () -> BOOL
    kMenuDeactivate,        // ()
    kDrawTSEntryAt,         // (short) -> short
    kOnCutHighlight,        // () -> BOOL
    kDrawTSEntryStStp,      // (short, short) -> BOOL
    kIsHighlightObj,        // () -> BOOL
    kIsMenuActive,          // () -> BOOL
    kCreateRectStSp,        // (short x 5) -> short
    kActivateProjBut,       // (short) -> short
    kCreateRectStStp,       // (short x 5, short*) -> BOOL
    kHighlightProjectName,  // ()
    kShowInsertionPoint,    // (short) -> BOOL
    kRemoveInsertionPoint,  // () -> BOOL
    kForceEditHighlight,    // () -> short
    kForceFocus,            // () -> BOOL
    kForceKillFocus,        // () -> BOOL
    kIsInFocus,             // () -> BOOL
    kDrawFocusRect,         // (BOOL)
    kScrollNewProjects,     // ()
    kDeleteObj,             // (short) -> BOOL
    kReadMsgUpdate,         // (text)
    kEditObjById,           // (long x 4) -> BOOL
    kCreateGridMsg,         // ()
    kCreateHoursWorkedMsg,  // ()
    kShowCursorNow,         // () -> long
    kCreateProjectNameMsg,  // ()
    kInvalidateControl,     // ()
    kSetReadOnly,           // (BOOL) -> BOOL
    kSetAutoTiming,         // (BOOL) -> BOOL
    kSetChgRqstStr,         // (text, long) -> BOOL
};

// The standard members.
inline constexpr DispId kStockBackColor = -501;
inline constexpr DispId kStockFont = -512;
inline constexpr DispId kStockForeColor = -513;
inline constexpr DispId kStockHWnd = -515;
inline constexpr DispId kStockAboutBox = -552;

} // namespace PlentorIds
