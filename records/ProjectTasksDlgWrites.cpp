// The project tasks dialog's writes: add, update and delete a task.
#include "records/ProjectTasksDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/TaskSet.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/CommentRecord.h"
#include "records/OptionalDateEdit.h"
#include "records/ShowPrjDlg.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"
#include "ui/TypedNumber.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// The columns of CTaskSet by position.
enum TaskColumn : int {
    kTask = 1,
    kEstHours = 2,
    kOrderID = 5,
    kTaskOrder = 6,
    kEstStart = 7,
    kEstFinish = 8,
    kActStart = 9,
    kActFinish = 10,
    kIsMilestone = 11,
    kIsCritical = 12,
    kEstCumHours = 13,
    kActCumHours = 14,
    kMspTaskID = 15,
    kComment = 16,
    kPercentComplete = 18,
    kDefaultWorkTypeID = 19,
    kEnteredBy = 20,
    kAllocatedTo = 21,
    kFullDetails = 22,
};

// A column written as NULL; its buffer holds the type's zero value.
void SetNull(CTaskSet& set, int column)
{
    set.Descriptor(column).status = adFldNull;
}

void SetId(CTaskSet& set, int column, int& buffer, int id)
{
    buffer = id < 0 ? 0 : id;
    set.Descriptor(column).status = id < 0 ? adFldNull : adFldOK;
}

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

QString DefaultUserName()
{
    return HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
}

} // namespace

bool CProjectTasksDlg::ReadEstimatedHours(double& hours)
{
    // The desktop's decimal sign or the point.
    const CTypedNumber typed(m_estHours->text());
    hours = typed.IsValid() ? typed.Value() : 0.0;
    if (typed.IsEmpty() || (typed.IsValid() && hours >= 0 && hours <= kMostHours))
        return true;
    QString message = QStringLiteral("Estimated hours must be a number of 0 or more");
    if (typed.IsAmbiguous())
        message = typed.Message();
    else if (hours > kMostHours)
        message = QStringLiteral("Estimated hours can be at most %1").arg(kMostHours, 0, 'f', 2);
    ShowMessageBox(message, kMbOk | kMbIconWarning);
    return false;
}

bool CProjectTasksDlg::TypedTexts(QString& name, QString& comment)
{
    name = m_task->currentText().trimmed();
    // Rich text left as it was shown stays as stored.
    comment = KeptText(m_details->toPlainText(), m_storedComment);
    if (comment != m_storedComment || !CRichTextCtrl::IsRtf(comment))
        comment = TrimRight(comment);
    return FitToColumns({{QStringLiteral("The task name"), &name, CTaskSet::Width("Task"),
                          [this](const QString& t) { m_task->setEditText(t); }},
                         {QStringLiteral("The details"), &comment, CTaskSet::Width("Comment"),
                          [this](const QString& t) { m_details->setPlainText(t); }}});
}

bool CProjectTasksDlg::CheckTaskName(const QString& name, int exceptTaskId, const QString& notDone)
{
    if (name.isEmpty()) {
        ShowMessageBox(QStringLiteral("Blank Task Name not valid"), kMbOk | kMbIconWarning);
        return false;
    }
    CTaskSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ? AND [Task] = ?"), {m_projId, name});
    if (!m_db.OpenRecordSet(&set)) {
        TellNotDone(notDone, set);
        return false;
    }
    bool taken = false;
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
        taken = taken || set.m_TaskID != exceptTaskId;
    m_db.CloseRecordSet(&set);
    if (taken)
        ShowMessageBox(QStringLiteral("Task with this name exist already - you need to create a "
                                      "unique task name"),
                       kMbOk | kMbIconWarning);
    return !taken;
}

void CProjectTasksDlg::AfterChange()
{
    m_changed = true;
    m_db.LoadTasks();
    if (m_owner)
        m_owner->FillTaskList(m_projId);
    UpdateButtons();
}

void CProjectTasksDlg::TellNotDone(const QString& notDone, const CBindingSet& set)
{
    const CMyAdoRecordSet* rs = set.Recordset();
    ShowMessageBox(FailureMessage(notDone, rs->ErrorCode(), rs->ErrorText()), kMbOk | kMbIconError);
}

void CProjectTasksDlg::OnAddTask()
{
    CWaitCursor wait;
    const QString notAdded = QStringLiteral("The task was not added.");
    const CActionFailureText failure(notAdded);
    QString name;
    QString comment;
    if (!TypedTexts(name, comment) || !CheckTaskName(name, -1, notAdded))
        return;
    // Hours the user typed (or had Auto work out) are stored as they are;
    // otherwise the dates give them.
    double typedHours = 0;
    if (m_hoursChosen && !ReadEstimatedHours(typedHours))
        return;
    CTaskSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.m_Task = name;
    set.m_ProjID = m_projId;
    // Dates without their times; a new task has no actual dates yet.
    CDateTime start = m_estStart->Value();
    CDateTime end = m_estEnd->Value();
    if (start.IsValid())
        start = CDateTime(start.Date());
    if (end.IsValid())
        end = CDateTime(end.Date());
    set.m_EstHours = 0;
    if (start.IsValid() && end.IsValid()) {
        if (end > start)
            set.m_EstHours = static_cast<float>(start.SecsTo(end) / 86400 / 7 * 40);
        else
            end = start;
    }
    if (m_hoursChosen)
        set.m_EstHours = static_cast<float>(typedHours);
    set.m_EstStart = start;
    set.m_EstFinish = end;
    for (int column : {kActStart, kActFinish, kEstCumHours, kActCumHours, kMspTaskID, kEnteredBy,
                       kAllocatedTo, kFullDetails})
        SetNull(set, column);
    set.m_ActHours = 0;
    set.m_IsMilestone = false;
    set.m_IsCritical = false;
    if (comment.isEmpty()) {
        const CDateTime now = CDateTime::CurrentDateTime();
        comment = QStringLiteral("Created by %1, %2 %3")
                      .arg(DefaultUserName(), FormatDateTime(now, RegionalFormats().dateFormat),
                           FormatTimeOfDay(now.Time().hour(), now.Time().minute()));
    }
    set.m_Comment = comment;
    set.m_State = kTaskStateActive;
    set.m_PercentComplete = 0;
    SetId(set, kDefaultWorkTypeID, set.m_DefaultWorkTypeID, ChosenId(m_workType));
    SetId(set, kOrderID, set.m_OrderID, ChosenId(m_order));
    set.m_TaskOrder = QStringLiteral(" ");
    if (!set.Recordset()->CheckAddNew()) {
        TellNotDone(notAdded, set);
        return;
    }
    const int newId = set.Recordset()->LastInsertId().toInt();
    // The new task is current, whatever the filter shows.
    m_taskId = newId;
    m_taskName = name;
    FillTaskCombo();
    LoadTask(m_projId, m_taskId);
    AfterChange();
    ShowMessageBox(QStringLiteral("New Task %1 added").arg(name), kMbOk | kMbIconInformation);
}

void CProjectTasksDlg::OnUpdateTask()
{
    if (m_taskId < 0)
        return;
    CWaitCursor wait;
    const QString notUpdated = QStringLiteral("Task %1 was not updated.").arg(m_taskName);
    const CActionFailureText failure(notUpdated);
    QString name;
    QString comment;
    double hours = 0;
    if (!TypedTexts(name, comment) || !ReadEstimatedHours(hours) ||
        !CheckTaskName(name, m_taskId, notUpdated))
        return;
    CTaskSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(QStringLiteral("[TaskID] = ?"), {m_taskId});
    if (!m_db.OpenRecordSet(&set) || set.Recordset()->IsEOF()) {
        const QString reason = set.Recordset()->IsOpen() ? QStringLiteral("It no longer exists.")
                                                         : set.Recordset()->ErrorText();
        ShowMessageBox(FailureMessage(notUpdated, kE_CommandError, reason), kMbOk | kMbIconError);
        return;
    }
    for (int c = 0; c < set.BoundColumnCount(); ++c)
        set.SetIncluded(c, false);
    for (int c : {kTask, kEstStart, kEstFinish, kEstHours, kIsMilestone, kIsCritical,
                  kDefaultWorkTypeID, kOrderID, kComment, kFullDetails, kTaskOrder})
        set.SetIncluded(c, true);
    set.m_Task = name;
    set.m_EstStart = m_estStart->Value();
    set.m_EstFinish = m_estEnd->Value();
    // A cleared date is written as none, not left as it was.
    set.Descriptor(kEstStart).status = adFldOK;
    set.Descriptor(kEstFinish).status = adFldOK;
    set.m_EstHours = static_cast<float>(hours);
    set.Descriptor(kEstHours).status = adFldOK;
    set.m_IsMilestone = m_milestone;
    set.m_IsCritical = m_critical;
    SetId(set, kDefaultWorkTypeID, set.m_DefaultWorkTypeID, ChosenId(m_workType));
    SetId(set, kOrderID, set.m_OrderID, ChosenId(m_order));
    set.m_Comment = comment.isEmpty() ? QStringLiteral(" ") : comment;
    set.Descriptor(kComment).status = adFldOK;
    set.m_FullDetails = TrimRight(set.m_FullDetails);
    if (set.m_TaskOrder.isEmpty()) {
        set.m_TaskOrder = QStringLiteral(" ");
        set.Descriptor(kTaskOrder).status = adFldOK;
    }
    if (!set.Recordset()->UpdateCurrRecord()) {
        TellNotDone(notUpdated, set);
        m_db.CloseRecordSet(&set);
        return;
    }
    m_db.CloseRecordSet(&set);
    m_taskName = name;
    FillTaskCombo();
    LoadTask(m_projId, m_taskId);
    AfterChange();
    ShowMessageBox(QStringLiteral("Updated OK"), kMbOk | kMbIconInformation);
}

void CProjectTasksDlg::OnDeleteTask()
{
    if (m_taskId < 0)
        return;
    const QString name = m_taskName;
    if (ShowMessageBox(QStringLiteral("Are you sure you want to delete %1").arg(name),
                       kMbOkCancel | kMbIconQuestion) != kIdOk)
        return;
    CWaitCursor wait;
    const QString notDeleted = QStringLiteral("Task %1 was not deleted.").arg(name);
    const CActionFailureText failure(notDeleted);
    int timeSheets = 0;
    int comments = 0;
    QString reason;
    switch (m_db.DeleteProjectTask(m_taskId, timeSheets, comments, reason)) {
    case TaskDeleteResult::Ok:
    case TaskDeleteResult::NotFound:
        break;
    case TaskDeleteResult::InUse: {
        // Deleting it would leave those rows pointing at no task.
        const QString question =
            QStringLiteral("%1 cannot be deleted: %2 time-sheet entries and %3 comments are "
                           "booked to it.\n\nMark it Not Active instead? It then leaves the lists "
                           "of active tasks and keeps what is booked to it.")
                .arg(name, QString::number(timeSheets), QString::number(comments));
        if (ShowMessageBox(question, kMbYesNo | kMbIconWarning) != kIdYes)
            return;
        const QString notMarked = QStringLiteral("Task %1 was not marked Not Active.").arg(name);
        const CActionFailureText marking(notMarked);
        if (!m_db.SetTaskState(m_taskId, kTaskStateNotActive, reason)) {
            ShowMessageBox(FailureMessage(notMarked, kE_CommandError, reason),
                           kMbOk | kMbIconError);
            return;
        }
        break;
    }
    case TaskDeleteResult::Failed:
        ShowMessageBox(FailureMessage(notDeleted, kE_CommandError, reason), kMbOk | kMbIconError);
        return;
    }
    m_taskId = -1;
    FillTaskCombo();
    if (m_taskId >= 0)
        LoadTask(m_projId, m_taskId);
    else
        ResetControls();
    AfterChange();
}
