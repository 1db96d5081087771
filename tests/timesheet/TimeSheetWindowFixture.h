#pragma once

#include "app/ControlRegistration.h"
#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TimeZoneScope.h"
#include "tests/support/Waiting.h"
#include "tests/timesheet/DatabaseOutage.h"
#include "tests/timesheet/TimeLineProbe.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeAppDlg.h"
#include "timesheet/TimeSheetWindows.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>

constexpr int kBridge = 1;
constexpr int kApollo = 2;

// The whole program with the real time line, on a seeded database of
// either back end: what the line shows is what is stored.
class TimeSheetWindowTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        SeedMore();
        Exec(QStringLiteral("UPDATE tblFinEmployee SET SecLevel = 1"));
        CProfileStore profile;
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), m_connectionString);
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
        profile.setValue(QStringLiteral("Admin/AutoShowSave"), 1);
        profile.setValue(QStringLiteral("Admin/OpenCurDay"), 1);
        profile.sync();

        RegisterControlsBeside(QCoreApplication::applicationDirPath());
        RegisterTimeSheetWindows();
        ASSERT_TRUE(m_app.Start()) << CRecordingMessages::Current().Last().toStdString();
        m_started = true;
        m_app.Hub()->SetStartupDelayOverride(1000000);
        m_app.Hub()->Create();
        m_app.Hub()->OnCommand(ID_TIMESHEETS);
        m_window = dynamic_cast<CTimeAppDlg*>(m_app.Hub()->Window(ID_TIMESHEETS));
        ASSERT_NE(m_window, nullptr) << CRecordingMessages::Current().Last().toStdString();
        ASSERT_TRUE(Waiting::Until([this] { return m_window->Controller().DayLoaded(); }));
        Waiting::Settle();
        m_line = m_window->TimeLine().ControlWidget();
        ASSERT_NE(m_line, nullptr);
        m_day = m_window->Controller().ShownDay();
    }
    void TearDown() override
    {
        if (m_started) {
            m_app.Shutdown();
            UnregisterHubWindow(ID_TIMESHEETS);
        }
        KelvaneDbTest::TearDown();
    }

    // Rows a suite needs before the program starts.
    virtual void SeedMore() {}

    // A row of Ann's (or another employee's), written as the facade writes it.
    void Book(const QDate& day, int timeId, int start, int stop, int proj, int task, int order,
              const QString& comment, int empId = 1)
    {
        CTimeSheetWrite entry;
        entry.WorkDate = CDateTime(day);
        entry.EmpID = empId;
        entry.ProjID = proj;
        entry.OrderID = order;
        entry.TaskID = task;
        entry.OrderHourRate = proj == kBridge ? 80 : 100;
        entry.Start = start;
        entry.Stop = stop;
        entry.Comment = comment;
        entry.TimeID = timeId;
        ASSERT_EQ(m_app.Facade()->UpdateTimeData(nullptr, entry), 0);
    }
    // "TimeID start-stop project task order 'comment'" of the rows of a day.
    QStringList Rows(const QDate& day)
    {
        const CQueryResult rows =
            Query(QStringLiteral("SELECT TimeID, StartTime, StopTime, ProjID, TaskID, OrderID, "
                                 "Comment FROM tblTimeSheet WHERE WorkDate = ? ORDER BY TimeID"),
                  {QVariant::fromValue(CDateTime(day))});
        QStringList out;
        for (int r = 0; r < rows.rows; ++r) {
            const auto minutes = [&](int c) {
                const QVariant v = rows.Value(r, c);
                return (v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                                 : CDateTime::Parse(v.toString()))
                    .MinutesOfDay();
            };
            out << QStringLiteral("%1 %2-%3 p%4 t%5 o%6 '%7'")
                       .arg(rows.Value(r, 0).toInt())
                       .arg(minutes(1))
                       .arg(minutes(2))
                       .arg(rows.Value(r, 3).toInt())
                       .arg(rows.Value(r, 4).toInt())
                       .arg(rows.Value(r, 5).toInt())
                       .arg(rows.Value(r, 6).toString());
        }
        return out;
    }
    // The hours the time line counts, as it tells them.
    QString HoursOnTheLine()
    {
        m_window->TimeLine().CreateHoursWorkedMsg();
        Waiting::Settle();
        return m_window->StatusText();
    }
    QPoint Find(int minute) { return TimeLineProbe::Find(*m_window, m_line, minute); }
    void Draw(QPoint from, QPoint to) { TimeLineProbe::Draw(m_line, from, to); }
    // Chooses an item of the line's right-button menu at a point.
    bool Menu(QPoint at, const QString& item)
    {
        QTest::mouseMove(m_line, at);
        bool chosen = false;
        bool seen = false;
        // The menu opens inside the click; look for it until it is there.
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            seen = true;
            poll.stop();
            for (QAction* action : menu->actions()) {
                if (action->text() == item && action->isEnabled()) {
                    chosen = true;
                    action->trigger();
                }
            }
            if (menu->isVisible())
                menu->close();
        });
        poll.start();
        QTest::mouseClick(m_line, Qt::RightButton, Qt::NoModifier, at);
        poll.stop();
        Waiting::Settle();
        return seen && chosen;
    }

    CKelvaneApp m_app;
    bool m_started = false;
    CTimeAppDlg* m_window = nullptr;
    QWidget* m_line = nullptr;
    QDate m_day;
};

inline int Cancel(CDialogBase& dialog)
{
    dialog.OnCommand(IDCANCEL);
    return dialog.EndCode();
}

inline int Escape(CDialogBase& dialog)
{
    QTest::keyClick(&dialog, Qt::Key_Escape);
    return dialog.EndCode();
}

inline int Ok(CDialogBase& dialog)
{
    dialog.OnCommand(IDOK);
    return dialog.EndCode();
}
