// The exchange and scheduling windows' writes, and a search, while the
// database fails under them (see WritePathOutageTest.cpp).
#include "review/SearchDlg.h"
#include "tests/records/OutageFixture.h"
#include "tests/review/ImportFixture.h"
#include "tests/review/OverviewFixture.h"
#include "tests/review/SearchFixture.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

namespace {

class ImportOutageTest : public OutageTest<ImportTimeSheetsTest> {};

// Ann's hour on a Wednesday, scheduled onto the Thursday after it.
class ScheduleTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent, HourRateFactor) VALUES (1, 'Ann Lee', 'ann', 1, 1, 1)"));
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }
    static CScheduleBlock Block()
    {
        CScheduleBlock block;
        block.date = QDate(2026, 12, 9);
        block.copy.EmpID = 1;
        block.copy.ProjID = 1;
        block.copy.OrderID = 1;
        block.copy.TaskID = 1;
        block.copy.WorkTypeID = 2;
        block.copy.Start = 600;
        block.copy.Stop = 660;
        block.copy.MinutesWorked = 60;
        block.empName = QStringLiteral("Ann Lee");
        return block;
    }

    CDBClass m_db;
};

class ScheduleOutageTest : public OutageTest<ScheduleTest> {};
class SearchOutageTest : public OutageTest<SearchTest> {};

// Ann's overview, on XML handed to it, over the real tree-list control; the
// Bridge project has two hours booked that its totals do not count yet.
class OverviewTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (1, 'Ann Lee', 'ann', 1, 1)"));
        Exec(QStringLiteral("INSERT INTO tblProject (ProjID, ProjName, ProjHours) VALUES (1, "
                            "'Bridge', 0)"));
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, WorkDate, StartTime, "
                            "StopTime, HoursWorked, TimeID) VALUES (1, 1, ?, ?, ?, 2, 1)"),
             {QVariant::fromValue(CDateTime(2026, 3, 2)),
              QVariant::fromValue(CDateTime(2026, 3, 2, 9, 0)),
              QVariant::fromValue(CDateTime(2026, 3, 2, 11, 0))});
        CProfileStore().setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
        m_db.Connection()->UseConnectionString(m_connectionString);
        RegisterControlsBeside(QCoreApplication::applicationDirPath());
        auto source = std::make_unique<CFakeXmlSource>();
        source->docs.insert(QStringLiteral("tvx_empSummary"),
                            QStringLiteral("<EmpSummary EmpID=\"1\" Name=\"Ann Lee\"/>"));
        QFile projects(QStringLiteral(KELVANE_REVIEW_FIXTURES "/EmpProjects.xml"));
        ASSERT_TRUE(projects.open(QIODevice::ReadOnly));
        source->docs.insert(QStringLiteral("bv_GetProjInfoEmpID"),
                            QString::fromUtf8(projects.readAll()));
        m_window = CEmpOverviewDlg::Create(nullptr, m_db, std::move(source));
        ASSERT_NE(m_window, nullptr);
        m_window->SetBrowsePage(TestEnv::TestDir() + QStringLiteral("/browsePage.htm"));
        m_window->show();
        COverviewWindow::Pump();
    }
    void TearDown() override
    {
        delete m_window;
        COverviewWindow::Pump();
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    CDBClass m_db;
    CEmpOverviewDlg* m_window = nullptr;
};

class OverviewOutageTest : public OutageTest<OverviewTest> {};

} // namespace

TEST_P(ImportOutageTest, AnImportIsToldOnceAndStoresNothing)
{
    const QString file = MakeFile(QStringLiteral("week.txt"), ManyLines(3));
    CModalWrite<CImportTimeSheetsDlg> import;
    Check({"import",
           import.Within(
               [this] {
                   CImportTimeSheetsDlg dialog(m_db, nullptr);
                   dialog.DoModal();
               },
               [file](CImportTimeSheetsDlg& d) { d.SetFileName(file); }),
           import.Press(IDOK), QStringLiteral("No time sheets were imported."),
           QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet")});
}

TEST_P(ScheduleOutageTest, CheckingAndSchedulingAreToldOnceAndStoreNothing)
{
    CModalWrite<CScheduleTimeDlg> schedule;
    const auto within = schedule.Within(
        [this] {
            CScheduleTimeDlg dialog(m_db, Block());
            dialog.DoModal();
        },
        [](CScheduleTimeDlg&) {});
    const QList<CWriteCase> cases = {
        {"verify", within, schedule.Press(CScheduleTimeDlg::kIdVerify),
         QStringLiteral("Unable to Verify Schedule"),
         QStringLiteral("SELECT WorkDate FROM tblTimeSheet_ImportExport"),
         CWriteCase::Fault::Hangs},
        {"schedule", within, schedule.Press(IDOK),
         QStringLiteral("Unable to Schedule \n- no time has been booked"),
         QStringLiteral("SELECT WorkDate, StartTime FROM tblTimeSheet")},
    };
    for (const CWriteCase& c : cases)
        Check(c);
}

TEST_P(SearchOutageTest, ASearchSaysTheDatabaseCouldNotBeReachedAndRunsOnceItAnswers)
{
    CRecordingMessages& messages = CRecordingMessages::Current();
    CSearchDlg dialog(ID_TIMESHEETS, &m_db);
    CScriptedModals modals;
    modals.Then([&](CDialogBase& d) {
        auto& search = static_cast<CSearchDlg&>(d);
        search.Control<CRichTextCtrl>(CSearchDlg::kFilter)
            ->setPlainText(QStringLiteral("TimesheetID > 7"));
        DatabaseFails(CWriteCase::Fault::Fails);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            UserAction::Next();
            messages.Clear();
            search.OnCommand(CSearchDlg::kSearch);
            EXPECT_EQ(messages.Count(), 1) << messages.Texts().join('|').toStdString();
            EXPECT_TRUE(messages.Last().contains(QStringLiteral("reached")))
                << messages.Last().toStdString();
            EXPECT_FALSE(messages.Last().contains(QStringLiteral("not well formed")));
            EXPECT_TRUE(search.Views().isEmpty());
        }
        DatabaseBack();
        messages.Clear();
        search.OnCommand(CSearchDlg::kSearch);
        EXPECT_EQ(search.Views().size(), 1) << messages.Texts().join('|').toStdString();
        return int(IDCANCEL);
    });
    dialog.DoModal();
}

TEST_P(OverviewOutageTest, RefreshTotalsIsToldOnceAndStoresNothing)
{
    Check({"refresh totals", Directly,
           [this] { m_window->OnCommand(CEmpOverviewDlg::kCmdRefreshTotals); },
           QStringLiteral("The totals were not updated."),
           QStringLiteral("SELECT ProjID, ProjHours FROM tblProject ORDER BY 1")});
}

KELVANE_INSTANTIATE_BACKENDS(ImportOutageTest);
KELVANE_INSTANTIATE_BACKENDS(OverviewOutageTest);
KELVANE_INSTANTIATE_BACKENDS(ScheduleOutageTest);
// A database file is read however full its disk: the server alone.
INSTANTIATE_TEST_SUITE_P(Server, SearchOutageTest, ::testing::Values(Backend::Postgres),
                         BackendName);
