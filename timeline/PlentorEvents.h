#pragma once

#include <cstdint>

// The control's events, numbered by their place in its event interface; a
// container's sink map is keyed by these numbers.
enum class PlentorEvent : std::int32_t {
    OnNotifyTimeChange = 1, // (timeID, timeStart, timeStop, projID)
    HighlightTime,          // (timeID, timeStart, timeStop, projID)
    NotifyProjectSelChng,   // (projID)
    Ready,                  // ()
    NotifyTimeStart,        // (projID, startTime, createType)
    NotifyTimeStop,         // (projID, timeStop), always (-1, -1)
    OnNotifyTimeEdit,       // (projID, timeStart, timeStop)
    WantsEdit,              // (projID, timeID)
    NotifyTimePos,          // (timePos)
    NotifyCopyRec,          // (id, start, stop, projID)
    NotifyCopyData,         // (id, start, stop, projID)
    NotifyToolTip,          // (textStr, positionx, positiony), never raised
    NotifyShowProjInfo,     // (projID, empID)
    NotifySchedData,        // (timeID, timeStart, timeStop, projID)
    NotifyDeleteAll,        // (), answered with DeleteAllOKRet from the handler
    DoResizeMe,             // ()
    ObjectDrawn,            // ()
    NotifyKeyDown,          // (nChar, nRepCnt, nFlags)
    NotifyKeyUp,            // (nChar, nRepCnt, nFlags)
    MsgUpdate,              // (msg)
};

constexpr std::int32_t EventNumber(PlentorEvent event)
{
    return static_cast<std::int32_t>(event);
}
