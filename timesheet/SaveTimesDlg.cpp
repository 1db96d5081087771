#include "timesheet/SaveTimesDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/ProjectSet.h"
#include "platform/MessageBox.h"
#include "ui/Mnemonics.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>

namespace {

enum : int {
    kIdProject = 1012,
    kIdStart = 1013,
    kIdStop = 1014,
    kIdOrder = 1025,
    kIdTask = 1026,
    kIdWork = 1034,
    kIdComment = 1116,
    kPickOrder = 1023,
    kPickTask = 1024,
    kPickWork = 1027,
    kPickProject = 1028,
    kShowAllTasks = 1080,
    kShowAllOrders = 1112,
    kShowAllProjects = 1217,
    kCmdPaste = 111,
    kCmdCopy = 12904,
    kCmdSelectAll = 12905,
};

const QString kUnknownWorkType = QStringLiteral("Unknown Work Type");

QLabel* InfoLabel(QWidget* parent, int id)
{
    auto* label = new CPlainLabel(parent);
    CDialogBase::SetControlId(label, id);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(120);
    return label;
}

} // namespace

bool TaskOrder(CDBClass& db, int projId, int taskId, int& orderId, QString& code)
{
    for (const CTaskEntry& task : db.Tasks()) {
        if (task.TaskID != taskId || task.ProjID != projId)
            continue;
        QString found;
        if (task.OrderID > 0 && db.GetOrderCodeForProject(task.OrderID, projId, found, false) &&
            !found.isEmpty()) {
            orderId = task.OrderID;
            code = found;
            return true;
        }
        return false;
    }
    return false;
}

CSaveTimesDlg::CSaveTimesDlg(ISaveTimesOwner& owner, const CSaveTimesInput& input, QWidget* parent,
                             int templateId)
    : CDialogBase(templateId, parent)
    , m_owner(owner)
    , m_db(owner.Facade())
{
    setWindowTitle(QStringLiteral("Save Times"));
    m_grid = new QGridLayout;
    auto addRow = [this](int row, const QString& caption, QLabel* value, QPushButton* picker) {
        m_grid->addWidget(new QLabel(caption, this), row, 0);
        m_grid->addWidget(value, row, 1, 1, 3);
        if (picker)
            m_grid->addWidget(picker, row, 4);
    };
    m_startLabel = InfoLabel(this, kIdStart);
    m_stopLabel = InfoLabel(this, kIdStop);
    m_projLabel = InfoLabel(this, kIdProject);
    m_orderLabel = InfoLabel(this, kIdOrder);
    m_taskLabel = InfoLabel(this, kIdTask);
    m_workLabel = InfoLabel(this, kIdWork);
    m_projButton = AddCommandButton(QStringLiteral(".."), kPickProject);
    m_orderButton = AddCommandButton(QStringLiteral("..."), kPickOrder);
    m_taskButton = AddCommandButton(QStringLiteral("..."), kPickTask);
    m_workButton = AddCommandButton(QStringLiteral("..."), kPickWork);

    m_grid->addWidget(new QLabel(QStringLiteral("Time:"), this), 0, 0);
    m_grid->addWidget(m_startLabel, 0, 1);
    m_grid->addWidget(new QLabel(QStringLiteral(" - "), this), 0, 2);
    m_grid->addWidget(m_stopLabel, 0, 3);
    addRow(1, QStringLiteral("Project:"), m_projLabel, m_projButton);
    addRow(2, QStringLiteral("Order:"), m_orderLabel, m_orderButton);
    addRow(3, QStringLiteral("Task:"), m_taskLabel, m_taskButton);
    addRow(4, QStringLiteral("Work:"), m_workLabel, m_workButton);
    m_grid->setColumnStretch(1, 1);
    m_grid->setColumnStretch(3, 1);

    auto* commentLabel = new QLabel(QStringLiteral("Co&mment: "), this);
    m_commentEdit = new QTextEdit(this);
    SetControlId(m_commentEdit, kIdComment);
    m_commentEdit->setAcceptRichText(false);
    m_commentEdit->setToolTip(QStringLiteral("comment"));
    m_commentEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    m_commentEdit->setMinimumHeight(48);
    commentLabel->setBuddy(m_commentEdit);
    connect(m_commentEdit, &QWidget::customContextMenuRequested, this,
            &CSaveTimesDlg::ShowCommentMenu);

    auto* ok = AddCommandButton(QStringLiteral("&OK"), IDOK);
    ok->setDefault(true);
    auto* cancel = AddCommandButton(QStringLiteral("&Cancel"), IDCANCEL);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addWidget(commentLabel);
    layout->addWidget(m_commentEdit, 1);
    layout->addLayout(buttons);

    m_projButton->setToolTip(QStringLiteral("Change Project"));
    m_orderButton->setToolTip(QStringLiteral("Change Order"));
    m_taskButton->setToolTip(QStringLiteral("Change Task"));
    m_workButton->setToolTip(QStringLiteral("Change Work Type"));
    Refill(input);
}

void CSaveTimesDlg::Refill(const CSaveTimesInput& input)
{
    m_projId = input.projId;
    m_projName = input.projName;
    m_startText = input.startText;
    m_stopText = input.stopText;
    m_orderId = input.orderId;
    m_orderName = input.orderName;
    m_taskId = input.taskId;
    m_taskName = input.taskName;
    m_workTypeId = input.workTypeId;
    m_workTypeName = input.workTypeName;
    m_commentIn = input.comment;
    m_comment = input.comment;
    m_timeId = input.timeId;
    m_noDefaults = input.noDefaults;
    m_projectChanged = false;
    // A refilled dialog opens as if new.
    ResetInitialised();
}

bool CSaveTimesDlg::OnInitDialog()
{
    m_commentEdit->setLineWrapMode(QTextEdit::NoWrap);
    m_commentEdit->setPlainText(ShownText(m_commentIn));
    m_comment = m_commentIn;

    CPickListContext* context = m_owner.PickListContext();
    context->showAllTasks = false;
    context->showAllOrders = false;
    m_owner.ShowAllProjects() = false;

    CEntryContext& entry = m_owner.EntryContext();
    const CProfile::CValues options = CurrentOptions();
    if (!m_noDefaults) {
        if (m_taskId == -1 && options.Bool("TaskWrite")) {
            const int remembered = CProfile::GetIndexedInt(QStringLiteral("Task"), m_projId);
            // Only a task of this project; another project's task would be booked wrongly.
            if (remembered >= 0 && m_db.IsTaskOfProject(remembered, m_projId)) {
                m_taskId = remembered;
                m_taskName = m_db.GetTaskNameForProject(m_taskId, m_projId);
                entry.taskId = m_taskId;
            }
        }
        if (options.Bool("WorkTypeWrite")) {
            const int remembered = CProfile::GetIndexedInt(QStringLiteral("WorkType"), m_projId);
            if (remembered >= 0) {
                const QString name = m_db.GetWorkTypeNameReload(remembered);
                if (name.isEmpty()) {
                    m_workTypeName = m_db.GetWorkTypeName(m_workTypeId);
                } else {
                    m_workTypeName = name;
                    m_workTypeId = remembered;
                }
            }
            entry.workTypeId = m_workTypeId;
        }
    }
    if (m_workTypeId < 0 || m_workTypeName.isEmpty())
        m_workTypeName = kUnknownWorkType;
    if (options.Bool("ReoderMyOrders")) {
        const int taskId = m_db.GetTaskIdFromName(m_taskName, m_projId);
        QString code;
        int orderId = -1;
        if (TaskOrder(m_db, m_projId, taskId, orderId, code)) {
            m_orderName = code;
            m_orderId = orderId;
        }
    }
    SetPickerCaptions();
    UpdateData(false);
    m_commentEdit->setFocus();
    return true;
}

void CSaveTimesDlg::SetPickerCaptions()
{
    if (!CProfile::LoadKeyCommands().Bool("showbuts"))
        return;
    const auto set = [](QPushButton* button, const QString& text) {
        button->setText(text);
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px;"));
    };
    set(m_orderButton, QStringLiteral("O&rder :%1").arg(EscapeMnemonics(m_orderName)));
    set(m_taskButton, QStringLiteral("&Task :%1").arg(EscapeMnemonics(m_taskName)));
    set(m_workButton, QStringLiteral("&Work :%1").arg(EscapeMnemonics(m_workTypeName)));
    set(m_projButton, QStringLiteral("&Project :%1").arg(EscapeMnemonics(m_projName)));
}

void CSaveTimesDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_comment = KeptText(m_commentEdit->toPlainText(), m_commentIn);
        return;
    }
    m_startLabel->setText(m_startText);
    m_stopLabel->setText(m_stopText);
    m_projLabel->setText(m_projName);
    m_orderLabel->setText(m_orderName);
    m_taskLabel->setText(m_taskName);
    m_workLabel->setText(m_workTypeName);
    SetPickerCaptions();
}

bool CSaveTimesDlg::OnCommand(int id)
{
    switch (id) {
    case kPickProject:
        PickProject();
        return true;
    case kPickTask:
        PickTask();
        return true;
    case kPickOrder:
        PickOrder();
        return true;
    case kPickWork:
        PickWorkType();
        return true;
    case kShowAllProjects:
        m_owner.ShowAllProjects() = !m_owner.ShowAllProjects();
        return true;
    case kShowAllTasks:
    case kShowAllOrders:
        // The list keeps these in the shared context itself.
        return true;
    case kCmdSelectAll:
        m_commentEdit->selectAll();
        return true;
    case kCmdCopy:
        m_commentEdit->copy();
        return true;
    case kCmdPaste:
        m_commentEdit->paste();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CSaveTimesDlg::OnOK()
{
    m_comment = KeptText(m_commentEdit->toPlainText(), m_commentIn);
    // The comment is written as it is kept: the user hears of a cut first.
    if (!FitToColumns({{QStringLiteral("The comment"), &m_comment, CDBClass::kEntryCommentLength,
                        [this](const QString& t) { m_commentEdit->setPlainText(t); }}}))
        return;
    if (m_orderName.isEmpty()) {
        ShowMessageBox(QStringLiteral("Select an order before closing this dialog"),
                       kMbOk | kMbIconWarning);
        return;
    }
    CEntryContext& entry = m_owner.EntryContext();
    entry.projId = m_projId;
    entry.orderId = m_orderId;
    entry.taskId = m_taskId;
    entry.workTypeId = m_workTypeId;
    entry.orderName = m_orderName;
    entry.taskName = m_taskName;
    entry.workTypeName = m_workTypeName;
    EndDialog(IDOK);
}

void CSaveTimesDlg::OnCancel()
{
    const CEntryContext& entry = m_owner.EntryContext();
    // A block moved to another project here goes back to the entry's one;
    // the entry keeps its own task, order and work type.
    if (m_projectChanged && m_projId != entry.projId)
        m_owner.MoveBlockToProject(m_timeId, m_projId, entry.projId);
    m_projId = entry.projId;
    m_orderId = entry.orderId;
    m_taskId = entry.taskId;
    m_workTypeId = entry.workTypeId;
    m_orderName = entry.orderName;
    m_taskName = entry.taskName;
    m_workTypeName = entry.workTypeName;
    m_projName = m_db.GetProjNameById(m_projId);
    m_projectChanged = false;
    EndDialog(IDCANCEL);
}

bool CSaveTimesDlg::ApplyProject(const QString& name)
{
    CProjectSet set(m_db.Connection());
    set.Recordset()->SetFilter(QStringLiteral("[ProjName] = ?"), {name});
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(QStringLiteral("Unable to open Project table"), kMbOk | kMbIconWarning);
        return false;
    }
    const bool found = !set.Recordset()->IsEOF();
    const int newId = found ? set.m_ProjID : -1;
    m_db.CloseRecordSet(&set);
    if (!found)
        return false;
    m_owner.MoveBlockToProject(m_timeId, m_projId, newId);
    m_projId = newId;
    m_projectChanged = true;
    CEntryContext defaults;
    defaults.projId = newId;
    m_owner.ApplyProjectDefaults(newId, defaults);
    m_taskId = defaults.taskId;
    m_taskName = defaults.taskName;
    m_orderId = defaults.orderId;
    m_orderName = defaults.orderName;
    m_workTypeId = defaults.workTypeId;
    m_workTypeName = defaults.workTypeName.isEmpty() ? kUnknownWorkType : defaults.workTypeName;
    m_projName = m_db.GetProjNameById(newId);
    m_owner.SetProjectChangedOnLine(true);
    UpdateData(false);
    return true;
}

void CSaveTimesDlg::PickProject()
{
    CPickListDlg pick(CPickListDlg::kProject, this, m_owner.PickListContext(), true,
                      m_owner.ShowAllProjects(), &m_db);
    pick.SetPreselect(m_projName);
    pick.SetUserName(m_owner.EmployeeName());
    if (pick.DoModal() != IDOK || pick.PickedText().trimmed().isEmpty())
        return;
    ApplyProject(pick.PickedText());
}

void CSaveTimesDlg::PickTask()
{
    CPickListContext* context = m_owner.PickListContext();
    context->projectId = m_projId;
    CPickListDlg pick(CPickListDlg::kTask, this, context, true, context->showAllTasks, &m_db);
    pick.SetPreselect(m_taskName);
    if (pick.DoModal() != IDOK || pick.PickedText().isEmpty())
        return;
    m_taskName = pick.PickedText();
    m_taskId = m_db.GetTaskIdFromName(m_taskName, m_projId);
    QString workName;
    int workId = -1;
    if (m_db.GetTaskWorkType(m_projId, m_taskId, workName, workId)) {
        m_workTypeId = workId;
        m_workTypeName = workName.isEmpty() ? kUnknownWorkType : workName;
    }
    if (CurrentOptions().Bool("ReoderMyOrders")) {
        QString code;
        int orderId = -1;
        if (TaskOrder(m_db, m_projId, m_taskId, orderId, code)) {
            m_orderName = code;
            m_orderId = orderId;
        }
    }
    UpdateData(false);
}

void CSaveTimesDlg::PickOrder()
{
    CPickListContext* context = m_owner.PickListContext();
    context->projectId = m_projId;
    CPickListDlg pick(CPickListDlg::kOrder, this, context, true, context->showAllOrders, &m_db);
    pick.SetPreselect(m_orderName);
    if (pick.DoModal() != IDOK || pick.PickedText().isEmpty())
        return;
    m_orderName = pick.PickedText();
    // The id goes with the name.
    const int byCode = m_db.GetOrderIdByCode(m_orderName, m_projId);
    m_orderId = byCode > 0 ? byCode : pick.PickedId();
    UpdateData(false);
}

void CSaveTimesDlg::PickWorkType()
{
    CPickListDlg pick(CPickListDlg::kWorkType, this, nullptr, false, false, &m_db);
    pick.SetPreselect(m_workTypeName);
    if (pick.DoModal() != IDOK || pick.PickedText().isEmpty())
        return;
    m_workTypeName = pick.PickedText();
    int id = -1;
    m_workTypeId = m_db.GetWorkTypeIdByName(m_workTypeName, id) ? id : pick.PickedId();
    m_owner.EntryContext().workTypeId = m_workTypeId;
    UpdateData(false);
}

void CSaveTimesDlg::ShowCommentMenu(const QPoint& at)
{
    m_commentEdit->setFocus();
    QMenu menu(this);
    const bool empty = m_commentEdit->toPlainText().isEmpty();
    QAction* selectAll = menu.addAction(QStringLiteral("Select All"));
    selectAll->setEnabled(!empty);
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setEnabled(!empty);
    QAction* paste = menu.addAction(QStringLiteral("Paste"));
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    paste->setEnabled(clip && clip->hasText());
    QAction* chosen = menu.exec(m_commentEdit->mapToGlobal(at));
    if (chosen == selectAll)
        PostCommand(kCmdSelectAll);
    else if (chosen == copy)
        PostCommand(kCmdCopy);
    else if (chosen == paste)
        PostCommand(kCmdPaste);
}
