#include "bench/BenchUtil.h"
#include "timeline/MsgSlotPool.h"
#include "timeline/PlentorCtrl.h"
#include "timeline/TimeLine.h"
#include "timeline/TimeLineHost.h"
#include "timeline/TimeLinePainter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdio>
#include <deque>
#include <functional>

// Figures of the time line: a full repaint of a day with 200 blocks,
// offscreen (target under 2 ms), beside the same on an empty day; and a drag
// across the day in the engine, press, 500 moves and release, per move.

namespace {

constexpr int kBlocks = 200;
constexpr int kMoves = 500;
constexpr int kRuns = 31;

// An engine's host that does nothing but run what is posted, when asked.
class CQuietHost : public ITimeLineHost {
public:
    void FireEvent(PlentorEvent, std::span<const std::int32_t>) override { ++m_events; }
    void SetMsgText(const QString&) override {}
    void Post(std::function<void()> task) override { m_posted.push_back(std::move(task)); }
    void PostMessage(EngineMessage message) override
    {
        m_posted.push_back([this, message] { m_engine->OnSendMessage(message); });
    }
    CMsgSlotPool& MsgSlots() override { return m_slots; }
    void SetCursor(TimeLineCursor) override {}
    void Invalidate() override {}
    int CurrentMinutes() override { return 9 * 60; }
    int MinutesToBookNow() override { return 9 * 60; }
    int ElapsedMinutes(int start, int stop) override
    {
        return stop > start ? stop - start : start - stop;
    }
    void ReportMessage(const QString&) override {}

    void RunPosted()
    {
        while (!m_posted.empty()) {
            auto task = std::move(m_posted.front());
            m_posted.pop_front();
            task();
        }
    }

    CTimeLine* m_engine = nullptr;
    std::deque<std::function<void()>> m_posted;
    CMsgSlotPool m_slots;
    long m_events = 0;
};

void LoadDay(CTimeLine& engine, int blocks)
{
    engine.ClearTimeInfo();
    for (int i = 0; i < blocks; ++i) {
        const int start = i * 1440 / kBlocks;
        engine.SetTimesheetTimes(i, start, start + 6, 4 + i % 3, QString());
    }
}

std::unique_ptr<CTimeLine> MakeEngine(CQuietHost& host, int blocks)
{
    auto engine = std::make_unique<CTimeLine>(host);
    host.m_engine = engine.get();
    engine->OnInit(QRect(0, 0, 300, 750), 1.0, 1.0);
    engine->SetProjInfo(QStringLiteral("Alpha"), 4, 0x0000FF);
    engine->SetProjInfo(QStringLiteral("Beta"), 5, 0x00C000);
    engine->SetProjInfo(QStringLiteral("Gamma"), 6, 0xFF8000);
    engine->Redraw();
    LoadDay(*engine, blocks);
    host.RunPosted();
    return engine;
}

// One drag from the grid's top to its bottom; the block it makes is taken
// away again so every run starts from the same day.
void Drag(CTimeLine& engine, CQuietHost& host)
{
    const int before = engine.GetCount();
    const int x = engine.ColumnLeft() + 27;
    const int top = engine.GridTop() + 1;
    const int bottom = engine.GridBottom() - 1;
    engine.KeyStateMask() |= CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN;
    engine.OnLButtonDown(0, x, top);
    for (int i = 1; i <= kMoves; ++i)
        engine.OnMouseMove(0, x, top + (bottom - top) * i / kMoves);
    engine.OnLButtonUp(0, x, bottom);
    engine.KeyStateMask() &= ~unsigned(CTimeLine::L_KEY_DWN_START | CTimeLine::L_KEY_DWN);
    engine.SetObjectState(CTimeLine::ObjectState::NONE);
    host.RunPosted();
    if (engine.GetCount() > before)
        engine.OnDeleteHighlighted(engine.Entries().back()->m_entryId);
}

double PaintMs(const CTimeLine& engine, QImage& image, const CTimeLinePainter::Style& style)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        QPainter painter(&image);
        CTimeLinePainter(engine, style).Paint(painter, image.rect());
        painter.end();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return MedianOf(times);
}

double DragUsPerMove(CTimeLine& engine, CQuietHost& host)
{
    std::vector<double> times;
    Drag(engine, host);
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        Drag(engine, host);
        times.push_back(timer.nsecsElapsed() / 1e3 / kMoves);
    }
    return MedianOf(times);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintLoad("bench_timeline");

    CTimeLinePainter::Style style;
    style.textFont = QFont(QStringLiteral("MS Sans Serif"), 8);
    style.boldFont = QFont(QStringLiteral("MS Sans Serif"), 8, 600);
    style.back = QColor(0xEF, 0xEF, 0xEF);
    style.buttonText = Qt::black;
    style.highlight = QColor(0x30, 0x8C, 0xC6);
    style.highlightText = Qt::white;

    CQuietHost dayHost;
    auto day = MakeEngine(dayHost, kBlocks);
    CQuietHost emptyHost;
    auto empty = MakeEngine(emptyHost, 0);
    QImage image(300, 750, QImage::Format_ARGB32_Premultiplied);

    PaintMs(*day, image, style); // warm up glyph caches
    const double paintDay = PaintMs(*day, image, style);
    const double paintEmpty = PaintMs(*empty, image, style);
    std::printf("%-52s %8.3f ms  (empty day %.3f ms)  target < 2 ms: %s\n",
                "full repaint, a day of 200 blocks, offscreen", paintDay, paintEmpty,
                paintDay < 2.0 ? "ok" : "MISSED");

    // The same through the control's widget, children and all.
    {
        ComPtr<CPlentorCtrl> ctrl = ComPtr<CPlentorCtrl>::Adopt(new CPlentorCtrl);
        QWidget window;
        window.resize(300, 750);
        QWidget* widget = nullptr;
        ctrl->CreateWidget(&window, &widget);
        widget->resize(300, 750);
        window.show();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        ctrl->SetProjInfo(QStringLiteral("Alpha"), 4, OleColor(0x0000FF));
        ctrl->SetProjInfo(QStringLiteral("Beta"), 5, OleColor(0x00C000));
        ctrl->SetProjInfo(QStringLiteral("Gamma"), 6, OleColor(0xFF8000));
        for (int i = 0; i < kBlocks; ++i) {
            const int start = i * 1440 / kBlocks;
            ctrl->SetTimesheetTimes(i, start, start + 6, 4 + i % 3, QString());
        }
        ctrl->DoPaint();
        QImage target(widget->size(), QImage::Format_ARGB32_Premultiplied);
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            widget->render(&target);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("%-52s %8.3f ms\n", "the widget rendered with its children", MedianOf(times));
    }

    const double dragEmpty = DragUsPerMove(*empty, emptyHost);
    const double dragDay = DragUsPerMove(*day, dayHost);
    std::printf("%-52s %8.2f us\n", "drag across an empty day, per move (500 moves)", dragEmpty);
    // On a full day the press lands in a block: every move hit-tests and
    // hovers over the 200 blocks instead.
    std::printf("%-52s %8.2f us\n", "same moves over a day of 200 blocks, per move", dragDay);
    return 0;
}
