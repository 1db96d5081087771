#pragma once

#include "tests/timesheet/RecordingControl.h"

#include "data/DBClass.h"
#include "platform/ProfileStore.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "timesheet/Plentor.h"
#include "timesheet/TimeSheetController.h"

#include <QWidget>

#include <memory>

// The controller on a seeded database of either back end, driving a
// recording stand-in of the time line.

constexpr int kAnn = 1;
constexpr int kBridge = 1;
constexpr int kApollo = 2;

enum Disp : int {
    kSetProjInfo = 10,
    kSetTimesheetTimes = 11,
    kClearTimeInfo = 14,
    kUpdateProjForTimeObj = 18,
    kDeleteObjByID = 25,
    kChangeProject = 26,
    kDeleteAllOKRet = 29,
    kDrawTSEntryStStp = 46,
    kDeleteObj = 61,
    kSetReadOnly = 69,
};

// The window around the controller, as far as it needs one.
class CFakeUi : public ITimeSheetUi {
public:
    int SelectedEmployeeId() override { return employee; }
    QString SelectedUserName() override { return QStringLiteral("Ann Lee"); }
    int AccessMode() const override { return access; }
    void SetStatusText(const QString& text) override { statuses << text; }
    void ShowEntry(const CEntryContext& entry) override { shown = entry; }
    void SetCaption(const QString& text) override { caption = text; }
    void EnableBlockMenus(bool enable) override { blockMenus = enable; }
    void ShowDate(const QDate& day) override { date = day; }
    void EnableUndoRedo(bool u, bool r) override
    {
        undo = u;
        redo = r;
    }
    void FirstLayout() override { ++layouts; }
    QWidget* DialogParent() override { return &parent; }
    void FocusControl(int id) override { focused << id; }
    void CloseWindow() override { ++closed; }
    void ShowProjectInfo(int projId) override { projectInfo << projId; }
    bool UserComboHasFocus() const override { return comboFocus; }

    int employee = kAnn;
    int access = 2;
    QStringList statuses;
    CEntryContext shown;
    QString caption;
    bool blockMenus = true;
    QDate date;
    bool undo = false;
    bool redo = false;
    int layouts = 0;
    QList<int> focused;
    int closed = 0;
    bool comboFocus = false;
    QList<int> projectInfo;
    QWidget parent;
};

class TimeSheetControllerTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        CProfileStore profile;
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
        profile.setValue(QStringLiteral("Admin/AutoShowSave"), 0);
        profile.setValue(QStringLiteral("Admin/BlankComment"), 1);
        profile.setValue(QStringLiteral("Admin/CommentTypeSel"), 0);
        profile.sync();

        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
        m_fake = CRecordingControl::Create();
        m_control.AttachDispatch(ComPtr<IDispatch>::Adopt(m_fake));
        m_ctl = std::make_unique<CTimeSheetController>(m_control, m_db, m_ui);
        m_ctl->SetEmployee(kAnn);
    }
    void TearDown() override
    {
        m_ctl.reset();
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    // The window is up and the control has shown the day.
    void Open()
    {
        m_ctl->Start(m_day);
        m_ctl->OnReady();
        m_fake->Clear();
        CRecordingMessages::Current().Clear();
    }
    // A row of Ann's with work type 2, on the shown day unless another is named.
    void Book(int timeId, int start, int stop, int proj = kBridge, int task = 1, int order = 1,
              const QString& comment = QStringLiteral("old"), const QDate& on = QDate())
    {
        const CDateTime day(on.isValid() ? on : m_day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                            "StartTime, StopTime, TimeID, HoursWorked, Comment, WorkTypeID) "
                            "VALUES (1, ?, ?, ?, ?, ?, ?, ?, 1, ?, 2)"),
             {proj, order, task, QVariant::fromValue(day),
              QVariant::fromValue(day.AddSecs(start * 60)),
              QVariant::fromValue(day.AddSecs(stop * 60)), timeId, comment});
    }
    // TimeID, start and stop minutes, task, order, work type and comment of each row.
    QStringList Rows()
    {
        const CQueryResult rows = Query(QStringLiteral(
            "SELECT TimeID, StartTime, StopTime, TaskID, OrderID, WorkTypeID, Comment, ProjID "
            "FROM tblTimeSheet ORDER BY TimeID"));
        QStringList out;
        for (int r = 0; r < rows.rows; ++r) {
            const auto minutes = [&](int c) {
                const QVariant v = rows.Value(r, c);
                if (v.userType() == qMetaTypeId<CDateTime>())
                    return v.value<CDateTime>().MinutesOfDay();
                return CDateTime::Parse(v.toString()).MinutesOfDay();
            };
            out << QStringLiteral("%1 %2-%3 t%4 o%5 w%6 p%7 '%8'")
                       .arg(rows.Value(r, 0).toInt())
                       .arg(minutes(1))
                       .arg(minutes(2))
                       .arg(rows.Value(r, 3).toInt())
                       .arg(rows.Value(r, 4).toInt())
                       .arg(rows.Value(r, 5).toInt())
                       .arg(rows.Value(r, 7).toInt())
                       .arg(rows.Value(r, 6).toString());
        }
        return out;
    }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }

    const QDate m_day{2026, 12, 8};
    CDBClass m_db;
    CPlentor m_control;
    CRecordingControl* m_fake = nullptr;
    CFakeUi m_ui;
    std::unique_ptr<CTimeSheetController> m_ctl;
};
