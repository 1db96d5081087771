#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "autotimer/AutoTimerWindows.h"
#include "autotimer/AutoTimingDlg.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

// The whole program on a new embedded database, with the real time sheet:
// the hub opens it and the auto timer together, as that start window does.
TEST(AutoTimerProgramTest, WhileTimingTheTimeSheetIsReadOnlyAndShowsTheLoggedBlock)
{
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    RegisterTimeSheetWindows();
    RegisterAutoTimerWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    app.Hub()->SetStartupDelayOverride(1000000);
    app.Hub()->Create();
    app.Hub()->OnCommand(ID_TIMESHEET_AND_AUTO_TIMER);
    auto* sheet = dynamic_cast<CTimeAppDlg*>(app.Hub()->Window(ID_TIMESHEETS));
    auto* timer = dynamic_cast<CAutoTimingDlg*>(app.Hub()->Window(ID_AUTO_TIMER));
    ASSERT_TRUE(sheet && timer) << CRecordingMessages::Current().Last().toStdString();
    ASSERT_TRUE(Waiting::Until([sheet] { return sheet->Controller().DayLoaded(); }));
    const QDate day = sheet->Controller().ShownDay();
    const CTestClock clock(day, 10, 7);

    timer->OnGo();
    ASSERT_TRUE(app.IsAutoLogging());
    EXPECT_TRUE(
        sheet->windowTitle().startsWith(QStringLiteral("Kelvane [Read Only - Auto Timing]")))
        << sheet->windowTitle().toStdString();
    EXPECT_EQ(sheet->Controller().Entry().comment, QStringLiteral("Logged"));
    EXPECT_EQ(sheet->Controller().Entry().start, 600);
    EXPECT_EQ(sheet->Controller().Entry().stop, 615);
    // The logged block is on the line too, not only in the details.
    sheet->TimeLine().CreateHoursWorkedMsg();
    Waiting::Settle();
    EXPECT_EQ(sheet->StatusText(), QStringLiteral("Hours Worked 0.25"));
    EXPECT_TRUE(app.Hub()->TrayMenuState().autoTimerRunning);

    // The user stays while timing; the tray menu's "Stop Timer" ends it.
    app.Hub()->OnCommand(ID_SET_USER);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You cannot change the default user while you are autologging"));
    app.Hub()->OnCommand(ID_STOP_TIMING);
    EXPECT_FALSE(app.IsAutoLogging());
    EXPECT_FALSE(sheet->windowTitle().contains(QStringLiteral("Read Only")));

    app.Shutdown();
    UnregisterHubWindow(ID_TIMESHEETS);
    UnregisterHubWindow(ID_AUTO_TIMER);
}
