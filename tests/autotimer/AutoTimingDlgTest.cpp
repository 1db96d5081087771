#include "autotimer/AutoTimingDlg.h"
#include "app/DummyDlg.h"
#include "app/TrayIcon.h"
#include "autotimer/TimerIcons.h"
#include "tests/autotimer/AutoTimerFixture.h"
#include "tests/support/TimeZoneScope.h"
#include "ui/CaptionWidth.h"
#include "ui/ResourceIds.h"
#include "ui/TipButton.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>

#include <memory>

namespace {

class AutoTimingDlgTest : public AutoTimerTest {
protected:
    void SetUp() override
    {
        AutoTimerTest::SetUp();
        RegisterHubWindow(ID_AUTO_TIMER, [this](CDummyDlg& hub) -> IHubWindow* {
            return new CAutoTimingDlg(&hub, m_db, &hub);
        });
        m_hub = std::make_unique<CDummyDlg>(&m_db);
        Open();
    }
    void TearDown() override
    {
        m_hub.reset();
        UnregisterHubWindow(ID_AUTO_TIMER);
        AutoTimerTest::TearDown();
    }
    void Open()
    {
        m_hub->OnCommand(ID_AUTO_TIMER);
        m_window = dynamic_cast<CAutoTimingDlg*>(m_hub->Window(ID_AUTO_TIMER));
        ASSERT_NE(m_window, nullptr);
    }
    void Close()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void ChooseProject(int index)
    {
        Projects()->setCurrentIndex(index);
        m_window->OnSelChangeProject();
    }
    void ClickGo(int hour, int minute)
    {
        At(hour, minute);
        Go()->click();
    }
    CTipButton* Go() const { return m_window->Control<CTipButton>(CAutoTimingDlg::kIdGo); }
    QComboBox* Projects() const { return m_window->Control<QComboBox>(CAutoTimingDlg::kIdProject); }
    QComboBox* Tasks() const { return m_window->Control<QComboBox>(CAutoTimingDlg::kIdTask); }
    QString Status() const { return m_window->Control<QLabel>(CAutoTimingDlg::kIdStatus)->text(); }
    QString Day() const { return FormatDateTime(CDateTime(m_day), RegionalFormats().dateFormat); }

    std::unique_ptr<CDummyDlg> m_hub;
    CAutoTimingDlg* m_window = nullptr;
};

} // namespace

TEST_P(AutoTimingDlgTest, OpensOnTheRememberedProjectWithItsTasks)
{
    // Nothing remembered: the first project, remembered from then on.
    EXPECT_EQ(Projects()->currentText(), QStringLiteral("Apollo"));
    EXPECT_EQ(Tasks()->currentText(), QStringLiteral("Launch"));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Auto Timer -  Ann Lee,  Apollo"));
    EXPECT_EQ(Status(), QStringLiteral("Select a Project from the combo and start logging by "
                                       "pressing the Go button"));
    // Every line of the hint shows at the window's size.
    QCoreApplication::processEvents();
    const QLabel* hint = m_window->Control<QLabel>(CAutoTimingDlg::kIdStatus);
    EXPECT_GE(hint->height(), hint->heightForWidth(hint->width()));
    EXPECT_LE(hint->geometry().bottom(), hint->parentWidget()->height());
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/autotimer-idle.png"));
    ChooseProject(1);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Auto Timer -  Ann Lee,  Bridge"));
    EXPECT_EQ(Tasks()->count(), 2);
    EXPECT_TRUE(Go()->Tip().Text().isEmpty());
    Close();
    Open();
    EXPECT_EQ(Projects()->currentText(), QStringLiteral("Bridge"));

    // Not remembered, the profile keeps what it had; a project no longer
    // offered gives the first.
    m_window->Control<QCheckBox>(CAutoTimingDlg::kIdRemember)->click();
    ChooseProject(0);
    Close();
    EXPECT_EQ(CProfileStore().value(QStringLiteral("LoggingDlg/Default")).toInt(), kBridge);
    Option("LoggingDlg/Default", 99);
    Open();
    EXPECT_EQ(Projects()->currentText(), QStringLiteral("Apollo"));

    // A project without tasks cannot be timed.
    Exec(
        QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, UseTeamCheck) VALUES (3, 'Zeta', "
                       "?)"),
        {false});
    Close();
    Open();
    ChooseProject(2);
    ClickGo(10, 7);
    EXPECT_FALSE(m_window->IsTiming());
    EXPECT_EQ(Messages(), QStringList({"Choose a task before saving"}));
}

TEST_P(AutoTimingDlgTest, GoAndStopSwitchTheWindowBetweenTimingAndIdle)
{
    ChooseProject(1);
    ClickGo(10, 7);
    EXPECT_TRUE(m_window->IsTiming());
    EXPECT_EQ(Status(), QStringLiteral("Logging started: 10:00 (8 mins)"));
    EXPECT_EQ(m_window->windowTitle(),
              QStringLiteral("Timer ON  10:00-10:15 Ann Lee, Bridge (%1) ").arg(Day()));
    // The frame shows the whole caption.
    EXPECT_GE(m_window->width(), CaptionWidth(*m_window));
    EXPECT_EQ(Go()->text(), QStringLiteral("Stop"));
    EXPECT_EQ(Go()->Tip().Text(), QStringLiteral("Stop Logging Bridge"));
    EXPECT_FALSE(Projects()->isEnabled());
    const CQueryResult task = Query(QStringLiteral("SELECT TaskID FROM tblTimeSheet"));
    EXPECT_EQ(task.Value(0, 0).toInt(), Tasks()->currentData().toInt());
    At(10, 31);
    m_window->Engine().TimerProc(CBookTime::kBookTimerId);
    EXPECT_EQ(Status(), QStringLiteral("Logging started: 10:00 (14 mins)"));

    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/autotimer.png"));

    // The hub's stop-timing command (the tray menu's "Stop Timer"); twice stops once.
    At(10, 40);
    m_hub->OnCommand(ID_STOP_TIMING);
    m_hub->OnCommand(ID_STOP_TIMING);
    EXPECT_FALSE(m_window->IsTiming());
    EXPECT_EQ(Go()->text(), QStringLiteral("Go"));
    EXPECT_TRUE(Projects()->isEnabled());
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Timer OFF  Ann Lee, (%1)").arg(Day()));
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_EQ(Rows(), QStringList({"1 600-645 Logged"}));

    // "Always on top" keeps the window shown and checks its menu item.
    QAction* onTop = m_window->findChild<QAction*>(QStringLiteral("cmd12808"));
    m_window->OnCommand(CAutoTimingDlg::kIdAlwaysOnTop);
    EXPECT_TRUE(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(onTop->isChecked());
    EXPECT_TRUE(m_window->isVisible());
}

TEST_P(AutoTimingDlgTest, GoAsksBeforeBookingPastTheStopTimeAndRefusesTooManyAdvances)
{
    CRecordingMessages::Current().Answer(kIdNo);
    ClickGo(17, 45);
    EXPECT_FALSE(m_window->IsTiming());
    CRecordingMessages::Current().Answer(kIdYes);
    ClickGo(17, 45); // once: the engine does not ask again
    EXPECT_TRUE(m_window->IsTiming());
    EXPECT_EQ(Rows(), QStringList({"1 1065-1080 Logged"}));
    EXPECT_EQ(Messages().size(), 2);
    Go()->click();

    Option("Admin/AutoLogAdvBook", 0);
    Book(9, 600, 615);
    CRecordingMessages::Current().Answer(kIdYes);
    // Nothing is booked: the caption never claims a running block.
    QStringList titles;
    QObject::connect(m_window, &QWidget::windowTitleChanged,
                     [&titles](const QString& title) { titles << title; });
    ClickGo(10, 5);
    EXPECT_EQ(Messages().size(), 4);
    EXPECT_EQ(Messages().last(), QStringLiteral("Too many entries booked into the future - you "
                                                "must wait for these to be timed out"));
    EXPECT_FALSE(m_window->IsTiming());
    EXPECT_EQ(Go()->text(), QStringLiteral("Go"));
    EXPECT_TRUE(titles.filter(QStringLiteral("Timer ON")).isEmpty())
        << titles.join('|').toStdString();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Timer OFF  Ann Lee, (%1)").arg(Day()));
}

TEST_P(AutoTimingDlgTest, ClosingWhileTimingAsksAndStops)
{
    ClickGo(10, 7);
    CRecordingMessages::Current().Answer(kIdNo);
    m_window->close();
    EXPECT_TRUE(m_window->IsTiming());
    CRecordingMessages::Current().Answer(kIdYes);
    Close();
    EXPECT_EQ(m_hub->Window(ID_AUTO_TIMER), nullptr);
    EXPECT_EQ(m_hub->OpenWindows(), 0);
    EXPECT_TRUE(CProfileStore().contains(QStringLiteral("Window Settings/LoggingDlg")));
    EXPECT_EQ(Messages(), QStringList(2, QStringLiteral("Closing the window will end Auto Timing "
                                                        "- do you want to continue?")));

    // Closing every window ends timing without a question.
    Open();
    ClickGo(10, 20);
    m_hub->CloseAllWindows(false);
    EXPECT_EQ(m_hub->Window(ID_AUTO_TIMER), nullptr);
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_EQ(Rows().size(), 2);
}

TEST_P(AutoTimingDlgTest, OnTheNightsTheClockChangesItCountsTheTimeThatPassed)
{
    struct Case {
        const char* zone;
        QDate day;
        double hours; // 00:30 to 03:45
        int repeatedHour;
    };
    const Case cases[] = {
        {"Europe/Berlin", {2026, 3, 29}, 2.25, -1},
        {"Europe/Berlin", {2026, 10, 25}, 4.25, 2},
        {"America/New_York", {2026, 3, 8}, 2.25, -1},
        {"America/New_York", {2026, 11, 1}, 4.25, 1},
    };
    const auto hours = [this](const QDate& day) {
        return Query(QStringLiteral("SELECT HoursWorked FROM tblTimeSheet WHERE WorkDate = ?"),
                     {QVariant::fromValue(CDateTime(day))})
            .Value(0, 0)
            .toFloat();
    };
    const auto tick = [this] { m_window->Engine().TimerProc(CBookTime::kBookTimerId); };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2").arg(QLatin1String(c.zone), c.day.toString()).toStdString());
        const CTimeZoneScope zone(c.zone);
        m_clock.Set(c.day, 0, 37);
        Go()->click();
        ASSERT_TRUE(m_window->IsTiming());
        EXPECT_EQ(Status(), QStringLiteral("Logging started: 00:30 (8 mins)"));
        // A tick after the change stretches the block to 03:45.
        m_clock.Set(c.day, 3, 31);
        tick();
        EXPECT_EQ(Status(), QStringLiteral("Logging started: 00:30 (14 mins)"));
        EXPECT_FLOAT_EQ(hours(c.day), float(c.hours));
        Go()->click();
        if (c.repeatedHour < 0)
            continue;

        // The night the clock goes back: the boundary after the hour shown
        // twice is more than an interval of time away until that hour's last
        // interval, so the block waits for it, and a stop keeps what passed.
        Option("Admin/AutoLogRoundStop", 0);
        const int h = c.repeatedHour;
        for (const bool second : {false, true}) {
            Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
            m_clock.Set(c.day, 0, 40);
            Go()->click();
            ASSERT_TRUE(m_window->IsTiming());
            m_clock.Set(c.day, h, 45);
            tick();
            EXPECT_EQ(Status(), QStringLiteral("Logging started: 00:30 (0 mins)"));
            EXPECT_FLOAT_EQ(hours(c.day), float(h + 0.25));
            if (second) {
                m_clock.Set(c.day, h, 40);
                m_clock.Advance(60 * 60);
                tick();
                EXPECT_EQ(Status(), QStringLiteral("Logging started: 00:30 (0 mins)"));
                EXPECT_FLOAT_EQ(hours(c.day), float(h + 0.25));
                m_clock.Advance(5 * 60);
                tick();
                EXPECT_EQ(Status(), QStringLiteral("Logging started: 00:30 (15 mins)"));
                EXPECT_FLOAT_EQ(hours(c.day), float(h + 1.5));
            }
            m_clock.Advance(5 * 60);
            Go()->click();
            EXPECT_FLOAT_EQ(hours(c.day), float(second ? h + 1.5 : h + 0.25));
        }
    }
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST(AutoTimerTray, AnimationFramesNeedANotificationArea)
{
    CTrayIcon tray;
    // The offscreen desktop has none: nothing is shown and the tip stays.
    EXPECT_FALSE(tray.SetIconById(102));
    EXPECT_FALSE(tray.SetAnimationFrame(TimerIcon(179), QStringLiteral("Auto logging")));
    EXPECT_EQ(tray.Tip(), QStringLiteral("Kelvane : Right-Click to view menu"));
    for (int id : {178, 183, 290})
        EXPECT_FALSE(TimerIcon(id).pixmap(16, 16).isNull());
}

KELVANE_INSTANTIATE_BACKENDS(AutoTimingDlgTest);
