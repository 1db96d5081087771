#include "records/ProjectTasksDlg.h"

#include "data/DBClass.h"
#include "data/records/TaskSet.h"
#include "platform/MessageBox.h"
#include "records/OptionalDateEdit.h"
#include "records/RichTextMenu.h"
#include "records/ShowPrjDlg.h"
#include "ui/CharacterLimit.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/TypedNumberValidator.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename W>
W* Make(QWidget* parent, int id)
{
    auto* widget = new W(parent);
    CDialogBase::SetControlId(widget, id);
    return widget;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CProjectTasksDlg::CProjectTasksDlg(const QString& projectName, int projId, const QString& taskName,
                                   int taskId, CShowPrjDlg* owner, CDBClass& db, QWidget* parent)
    : CDialogBase(IDD, parent)
    , m_owner(owner)
    , m_db(db)
    , m_projectName(projectName)
    , m_projId(projId)
    , m_taskName(taskName)
    , m_taskId(taskId)
{
    setWindowTitle(QStringLiteral("Project : "));
    BuildControls();
}

CProjectTasksDlg::~CProjectTasksDlg() = default;

void CProjectTasksDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    m_task = Make<QComboBox>(this, kIdTask);
    m_task->setEditable(true);
    m_task->setInsertPolicy(QComboBox::NoInsert);
    m_task->lineEdit()->setPlaceholderText(kNoTasks);
    LimitCharacters(m_task->lineEdit(), CTaskSet::Width("Task"));
    m_activeCheck = Make<QCheckBox>(this, kIdActiveOnly);
    m_activeCheck->setText(QStringLiteral("Active Tasks Only"));
    m_state = Make<QLabel>(this, kIdState);
    top->addWidget(Caption(QStringLiteral("&Task"), m_task, this), 0, 0);
    top->addWidget(m_task, 0, 1);
    top->addWidget(m_activeCheck, 0, 2);
    top->addWidget(m_state, 0, 3);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);

    auto* dates = new QHBoxLayout;
    auto* estimated = new QGroupBox(QStringLiteral("Estimated "), this);
    auto* estimatedGrid = new QGridLayout(estimated);
    m_estStart = Make<COptionalDateEdit>(estimated, kIdEstStart);
    m_estEnd = Make<COptionalDateEdit>(estimated, kIdEstEnd);
    estimatedGrid->addWidget(Caption(QStringLiteral("&Start"), m_estStart->Editor(), estimated), 0,
                             0);
    estimatedGrid->addWidget(m_estStart, 0, 1);
    estimatedGrid->addWidget(Caption(QStringLiteral("&End"), m_estEnd->Editor(), estimated), 1, 0);
    estimatedGrid->addWidget(m_estEnd, 1, 1);
    auto* actual = new QGroupBox(QStringLiteral("Actual"), this);
    auto* actualGrid = new QGridLayout(actual);
    m_actStart = Make<COptionalDateEdit>(actual, kIdActStart);
    m_actEnd = Make<COptionalDateEdit>(actual, kIdActEnd);
    actualGrid->addWidget(Caption(QStringLiteral("Sta&rt"), m_actStart->Editor(), actual), 0, 0);
    actualGrid->addWidget(m_actStart, 0, 1);
    actualGrid->addWidget(Caption(QStringLiteral("E&nd"), m_actEnd->Editor(), actual), 1, 0);
    actualGrid->addWidget(m_actEnd, 1, 1);
    auto* hours = new QGroupBox(QStringLiteral("Hours "), this);
    auto* hoursGrid = new QGridLayout(hours);
    m_estHours = Make<QLineEdit>(hours, kIdEstHours);
    m_estHours->setValidator(new CTypedNumberValidator(0.0, kMostHours, m_estHours));
    m_estHours->setAlignment(Qt::AlignRight);
    m_estHours->setToolTip(QStringLiteral("Add stores the hours typed here; left as loaded, they "
                                          "are worked out from the estimated dates"));
    connect(m_estHours, &QLineEdit::textEdited, this, [this] { m_hoursChosen = true; });
    m_estHours->setMinimumWidth(80);
    m_actHours = Make<QLabel>(hours, kIdActHours);
    m_actHours->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_auto = new CTipButton(nullptr, hours);
    SetControlId(m_auto, kIdAuto);
    m_auto->setText(QStringLiteral("Auto"));
    m_auto->setAutoDefault(false);
    m_auto->SetOwner(this, kTipOwnerProjectTasks, kIdAuto);
    hoursGrid->addWidget(Caption(QStringLiteral("Estimated"), m_estHours, hours), 0, 0);
    hoursGrid->addWidget(m_estHours, 0, 1);
    hoursGrid->addWidget(m_auto, 0, 2);
    hoursGrid->addWidget(new QLabel(QStringLiteral("Actual"), hours), 1, 0);
    hoursGrid->addWidget(m_actHours, 1, 1);
    dates->addWidget(estimated);
    dates->addWidget(actual);
    dates->addWidget(hours);
    layout->addLayout(dates);

    auto* middle = new QGridLayout;
    m_percent = Make<QLabel>(this, kIdPercent);
    m_order = Make<QComboBox>(this, kIdOrder);
    m_workType = Make<QComboBox>(this, kIdWorkType);
    middle->addWidget(new QLabel(QStringLiteral("Percent Complete"), this), 0, 0);
    middle->addWidget(m_percent, 0, 1);
    middle->addWidget(Caption(QStringLiteral("&Order cover"), m_order, this), 1, 0);
    middle->addWidget(m_order, 1, 1);
    middle->addWidget(Caption(QStringLiteral("Default &work type"), m_workType, this), 2, 0);
    middle->addWidget(m_workType, 2, 1);
    middle->setColumnStretch(1, 1);
    layout->addLayout(middle);

    m_details = Make<CRichTextCtrl>(this, kIdDetails);
    m_details->setAcceptRichText(false);
    layout->addWidget(Caption(QStringLiteral("Deta&ils"), m_details, this));
    layout->addWidget(m_details, 1);
    m_textMenu = new CRichTextMenu(this);
    m_textMenu->Attach(m_details, kIdDetails);

    auto* buttons = new QHBoxLayout;
    m_add = AddCommandButton(QStringLiteral("&Add"), kIdAdd);
    m_update = AddCommandButton(QStringLiteral("&Update"), kIdUpdate);
    m_delete = AddCommandButton(QStringLiteral("&Delete"), kIdDelete);
    QPushButton* close = AddCommandButton(QStringLiteral("&Close"), IDCANCEL);
    buttons->addStretch(1);
    for (QPushButton* button : {m_add, m_update, m_delete, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    connect(m_task, &QComboBox::activated, this, [this] { OnCommand(kIdTask); });
    connect(m_activeCheck, &QCheckBox::clicked, this, [this] { OnCommand(kIdActiveOnly); });
    resize(600, 480);
}

// ---- Opening and loading ------------------------------------------------------------------

bool CProjectTasksDlg::OnInitDialog()
{
    m_details->SetWordWrap(true);
    setWindowTitle(QStringLiteral("Project %1 ").arg(m_projectName));
    m_auto->SetTip(
        QStringLiteral("Auto set estimated hours based on start and end estimated times"));
    m_activeOnly = true;
    m_activeCheck->setChecked(true);
    FillTaskCombo();
    CComboItems workTypes(m_workType);
    m_db.FillWorkTypeCombo(workTypes, -1);
    m_workType->insertItem(0, kNotAssigned, qint64(-1));
    m_workType->setCurrentIndex(m_workType->count() > 1 ? 1 : 0);
    CComboItems orders(m_order);
    m_db.FillOrderCombo(orders, m_projId, -1);
    m_order->insertItem(0, kNotAssigned, qint64(-1));
    m_order->setCurrentIndex(m_order->count() > 1 ? 1 : 0);
    if (m_taskId >= 0)
        LoadTask(m_projId, m_taskId);
    m_actStart->setEnabled(false);
    m_actEnd->setEnabled(false);
    UpdateButtons();
    return true;
}

void CProjectTasksDlg::FillTaskCombo()
{
    m_task->clear();
    CTaskSet set(m_db.Connection());
    if (m_activeOnly)
        set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ? AND [State] = ?"), {m_projId, 2});
    else
        set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {m_projId});
    set.Recordset()->SetSort(QStringLiteral("[TaskID]"));
    int selected = -1;
    if (m_db.OpenRecordSet(&set)) {
        for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
            m_task->addItem(set.m_Task, qint64(set.m_TaskID));
            if (set.m_TaskID == m_taskId)
                selected = m_task->count() - 1;
        }
        m_db.CloseRecordSet(&set);
    }
    if (m_task->count() == 0) {
        // Nothing to show: the entry says so, and no task is current.
        m_task->addItem(kNoTasks, qint64(-1));
        m_task->setCurrentIndex(-1);
        m_task->setEditText(QString());
        m_taskId = -1;
        m_taskName.clear();
        return;
    }
    if (selected < 0)
        selected = 0;
    m_task->setCurrentIndex(selected);
    m_taskId = static_cast<int>(m_task->itemData(selected).toLongLong());
    m_taskName = m_task->itemText(selected);
}

CDateTime CProjectTasksDlg::ShownDate(const CDateTime& value)
{
    if (!value.IsValid() || value.Date().year() < 1901)
        return CDateTime();
    if (value.Date().year() < 1990)
        return CDateTime(1990, 1, 1);
    return value;
}

void CProjectTasksDlg::ResetControls()
{
    for (COptionalDateEdit* picker : {m_estStart, m_estEnd, m_actStart, m_actEnd})
        picker->SetValue(CDateTime());
    m_estHours->setText(QStringLiteral("0"));
    m_actHours->setText(QStringLiteral("0"));
    m_details->clear();
    m_storedComment.clear();
    m_hoursChosen = false;
    m_state->clear();
    SetPercent(0, false);
    m_percent->setText(QStringLiteral("000.00%"));
}

void CProjectTasksDlg::LoadTask(int projId, int taskId)
{
    CTaskSet set(m_db.Connection());
    if (m_activeOnly)
        set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ? AND [TaskID] = ? AND [State] = ?"),
                                   {projId, taskId, 2});
    else
        set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ? AND [TaskID] = ?"),
                                   {projId, taskId});
    if (!m_db.OpenRecordSet(&set))
        return;
    ResetControls();
    if (!set.Recordset()->IsEOF()) {
        if (m_workType->count() == 0) {
            CComboItems workTypes(m_workType);
            m_db.FillWorkTypeCombo(workTypes, -1);
            m_workType->insertItem(0, kNotAssigned, qint64(-1));
        }
        SelectId(m_workType, set.IsNull(19) ? -1 : set.m_DefaultWorkTypeID, true);
        if (m_order->count() == 0) {
            CComboItems orders(m_order);
            m_db.FillOrderCombo(orders, projId, -1);
            m_order->insertItem(0, kNotAssigned, qint64(-1));
        }
        SelectId(m_order, set.IsNull(5) ? -1 : set.m_OrderID, false);
        // A start of the zero date is no start; the other dates by their year.
        const CDateTime start = set.m_EstStart;
        m_estStart->SetValue(
            start.IsValid() && start.Date() != CDateTime::ZeroDate() ? start : CDateTime());
        m_estEnd->SetValue(ShownDate(set.m_EstFinish));
        m_actStart->SetValue(ShownDate(set.m_ActStart));
        m_actEnd->SetValue(ShownDate(set.m_ActFinish));
        m_state->setText(set.m_State == 2 ? QStringLiteral("Active")
                                          : QStringLiteral("Not Active"));
        m_estHours->setText(QString::asprintf("%.2f", double(set.m_EstHours)));
        m_actHours->setText(QString::asprintf("%.2f", double(set.m_ActHours)));
        const double percent = set.IsNull(18) ? 0.0 : qMax(0.0, double(set.m_PercentComplete));
        SetPercent(percent * 100.0, set.m_EstHours == 0);
        m_details->SetRTF(set.m_Comment);
        m_storedComment = set.m_Comment;
        m_milestone = set.m_IsMilestone;
        m_critical = set.m_IsCritical;
    }
    m_db.CloseRecordSet(&set);
}

void CProjectTasksDlg::SetPercent(double percent, bool noEstimate)
{
    m_percent->setText(QString::asprintf("%.2f %s", percent, "%"));
    QColor color = kNormalColor;
    if (percent > 100.0)
        color = kOverColor;
    if (noEstimate)
        color = kNoEstimateColor;
    QPalette colours = m_percent->palette();
    colours.setColor(QPalette::WindowText, color);
    m_percent->setPalette(colours);
}

QColor CProjectTasksDlg::PercentColor() const
{
    return m_percent->palette().color(QPalette::WindowText);
}

int CProjectTasksDlg::ChosenId(const QComboBox* combo)
{
    return combo->currentIndex() < 0 ? -1 : static_cast<int>(combo->currentData().toLongLong());
}

void CProjectTasksDlg::SelectId(QComboBox* combo, int id, bool firstWhenMissing)
{
    int index = id < 0 ? 0 : combo->findData(qint64(id));
    if (index < 0)
        index = firstWhenMissing && combo->count() > 1 ? 1 : 0;
    combo->setCurrentIndex(index);
}

void CProjectTasksDlg::UpdateButtons()
{
    // Nothing to write back while no task is current.
    m_update->setEnabled(m_taskId >= 0);
    m_delete->setEnabled(m_taskId >= 0);
}

// ---- Commands -------------------------------------------------------------------------------

bool CProjectTasksDlg::OnCommand(int id)
{
    if (m_textMenu->OnCommand(id))
        return true;
    switch (id) {
    case kIdAdd:
        OnAddTask();
        return true;
    case kIdUpdate:
        OnUpdateTask();
        return true;
    case kIdDelete:
        OnDeleteTask();
        return true;
    case kIdActiveOnly:
        OnActiveTasksOnly();
        return true;
    case kIdTask:
        OnSelchangeTask();
        return true;
    case IDOK:
        // Enter in the fields does not close the dialog.
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CProjectTasksDlg::OnSelchangeTask()
{
    const int index = m_task->currentIndex();
    const int id = index < 0 ? -1 : static_cast<int>(m_task->itemData(index).toLongLong());
    if (id < 0) {
        // "No Tasks" is no task to load.
        m_task->setEditText(QString());
        return;
    }
    m_taskId = id;
    m_taskName = m_task->itemText(index);
    LoadTask(m_projId, m_taskId);
    m_task->setCurrentIndex(index);
    UpdateButtons();
}

void CProjectTasksDlg::OnActiveTasksOnly()
{
    m_activeOnly = !m_activeOnly;
    m_activeCheck->setChecked(m_activeOnly);
    FillTaskCombo();
    if (m_taskId >= 0)
        LoadTask(m_projId, m_taskId);
    else
        ResetControls();
    UpdateButtons();
}

void CProjectTasksDlg::OnAutoEstimate(int)
{
    const CDateTime start = m_estStart->Value();
    const CDateTime end = m_estEnd->Value();
    if (!start.IsValid() || !end.IsValid())
        return;
    if (end > start) {
        const int members = m_owner ? m_owner->MemberCount() : 1;
        const qint64 days = start.SecsTo(end) / 86400;
        m_estHours->setText(QString::number(members * (days / 7) * 40));
        m_hoursChosen = true;
        return;
    }
    double hours = 0;
    if (end == start && ReadEstimatedHours(hours) && hours > 0 &&
        ShowMessageBox(QStringLiteral("This will set your estimated hours to 0 - continue?"),
                       kMbYesNo | kMbIconQuestion) == kIdYes) {
        m_estHours->setText(QStringLiteral("0"));
        m_hoursChosen = true;
    }
}
