#pragma once

#include "timeline/MsgSlotPool.h"
#include "timeline/TimeLine.h"
#include "timeline/TimeLineHost.h"

#include <QString>
#include <QStringList>

#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <vector>

// The engine's world in a test: events are recorded, posted work waits
// until the test runs it, and the clock says what the test wants.
class CFakeHost : public ITimeLineHost {
public:
    struct Event {
        PlentorEvent event;
        std::vector<std::int32_t> args;
    };

    void FireEvent(PlentorEvent event, std::span<const std::int32_t> args) override
    {
        m_events.push_back({event, std::vector<std::int32_t>(args.begin(), args.end())});
        if (const auto it = m_handlers.find(event); it != m_handlers.end())
            it->second(m_events.back().args);
    }
    void SetMsgText(const QString& text) override
    {
        m_texts << text;
        if (m_onText)
            m_onText(text);
    }
    void Post(std::function<void()> task) override { m_posted.push_back(std::move(task)); }
    void PostMessage(EngineMessage message) override
    {
        m_posted.push_back([this, message] {
            if (m_engine)
                m_engine->OnSendMessage(message);
        });
    }
    CMsgSlotPool& MsgSlots() override { return m_slots; }
    void SetCursor(TimeLineCursor cursor) override { m_cursor = cursor; }
    void Invalidate() override { ++m_invalidations; }
    int CurrentMinutes() override { return m_now; }
    int MinutesToBookNow() override
    {
        ++m_bookNowAsked;
        return m_bookNow ? m_bookNow() : m_now;
    }
    int ElapsedMinutes(int start, int stop) override
    {
        return m_elapsed ? m_elapsed(start, stop) : std::abs(stop - start);
    }
    void ReportMessage(const QString& text) override { m_messages << text; }

    // Runs what was posted, and what that posts, until nothing is left.
    void RunPosted()
    {
        while (!m_posted.empty()) {
            auto task = std::move(m_posted.front());
            m_posted.pop_front();
            task();
        }
    }

    void On(PlentorEvent event, std::function<void(const std::vector<std::int32_t>&)> handler)
    {
        m_handlers[event] = std::move(handler);
    }

    std::vector<Event> Events(PlentorEvent event) const
    {
        std::vector<Event> found;
        for (const Event& e : m_events) {
            if (e.event == event)
                found.push_back(e);
        }
        return found;
    }
    int Count(PlentorEvent event) const { return static_cast<int>(Events(event).size()); }
    void Clear()
    {
        m_events.clear();
        m_texts.clear();
        m_messages.clear();
    }

    CTimeLine* m_engine = nullptr;
    std::vector<Event> m_events;
    QStringList m_texts;
    QStringList m_messages;
    std::deque<std::function<void()>> m_posted;
    std::map<PlentorEvent, std::function<void(const std::vector<std::int32_t>&)>> m_handlers;
    std::function<void(const QString&)> m_onText;
    CMsgSlotPool m_slots;
    TimeLineCursor m_cursor = TimeLineCursor::Arrow;
    int m_invalidations = 0;
    int m_now = 9 * 60;
    // The container's answers about the day, when a test gives them.
    std::function<int()> m_bookNow;
    std::function<int(int, int)> m_elapsed;
    int m_bookNowAsked = 0;
};

// An engine laid out like a tall control: 24 rows of 60 minutes, 20 pixels
// each, the time column from x = 69 to 124, the grid from y = 30 to 510.
class CEngineFixture {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 510;

    CEngineFixture()
        : m_engine(m_host)
    {
        m_host.m_engine = &m_engine;
        m_engine.OnInit(QRect(0, 0, kWidth, kHeight), 1.0, 1.0);
        m_engine.SetProjInfo(QStringLiteral("Alpha"), 4, 0x0000FF);
        m_engine.SetProjInfo(QStringLiteral("Beta"), 7, 0x00FF00);
        m_host.RunPosted();
        m_host.Clear();
    }

    // Screen y of a time in the current geometry.
    int Y(int minutes) const { return m_engine.YOfTime(minutes); }
    static int X() { return 69 + 27; }

    // The control's own press and release, around the engine's.
    void Press(int y, int x = X())
    {
        m_engine.KeyStateMask() |= CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN;
        m_engine.OnLButtonDown(0, x, y);
    }
    void Move(int y, int x = X()) { m_engine.OnMouseMove(0, x, y); }
    void Release(int y, int x = X())
    {
        m_engine.OnLButtonUp(0, x, y);
        m_engine.KeyStateMask() &= ~unsigned(CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN);
        m_engine.SetObjectState(CTimeLine::ObjectState::NONE);
        m_host.RunPosted();
    }
    // A drag from one time to another, in steps of a few pixels.
    void Drag(int fromMinutes, int toMinutes)
    {
        const int y1 = Y(fromMinutes);
        const int y2 = Y(toMinutes);
        Move(y1);
        Press(y1);
        const int step = y2 > y1 ? 3 : -3;
        for (int y = y1 + step; step > 0 ? y < y2 : y > y2; y += step)
            Move(y);
        Move(y2);
        Release(y2);
    }

    const CTimeBlock* Block(int entryId) const { return m_engine.FindById(entryId); }

    CFakeHost m_host;
    CTimeLine m_engine;
};
