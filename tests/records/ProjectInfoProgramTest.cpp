#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/TrayIcon.h"
#include "records/ProjectInfoWindows.h"
#include "records/ShowPrjDlg.h"
#include "tests/support/TestEnv.h"
#include "tests/support/Waiting.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

bool Offers(const QList<CMenuEntry>& items, int command)
{
    for (const CMenuEntry& item : items)
        if (item.command == command || Offers(item.items, command))
            return true;
    return false;
}

// A point of the time line over the label of a project: where the line's
// tool tip names it.
QPoint FindProjectLabel(QWidget* line, const QString& name)
{
    for (int x = line->width() - 1; x >= 0; x -= 4) {
        for (int y = 0; y < line->height(); y += 3) {
            const QPoint at(x, y);
            QHelpEvent help(QEvent::ToolTip, at, line->mapToGlobal(at));
            QCoreApplication::sendEvent(line, &help);
            if (QToolTip::isVisible() && QToolTip::text() == name) {
                QToolTip::hideText();
                return at;
            }
        }
    }
    return QPoint(-1, -1);
}

} // namespace

// The whole program on a new embedded database, with the real time line: the
// hub's (and the tray's) Project Info command, and a double click on a
// project of the time line, open the window on that project.
TEST(ProjectInfoProgramTest, TheHubsCommandAndTheTimeLinesProjectOpenTheWindow)
{
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    RegisterTimeSheetWindows();
    RegisterProjectInfoWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    CDummyDlg* hub = app.Hub();
    hub->SetStartupDelayOverride(1000000);
    hub->Create();

    EXPECT_TRUE(Offers(CTrayIcon::BuildPopupMenu(hub->TrayMenuState()), ID_PROJECT_INFO));
    hub->OnCommand(ID_PROJECT_INFO);
    auto* window = dynamic_cast<CShowPrjDlg*>(hub->Window(ID_PROJECT_INFO));
    ASSERT_NE(window, nullptr) << CRecordingMessages::Current().Last().toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->ProjectName(), QStringLiteral("General"));
    EXPECT_EQ(window->List()->ItemCount(), 1);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(hub->Window(ID_PROJECT_INFO), nullptr);

    hub->OnCommand(ID_TIMESHEETS);
    auto* timeSheet = dynamic_cast<CTimeAppDlg*>(hub->Window(ID_TIMESHEETS));
    ASSERT_NE(timeSheet, nullptr);
    ASSERT_TRUE(Waiting::Until([timeSheet] { return timeSheet->Controller().DayLoaded(); }));
    QWidget* line = timeSheet->TimeLine().ControlWidget();
    ASSERT_NE(line, nullptr);
    const QPoint label = FindProjectLabel(line, QStringLiteral("General"));
    ASSERT_GE(label.x(), 0);
    QTest::mouseDClick(line, Qt::LeftButton, Qt::NoModifier, label);
    ASSERT_TRUE(Waiting::Until([hub] { return hub->Window(ID_PROJECT_INFO) != nullptr; }));
    window = dynamic_cast<CShowPrjDlg*>(hub->Window(ID_PROJECT_INFO));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ProjectName(), QStringLiteral("General"));
    EXPECT_EQ(hub->OpenWindows(), kOpenTimeSheet | kOpenProjectInfo);

    app.Shutdown();
    UnregisterHubWindow(ID_PROJECT_INFO);
    UnregisterHubWindow(ID_TIMESHEETS);
}
