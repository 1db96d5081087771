#pragma once

#include "platform/com/EventSinkMap.h"
#include "timeline/PlentorCtrl.h"
#include "timeline/PlentorEvents.h"
#include "timeline/TimeLineWidget.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The control made directly (its class linked into the test), embedded in a
// window and listened to the way a container listens: through an event sink.
class CControlFixture {
public:
    struct Heard {
        PlentorEvent event;
        std::vector<std::int32_t> args;
        QString text;
    };

    explicit CControlFixture(QSize size = QSize(260, 510))
        : m_sink(CEventSinkMap::Create())
        , m_ctrl(ComPtr<CPlentorCtrl>::Adopt(new CPlentorCtrl))
    {
        for (int e = 1; e <= 20; ++e) {
            const auto event = static_cast<PlentorEvent>(e);
            m_sink->SetHandler(e, [this, event](std::span<const Variant> args) {
                Heard heard{event, {}, {}};
                for (const Variant& v : args) {
                    std::int32_t n = 0;
                    if (v.Type() == VarType::String)
                        v.ToQString(&heard.text);
                    else if (Succeeded(v.ToLong(&n)))
                        heard.args.push_back(n);
                }
                m_heard.push_back(heard);
                if (const auto it = m_handlers.find(event); it != m_handlers.end())
                    it->second(heard);
                return kS_OK;
            });
        }
        m_ctrl->Advise(m_sink.Get(), &m_cookie);
        m_window.resize(size);
        auto* layout = new QVBoxLayout(&m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        QWidget* widget = nullptr;
        m_ctrl->CreateWidget(&m_window, &widget);
        m_widget = static_cast<CTimeLineWidget*>(widget);
        layout->addWidget(widget);
    }

    // A container stops listening before it lets go of the control.
    ~CControlFixture() { m_ctrl->Unadvise(m_cookie); }

    // Shows the window and lets the first layout run; Ready has come then.
    void Show()
    {
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    // A day as the time-sheet window loads it.
    void LoadDay()
    {
        m_ctrl->ClearProjInfo();
        m_ctrl->SetProjInfo(QStringLiteral("Alpha"), 4, OleColor(0x0000FF));
        m_ctrl->SetProjInfo(QStringLiteral("Beta"), 7, OleColor(0x00C000));
        m_ctrl->SetProjInfo(QStringLiteral("Gamma"), 9, OleColor(0xFF8000));
        m_ctrl->ClearTimeInfo();
        m_ctrl->SetTimesheetTimes(11, 8 * 60, 9 * 60 + 30, 4, QString());
        m_ctrl->SetTimesheetTimes(12, 10 * 60, 12 * 60, 7, QStringLiteral("CR-17"));
        m_ctrl->SetTimesheetTimes(13, 13 * 60, 14 * 60 + 30, 9, QString());
        m_ctrl->DoPaint();
        Pump();
    }

    std::vector<Heard> Events(PlentorEvent event) const
    {
        std::vector<Heard> found;
        for (const Heard& h : m_heard) {
            if (h.event == event)
                found.push_back(h);
        }
        return found;
    }
    int Count(PlentorEvent event) const { return static_cast<int>(Events(event).size()); }

    // Qt drops a move to where the pointer already is, which a window of
    // an earlier test may have left it: come from beside the point.
    void Hover(QPoint at)
    {
        QTest::mouseMove(m_widget, at + QPoint(1, 1));
        QTest::mouseMove(m_widget, at);
    }

    CTimeLine& Engine() { return *m_ctrl->Engine(); }
    int Y(int minutes) { return Engine().YOfTime(minutes); }
    int X() { return Engine().ColumnLeft() + 27; }
    QPoint At(int minutes) { return QPoint(X(), Y(minutes)); }

    ComPtr<CEventSinkMap> m_sink;
    std::uint32_t m_cookie = 0;
    ComPtr<CPlentorCtrl> m_ctrl;
    QWidget m_window;
    CTimeLineWidget* m_widget = nullptr;
    std::vector<Heard> m_heard;
    std::map<PlentorEvent, std::function<void(const Heard&)>> m_handlers;
};
