#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "app/TrayIcon.h"
#include "data/Schema.h"
#include "review/OverviewWindows.h"
#include "tests/review/OverviewFixture.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

bool Offers(const QList<CMenuEntry>& items, int command)
{
    for (const CMenuEntry& item : items)
        if (item.command == command || Offers(item.items, command))
            return true;
    return false;
}

// Whether the hub's own menu shows the command when it opens.
bool HubMenuShows(CDummyDlg& hub, int command)
{
    QMenu* menu = hub.findChild<QMenuBar*>()->actions().first()->menu();
    emit menu->aboutToShow();
    const QAction* action = menu->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
    return action && action->isVisible();
}

// Whether another window's main menu (the time sheet's, the contacts'...)
// shows the command when it opens.
bool WindowMenuShows(int command)
{
    QWidget window;
    new QVBoxLayout(&window);
    QMenu* menu = InstallMainMenu(
        &window, {{QStringLiteral("&Menu"), 0, {{QStringLiteral("Overview"), ID_OVERVIEW, {}}}}},
        [](int) {});
    emit menu->aboutToShow();
    const QAction* action = menu->findChild<QAction*>(QStringLiteral("cmd%1").arg(command));
    return action && action->isVisible();
}

QString Login()
{
    QString login;
    GetWindowsUserName(login);
    return login;
}

} // namespace

// The whole program, as a person starts it.
class EmpOverviewProgramTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterOverviewWindows(); }
    void TearDown() override
    {
        if (m_app)
            m_app->Shutdown();
        m_app.reset();
        COverviewWindow::Pump();
        UnregisterHubWindow(ID_OVERVIEW);
    }

    CDummyDlg* Start()
    {
        m_app = std::make_unique<CKelvaneApp>();
        EXPECT_TRUE(m_app->Start());
        CDummyDlg* hub = m_app->Hub();
        hub->SetStartupDelayOverride(1000000);
        hub->Create();
        return hub;
    }

    std::unique_ptr<CKelvaneApp> m_app;
};

// On a server database the hub offers Overview; the window shows the
// user's projects, and a click on one shows its page.
TEST_F(EmpOverviewProgramTest, OnTheServerTheOverviewOpensAndShowsAProjectsPage)
{
    if (!TestDatabases::PostgresConfigured()) {
        if (TestDatabases::PostgresRequired())
            FAIL() << "the test PostgreSQL server is required but not configured";
        GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
    }
    const QString cs = TestDatabases::NewPostgresDatabase(QStringLiteral("overview_program"));
    {
        CDBConnection conn;
        conn.UseConnectionString(cs);
        ASSERT_TRUE(conn.Connect(false)) << conn.LastOpenError().toStdString();
        QString error;
        ASSERT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
        const auto exec = [&conn](const QString& sql, const QVariantList& params) {
            CDbError dbError;
            ASSERT_TRUE(CSqlExecutor::RunNative(conn, sql, params, nullptr, &dbError))
                << dbError.description.toStdString();
        };
        exec(
            QStringLiteral("UPDATE tblProperty SET intValue = 3 WHERE PropertyName = 'requirePwd'"),
            {});
        SeedOverviewRows(exec, Login());
        conn.ReleaseConnection(true);
    }
    CProfile::SetDefDatabaseName(cs);

    CDummyDlg* hub = Start();
    ASSERT_EQ(CProfile::DefUserName(), QStringLiteral("Ann O'Lee"));
    EXPECT_TRUE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_OVERVIEW));
    EXPECT_TRUE(HubMenuShows(*hub, ID_OVERVIEW));
    EXPECT_TRUE(WindowMenuShows(ID_OVERVIEW));
    CProfileStore().setValue(QStringLiteral("Admin/OpenDlg"), 8);
    EXPECT_EQ(hub->StartWindowCommand(), ID_OVERVIEW);
    hub->OnCommand(ID_OVERVIEW);
    auto* window = dynamic_cast<CEmpOverviewDlg*>(hub->Window(ID_OVERVIEW));
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    COverviewWindow::Pump();
    COverviewWindow view(window);
    EXPECT_EQ(hub->OpenWindows(), kOpenOverview);
    EXPECT_TRUE(view.PageText().contains(QStringLiteral("Projects of Ann O'Lee")))
        << view.PageText().toStdString();
    EXPECT_EQ(view.Children(1), (QStringList{"Apollo", "Bridge", "Café 'Zeta'"}));
    EXPECT_EQ(view.Children(3), (QStringList{"Other", "Widen, the 'deck'"}));

    view.ClickTree(QStringLiteral("Bridge"));
    const QString page = view.PageText();
    EXPECT_TRUE(page.contains(QStringLiteral("Bridge")) &&
                page.contains(QStringLiteral("Design")) &&
                page.contains(QStringLiteral("Bøb Smith")))
        << page.toStdString();
    EXPECT_TRUE(CRecordingMessages::Current().Texts().isEmpty())
        << CRecordingMessages::Current().Texts().join('\n').toStdString();
    // The page lives in the user's runtime folder.
    EXPECT_TRUE(QFile::exists(window->BrowsePage()));

    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        window->resize(900, 520);
        COverviewWindow::Pump();
        // The user widens the tree by its bar.
        QWidget* bar = view.Pane(204);
        ASSERT_NE(bar, nullptr);
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, y));
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(50, y));
        window->Control()->ExpandNode(CEmpOverviewDlg::kProjects, SarvexIds::kExpand);
        window->Control()->ExpandNode(CEmpOverviewDlg::kChangeRequests, SarvexIds::kExpand);
        COverviewWindow::Pump();
        window->grab().save(folder + QStringLiteral("/overview.png"));
    }

    window->close();
    COverviewWindow::Pump();
    EXPECT_EQ(hub->OpenWindows(), 0);
}

// On a database file there are no server procedures: Overview is neither
// offered nor opened.
TEST_F(EmpOverviewProgramTest, OnADatabaseFileTheOverviewIsNotOffered)
{
    CDummyDlg* hub = Start();
    EXPECT_FALSE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_OVERVIEW));
    EXPECT_FALSE(HubMenuShows(*hub, ID_OVERVIEW));
    EXPECT_FALSE(WindowMenuShows(ID_OVERVIEW));
    hub->OnCommand(ID_OVERVIEW);
    EXPECT_EQ(hub->Window(ID_OVERVIEW), nullptr);
    // Chosen as the start window, it opens the time sheet there instead.
    CProfileStore().setValue(QStringLiteral("Admin/OpenDlg"), 8);
    EXPECT_EQ(hub->StartWindowCommand(), ID_TIMESHEETS);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("The overview is made by the server's procedures: it needs a "
                             "PostgreSQL database."));
}
