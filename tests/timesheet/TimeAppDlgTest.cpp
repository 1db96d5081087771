#include "timesheet/TimeAppDlg.h"
#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "timesheet/Plentor.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>

#include <QTest>
#include <QTextEdit>
#include <tuple>

#include <gtest/gtest.h>

namespace {

// The whole program on a new embedded database, with the real time line.
class TimeSheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterControlsBeside(QCoreApplication::applicationDirPath());
        RegisterTimeSheetWindows();
        ASSERT_TRUE(m_app.Start());
        m_app.Hub()->SetStartupDelayOverride(1000000);
        m_app.Hub()->Create();
        m_app.Hub()->OnCommand(ID_TIMESHEETS);
        m_window = dynamic_cast<CTimeAppDlg*>(m_app.Hub()->Window(ID_TIMESHEETS));
        ASSERT_NE(m_window, nullptr) << CRecordingMessages::Current().Last().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->Controller().DayLoaded(); }, 5000));
        QTest::qWait(50);
    }
    void TearDown() override
    {
        m_app.Shutdown();
        UnregisterHubWindow(ID_TIMESHEETS);
    }

    QStringList Rows()
    {
        CQueryResult rows;
        EXPECT_TRUE(CSqlExecutor::RunNative(
            *m_app.Facade()->Connection(),
            QStringLiteral("SELECT TimeID, Comment, TaskID, OrderID FROM tblTimeSheet ORDER BY "
                           "TimeID"),
            {}, &rows, nullptr));
        QStringList out;
        for (int r = 0; r < rows.rows; ++r)
            out << QStringLiteral("%1 %2 t%3 o%4")
                       .arg(rows.Value(r, 0).toInt())
                       .arg(rows.Value(r, 1).toString())
                       .arg(rows.Value(r, 2).toInt())
                       .arg(rows.Value(r, 3).toInt());
        return out;
    }

    // Where on the time line a minute lies: the cursor time the line reports.
    QPoint Find(QWidget* line, int minute)
    {
        const QString wanted = QString::asprintf("%02i:%02i", minute / 60, minute % 60);
        for (int x = 0; x < line->width(); x += 8) {
            for (int y = 0; y < line->height(); y += 2) {
                QTest::mouseMove(line, QPoint(x, y));
                if (m_window->Controller().Entry().cursorText == wanted)
                    return QPoint(x, y);
            }
        }
        return QPoint(-1, -1);
    }

    CKelvaneApp m_app;
    CTimeAppDlg* m_window = nullptr;
};

} // namespace

TEST_F(TimeSheetWindowTest, ABlockDrawnWithTheMouseIsStoredUndoneAndRedone)
{
    QWidget* line = m_window->TimeLine().ControlWidget();
    ASSERT_NE(line, nullptr);
    const QPoint from = Find(line, 9 * 60);
    const QPoint to = Find(line, 10 * 60);
    ASSERT_GE(from.y(), 0);
    ASSERT_GT(to.y(), from.y());

    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("drawn"));
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    QTest::mousePress(line, Qt::LeftButton, Qt::NoModifier, from);
    for (int y = from.y() + 3; y < to.y(); y += 3)
        QTest::mouseMove(line, QPoint(from.x(), y));
    QTest::mouseMove(line, to);
    QTest::mouseRelease(line, Qt::LeftButton, Qt::NoModifier, to);
    QTest::qWait(50);

    ASSERT_EQ(modals.seen, QStringList({"CSaveTimesDlg"}));
    const QStringList stored = Rows();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_TRUE(stored.first().contains(QStringLiteral("drawn"))) << stored.first().toStdString();

    m_window->OnCommand(ID_UNDO);
    EXPECT_TRUE(Rows().isEmpty());
    m_window->OnCommand(ID_REDO);
    EXPECT_EQ(Rows(), stored);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
}

TEST_F(TimeSheetWindowTest, TheDayButtonsMoveTheDayAndCloseStoresIt)
{
    const QDate today = m_window->Controller().ShownDay();
    QTest::mouseClick(m_window->Control<QWidget>(1132), Qt::LeftButton);
    EXPECT_EQ(m_window->Controller().ShownDay(), today.addDays(1));
    EXPECT_TRUE(m_window->StatusText().startsWith(QStringLiteral("Day ")));
    m_window->OnDayButtonMsg(1131);
    m_window->OnDayButtonMsg(1131);
    EXPECT_EQ(m_window->Controller().ShownDay(), today.addDays(-1));
    EXPECT_FALSE(m_window->ClockText().isEmpty());

    m_window->OnCommand(ID_CLOSE_TIMESHEET);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app.Hub()->OpenWindows(), 0);
    int y = 0;
    int m = 0;
    int d = 0;
    CProfile::LoadCurrentDate(y, m, d);
    EXPECT_EQ(QDate(y, m, d), today.addDays(-1));
}

TEST_F(TimeSheetWindowTest, TheScheduleEventOpensScheduleTimeAfterTheControlsOwnWork)
{
    CScriptedModals modals;
    QDate first;
    modals.Then([&first](CDialogBase& dialog) {
        first = static_cast<CScheduleTimeDlg&>(dialog).FirstDate();
        dialog.OnCommand(IDCANCEL);
        return dialog.EndCode();
    });
    const Variant args[] = {Variant(std::int32_t(-1)), Variant(std::int32_t(600)),
                            Variant(std::int32_t(660)), Variant(std::int32_t(1))};
    m_window->TimeLine().Events().Invoke(CPlentor::kNotifySchedData, InvokeKind::Method, args,
                                         nullptr);
    EXPECT_TRUE(modals.seen.isEmpty());
    QTest::qWait(50);
    EXPECT_EQ(modals.seen, QStringList{"CScheduleTimeDlg"});
    EXPECT_EQ(first, m_window->Controller().ShownDay().addDays(1));
    EXPECT_TRUE(Rows().isEmpty());
}

TEST_F(TimeSheetWindowTest, StoredRowsAppearOnTheLineAndInTheInfoArea)
{
    CDBClass& db = *m_app.Facade();
    const QDate day = m_window->Controller().ShownDay();
    const int empId = m_window->SelectedEmployeeId();
    const int taskId = db.Tasks().isEmpty() ? 1 : db.Tasks().first().TaskID;
    for (const auto& [timeId, start, stop, comment] :
         {std::tuple{1, 8 * 60, 9 * 60 + 30, "Planning"}, std::tuple{2, 10 * 60, 12 * 60, "Design"},
          std::tuple{3, 13 * 60, 14 * 60 + 30, "Review"}}) {
        CTimeSheetWrite entry;
        entry.WorkDate = CDateTime(day);
        entry.EmpID = empId;
        entry.ProjID = 1;
        entry.OrderID = 1;
        entry.TaskID = taskId;
        entry.Start = start;
        entry.Stop = stop;
        entry.Comment = QString::fromLatin1(comment);
        entry.TimeID = timeId;
        ASSERT_EQ(db.UpdateTimeData(nullptr, entry), 0);
    }
    m_window->OnCommand(ID_REFRESH_TIMESHEET);
    m_window->Controller().OnHighlightTime(2, 600, 720, 1);
    QTest::qWait(50);
    EXPECT_EQ(m_window->Controller().Entry().comment, QStringLiteral("Design"));
    EXPECT_EQ(m_window->Controller().Entry().startText.trimmed(), QStringLiteral("10:00"));

    // The picture the README shows.
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/timesheet.png"));
}

TEST_F(TimeSheetWindowTest, HugeSizesInTheProfileGiveTheLargestSizeTheOptionsAccept)
{
    {
        CProfileStore profile;
        profile.setValue(QStringLiteral("Admin/DefWidthVal"), 2147483647);
        profile.setValue(QStringLiteral("Admin/DefHeightVal"), 2000000000);
        profile.setValue(QStringLiteral("Admin/MinWidthVal"), 300);
        profile.setValue(QStringLiteral("Admin/MinHeightVal"), 2147483647);
    }
    m_window->Controller().ReloadOptions();
    m_window->OnCommand(ID_SIZE_DEFAULT);
    EXPECT_EQ(m_window->size(), QSize(9999 + 250, 9999 + 60));
    m_window->OnCommand(ID_SIZE_MIN);
    EXPECT_EQ(m_window->size(), QSize(300 + 250, 9999 + 60));
}
