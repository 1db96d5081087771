#pragma once

#include "timeline/PlentorEvents.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <span>

class CMsgSlotPool;

// Private messages the engine posts to itself. They are handled by
// whichever engine the control holds when they arrive, so a message posted
// just before a resize reaches the engine that replaced its sender.
enum class EngineMessage : int {
    ReportChanges = 201, // report every finished, unreported block
    PasteDone = 204,     // NotifyCopyData for the pasted block
    CopyDone = 205,      // NotifyCopyRec for the copied block
    Nothing = 240,
    ScheduleDone = 246, // NotifySchedData for the block to schedule
};

enum class TimeLineCursor { Arrow, SizeVertical };

// All the engine needs of the control around it. The engine knows no
// widget: what it would draw becomes state and a request to repaint.
class ITimeLineHost {
public:
    // Fires an event to the container at once; its handlers may call back
    // into the control before this returns.
    virtual void FireEvent(PlentorEvent event, std::span<const std::int32_t> args) = 0;
    // A status text for the container (MsgUpdate).
    virtual void SetMsgText(const QString& text) = 0;
    // Runs task later on this thread, once the current input is handled.
    // Pending tasks are dropped with the control.
    virtual void Post(std::function<void()> task) = 0;
    virtual void PostMessage(EngineMessage message) = 0;
    // The slots of the posted events; they outlive any one engine.
    virtual CMsgSlotPool& MsgSlots() = 0;
    virtual void SetCursor(TimeLineCursor cursor) = 0;
    // The engine's state changed; repaint when convenient.
    virtual void Invalidate() = 0;
    // Minutes since midnight now, local time.
    virtual int CurrentMinutes() = 0;
    // The same for a block made at now: the container first shows the day
    // it is now. -1 when no block can be made at now.
    virtual int MinutesToBookNow() = 0;
    // The minutes that passed between two minutes of the day shown (on the
    // nights the clock changes, not the difference of the two).
    virtual int ElapsedMinutes(int start, int stop) = 0;
    // What the engine would once have shown in a message box. The control
    // never blocks on it: the container hears it as a status text.
    virtual void ReportMessage(const QString& text) = 0;

protected:
    ~ITimeLineHost() = default;
};
