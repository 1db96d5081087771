#include "records/ProjectTasksDlg.h"
#include "records/OptionalDateEdit.h"
#include "tests/records/ProjectInfoFixture.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/Typing.h"
#include "ui/RichTextCtrl.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ProjectTasksDlgTest : public ProjectInfoTest {
protected:
    using Step = std::function<void(CProjectTasksDlg&)>;

    // Runs the dialog for a task of a project without a window around it.
    void Run(const QString& project, int projId, int taskId, const Step& step)
    {
        CProjectTasksDlg dialog(project, projId, QString(), taskId, nullptr, m_db);
        CScriptedModals modals;
        modals.Then([&step](CDialogBase& d) {
            step(static_cast<CProjectTasksDlg&>(d));
            return int(IDCANCEL);
        });
        dialog.DoModal();
    }
    // The same from the window's task list (Bridge; row 0 Design, 1 Build).
    bool RunFromWindow(int row, const Step& step)
    {
        CScriptedModals modals;
        modals.Then([&step](CDialogBase& d) {
            step(static_cast<CProjectTasksDlg&>(d));
            return int(IDCANCEL);
        });
        m_window->ViewTask(row);
        return modals.seen == QStringList({"CProjectTasksDlg"});
    }
    static QComboBox* Combo(CProjectTasksDlg& d, int id) { return d.Control<QComboBox>(id); }
    static QString Label(CProjectTasksDlg& d, int id) { return d.Control<QLabel>(id)->text(); }
    static COptionalDateEdit* Date(CProjectTasksDlg& d, int id)
    {
        return d.Control<COptionalDateEdit>(id);
    }
    static QLineEdit* Hours(CProjectTasksDlg& d)
    {
        return d.Control<QLineEdit>(CProjectTasksDlg::kIdEstHours);
    }
    static bool Enabled(CProjectTasksDlg& d, int id)
    {
        return d.Control<QPushButton>(id)->isEnabled();
    }
    static QStringList Tasks(CProjectTasksDlg& d)
    {
        QStringList names;
        for (int i = 0; i < Combo(d, CProjectTasksDlg::kIdTask)->count(); ++i)
            names << Combo(d, CProjectTasksDlg::kIdTask)->itemText(i);
        return names;
    }
    static void ChooseTask(CProjectTasksDlg& d, const QString& name)
    {
        QComboBox* combo = Combo(d, CProjectTasksDlg::kIdTask);
        combo->setCurrentIndex(combo->findText(name));
        d.OnCommand(CProjectTasksDlg::kIdTask);
    }
    static void Pick(CProjectTasksDlg& d, int id, const QString& text)
    {
        QComboBox* combo = Combo(d, id);
        ASSERT_GE(combo->findText(text), 0) << text.toStdString();
        combo->setCurrentIndex(combo->findText(text));
    }
    static void SetDates(CProjectTasksDlg& d, const CDateTime& start, const CDateTime& end)
    {
        Date(d, CProjectTasksDlg::kIdEstStart)->SetValue(start);
        Date(d, CProjectTasksDlg::kIdEstEnd)->SetValue(end);
    }
    QVariant Task(const QString& column, const QString& name)
    {
        return Stored(QStringLiteral("SELECT %1 FROM tblProjectTask WHERE Task = ?").arg(column),
                      {name});
    }
    static CDateTime AsDate(const QVariant& v)
    {
        return v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                        : CDateTime::Parse(v.toString());
    }
};

} // namespace

TEST_P(ProjectTasksDlgTest, ATaskShowsItsDatesHoursPercentOrderAndWorkType)
{
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [](CProjectTasksDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Project Bridge "));
        EXPECT_TRUE(d.Control<QCheckBox>(CProjectTasksDlg::kIdActiveOnly)->isChecked());
        EXPECT_EQ(Tasks(d), QStringList({"Design", "Build"}));
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdTask)->currentText(), QStringLiteral("Design"));
        EXPECT_EQ(Label(d, CProjectTasksDlg::kIdState), QStringLiteral("Active"));
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("40.00"));
        EXPECT_EQ(Label(d, CProjectTasksDlg::kIdActHours), QStringLiteral("0.00"));
        EXPECT_EQ(Label(d, CProjectTasksDlg::kIdPercent), QStringLiteral("50.00 %"));
        EXPECT_EQ(d.PercentColor(), CProjectTasksDlg::kNormalColor);
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdOrder)->currentText(), QStringLiteral("B-200"));
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdWorkType)->currentText(), QStringLiteral("Design"));
        EXPECT_EQ(Date(d, CProjectTasksDlg::kIdEstStart)->Value(), CDateTime(2026, 3, 2));
        EXPECT_FALSE(Date(d, CProjectTasksDlg::kIdEstEnd)->HasDate());
        // An actual start in 1985 shows as the pickers' first day; the
        // actual dates are only shown.
        EXPECT_EQ(Date(d, CProjectTasksDlg::kIdActStart)->Value(), CDateTime(1990, 1, 1));
        EXPECT_FALSE(Date(d, CProjectTasksDlg::kIdActStart)->isEnabled());
        EXPECT_EQ(d.Control<CRichTextCtrl>(CProjectTasksDlg::kIdDetails)->toPlainText(),
                  QStringLiteral("Drawings"));
        EXPECT_TRUE(Enabled(d, CProjectTasksDlg::kIdUpdate));

        // No estimate: blue; no order or work type: "Not Assigned".
        ChooseTask(d, QStringLiteral("Build"));
        EXPECT_EQ(d.TaskId(), kBuild);
        EXPECT_EQ(d.PercentColor(), CProjectTasksDlg::kNoEstimateColor);
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdOrder)->currentText(),
                  CProjectTasksDlg::kNotAssigned);
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdWorkType)->currentText(),
                  CProjectTasksDlg::kNotAssigned);

        // Every task: the inactive one over its estimate shows red.
        d.OnCommand(CProjectTasksDlg::kIdActiveOnly);
        EXPECT_EQ(Tasks(d), QStringList({"Design", "Build", "Survey"}));
        ChooseTask(d, QStringLiteral("Survey"));
        EXPECT_EQ(Label(d, CProjectTasksDlg::kIdState), QStringLiteral("Not Active"));
        EXPECT_EQ(Label(d, CProjectTasksDlg::kIdPercent), QStringLiteral("120.00 %"));
        EXPECT_EQ(d.PercentColor(), CProjectTasksDlg::kOverColor);
        // A start in 1900 is no date.
        EXPECT_FALSE(Date(d, CProjectTasksDlg::kIdActStart)->HasDate());
    });
    EXPECT_EQ(CProjectTasksDlg::ShownDate(CDateTime(1985, 6, 1)), CDateTime(1990, 1, 1));
    EXPECT_EQ(CProjectTasksDlg::ShownDate(CDateTime(1900, 12, 31)), CDateTime());
    EXPECT_EQ(CProjectTasksDlg::ShownDate(CDateTime(2026, 3, 2, 9)), CDateTime(2026, 3, 2, 9));
}

TEST_P(ProjectTasksDlgTest, NoTasksLeavesNothingToUpdateOrDeleteUntilATaskIsAdded)
{
    Exec(QStringLiteral("INSERT INTO tblProjectTask (Task, ProjID, State) VALUES ('Moorings', 4, "
                        "1)"));
    Run(QStringLiteral("Harbour"), kHarbour, -1, [this](CProjectTasksDlg& d) {
        EXPECT_EQ(Tasks(d), QStringList({CProjectTasksDlg::kNoTasks}));
        EXPECT_EQ(d.TaskId(), -1);
        EXPECT_FALSE(Enabled(d, CProjectTasksDlg::kIdUpdate));
        EXPECT_FALSE(Enabled(d, CProjectTasksDlg::kIdDelete));
        // The inactive task, then none again: its state does not linger.
        d.OnCommand(CProjectTasksDlg::kIdActiveOnly);
        EXPECT_EQ(Tasks(d), QStringList({"Moorings"}));
        EXPECT_TRUE(Enabled(d, CProjectTasksDlg::kIdUpdate));
        d.OnCommand(CProjectTasksDlg::kIdActiveOnly);
        EXPECT_EQ(Tasks(d), QStringList({CProjectTasksDlg::kNoTasks}));
        EXPECT_EQ(d.TaskId(), -1);
        EXPECT_FALSE(Enabled(d, CProjectTasksDlg::kIdUpdate));
        const int before = CRecordingMessages::Current().Count();
        d.OnUpdateTask();
        d.OnDeleteTask();
        EXPECT_EQ(CRecordingMessages::Current().Count(), before);

        Combo(d, CProjectTasksDlg::kIdTask)->setEditText(QStringLiteral("Dredging"));
        d.OnAddTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("New Task Dredging added"));
        EXPECT_EQ(Tasks(d), QStringList({"Dredging"}));
        EXPECT_EQ(d.TaskId(), Task(QStringLiteral("TaskID"), QStringLiteral("Dredging")).toInt());
        EXPECT_TRUE(Enabled(d, CProjectTasksDlg::kIdDelete));
        EXPECT_TRUE(d.Changed());
    });
}

TEST_P(ProjectTasksDlgTest, AutoEstimatesFortyHoursAWeekForEachMember)
{
    Open(kAnn, kBridge);
    ASSERT_EQ(m_window->MemberCount(), 3);
    ASSERT_TRUE(RunFromWindow(0, [](CProjectTasksDlg& d) {
        EXPECT_EQ(d.TaskId(), kDesign);
        SetDates(d, CDateTime(2026, 3, 1), CDateTime(2026, 3, 29));
        d.OnAutoEstimate(CProjectTasksDlg::kIdAuto);
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("480"));
    }));
    // Without a window: one member.
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [](CProjectTasksDlg& d) {
        SetDates(d, CDateTime(2026, 3, 1), CDateTime(2026, 3, 29));
        d.Control<QPushButton>(CProjectTasksDlg::kIdAuto)->click();
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("160"));
        // No span: asked before the hours go to 0.
        SetDates(d, CDateTime(2026, 3, 1), CDateTime(2026, 3, 1));
        d.OnAutoEstimate(CProjectTasksDlg::kIdAuto);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("This will set your estimated hours to 0 - continue?"));
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("160"));
        CRecordingMessages::Current().Answer(kIdYes);
        d.OnAutoEstimate(CProjectTasksDlg::kIdAuto);
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("0"));
    });
}

TEST_P(ProjectTasksDlgTest, AddWritesANewActiveTaskWithoutTheLastTasksActualDates)
{
    Open(kAnn, kBridge);
    ASSERT_TRUE(RunFromWindow(0, [this](CProjectTasksDlg& d) {
        // Design, loaded first, has an actual start.
        ASSERT_TRUE(Date(d, CProjectTasksDlg::kIdActStart)->HasDate());
        QComboBox* task = Combo(d, CProjectTasksDlg::kIdTask);
        task->setEditText(QStringLiteral("  "));
        d.OnAddTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Blank Task Name not valid"));
        task->setEditText(QStringLiteral("DESIGN"));
        d.OnAddTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Task with this name exist already - you need to create a "
                                 "unique task name"));

        task->setEditText(QStringLiteral("Deck's steel"));
        SetDates(d, CDateTime(2026, 3, 1, 8), CDateTime(2026, 3, 29, 17));
        Pick(d, CProjectTasksDlg::kIdOrder, CProjectTasksDlg::kNotAssigned);
        Pick(d, CProjectTasksDlg::kIdWorkType, QStringLiteral("Travel"));
        d.Control<CRichTextCtrl>(CProjectTasksDlg::kIdDetails)->clear();
        d.OnAddTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("New Task Deck's steel added"));
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdTask)->currentText(),
                  QStringLiteral("Deck's steel"));
        // The window's list has it already.
        EXPECT_EQ(m_window->List()->ItemCount(), 3);
    }));
    const QString name = QStringLiteral("Deck's steel");
    EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), name).toFloat(), 160.0f);
    EXPECT_EQ(AsDate(Task(QStringLiteral("EstStart"), name)), CDateTime(2026, 3, 1));
    EXPECT_EQ(AsDate(Task(QStringLiteral("EstFinish"), name)), CDateTime(2026, 3, 29));
    EXPECT_TRUE(Task(QStringLiteral("ActStart"), name).isNull());
    EXPECT_TRUE(Task(QStringLiteral("ActFinish"), name).isNull());
    EXPECT_EQ(Task(QStringLiteral("State"), name).toInt(), 2);
    EXPECT_TRUE(Task(QStringLiteral("OrderID"), name).isNull());
    EXPECT_EQ(Task(QStringLiteral("DefaultWorkTypeID"), name).toInt(), 6);
    EXPECT_EQ(Task(QStringLiteral("ProjID"), name).toInt(), kBridge);
    EXPECT_TRUE(Task(QStringLiteral("Comment"), name)
                    .toString()
                    .startsWith(QStringLiteral("Created by Ann Lee, ")));

    // An end before the start becomes the start; no span, no hours.
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [](CProjectTasksDlg& d) {
        Combo(d, CProjectTasksDlg::kIdTask)->setEditText(QStringLiteral("Paint"));
        SetDates(d, CDateTime(2026, 4, 10), CDateTime(2026, 4, 1));
        d.OnAddTask();
    });
    EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), QStringLiteral("Paint")).toFloat(), 0.0f);
    EXPECT_EQ(AsDate(Task(QStringLiteral("EstFinish"), QStringLiteral("Paint"))),
              CDateTime(2026, 4, 10));
}

TEST_P(ProjectTasksDlgTest, UpdateKeepsTheFractionOfTheHoursAndSaysOkOnlyWhenWritten)
{
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [this](CProjectTasksDlg& d) {
        Hours(d)->setText(QStringLiteral("7.75"));
        Pick(d, CProjectTasksDlg::kIdOrder, CProjectTasksDlg::kNotAssigned);
        Combo(d, CProjectTasksDlg::kIdTask)->setEditText(QStringLiteral("Detail design"));
        d.Control<CRichTextCtrl>(CProjectTasksDlg::kIdDetails)
            ->setPlainText(QStringLiteral("Drawings, revised   "));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("Updated OK"));
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("7.75"));
        EXPECT_EQ(Combo(d, CProjectTasksDlg::kIdTask)->currentText(),
                  QStringLiteral("Detail design"));
        EXPECT_TRUE(d.Changed());

        // Another task's name is taken.
        Combo(d, CProjectTasksDlg::kIdTask)->setEditText(QStringLiteral("build"));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Task with this name exist already - you need to create a "
                                 "unique task name"));
        // Gone meanwhile: an error, not "Updated OK".
        Combo(d, CProjectTasksDlg::kIdTask)->setEditText(QStringLiteral("Detail design"));
        Exec(QStringLiteral("DELETE FROM tblProjectTask WHERE TaskID = 1"));
        d.OnUpdateTask();
        EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(
            QStringLiteral("Task Detail design was not updated.")))
            << CRecordingMessages::Current().Last().toStdString();
    });
    // Written before it went: hours, name, no order, details without the blanks.
    Exec(QStringLiteral("INSERT INTO tblProjectTask (Task, ProjID, State, EstHours) VALUES "
                        "('Check', 1, 2, 1)"));
    Run(QStringLiteral("Bridge"), kBridge, -1, [this](CProjectTasksDlg& d) {
        ChooseTask(d, QStringLiteral("Check"));
        Hours(d)->setText(QStringLiteral("7.75"));
        d.OnUpdateTask();
    });
    EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), QStringLiteral("Check")).toFloat(), 7.75f);
    EXPECT_TRUE(Task(QStringLiteral("ActStart"), QStringLiteral("Check")).isNull());
}

TEST_P(ProjectTasksDlgTest, ATaskWithBookedTimeIsKeptOrMadeNotActiveNeverDeleted)
{
    Open(kAnn, kBridge);
    auto& messages = CRecordingMessages::Current();
    ASSERT_TRUE(RunFromWindow(0, [&](CProjectTasksDlg& d) {
        // Cancel: nothing happens.
        d.OnDeleteTask();
        EXPECT_EQ(messages.Last(), QStringLiteral("Are you sure you want to delete Design"));
        EXPECT_EQ(d.TaskId(), kDesign);
        // Sure, but its booked time is kept: No.
        messages.Answer(kIdOk);
        messages.Answer(kIdNo);
        d.OnDeleteTask();
        EXPECT_TRUE(messages.Last().startsWith(
            QStringLiteral("Design cannot be deleted: 2 time-sheet entries and 0 comments")))
            << messages.Last().toStdString();
        EXPECT_EQ(Tasks(d), QStringList({"Design", "Build"}));
        EXPECT_FALSE(d.Changed());
        // Yes: it stays, not active.
        messages.Answer(kIdOk);
        messages.Answer(kIdYes);
        d.OnDeleteTask();
        EXPECT_EQ(Tasks(d), QStringList({"Build"}));
        EXPECT_EQ(d.TaskId(), kBuild);
        EXPECT_TRUE(d.Changed());
    }));
    EXPECT_EQ(Stored(QStringLiteral("SELECT State FROM tblProjectTask WHERE TaskID = 1")).toInt(),
              0);
    EXPECT_EQ(Stored(QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet WHERE TaskID = 1")).toInt(),
              2);
    EXPECT_EQ(TaskRows().size(), 1);

    // A comment on a task holds it too; a task nothing points at goes.
    Exec(QStringLiteral("INSERT INTO tblProjectComment (ProjID, EmpID, ProjectComment, "
                        "CommentType, ObjectTypeID, ObjectID) VALUES (2, 1, 'Countdown', 'ToDo', "
                        "2, 4)"));
    Run(QStringLiteral("Apollo"), kApollo, kLaunch, [&](CProjectTasksDlg& d) {
        messages.Answer(kIdOk);
        d.OnDeleteTask();
        EXPECT_TRUE(messages.Last().contains(QStringLiteral("1 time-sheet entries and 1 comments")))
            << messages.Last().toStdString();
    });
    Run(QStringLiteral("Bridge"), kBridge, -1, [&](CProjectTasksDlg& d) {
        d.OnCommand(CProjectTasksDlg::kIdActiveOnly);
        ChooseTask(d, QStringLiteral("Survey"));
        messages.Answer(kIdOk);
        d.OnDeleteTask();
        EXPECT_EQ(Tasks(d), QStringList({"Design", "Build"}));
        EXPECT_EQ(d.TaskId(), kDesign);
    });
    EXPECT_EQ(
        Stored(QStringLiteral("SELECT COUNT(*) FROM tblProjectTask WHERE TaskID = 3")).toInt(), 0);
}

TEST_P(ProjectTasksDlgTest, AddStoresTheTypedHoursAndANameCountedInCharacters)
{
    const QString emoji = QStringLiteral("🚧");
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [&](CProjectTasksDlg& d) {
        // 60 emoji typed: the name holds 50 characters, not 25.
        QComboBox* task = Combo(d, CProjectTasksDlg::kIdTask);
        task->lineEdit()->clear();
        TypeCharacters(task->lineEdit(), emoji.repeated(60));
        EXPECT_EQ(task->currentText(), emoji.repeated(50));
        // 16 hours typed over the loaded task's 40, with no span of dates.
        Hours(d)->selectAll();
        TypeCharacters(Hours(d), QStringLiteral("16"));
        d.OnAddTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("New Task %1 added").arg(emoji.repeated(50)));
        EXPECT_EQ(Hours(d)->text(), QStringLiteral("16.00"));

        // 49 letters and an emoji are 50 characters: stored whole.
        task->lineEdit()->clear();
        TypeCharacters(task->lineEdit(), QString(49, QLatin1Char('a')) + emoji);
        d.OnAddTask();
    });
    EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), emoji.repeated(50)).toFloat(), 16.0f);
    EXPECT_EQ(Task(QStringLiteral("Task"), QString(49, QLatin1Char('a')) + emoji).toString(),
              QString(49, QLatin1Char('a')) + emoji);
}

TEST_P(ProjectTasksDlgTest, UpdateKeepsAnUntouchedRichTextCommentAndCutsALongOneWithAWord)
{
    const QString rtf = QStringLiteral("{\\rtf1\\ansi Drawings \\b first\\b0\\par}");
    Exec(QStringLiteral("UPDATE tblProjectTask SET Comment = ? WHERE TaskID = 1"), {rtf});
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [&](CProjectTasksDlg& d) {
        auto* details = d.Control<CRichTextCtrl>(CProjectTasksDlg::kIdDetails);
        EXPECT_EQ(details->toPlainText(), QStringLiteral("Drawings first"));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(), QStringLiteral("Updated OK"));
        EXPECT_EQ(Task(QStringLiteral("Comment"), QStringLiteral("Design")).toString(), rtf);

        // Longer than its column: told, cut where the user sees it, written.
        details->setPlainText(QString(254, QLatin1Char('d')) + QStringLiteral("☕☕"));
        d.OnUpdateTask();
        EXPECT_TRUE(CRecordingMessages::Current().Texts().contains(
            QStringLiteral("The details can not be longer than 255 characters - it has been cut")));
        EXPECT_EQ(details->toPlainText(), QString(254, QLatin1Char('d')) + QStringLiteral("☕"));
    });
    EXPECT_EQ(Task(QStringLiteral("Comment"), QStringLiteral("Design")).toString(),
              QString(254, QLatin1Char('d')) + QStringLiteral("☕"));
}

TEST_P(ProjectTasksDlgTest, HoursTakeTheDesktopsDecimalSignAsWellAsThePoint)
{
    const struct {
        const char* locale;
        const char* typed;
        float stored;
    } cases[] = {{"de_DE", "1,5", 1.5f},   {"de_DE", "2.25", 2.25f}, {"fr_FR", "1,5", 1.5f},
                 {"fr_FR", "0,75", 0.75f}, {"en_US", "1.5", 1.5f},   {"de_DE", "1.234,5", 1234.5f}};
    int n = 0;
    for (const auto& c : cases) {
        const CDesktopLocale desktop(c.locale);
        const QString name = QStringLiteral("Typed %1").arg(++n);
        Run(QStringLiteral("Bridge"), kBridge, kDesign, [&](CProjectTasksDlg& d) {
            Combo(d, CProjectTasksDlg::kIdTask)->setEditText(name);
            Hours(d)->selectAll();
            TypeCharacters(Hours(d), QString::fromUtf8(c.typed));
            EXPECT_EQ(Hours(d)->text(), QString::fromUtf8(c.typed)) << c.locale;
            d.OnAddTask();
            EXPECT_EQ(CRecordingMessages::Current().Last(),
                      QStringLiteral("New Task %1 added").arg(name))
                << c.locale << " " << c.typed;
        });
        EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), name).toFloat(), c.stored)
            << c.locale << " " << c.typed;
    }
    // A point that may group thousands is not guessed at; the task keeps its hours.
    const CDesktopLocale desktop("de_DE");
    Run(QStringLiteral("Bridge"), kBridge, kDesign, [](CProjectTasksDlg& d) {
        Hours(d)->setText(QStringLiteral("1.000"));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("1.000 could mean 1 or 1000: type it without group separators"));
        Hours(d)->setText(QStringLiteral("-1,5"));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Estimated hours must be a number of 0 or more"));
        // Beyond what the column holds.
        Hours(d)->setText(QStringLiteral("1e300"));
        d.OnUpdateTask();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Estimated hours can be at most 999999.99"));
    });
    EXPECT_FLOAT_EQ(Task(QStringLiteral("EstHours"), QStringLiteral("Design")).toFloat(), 40.0f);
}

KELVANE_INSTANTIATE_BACKENDS(ProjectTasksDlgTest);
