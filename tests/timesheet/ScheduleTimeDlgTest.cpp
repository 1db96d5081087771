#include "timesheet/ScheduleTimeDlg.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "timesheet/ClashViewDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

#include <functional>

namespace {

constexpr int kAnn = 1;
// The block is on a Wednesday; the first day box is the Thursday after it.
const QDate kBlockDay(2026, 12, 9);
const QDate kThu(2026, 12, 10);
const QDate kSat(2026, 12, 12);
const QDate kMon(2026, 12, 14);

const QString kClashQuestion = QStringLiteral(
    "1 of your records clashed with existing records.\n Do you want to view clashing records. "
    "\n[ You can still schedule your non-clashing records ]");

enum Box : int { kBoxThu = 1201, kBoxFri = 1202, kBoxSat = 1203, kBoxSun = 1214, kBoxMon = 1205 };

int Minutes(const QVariant& v)
{
    const CDateTime t = v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                                 : CDateTime::Parse(v.toString());
    return t.MinutesOfDay();
}

QString Day(const QVariant& v)
{
    const CDateTime t = v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                                 : CDateTime::Parse(v.toString());
    return t.Date().toString(Qt::ISODate);
}

// The dialog as the user sees it, saved when pictures are asked for.
void Picture(QWidget& dialog, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    dialog.show();
    dialog.grab().save(folder + QLatin1Char('/') + name);
    dialog.hide();
}

class ScheduleTimeDlgTest : public KelvaneDbTest {
protected:
    using Step = std::function<void(CScheduleTimeDlg&)>;

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
        // The server keeps the suite's schema, and with it any trigger.
        if (IsPostgres() && !IsSkipped())
            Exec(QStringLiteral("DROP TRIGGER IF EXISTS kv_refuse ON tblTimeSheet"));
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }
    // Makes the database refuse every new time-sheet row.
    void RefuseTimeSheetRows()
    {
        if (IsPostgres()) {
            Exec(QStringLiteral(
                "CREATE OR REPLACE FUNCTION kv_refuse() RETURNS trigger LANGUAGE "
                "plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused by the test'; END $$"));
            Exec(QStringLiteral("CREATE TRIGGER kv_refuse BEFORE INSERT ON tblTimeSheet FOR EACH "
                                "ROW EXECUTE FUNCTION kv_refuse()"));
        } else {
            Exec(QStringLiteral("CREATE TRIGGER kv_refuse BEFORE INSERT ON tblTimeSheet BEGIN "
                                "SELECT RAISE(ABORT, 'refused by the test'); END"));
        }
    }

    static CScheduleBlock Block(int start, int stop)
    {
        CScheduleBlock block;
        block.date = kBlockDay;
        block.copy.EmpID = kAnn;
        block.copy.ProjID = 1;
        block.copy.OrderID = 1;
        block.copy.TaskID = 1;
        block.copy.WorkTypeID = 2;
        block.copy.Start = start;
        block.copy.Stop = stop;
        block.copy.MinutesWorked = stop - start;
        block.copy.Comment = QStringLiteral("Plan");
        block.copy.InvCost = 80.0 * (stop - start) / 60;
        block.empName = QStringLiteral("Ann Lee");
        block.projName = QStringLiteral("Bridge");
        block.taskName = QStringLiteral("Design");
        return block;
    }
    void Book(const QDate& day, int start, int stop, int timeId)
    {
        const CDateTime d(day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, WorkDate, StartTime, "
                            "StopTime, TimeID) VALUES (1, 2, ?, ?, ?, ?)"),
             {QVariant::fromValue(d), QVariant::fromValue(d.AddSecs(start * 60)),
              QVariant::fromValue(d.AddSecs(stop * 60)), timeId});
    }
    // Runs the dialog for the block; the step acts as the user. The result
    // is the code the dialog ended with (0 while it is still open).
    int Run(const CScheduleBlock& block, const Step& step)
    {
        CScriptedModals modals;
        modals.Then([&step](CDialogBase& dialog) {
            auto& dlg = static_cast<CScheduleTimeDlg&>(dialog);
            step(dlg);
            return dlg.EndCode();
        });
        CScheduleTimeDlg dlg(m_db, block);
        dlg.DoModal();
        return dlg.EndCode();
    }
    // Day, minutes, TimeID and the booking details of every booked row.
    QStringList Booked()
    {
        const CQueryResult r = Query(QStringLiteral(
            "SELECT WorkDate, StartTime, StopTime, TimeID, ProjID, OrderID, TaskID, WorkTypeID, "
            "Comment FROM tblTimeSheet ORDER BY WorkDate, StartTime"));
        QStringList out;
        for (int i = 0; i < r.rows; ++i)
            out << QStringLiteral("%1 %2-%3 t%4 p%5 o%6 k%7 w%8 '%9'")
                       .arg(Day(r.Value(i, 0)))
                       .arg(Minutes(r.Value(i, 1)))
                       .arg(Minutes(r.Value(i, 2)))
                       .arg(r.Value(i, 3).toInt())
                       .arg(r.Value(i, 4).toInt())
                       .arg(r.Value(i, 5).toInt())
                       .arg(r.Value(i, 6).toInt())
                       .arg(r.Value(i, 7).toInt())
                       .arg(r.Value(i, 8).toString());
        return out;
    }
    // Day, minutes, TimeID and clash mark of every staged copy.
    QStringList Staged()
    {
        const CQueryResult r =
            Query(QStringLiteral("SELECT WorkDate, StartTime, StopTime, TimeID, IgnoreThis FROM "
                                 "tblTimeSheet_ImportExport ORDER BY WorkDate"));
        QStringList out;
        for (int i = 0; i < r.rows; ++i)
            out << QStringLiteral("%1 %2-%3 t%4%5")
                       .arg(Day(r.Value(i, 0)))
                       .arg(Minutes(r.Value(i, 1)))
                       .arg(Minutes(r.Value(i, 2)))
                       .arg(r.Value(i, 3).toInt())
                       .arg(r.Value(i, 4).toInt() ? " marked" : "");
        return out;
    }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }
    static void Answer(int answer) { CRecordingMessages::Current().Answer(answer); }

    CDBClass m_db;
    CDBClass* m_other = nullptr;
};

TEST_P(ScheduleTimeDlgTest, OpensOnTheWeekAfterTheBlockWithOnlyTheNextDayChosen)
{
    Run(Block(600, 660), [](CScheduleTimeDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Schedule Time "));
        QStringList labels;
        QList<bool> checked;
        for (int id : CScheduleTimeDlg::kDayBoxIds) {
            labels << dlg.Control<QCheckBox>(id)->text();
            checked << dlg.Control<QCheckBox>(id)->isChecked();
        }
        EXPECT_EQ(labels, QStringList({"Thurs", "Fri", "Sat", "Sun", "Mon", "Tues", "Wed"}));
        EXPECT_EQ(checked, QList<bool>({true, false, false, false, false, false, false}));
        EXPECT_EQ(dlg.WeekdayFlags(),
                  (std::array<bool, 7>{false, false, false, false, true, false, false}));
        EXPECT_EQ(dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdFirstDate)->date(), kThu);
        EXPECT_EQ(dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->date(),
                  QDate(2026, 12, 16));
        EXPECT_EQ(dlg.Control<QLineEdit>(CScheduleTimeDlg::kIdStart)->text(), "10:00");
        EXPECT_EQ(dlg.Control<QLineEdit>(CScheduleTimeDlg::kIdStop)->text(), "11:00");
        EXPECT_TRUE(dlg.Control<QLineEdit>(CScheduleTimeDlg::kIdStop)->isReadOnly());

        // A box sets and clears the flag of its own weekday (Sunday first).
        dlg.OnCommand(kBoxSun);
        EXPECT_TRUE(dlg.Control<QCheckBox>(kBoxSun)->isChecked());
        EXPECT_TRUE(dlg.WeekdayFlags()[0]);
        dlg.OnCommand(kBoxSun);
        EXPECT_FALSE(dlg.WeekdayFlags()[0]);
        dlg.OnCommand(IDCANCEL);
    });
    EXPECT_TRUE(Staged().isEmpty());
}

TEST_P(ScheduleTimeDlgTest, VerifyStagesTheCopiesAndScheduleBooksThoseThatDoNotClash)
{
    Book(kThu, 630, 690, 1); // 10:30-11:30
    Answer(kIdNo);
    const int result = Run(Block(600, 660), [this](CScheduleTimeDlg& dlg) {
        dlg.OnCommand(kBoxSat);
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
        EXPECT_EQ(Messages(), QStringList{kClashQuestion});
        EXPECT_EQ(dlg.ClashCount(), 1);
        EXPECT_TRUE(dlg.IsVerified());
        // The copies carry the block's number, 10000 + start, on every day.
        EXPECT_EQ(Staged(),
                  QStringList({"2026-12-10 600-660 t10600", "2026-12-12 600-660 t10600"}));
        dlg.OnCommand(IDOK);
        EXPECT_EQ(dlg.BookedCount(), 1);
        // The staged copies stay while the dialog does, the clashing one marked.
        EXPECT_EQ(Staged(),
                  QStringList({"2026-12-10 600-660 t10600 marked", "2026-12-12 600-660 t10600"}));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Booked(), QStringList({"2026-12-10 630-690 t1 p2 o0 k0 w0 ''",
                                     "2026-12-12 600-660 t10600 p1 o1 k1 w2 'Plan'"}));
    const CQueryResult r =
        Query(QStringLiteral("SELECT HoursWorked, InvCost FROM tblTimeSheet WHERE TimeID = 10600"));
    EXPECT_DOUBLE_EQ(r.Value(0, 0).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(r.Value(0, 1).toDouble(), 80.0);
    // They go with it: nothing of this session is left for others to read.
    EXPECT_TRUE(Staged().isEmpty());
    EXPECT_EQ(Messages().size(), 1);
}

TEST_P(ScheduleTimeDlgTest, TwoSessionsOfOneEmployeeBookOnlyTheirOwnCopies)
{
    // Ann at a second workstation, scheduling at the same time.
    CDBClass other;
    other.Connection()->UseConnectionString(m_connectionString);
    ASSERT_TRUE(other.OpenConnection());
    other.StartupInfo().BookingInterval = 15;
    CScriptedModals modals;
    CScheduleTimeDlg* first = nullptr;
    modals.Then([this, &first](CDialogBase& dialog) {
        first = &static_cast<CScheduleTimeDlg&>(dialog);
        first->OnCommand(CScheduleTimeDlg::kIdVerify); // Thursday
        EXPECT_EQ(Staged(), QStringList{"2026-12-10 600-660 t10600"});
        CScheduleTimeDlg second(*m_other, Block(780, 840));
        second.DoModal();
        EXPECT_EQ(second.EndCode(), IDOK);
        return first->EndCode();
    });
    modals.Then([this, &first](CDialogBase& dialog) {
        auto& second = static_cast<CScheduleTimeDlg&>(dialog);
        second.OnCommand(kBoxThu); // Saturday and Monday instead
        second.OnCommand(kBoxSat);
        second.OnCommand(kBoxMon);
        second.OnCommand(CScheduleTimeDlg::kIdVerify);
        // The first session books what it verified, not the other's copies.
        first->OnCommand(IDOK);
        EXPECT_EQ(first->BookedCount(), 1);
        EXPECT_EQ(Booked(), QStringList({"2026-12-10 600-660 t10600 p1 o1 k1 w2 'Plan'"}));
        second.OnCommand(IDOK);
        EXPECT_EQ(second.BookedCount(), 2);
        return second.EndCode();
    });
    m_other = &other;
    CScheduleTimeDlg dlg(m_db, Block(600, 660));
    dlg.DoModal();
    EXPECT_EQ(dlg.EndCode(), IDOK);
    EXPECT_EQ(Booked(), QStringList({"2026-12-10 600-660 t10600 p1 o1 k1 w2 'Plan'",
                                     "2026-12-12 780-840 t10780 p1 o1 k1 w2 'Plan'",
                                     "2026-12-14 780-840 t10780 p1 o1 k1 w2 'Plan'"}));
    EXPECT_TRUE(Messages().filter(QStringLiteral("Unable")).isEmpty())
        << Messages().join('|').toStdString();
    other.ReleaseConnection(true, true);
}

TEST_P(ScheduleTimeDlgTest, MoreThanAYearOfCopiesIsBookedOnlyAfterAQuestion)
{
    Answer(kIdNo);  // Verify: no
    Answer(kIdYes); // Schedule: yes
    const int result = Run(Block(600, 660), [this](CScheduleTimeDlg& dlg) {
        // Thursdays up to a mistyped year.
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->setDate(QDate(2028, 12, 16));
        EXPECT_FALSE(dlg.OnVerify());
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(
            Messages().first().startsWith(QStringLiteral("These dates give 106 copies from ")))
            << Messages().first().toStdString();
        EXPECT_TRUE(Staged().isEmpty());
        dlg.OnCommand(IDOK);
        EXPECT_EQ(dlg.BookedCount(), 106);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_EQ(Booked().size(), 106);
    // A year is booked without a question.
    CRecordingMessages::Current().Clear();
    Run(Block(700, 760), [](CScheduleTimeDlg& dlg) {
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->setDate(QDate(2027, 12, 9));
        dlg.OnCommand(IDOK);
        EXPECT_EQ(dlg.BookedCount(), 53);
    });
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(ScheduleTimeDlgTest, ACopyStartingAtABookedStopIsNoClashButOneSharingItIs)
{
    Book(kThu, 540, 600, 1); // 09:00-10:00
    const auto clashes = [this](int start, int stop) {
        int count = -1;
        Run(Block(start, stop), [&count](CScheduleTimeDlg& dlg) {
            dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
            count = dlg.ClashCount();
            dlg.OnCommand(IDCANCEL);
        });
        return count;
    };
    EXPECT_EQ(clashes(600, 660), 0); // starts at the booked stop
    EXPECT_EQ(Messages().last(), QStringLiteral("No Clashes found"));
    EXPECT_EQ(clashes(480, 540), 0); // stops at the booked start
    EXPECT_EQ(clashes(480, 600), 1); // stops at the booked stop
    EXPECT_EQ(Messages().last(), kClashQuestion);
    EXPECT_EQ(clashes(555, 585), 1); // inside
    EXPECT_EQ(clashes(480, 720), 1); // around
    EXPECT_EQ(clashes(570, 630), 1); // across the stop
}

TEST_P(ScheduleTimeDlgTest, ScheduleWithoutVerifyChecksSilentlyAndBooksTheRest)
{
    Book(kThu, 600, 660, 1);
    Book(kMon, 570, 615, 1);
    const int result = Run(Block(600, 660), [](CScheduleTimeDlg& dlg) {
        for (int id : {kBoxFri, kBoxSat, kBoxSun, kBoxMon})
            dlg.OnCommand(id);
        dlg.OnCommand(IDOK);
        EXPECT_EQ(dlg.ClashCount(), 2);
        EXPECT_EQ(dlg.BookedCount(), 3);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(Booked().filter(QStringLiteral("t10600")),
              QStringList({"2026-12-11 600-660 t10600 p1 o1 k1 w2 'Plan'",
                           "2026-12-12 600-660 t10600 p1 o1 k1 w2 'Plan'",
                           "2026-12-13 600-660 t10600 p1 o1 k1 w2 'Plan'"}));
}

TEST_P(ScheduleTimeDlgTest, AOneDayRangeOnAnUnchosenWeekdayStagesNothing)
{
    const int result = Run(Block(600, 660), [this](CScheduleTimeDlg& dlg) {
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdFirstDate)->setDate(kSat);
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->setDate(kSat);
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
        EXPECT_EQ(Messages(), QStringList{"No Clashes found"});
        EXPECT_TRUE(Staged().isEmpty());
        dlg.OnCommand(IDOK);
        EXPECT_EQ(dlg.BookedCount(), 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(Booked().isEmpty());
}

TEST_P(ScheduleTimeDlgTest, ChangingTheRangeAfterVerifyChecksAgain)
{
    const int result = Run(Block(600, 660), [](CScheduleTimeDlg& dlg) {
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
        EXPECT_TRUE(dlg.IsVerified());
        // A day box and a date picker both make the staged copies stale.
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdLastDate)->setDate(QDate(2026, 12, 17));
        EXPECT_FALSE(dlg.IsVerified());
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
        dlg.OnCommand(kBoxFri);
        EXPECT_FALSE(dlg.IsVerified());
        dlg.OnCommand(kBoxFri);
        dlg.OnCommand(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Booked(), QStringList({"2026-12-10 600-660 t10600 p1 o1 k1 w2 'Plan'",
                                     "2026-12-17 600-660 t10600 p1 o1 k1 w2 'Plan'"}));
}

TEST_P(ScheduleTimeDlgTest, AnsweringYesShowsTheClashes)
{
    Book(kThu, 600, 660, 1);
    Answer(kIdYes);
    CScriptedModals modals;
    int clashRows = -1;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(kBoxMon);
        Picture(dialog, QStringLiteral("schedule-time.png"));
        dialog.OnCommand(CScheduleTimeDlg::kIdVerify);
        dialog.OnCommand(IDCANCEL);
        return dialog.EndCode();
    });
    modals.Then([&clashRows](CDialogBase& dialog) {
        clashRows = static_cast<CClashViewDlg&>(dialog).List()->ItemCount();
        Picture(dialog, QStringLiteral("view-clashes.png"));
        dialog.OnCommand(IDOK);
        return IDOK;
    });
    CScheduleTimeDlg dlg(m_db, Block(600, 660));
    dlg.DoModal();
    EXPECT_EQ(modals.seen, QStringList({"CScheduleTimeDlg", "CClashViewDlg"}));
    EXPECT_EQ(clashRows, 1);
    EXPECT_TRUE(Booked().filter(QStringLiteral("t10600")).isEmpty());
}

// ---- Failures ----------------------------------------------------------------------------------

// The staging table refuses copies for one day until the guard goes.
class CRefusedDay {
public:
    CRefusedDay(bool postgres, const std::function<void(const QString&)>& exec)
        : m_postgres(postgres)
        , m_exec(exec)
    {
        if (m_postgres)
            m_exec(QStringLiteral("ALTER TABLE tblTimeSheet_ImportExport ADD CONSTRAINT refused "
                                  "CHECK (WorkDate <> TIMESTAMP '2026-12-12 00:00:00')"));
        else
            m_exec(QStringLiteral("CREATE TRIGGER refused BEFORE INSERT ON "
                                  "tblTimeSheet_ImportExport WHEN NEW.WorkDate = '2026-12-12 "
                                  "00:00:00' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    ~CRefusedDay()
    {
        // The server's schema is kept for the next test.
        if (m_postgres)
            m_exec(QStringLiteral(
                "ALTER TABLE tblTimeSheet_ImportExport DROP CONSTRAINT IF EXISTS refused"));
    }
    CRefusedDay(const CRefusedDay&) = delete;
    CRefusedDay& operator=(const CRefusedDay&) = delete;

private:
    bool m_postgres;
    std::function<void(const QString&)> m_exec;
};

TEST_P(ScheduleTimeDlgTest, AFailedCheckBooksNothingAndKeepsTheDialogOpen)
{
    const int result = Run(Block(600, 660), [this](CScheduleTimeDlg& dlg) {
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify); // stages Thursday's copy
        CRefusedDay refused(IsPostgres(), [this](const QString& sql) { Exec(sql); });
        CRecordingMessages::Current().Clear();

        // Thursday, Friday and Saturday: the copy for Saturday cannot be staged.
        dlg.OnCommand(kBoxFri);
        dlg.OnCommand(kBoxSat);
        dlg.OnCommand(CScheduleTimeDlg::kIdVerify);
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(Messages().first().startsWith(QStringLiteral("Unable to Verify Schedule\n")))
            << Messages().first().toStdString();
        EXPECT_FALSE(dlg.IsVerified());
        EXPECT_EQ(Staged(), QStringList{"2026-12-10 600-660 t10600"});

        // Schedule checks again, fails again, and books none of the copies.
        dlg.OnCommand(IDOK);
        ASSERT_EQ(Messages().size(), 2);
        EXPECT_TRUE(Messages().last().startsWith(
            QStringLiteral("Unable to Schedule \n- no time has been booked\n")))
            << Messages().last().toStdString();
        EXPECT_EQ(dlg.EndCode(), 0);
        EXPECT_TRUE(Booked().isEmpty());
        EXPECT_EQ(Staged(), QStringList{"2026-12-10 600-660 t10600"});
        dlg.OnCommand(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(Booked().isEmpty());
}

TEST_P(ScheduleTimeDlgTest, AnImportErrorIsShownAndBooksNothing)
{
    // The copies pass the check; the database refuses them when they are booked.
    RefuseTimeSheetRows();
    const int result = Run(Block(600, 660), [this](CScheduleTimeDlg& dlg) {
        dlg.OnCommand(kBoxSat);
        dlg.OnCommand(IDOK);
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(Messages().first().startsWith(
            QStringLiteral("Unable to Schedule \n- no time has been booked\n")))
            << Messages().first().toStdString();
        EXPECT_EQ(dlg.EndCode(), 0);
        EXPECT_EQ(dlg.BookedCount(), 0);
        dlg.OnCommand(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    // Thursday's copy went neither: the whole schedule is one step.
    EXPECT_TRUE(Booked().isEmpty());
    EXPECT_TRUE(Staged().isEmpty());
}

} // namespace

KELVANE_INSTANTIATE_BACKENDS(ScheduleTimeDlgTest);
