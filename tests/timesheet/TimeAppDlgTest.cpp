#include "timesheet/TimeAppDlg.h"
#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/SqlExecutor.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "tests/timesheet/TimeLineProbe.h"
#include "timesheet/Plentor.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>

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
        ASSERT_TRUE(Waiting::Until([this] { return m_window->Controller().DayLoaded(); }));
        Waiting::Settle();
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

    QPoint Find(QWidget* line, int minute) { return TimeLineProbe::Find(*m_window, line, minute); }

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
    TimeLineProbe::Draw(line, from, to);

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
    // View > Today names the day it goes to, as the buttons do.
    m_window->OnCommand(ID_VIEW_TODAY);
    EXPECT_EQ(m_window->Controller().ShownDay(), today);
    EXPECT_EQ(m_window->StatusText(),
              QStringLiteral("Day ") + QLocale().toString(today, QLocale::ShortFormat));
    m_window->OnDayButtonMsg(1131);

    m_window->OnCommand(ID_CLOSE_TIMESHEET);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app.Hub()->OpenWindows(), 0);
    int y = 0;
    int m = 0;
    int d = 0;
    CProfile::LoadCurrentDate(y, m, d);
    EXPECT_EQ(QDate(y, m, d), today.addDays(-1));
}

TEST_F(TimeSheetWindowTest, AUserTheDatabaseDoesNotKnowIsAskedForBeforeTheWindowIsUsed)
{
    // As after a switch to a database that does not know the user: the
    // question is modal, asked before the window can be used.
    m_window->OnCommand(ID_CLOSE_TIMESHEET);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CProfile::SetDefUserName(QStringLiteral("Zed"));
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDCANCEL);
        return dialog.EndCode();
    });
    m_app.Hub()->OnCommand(ID_TIMESHEETS);
    EXPECT_EQ(modals.seen.size(), 1);
    auto* window = dynamic_cast<CTimeAppDlg*>(m_app.Hub()->Window(ID_TIMESHEETS));
    ASSERT_NE(window, nullptr);
    // Not answered: the window goes on with a user the database knows.
    EXPECT_GE(m_app.Facade()->GetEmpIdByName(window->SelectedUserName()), 0);
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
    EXPECT_TRUE(Waiting::Until([&modals] { return !modals.seen.isEmpty(); }));
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
    Waiting::Settle();
    EXPECT_EQ(m_window->Controller().Entry().comment, QStringLiteral("Design"));
    EXPECT_EQ(m_window->Controller().Entry().startText.trimmed(), QStringLiteral("10:00"));

    // The pictures the README shows: the default size and a large one, where
    // the time column takes the room.
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/timesheet.png"));
    m_window->resize(1280, 860);
    Waiting::Settle();
    m_window->Controller().OnHighlightTime(2, 600, 720, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_window->Controller().Entry().comment, QStringLiteral("Design"));
    if (!folder.isEmpty())
        m_window->grab().save(folder + QStringLiteral("/timesheet-large.png"));
}

TEST_F(TimeSheetWindowTest, NothingIsCutAtTheSmallestSizeAndTheLineTakesALargeOne)
{
    QWidget* line = m_window->TimeLine().ControlWidget();
    ASSERT_NE(line, nullptr);
    const auto grab = [this](const QString& name) {
        const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            m_window->grab().save(folder + QLatin1Char('/') + name);
    };
    const auto settle = [] { Waiting::Settle(); };

    // "Size to Min Size" asks for less than the controls need: the window
    // stops at the smallest the layouts allow.
    m_window->OnCommand(ID_SIZE_MIN);
    settle();
    EXPECT_GE(m_window->width(), m_window->minimumSizeHint().width());
    m_window->resize(1, 1);
    settle();
    EXPECT_EQ(m_window->size(), m_window->minimumSize());
    auto* interval = line->findChild<QComboBox*>();
    ASSERT_NE(interval, nullptr);
    EXPECT_GE(interval->width(), interval->sizeHint().width());
    EXPECT_LE(interval->geometry().right(), line->width());
    EXPECT_GE(line->width(), line->minimumSizeHint().width());
    grab(QStringLiteral("timesheet-min.png"));

    // Larger: the time column grows with the line instead of leaving it empty.
    const int narrow = line->width();
    m_window->resize(1400, 900);
    settle();
    EXPECT_GT(line->width(), narrow + 500);
}

TEST_F(TimeSheetWindowTest, TheDatePickersCalendarShowsEveryWeekInAFrameOfItsOwn)
{
    auto* picker = m_window->Control<QDateTimeEdit>(1139);
    ASSERT_NE(picker, nullptr);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window, Waiting::kCeilingMs));
    // A click on the arrow opens the calendar over the month calendar below.
    QTest::mouseClick(picker, Qt::LeftButton, Qt::NoModifier,
                      QPoint(picker->width() - 6, picker->height() / 2));
    EXPECT_TRUE(Waiting::Until([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QCalendarWidget* calendar = picker->calendarWidget();
    ASSERT_NE(calendar, nullptr);
    EXPECT_GE(calendar->height(), calendar->sizeHint().height());
    EXPECT_GE(calendar->width(), calendar->sizeHint().width());
    // Its edge is drawn, so the rows of the calendar under it do not look
    // like a week it cut off.
    const QImage image = popup->grab().toImage();
    const QColor window = popup->palette().color(QPalette::Window);
    EXPECT_LT(QColor(image.pixel(image.width() / 2, image.height() - 1)).lightness(),
              window.lightness() - 40);
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(folder + QStringLiteral("/timesheet-calendar.png"));
    popup->close();
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
