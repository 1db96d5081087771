#include "app/DummyDlg.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

namespace {

// A top-level window as the hub sees it.
class CFakeWindow : public QWidget, public IHubWindow {
public:
    explicit CFakeWindow(QStringList* log, const QString& name)
        : m_log(log)
        , m_name(name)
    {
        ++s_made;
    }
    ~CFakeWindow() override { *m_log << QStringLiteral("gone ") + m_name; }
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override
    {
        *m_log << QStringLiteral("close %1 %2").arg(m_name).arg(flag);
        close();
    }
    bool HasOpenSearch() const override { return search; }
    void Refresh() override { *m_log << QStringLiteral("refresh ") + m_name; }

    bool search = false;
    static int s_made;

private:
    QStringList* m_log;
    QString m_name;
};
int CFakeWindow::s_made = 0;

class HubTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_db.Connection()->UseConnectionString(
            TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
        ASSERT_TRUE(m_db.OpenConnection());
        QString error;
        ASSERT_TRUE(CSchema::Create(*m_db.Connection(), &error));
        CFakeWindow::s_made = 0;
        for (int command : {ID_TIMESHEETS, ID_TASKS, ID_CHANGE_REQUESTS, ID_REVIEW, ID_OVERVIEW})
            RegisterHubWindow(command, [this, command](CDummyDlg&) {
                auto* w = new CFakeWindow(&m_log, QString::number(command));
                m_windows[command] = w;
                return w;
            });
    }
    void TearDown() override
    {
        for (int command : {ID_TIMESHEETS, ID_TASKS, ID_CHANGE_REQUESTS, ID_REVIEW, ID_OVERVIEW})
            UnregisterHubWindow(command);
    }

    CDBClass m_db;
    QStringList m_log;
    QHash<int, CFakeWindow*> m_windows;
};

} // namespace

TEST_F(HubTest, EachWindowOpensOnceAndItsCloseIsHeard)
{
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_TIMESHEETS);
    hub.OnCommand(ID_TIMESHEETS);
    EXPECT_EQ(CFakeWindow::s_made, 1);
    EXPECT_EQ(hub.OpenWindows(), kOpenTimeSheet);
    hub.OnCommand(ID_TASKS);
    hub.OnCommand(ID_TASKS); // brought forward again: its list refreshes
    EXPECT_TRUE(m_log.contains(QStringLiteral("refresh %1").arg(ID_TASKS)));
    EXPECT_EQ(hub.OpenWindows(), kOpenTimeSheet | kOpenComments);
    EXPECT_TRUE(m_db.Connection()->IsConnected());

    delete m_windows[ID_TASKS];
    EXPECT_EQ(hub.OpenWindows(), kOpenTimeSheet);
    EXPECT_TRUE(m_db.Connection()->IsConnected());
    // The last window going releases the connection.
    delete m_windows[ID_TIMESHEETS];
    EXPECT_EQ(hub.OpenWindows(), 0);
    EXPECT_FALSE(m_db.Connection()->IsConnected());
    // Opening again makes a new one.
    hub.OnCommand(ID_TIMESHEETS);
    EXPECT_EQ(CFakeWindow::s_made, 3);
}

TEST_F(HubTest, AWindowThatCannotBeMadeLeavesNoFlag)
{
    RegisterHubWindow(ID_CONTACTS, [](CDummyDlg&) { return nullptr; });
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_CONTACTS);
    EXPECT_EQ(hub.OpenWindows(), 0);
    UnregisterHubWindow(ID_CONTACTS);
    hub.OnCommand(ID_CONTACTS);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Contacts is not available in this version of Kelvane."));
}

TEST_F(HubTest, ClosingTheProgramWaitsForSearches)
{
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_REVIEW);
    hub.OnCommand(ID_OVERVIEW);
    m_windows[ID_REVIEW]->search = true;
    hub.OnCommand(ID_CLOSE_APP);
    EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("Close search dialog first!"));
    EXPECT_EQ(hub.OpenWindows(), kOpenReview | kOpenOverview);
    m_windows[ID_REVIEW]->search = false;
    hub.OnCommand(ID_CLOSE_APP);
    // Every window is told to save and close, the overview too.
    EXPECT_EQ(hub.OpenWindows(), 0);
    EXPECT_TRUE(m_log.contains(QStringLiteral("close %1 0").arg(ID_REVIEW)));
    EXPECT_TRUE(m_log.contains(QStringLiteral("close %1 0").arg(ID_OVERVIEW)));
}

TEST_F(HubTest, OptionsDecideWhatOpens)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("Admin/UseToDo"), 0);
    profile.setValue(QStringLiteral("Admin/OpenDlg"), 5);
    profile.setValue(QStringLiteral("Admin/UseChgrqsts"), 0);
    profile.sync();
    CDummyDlg hub(&m_db);
    hub.OnCommand(ID_TASKS);
    EXPECT_EQ(hub.OpenWindows(), 0);
    // The start window falls back to the time sheet (posted: runs from the loop).
    hub.OpenStartWindow(-1);
    QCoreApplication::processEvents();
    EXPECT_EQ(hub.OpenWindows(), kOpenTimeSheet);
}

TEST(HubReview, PeriodsOfEachKind)
{
    QDate start;
    QDate end;
    ASSERT_TRUE(CDummyDlg::CalcReviewPeriod(end, start, 4, QDate(2026, 2, 11)));
    EXPECT_EQ(start, QDate(2026, 2, 1));
    EXPECT_EQ(end, QDate(2026, 2, 28));
    ASSERT_TRUE(CDummyDlg::CalcReviewPeriod(end, start, 5, QDate(2026, 12, 13))); // a Sunday
    EXPECT_EQ(start, QDate(2026, 12, 7));
    EXPECT_EQ(end, QDate(2026, 12, 13));
    EXPECT_FALSE(CDummyDlg::CalcReviewPeriod(end, start, 3, QDate(2026, 12, 13)));
    QDate other;
    CDummyDlg::FormatReviewDate(QDate(2026, 12, 8), other, 1, 0);
    EXPECT_EQ(other, QDate(2026, 11, 25));
    CDummyDlg::FormatReviewDate(QDate(2026, 12, 8), other, 0, 1);
    EXPECT_EQ(other, QDate(2026, 12, 14));
}

// ---- Start-up timer -------------------------------------------------------------

namespace {

void SetProfile(const QString& key, const QVariant& value)
{
    CProfileStore profile;
    profile.setValue(key, value);
    profile.sync();
}

} // namespace

TEST_F(HubTest, WithoutAUserNoTimerStartsAndTheHubStays)
{
    CDummyDlg hub(&m_db);
    hub.show();
    EXPECT_TRUE(hub.IsStartupPending());
    EXPECT_FALSE(hub.IsStartupTimerActive());
    EXPECT_TRUE(hub.isVisible());
}

TEST_F(HubTest, TheTimerHidesTheHubAndOpensTheStartWindow)
{
    SetProfile(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
    SetProfile(QStringLiteral("Admin/OpenDlg"), 5);
    SetProfile(QStringLiteral("Admin/UseChgrqsts"), 0);
    CDummyDlg hub(&m_db);
    hub.SetStartupDelayOverride(10);
    hub.show();
    EXPECT_EQ(hub.StartupDelay(), 10);
    EXPECT_TRUE(hub.IsStartupTimerActive());
    // The connection is let go while the hub waits.
    EXPECT_FALSE(m_db.Connection()->IsConnected());
    // The key commands were built from the stored keys.
    int index = -1;
    EXPECT_TRUE(hub.FindKeyCommand('T', index, false, false, false, false));

    ASSERT_TRUE(Waiting::Until([&hub] { return !hub.IsStartupPending(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(hub.isVisible());
    // Change requests are switched off: the time sheet opens instead.
    EXPECT_EQ(hub.OpenWindows(), kOpenTimeSheet);
    EXPECT_FALSE(hub.UserNameWasEmpty());
    // A second start-up command does nothing more.
    hub.OnCommand(ID_STARTUP_TIMER);
    QCoreApplication::processEvents();
    EXPECT_EQ(CFakeWindow::s_made, 1);
}

TEST_F(HubTest, TheDelayIsShortWhenTheDatabaseAsksForIt)
{
    SetProfile(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
    {
        CDummyDlg hub(&m_db);
        hub.show();
        EXPECT_EQ(hub.StartupDelay(), 10000);
    }
    m_db.StartupInfo().StartupFlag = 1;
    CDummyDlg hub(&m_db);
    hub.show();
    EXPECT_EQ(hub.StartupDelay(), 2000);
    // The start-up command fires it early (the timer thread's message).
    hub.OnCommand(ID_STARTUP_TIMER_ALT);
    EXPECT_FALSE(hub.IsStartupPending());
    EXPECT_FALSE(hub.IsStartupTimerActive());
}

TEST_F(HubTest, WithoutATrayIconTheHubStaysReachable)
{
    // The offscreen desktop has no notification area.
    SetProfile(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
    SetProfile(QStringLiteral("Admin/OpenDlg"), 0);
    CDummyDlg hub(&m_db);
    hub.show();
    hub.OnCommand(ID_STARTUP_TIMER);
    // Nothing opens and there is no icon to come back by: the hub stays.
    EXPECT_TRUE(hub.isVisible());
    EXPECT_EQ(hub.OpenWindows(), 0);

    // Hidden while a window is open, it comes back when the last one closes.
    hub.OnCommand(ID_REVIEW);
    QCoreApplication::processEvents();
    hub.OnCommand(IDCANCEL);
    EXPECT_FALSE(hub.isVisible());
    delete m_windows[ID_REVIEW];
    EXPECT_TRUE(hub.isVisible());
}
