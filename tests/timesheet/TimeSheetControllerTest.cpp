#include "tests/timesheet/ControllerFixture.h"

#include "data/DBClass.h"
#include "data/UndoHistory.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "timesheet/ChgRqstViewDlg.h"
#include "timesheet/Plentor.h"
#include "timesheet/SaveTimesDlg.h"
#include "timesheet/ScheduleTimeDlg.h"
#include "timesheet/TimeSheetController.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

TEST_P(TimeSheetControllerTest, TheDayShowsRoundedBlocksAndDropsOnlyEmptyRows)
{
    Book(1, 8 * 60 + 7, 9 * 60 + 52);
    Book(2, 23 * 60, 23 * 60 + 59);
    Book(3, 12 * 60, 12 * 60);          // stored without length: removed
    Book(4, 13 * 60 + 1, 13 * 60 + 14); // rounds to nothing: kept
    m_ctl->Start(m_day);
    m_ctl->OnReady();
    EXPECT_EQ(m_ui.layouts, 1);
    EXPECT_EQ(m_fake->CallsOf(kSetProjInfo).size(), 2);
    EXPECT_EQ(m_fake->CallsOf(kSetTimesheetTimes),
              QList<QStringList>({{"1", "495", "600", "1", ""},
                                  {"2", "1380", "1440", "1", ""},
                                  {"4", "795", "810", "1", ""}}));
    EXPECT_EQ(Rows().size(), 3);
    EXPECT_TRUE(Messages().isEmpty());

    // Later Ready events (after a resize) load nothing again.
    m_fake->Clear();
    m_ctl->OnReady();
    m_ctl->OnReady();
    EXPECT_EQ(m_fake->Count(kSetTimesheetTimes), 0);
    EXPECT_EQ(m_fake->Count(kSetProjInfo), 0);
    EXPECT_EQ(m_ctl->ReadyCount(), 3);
}

TEST_P(TimeSheetControllerTest, OnlyTheTasksOfTheProjectsOnTheLineAreRead)
{
    // The line takes one of the two projects ("Apollo", first by name).
    m_fake->projectRoom = 1;
    Open();
    QList<int> held;
    for (const CTaskEntry& task : m_db.Tasks())
        held << task.TaskID;
    EXPECT_EQ(held, QList<int>{3});
    // The other project's tasks come when it is chosen.
    int task = -1;
    QString name;
    m_db.GetDefaultTaskOfProject(kBridge, task, name, false);
    EXPECT_EQ(task, 2);
}

TEST_P(TimeSheetControllerTest, NewBlocksAreBookedWithTheProjectDefaults)
{
    Open();
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    m_ctl->OnTimeChange(6, 600, 660, kBridge); // touching is no overlap
    EXPECT_EQ(Rows(), QStringList({"5 540-600 t2 o1 w1 p1 ''", "6 600-660 t2 o1 w1 p1 ''"}));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_EQ(m_fake->CallsOf(41).last().first(), QStringLiteral("6")); // highlighted
    EXPECT_TRUE(m_ui.undo);

    // An overlap is refused and the day read again.
    m_fake->Clear();
    m_ctl->OnTimeChange(7, 630, 700, kBridge);
    EXPECT_EQ(Rows().size(), 2);
    EXPECT_FALSE(Messages().isEmpty());
    EXPECT_GE(m_fake->Count(kClearTimeInfo), 1);
    EXPECT_EQ(m_fake->Count(kSetTimesheetTimes), 2);

    // No project: refused before anything is written.
    CRecordingMessages::Current().Clear();
    m_ctl->OnTimeChange(8, 700, 720, -1);
    EXPECT_EQ(Messages(), QStringList({"This timesheet entry is invalid \n- you can only create "
                                       "timesheets to a valid project"}));
    EXPECT_EQ(Rows().size(), 2);
}

TEST_P(TimeSheetControllerTest, SaveTimesDecidesTheEntryOrCancelsTheBlock)
{
    CProfileStore().setValue(QStringLiteral("Admin/AutoShowSave"), 1);
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("site visit"));
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    EXPECT_EQ(Rows(), QStringList({"5 540-600 t2 o1 w1 p1 'site visit'"}));
    EXPECT_EQ(m_ui.statuses.last(), QStringLiteral("Entry created"));
    // The control is editable again afterwards.
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnly).first(), QStringList({"True"}));
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnly).last(), QStringList({"False"}));

    // Cancel: no row, and the block leaves the line.
    m_fake->Clear();
    m_ctl->OnTimeChange(6, 660, 720, kBridge);
    EXPECT_EQ(Rows().size(), 1);
    EXPECT_EQ(m_fake->CallsOf(kDeleteObjByID), QList<QStringList>({{"6"}}));
    EXPECT_EQ(m_ui.statuses.last(), QStringLiteral("No entry created"));
}

TEST_P(TimeSheetControllerTest, CancelAfterAnotherProjectPutsTheBlockBack)
{
    CProfileStore().setValue(QStringLiteral("Admin/AutoShowSave"), 1);
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        static_cast<CSaveTimesDlg&>(dialog).ApplyProject(QStringLiteral("Apollo"));
        dialog.OnCommand(IDCANCEL);
        return int(IDCANCEL);
    });
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    EXPECT_EQ(m_fake->CallsOf(kUpdateProjForTimeObj),
              QList<QStringList>({{"5", "1", "2"}, {"5", "2", "1"}}));
    // The entry keeps its own project and defaults.
    EXPECT_EQ(m_ctl->Entry().projId, kBridge);
    EXPECT_EQ(m_ctl->Entry().orderId, 1);
    EXPECT_TRUE(Rows().isEmpty());
}

TEST_P(TimeSheetControllerTest, UndoDeletesANewRowAndRedoBringsItBackWhole)
{
    CProfileStore().setValue(QStringLiteral("Admin/AutoShowSave"), 1);
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto& save = static_cast<CSaveTimesDlg&>(dialog);
        save.Control<QTextEdit>(1116)->setPlainText(QStringLiteral("review"));
        save.ApplyProject(QStringLiteral("Apollo"));
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    const QStringList written = Rows();
    ASSERT_EQ(written, QStringList({"5 540-600 t3 o2 w3 p2 'review'"}));
    EXPECT_EQ(m_fake->CallsOf(kChangeProject), QList<QStringList>({{"5", "1", "2"}}));

    m_fake->Clear();
    m_ctl->OnUndo();
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(m_fake->CallsOf(kDeleteObj), QList<QStringList>({{"5"}}));
    EXPECT_TRUE(m_ui.redo);

    m_ctl->OnRedo();
    EXPECT_EQ(Rows(), written);
    // Undo once more works on the same step.
    m_ctl->OnUndo();
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

TEST_P(TimeSheetControllerTest, SaveTimesTellsOfACutCommentAndShowsNamesWithTheirAmpersands)
{
    Exec(QStringLiteral("UPDATE tblProject SET ProjName = 'R&D %1' WHERE ProjID = 2"));
    CProfileStore().setValue(QStringLiteral("Admin/AutoShowSave"), 1);
    CProfileStore().setValue(QStringLiteral("Keys/showbuts"), 1);
    Open();
    const QString cup = QStringLiteral("☕");
    QStringList captions;
    CScriptedModals modals;
    modals.Then([&](CDialogBase& dialog) {
        auto& save = static_cast<CSaveTimesDlg&>(dialog);
        save.Control<QTextEdit>(1116)->setPlainText(QString(253, QLatin1Char('c')) + cup + cup);
        save.ApplyProject(QStringLiteral("R&D %1"));
        for (const QPushButton* button : save.findChildren<QPushButton*>())
            captions << button->text();
        dialog.OnCommand(IDOK);
        // The box shows what is written.
        EXPECT_EQ(save.Control<QTextEdit>(1116)->toPlainText(),
                  QString(253, QLatin1Char('c')) + cup);
        return int(IDOK);
    });
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    EXPECT_TRUE(captions.contains(QStringLiteral("&Project :R&&D %1")))
        << captions.join('|').toStdString();
    EXPECT_EQ(Messages(), QStringList({"The comment can not be longer than 254 characters - it has "
                                       "been cut"}));
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("5 540-600 t3 o2 w3 p2 '%1'")
                                       .arg(QString(253, QLatin1Char('c')) + cup)}));
}

TEST_P(TimeSheetControllerTest, MovesAndRemovalsOfStoredBlocks)
{
    Book(1, 540, 600);
    Book(2, 600, 660);
    Open();
    // Moved with the mouse: the row follows and keeps its details.
    m_ctl->OnTimeChange(1, 480, 540, kBridge);
    EXPECT_EQ(Rows().first(), QStringLiteral("1 480-540 t1 o1 w2 p1 'old'"));
    // Undo puts it back.
    m_ctl->OnUndo();
    EXPECT_EQ(Rows().first(), QStringLiteral("1 540-600 t1 o1 w2 p1 'old'"));

    // Removed from the line: the row goes.
    m_ctl->OnTimeChange(2, 0, 0, kBridge);
    EXPECT_EQ(Rows().size(), 1);

    // A row another workstation deleted: the day is read again.
    Exec(QStringLiteral("DELETE FROM tblTimeSheet WHERE TimeID = 1"));
    m_fake->Clear();
    m_ctl->OnTimeChange(1, 420, 480, kBridge);
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_TRUE(Messages().last().startsWith(QStringLiteral("This record you are editing does not "
                                                            "exist anymore")));
    EXPECT_GE(m_fake->Count(kClearTimeInfo), 1);
}

TEST_P(TimeSheetControllerTest, DeleteAllIsAnsweredInsideTheEvent)
{
    Book(1, 540, 600);
    Open();
    CRecordingMessages::Current().Answer(kIdNo);
    m_ctl->OnDeleteAll();
    EXPECT_EQ(m_fake->CallsOf(kDeleteAllOKRet), QList<QStringList>({{"0"}}));
    CRecordingMessages::Current().Answer(kIdYes);
    m_ctl->OnDeleteAll();
    EXPECT_EQ(m_fake->CallsOf(kDeleteAllOKRet).last(), QStringList({"1"}));
    // The control then reports each removed block.
    m_ctl->OnTimeChange(1, 0, 0, kBridge);
    EXPECT_TRUE(Rows().isEmpty());
}

TEST_P(TimeSheetControllerTest, APasteBecomesOneRow)
{
    Book(1, 540, 600);
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    m_ctl->OnCopyRec(1, 540, 600, kBridge);
    m_ctl->OnCopyData(2, 660, 720, kBridge);
    EXPECT_EQ(Rows(), QStringList({"1 540-600 t1 o1 w2 p1 'old'", "2 660-720 t1 o1 w2 p1 'old'"}));
    EXPECT_EQ(m_fake->Count(kDrawTSEntryStStp), 0);

    m_ctl->OnCopyData(3, 700, 700, kBridge); // nothing to book
    EXPECT_EQ(Rows().size(), 2);
}

TEST_P(TimeSheetControllerTest, RememberedTasksOnlyOfTheirProject)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("Admin/TaskWrite"), 1);
    profile.setValue(QStringLiteral("Task/1"), 3); // a task of Apollo, not of Bridge
    profile.setValue(QStringLiteral("Task/2"), 3);
    Open();
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    m_ctl->OnTimeChange(6, 600, 660, kApollo);
    EXPECT_EQ(Rows(), QStringList({"5 540-600 t2 o1 w1 p1 ''", "6 600-660 t3 o2 w3 p2 ''"}));
}

TEST_P(TimeSheetControllerTest, ViewOnlyUsersGetAReadOnlyLine)
{
    // Another user's day: nothing of Ann's block stays beside his first one.
    Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                        "IsCurrent, HourRateFactor) VALUES (2, 'Bob Ray', 'bob', 1, 1, 1)"));
    const CDateTime day(m_day);
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, TaskID, WorkDate, "
                        "StartTime, StopTime, TimeID, HoursWorked, Comment, WorkTypeID) VALUES "
                        "(2, 2, 2, 3, ?, ?, ?, 1, 1, 'his', 3)"),
         {QVariant::fromValue(day), QVariant::fromValue(day.AddSecs(480 * 60)),
          QVariant::fromValue(day.AddSecs(540 * 60))});
    Book(1, 600, 660);
    Open();
    m_ctl->OnHighlightTime(1, 600, 660, kBridge);
    ASSERT_EQ(m_ui.shown.comment, QStringLiteral("old"));
    m_ui.employee = 2;
    m_ctl->OnSelChangeUser();
    EXPECT_EQ(m_ui.shown.startText.trimmed(), QStringLiteral("08:00"));
    EXPECT_EQ(m_ui.shown.comment, QString());
    EXPECT_EQ(m_ui.shown.workTypeName, QString());
    EXPECT_EQ(m_ui.shown.projName, QString());
    m_ui.employee = kAnn;

    m_ui.access = 1;
    m_ctl->OnSelChangeUser();
    EXPECT_EQ(m_ui.caption, QStringLiteral("Kelvane [Read Only] - Ann Lee"));
    EXPECT_FALSE(m_ui.blockMenus);
    EXPECT_EQ(m_fake->CallsOf(kSetReadOnly).last(), QStringList({"True"}));
    // Another day empties the history.
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    m_ctl->GoToDay(m_day.addDays(1));
    EXPECT_EQ(m_db.UndoHistory().UndoCount(), 0);
    EXPECT_EQ(m_ui.date, m_day.addDays(1));
}

TEST_P(TimeSheetControllerTest, ScheduleCopiesTheBlockWithItsStoredDetails)
{
    Book(1, 600, 660); // Tuesday 10:00-11:00, task 1, order 1, work type 2, 'old'
    Open();
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto& dlg = static_cast<CScheduleTimeDlg&>(dialog);
        EXPECT_EQ(dlg.FirstDate(), QDate(2026, 12, 9));
        dlg.OnCommand(IDOK);
        return dlg.EndCode();
    });
    // The control hands the block over without its id.
    m_ctl->OnSchedData(-1, 600, 660, kBridge);
    EXPECT_EQ(Rows(),
              QStringList({"1 600-660 t1 o1 w2 p1 'old'", "10600 600-660 t1 o1 w2 p1 'old'"}));
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet WHERE TimeID = 10600 AND "
                                   "WorkDate = ?"),
                    {QVariant::fromValue(CDateTime(2026, 12, 9))})
                  .Value(0, 0)
                  .toInt(),
              1);
    // The shown day got nothing: the line stays as it is.
    EXPECT_EQ(m_fake->Count(kClearTimeInfo), 0);

    // A block not stored yet goes with the project's defaults; copies that
    // reach the shown day appear on its line.
    modals.Then([](CDialogBase& dialog) {
        auto& dlg = static_cast<CScheduleTimeDlg&>(dialog);
        dlg.Control<QDateEdit>(CScheduleTimeDlg::kIdFirstDate)->setDate(QDate(2026, 12, 8));
        dlg.OnCommand(1207); // the box of Tuesdays
        dlg.OnCommand(IDOK);
        return dlg.EndCode();
    });
    m_ctl->OnSchedData(-1, 720, 780, kBridge);
    // Tuesday the 8th (shown), Wednesday the 9th and Tuesday the 15th.
    EXPECT_EQ(Rows().filter(QStringLiteral("10720 ")),
              QStringList(3, QStringLiteral("10720 720-780 t2 o1 w1 p1 ''")));
    EXPECT_EQ(m_fake->Count(kClearTimeInfo), 1);
    EXPECT_TRUE(m_fake->CallsOf(kSetTimesheetTimes)
                    .contains(QStringList({"10720", "720", "780", "1", ""})));

    // A time sheet that may only be viewed gets nothing scheduled.
    m_ui.access = 1;
    m_ctl->OnSchedData(-1, 900, 960, kBridge);
    EXPECT_EQ(modals.seen, QStringList({"CScheduleTimeDlg", "CScheduleTimeDlg"}));
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetControllerTest);

// ---- Booking to change requests ----------------------------------------------------------------

namespace {

class ChangeRequestBookingTest : public TimeSheetControllerTest {
protected:
    void SetUp() override
    {
        TimeSheetControllerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, DeptID, "
                            "IsCurrent) VALUES (2, 'Bob Ray', 'bob', 1, 1)"));
        const QVariant done = QVariant::fromValue(CDateTime(2026, 1, 1));
        Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, EmpID, Item, Reference, "
                            "DateCompleted) VALUES (10, 1, 1, 'Own', 'R10', NULL), "
                            "(11, 1, 2, 'Team', 'R11', NULL), (12, 1, 1, 'Bobs', 'R12', NULL), "
                            "(13, 1, 1, 'Closed', 'R13', ?), (14, 2, 1, 'Other', 'R14', NULL)"),
             {done});
        Exec(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID) VALUES (11, 1), (11, 2), "
                            "(12, 2)"));
    }
    static QStringList Ids(CDialogBase& dialog)
    {
        auto& chooser = static_cast<CChgRqstViewDlg&>(dialog);
        QStringList ids;
        for (int row = 0; row < chooser.List()->ItemCount(); ++row)
            ids << chooser.List()->ItemText(row, 0);
        return ids;
    }
};

} // namespace

TEST_P(ChangeRequestBookingTest, TheChooserListsTheUsersOpenRequests)
{
    CScriptedModals modals;
    QStringList shown;
    QStringList all;
    modals.Then([&](CDialogBase& dialog) {
        shown = Ids(dialog);
        dialog.OnCommand(1081); // show all
        all = Ids(dialog);
        dialog.OnCommand(IDCANCEL);
        return int(IDCANCEL);
    });
    CChgRqstViewDlg chooser(nullptr, kBridge, 11, &m_db);
    chooser.DoModal();
    EXPECT_EQ(shown, QStringList({"", "11", "10"}));
    EXPECT_EQ(all, QStringList({"", "13", "12", "11", "10"}));
    EXPECT_EQ(chooser.ChosenId(), 11); // the current one preselected
}

TEST_P(ChangeRequestBookingTest, TimeBookedToAChosenRequestCarriesIt)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("Admin/AutoShowSave"), 1);
    profile.setValue(QStringLiteral("Admin/booktime"), 1);
    Open();
    CScriptedModals modals;
    modals.Then([&modals](CDialogBase& dialog) {
        // Inside Save Times the chooser runs as the next modal step.
        modals.Then([](CDialogBase& chooser) {
            auto& view = static_cast<CChgRqstViewDlg&>(chooser);
            view.OnListRowActivated(2, view.List()); // request 10
            return view.EndCode();
        });
        dialog.OnCommand(1029);
        EXPECT_EQ(static_cast<CSaveTimesDlg&>(dialog).ChgReqText(), QStringLiteral("10, Own"));
        dialog.OnCommand(IDOK);
        return int(IDOK);
    });
    m_ctl->OnTimeChange(5, 540, 600, kBridge);
    EXPECT_EQ(modals.seen, QStringList({"CSaveTimesChgReqDlg", "CChgRqstViewDlg"}));
    const CQueryResult rows =
        Query(QStringLiteral("SELECT ObjectTypeID, ObjectID FROM tblTimeSheet WHERE TimeID = 5"));
    ASSERT_EQ(rows.rows, 1);
    EXPECT_EQ(rows.Value(0, 0).toInt(), 40);
    EXPECT_EQ(rows.Value(0, 1).toInt(), 10);
    EXPECT_EQ(m_fake->CallsOf(71).last(), QStringList({"10", "5"})); // SetChgRqstStr
}

KELVANE_INSTANTIATE_BACKENDS(ChangeRequestBookingTest);
