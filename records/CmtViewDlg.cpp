#include "records/CmtViewDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/ProjectCommentSet.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/CommentColumns.h"
#include "records/CommentListOwner.h"
#include "records/CommentRecord.h"
#include "records/RichTextMenu.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("CmtViewDlg");

template <typename W>
W* Make(QWidget* parent, int id)
{
    auto* widget = new W(parent);
    CDialogBase::SetControlId(widget, id);
    return widget;
}

// Selects the entry with the id; false when the combo has none.
bool SelectData(QComboBox* combo, int id)
{
    const int index = combo->findData(QVariant(qint64(id)));
    if (index >= 0)
        combo->setCurrentIndex(index);
    return index >= 0;
}

} // namespace

CCmtViewDlg::CCmtViewDlg(ICommentListOwner* owner, int row, const CCommentTexts& texts,
                         int commentId, CDBClass& db, QWidget* parent)
    : CDialogBase(165, parent)
    , m_owner(owner)
    , m_db(db)
    , m_row(row)
    , m_texts(texts)
    , m_commentId(commentId)
{
    setWindowTitle(QStringLiteral("Comment Edit"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_TASKS, QString(), image));
    SetPlacementKey(kPlacementKey);
    BuildControls();
}

void CCmtViewDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_project = Make<QComboBox>(this, kIdProject);
    m_user = Make<QComboBox>(this, kIdUser);
    m_company = Make<QComboBox>(this, kIdCompany);
    m_contact = Make<QComboBox>(this, kIdContact);
    m_contact->setEditable(true);
    m_status = Make<QComboBox>(this, kIdStatus);
    m_priority = Make<QComboBox>(this, kIdPriority);
    m_priority->addItems({QStringLiteral("high"), QStringLiteral("medium"), QStringLiteral("low")});
    m_task = Make<QComboBox>(this, kIdTask);
    m_reference = Make<QLineEdit>(this, kIdReference);
    m_entered = Make<QLabel>(this, kIdEntered);
    m_actioned = Make<QLabel>(this, kIdActioned);
    const auto add = [this, grid](int row, int column, const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    add(0, 0, QStringLiteral("Project:"), m_project);
    add(0, 2, QStringLiteral("User:"), m_user);
    add(1, 0, QStringLiteral("Company:"), m_company);
    add(1, 2, QStringLiteral("Contact:"), m_contact);
    add(2, 0, QStringLiteral("&Status:"), m_status);
    add(2, 2, QStringLiteral("&Priority:"), m_priority);
    add(3, 0, QStringLiteral("Task:"), m_task);
    add(3, 2, QStringLiteral("Ref:"), m_reference);
    add(4, 0, QStringLiteral("Date Entered"), m_entered);
    add(4, 2, QStringLiteral("Complete Date"), m_actioned);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    m_comment = Make<CRichTextCtrl>(this, kIdComment);
    m_details = Make<CRichTextCtrl>(this, kIdDetails);
    auto* commentLabel = new QLabel(QStringLiteral("Co&mment:"), this);
    commentLabel->setBuddy(m_comment);
    layout->addWidget(commentLabel);
    layout->addWidget(m_comment, 1);
    layout->addWidget(new QLabel(QStringLiteral("Full Details:"), this));
    layout->addWidget(m_details, 2);
    for (CRichTextCtrl* field : {m_comment, m_details})
        field->setAcceptRichText(false);
    m_textMenu = new CRichTextMenu(this);
    m_textMenu->Attach(m_comment, kIdComment);
    m_textMenu->Attach(m_details, kIdDetails);

    auto* buttons = new QHBoxLayout;
    m_previous = new CTipButton(nullptr, this);
    SetControlId(m_previous, kIdPrevious);
    m_previous->setText(QStringLiteral("&<<"));
    m_previous->SetOwner(this, kTipOwnerCommentView, kIdPrevious);
    m_next = new CTipButton(nullptr, this);
    SetControlId(m_next, kIdNext);
    m_next->setText(QStringLiteral("&>>"));
    m_next->SetOwner(this, kTipOwnerCommentView, kIdNext);
    m_done = AddCommandButton(QStringLiteral("Done"), kIdDone);
    QPushButton* update = AddCommandButton(QStringLiteral("&Update"), IDOK);
    QPushButton* close = AddCommandButton(QStringLiteral("Close"), IDCANCEL);
    for (QPushButton* b : {static_cast<QPushButton*>(m_previous), static_cast<QPushButton*>(m_next),
                           m_done, update, close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(2, 1);
    layout->addLayout(buttons);

    connect(m_company, &QComboBox::activated, this, [this] { OnCommand(kIdCompany); });
    connect(m_project, &QComboBox::activated, this, [this] { OnCommand(kIdProject); });
    resize(560, 520);
}

// ---- Loading -----------------------------------------------------------------------------------

bool CCmtViewDlg::OnInitDialog()
{
    m_comment->SetWordWrap(true);
    m_details->SetWordWrap(true);
    m_previous->SetTip(QStringLiteral("Left to move to Prev Change Request ALT+<"));
    m_next->SetTip(QStringLiteral("Right to move to Next Change Request ALT+>"));
    Load();
    return true;
}

void CCmtViewDlg::Reload(int row, const CCommentTexts& texts, int commentId)
{
    m_row = row;
    m_texts = texts;
    m_commentId = commentId;
    Load();
}

void CCmtViewDlg::ReadStored()
{
    m_stored = CStored();
    CProjectCommentSet set(m_db.Connection());
    QString reason;
    if (CCommentRecord::Open(m_db, set, m_commentId, reason) > 0) {
        m_stored.found = true;
        m_stored.projId = set.IsNull(CCommentRecord::kProjID) ? -1 : set.m_ProjID;
        m_stored.empId = set.IsNull(CCommentRecord::kEmpID) ? -1 : set.m_EmpID;
        m_stored.companyId = set.IsNull(CCommentRecord::kCompanyID) ? -1 : set.m_CompanyID;
        m_stored.objectTypeId = set.IsNull(CCommentRecord::kObjectTypeID) ? -1 : set.m_ObjectTypeID;
        m_stored.objectId = set.IsNull(CCommentRecord::kObjectID) ? -1 : set.m_ObjectID;
        m_stored.comment = set.m_ProjectComment;
        m_stored.details = set.m_FullDetails;
    } else {
        // Gone meanwhile: the texts of the list are all there is.
        m_stored.projId = m_db.GetProjIdByName(m_texts.Project);
        m_stored.companyId = m_db.GetCompanyIdByName(m_texts.Company);
        m_stored.comment = m_texts.Comment;
        m_stored.details = m_texts.Details;
    }
    m_db.CloseRecordSet(&set, true);
}

void CCmtViewDlg::Load()
{
    m_userName = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    ReadStored();
    // Every combo is filled for this row, so an update writes what it shows.
    FillCombos();
    m_reference->setText(m_texts.Reference);
    m_comment->SetRTF(m_stored.comment);
    m_shownComment = m_comment->toPlainText();
    m_details->SetRTF(m_stored.details);
    m_shownDetails = m_details->toPlainText();
    m_entered->setText(m_texts.Entered);
    m_actioned->setText(m_texts.Actioned);
    m_priority->setCurrentIndex(PriorityIndex(m_texts.Priority) - 1);
    setWindowTitle(QStringLiteral("Edit comment # %1").arg(m_commentId));
    m_done->setEnabled(m_texts.Actioned.isEmpty());
    UpdateButtons();
}

void CCmtViewDlg::FillCombos()
{
    CComboItems projects(m_project);
    m_db.FillProjectCombo(projects, m_db.GetEmpIdByName(m_userName), m_texts.Project, false);
    // A comment on a project the user is not on keeps its project.
    if (m_stored.projId >= 0 && !SelectData(m_project, m_stored.projId)) {
        m_project->addItem(m_texts.Project, qint64(m_stored.projId));
        m_project->setCurrentIndex(m_project->count() - 1);
    }

    CComboItems users(m_user);
    m_db.FillEmployeeCombo(users, m_texts.User, -1, QStringLiteral("All"));
    if (m_stored.empId > 0 && !SelectData(m_user, m_stored.empId)) {
        m_user->addItem(m_texts.User, qint64(m_stored.empId));
        m_user->setCurrentIndex(m_user->count() - 1);
    }

    CComboItems statuses(m_status);
    const int position = m_db.FillCommentTypes(statuses, m_texts.Status, false);
    if (position > 0) {
        m_status->setCurrentIndex(position - 1);
    } else if (!m_texts.Status.isEmpty()) {
        // A type the lookup no longer has stays the comment's type.
        m_status->addItem(m_texts.Status, qint64(m_status->count() + 1));
        m_status->setCurrentIndex(m_status->count() - 1);
    } else {
        m_status->setCurrentIndex(m_status->count() > 0 ? 0 : -1);
    }

    CComboItems companies(m_company);
    int companyId = m_stored.companyId;
    m_db.GetProjectCompany(companies, companyId, -1);

    CComboItems contacts(m_contact);
    if (m_db.FillCompanyContacts(contacts, m_stored.companyId, m_texts.ContactName) < 0)
        m_contact->setEditText(m_texts.ContactName);

    m_task->clear();
    CComboItems tasks(m_task);
    int selected = -1;
    if (m_stored.projId >= 0)
        m_db.FillTaskCombo(tasks, selected, m_stored.projId, false);
    m_task->setCurrentIndex(-1);
    if (m_stored.objectTypeId == 2 || m_stored.objectTypeId == -1)
        SelectData(m_task, m_stored.objectId);
}

int CCmtViewDlg::PriorityIndex(const QString& text)
{
    if (text.compare(QLatin1String("low"), Qt::CaseInsensitive) == 0)
        return 3;
    if (text.compare(QLatin1String("high"), Qt::CaseInsensitive) == 0)
        return 1;
    return 2;
}

void CCmtViewDlg::UpdateButtons()
{
    const int count = m_owner ? m_owner->CommentRowCount() : 0;
    m_previous->setEnabled(m_row > 0);
    m_next->setEnabled(m_row < count - 1);
}

// ---- Commands
// -------------------------------------------------------------------------------------

bool CCmtViewDlg::OnCommand(int id)
{
    if (m_textMenu->OnCommand(id))
        return true;
    switch (id) {
    case kIdNext:
    case kIdPrevious:
        OnTipButtonClick(id);
        return true;
    case kIdDone:
        OnDone();
        return true;
    case kIdCompany:
        OnSelChangeCompany();
        return true;
    case kIdProject:
        OnSelChangeProject();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CCmtViewDlg::OnTipButtonClick(int id)
{
    if (!m_owner)
        return;
    CWaitCursor wait;
    const int count = m_owner->CommentRowCount();
    const int old = m_row;
    const int next = id == kIdNext ? qMin(m_row + 1, count - 1) : qMax(m_row - 1, 0);
    if (next != old && next >= 0)
        m_owner->StepToCommentRow(old, next);
    UpdateButtons();
}

void CCmtViewDlg::OnSelChangeCompany()
{
    m_contact->clear();
    m_contact->setEditText(QString());
    const int companyId = m_company->currentIndex() >= 0 ? m_company->currentData().toInt() : -1;
    CComboItems contacts(m_contact);
    if (m_db.FillCompanyContacts(contacts, companyId, QString()) < 0)
        m_contact->setCurrentIndex(m_contact->count() > 0 ? 0 : -1);
}

void CCmtViewDlg::OnSelChangeProject()
{
    // The tasks of the project chosen, none of them picked yet.
    m_task->clear();
    const int projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    CComboItems tasks(m_task);
    int selected = -1;
    if (projId >= 0)
        m_db.FillTaskCombo(tasks, selected, projId, false);
    m_task->setCurrentIndex(-1);
}

// ---- Writing
// -----------------------------------------------------------------------------------------

bool CCmtViewDlg::OpenForWrite(CProjectCommentSet& set, const QString& notDone)
{
    const int found = CCommentRecord::OpenForWrite(m_db, set, m_commentId, notDone);
    if (found < 0)
        return false;
    if (found == 0) {
        RowGone();
        return false;
    }
    return true;
}

void CCmtViewDlg::RowGone()
{
    ShowMessageBox(QStringLiteral("Comment # %1 does not exist anymore - another user may have "
                                  "deleted it")
                       .arg(m_commentId),
                   kMbOk | kMbIconWarning);
    if (m_owner)
        m_owner->RefreshComments();
}

bool CCmtViewDlg::WriteRow(CProjectCommentSet& set, const QString& notDone)
{
    if (set.Update())
        return true;
    CCommentRecord::TellNotWritten(notDone, set);
    return false;
}

void CCmtViewDlg::OnOK()
{
    SaveWindowPlacement(this, kPlacementKey);
    if (m_status->currentIndex() < 0) {
        ShowMessageBox(QStringLiteral("You need to select a status"), kMbOk | kMbIconWarning);
        return;
    }
    QString comment = m_comment->toPlainText();
    QString details = m_details->toPlainText();
    QString contact = m_contact->currentText();
    QString reference = m_reference->text();
    const bool commentEdited = Edited(m_comment, m_shownComment);
    const bool detailsEdited = Edited(m_details, m_shownDetails);
    // Texts left as they were need no room: they are not written.
    const auto width = [](bool edited, const char* column) {
        return edited ? CProjectCommentSet::Width(column) : 0;
    };
    if (!FitToColumns(
            {{QStringLiteral("The comment"), &comment, width(commentEdited, "ProjectComment"),
              [this](const QString& t) { m_comment->setPlainText(t); }},
             {QStringLiteral("The full details"), &details, width(detailsEdited, "FullDetails"),
              [this](const QString& t) { m_details->setPlainText(t); }},
             {QStringLiteral("The contact"), &contact,
              width(contact != m_texts.ContactName, "ContactName"),
              [this](const QString& t) { m_contact->setEditText(t); }},
             {QStringLiteral("The reference"), &reference,
              width(reference != m_texts.Reference, "Reference"),
              [this](const QString& t) { m_reference->setText(t); }}}))
        return;
    const QString notDone = QStringLiteral("Comment # %1 was not updated.").arg(m_commentId);
    const CActionFailureText failure(notDone);
    CProjectCommentSet set(m_db.Connection());
    if (!OpenForWrite(set, notDone))
        return;
    using R = CCommentRecord;
    R::WriteOnly(set,
                 {R::kContactName, R::kReference, R::kPriority, R::kCommentType, R::kCompanyID});
    if (m_project->currentIndex() >= 0) {
        set.SetIncluded(R::kProjID, true);
        R::SetInt(set, R::kProjID, m_project->currentData().toInt());
    }
    // "All" is no employee: the comment keeps its own.
    const int empId = m_user->currentIndex() >= 0 ? m_user->currentData().toInt() : -1;
    if (empId > 0) {
        set.SetIncluded(R::kEmpID, true);
        R::SetInt(set, R::kEmpID, empId);
    }
    set.m_ContactName = contact;
    set.m_Reference = reference;
    set.m_Priority = m_priority->currentIndex() + 1;
    set.m_CommentType = m_status->currentText();
    for (int c : {R::kContactName, R::kReference, R::kPriority, R::kCommentType})
        set.Descriptor(c).status = adFldOK;
    const int taskId = m_task->currentIndex() >= 0 ? m_task->currentData().toInt() : -1;
    const int storedType = set.IsNull(R::kObjectTypeID) ? -1 : set.m_ObjectTypeID;
    if (taskId >= 0) {
        set.SetIncluded(R::kObjectTypeID, true);
        set.SetIncluded(R::kObjectID, true);
        R::SetInt(set, R::kObjectTypeID, 2);
        R::SetInt(set, R::kObjectID, taskId);
    } else if (storedType == 2 || storedType == -1) {
        // No task: no assignment. Links of other kinds are left as they are.
        set.SetIncluded(R::kObjectTypeID, true);
        set.SetIncluded(R::kObjectID, true);
        R::SetNull(set, R::kObjectTypeID);
        R::SetNull(set, R::kObjectID);
    }
    R::SetInt(set, R::kCompanyID,
              m_company->currentIndex() >= 0 ? m_company->currentData().toInt() : -1);
    R::GiveOwnCompanyWhenNone(m_db, set);
    // Texts the user did not touch stay as stored (also when stored as RTF).
    if (commentEdited) {
        set.SetIncluded(R::kProjectComment, true);
        set.m_ProjectComment = comment;
        set.Descriptor(R::kProjectComment).status = adFldOK;
    }
    if (detailsEdited) {
        set.SetIncluded(R::kFullDetails, true);
        set.m_FullDetails = details;
        set.Descriptor(R::kFullDetails).status = adFldOK;
    }
    const bool written = WriteRow(set, notDone);
    m_db.CloseRecordSet(&set, true);
    if (written) {
        m_shownComment = m_comment->toPlainText();
        m_shownDetails = m_details->toPlainText();
    }
    if (m_owner)
        m_owner->RefreshComments();
}

bool CCmtViewDlg::Edited(const CRichTextCtrl* field, const QString& loaded) const
{
    return field->toPlainText() != loaded;
}

void CCmtViewDlg::OnDone()
{
    const QString notDone = QStringLiteral("Comment # %1 was not marked done.").arg(m_commentId);
    const CActionFailureText failure(notDone);
    CProjectCommentSet set(m_db.Connection());
    if (!OpenForWrite(set, notDone))
        return;
    const CDateTime now = CDateTime::CurrentDateTime();
    CCommentRecord::WriteOnly(set, {CCommentRecord::kActionDate});
    set.m_ActionDate = now;
    set.Descriptor(CCommentRecord::kActionDate).status = adFldOK;
    const bool written = WriteRow(set, notDone);
    m_db.CloseRecordSet(&set, true);
    if (written) {
        m_texts.Actioned = CCommentColumns::FormatDate(now, false);
        m_actioned->setText(m_texts.Actioned);
        m_done->setEnabled(false);
    }
    if (m_owner)
        m_owner->RefreshComments();
}

void CCmtViewDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
