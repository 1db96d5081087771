#include "records/CmtAddDlg.h"

#include "app/KelvaneApp.h"
#include "app/PickListDlg.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/AddrPersonListSet.h"
#include "data/records/ProjectCommentSet.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/CommentRecord.h"
#include "records/RichTextMenu.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"
#include "ui/Utilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFaq = QStringLiteral("FAQ");

template <typename W>
W* Make(QWidget* parent, int id)
{
    auto* widget = new W(parent);
    CDialogBase::SetControlId(widget, id);
    return widget;
}

QString WithoutBlanks(QString text)
{
    text.remove(QLatin1Char(' '));
    return text;
}

} // namespace

CCmtAddDlg::CCmtAddDlg(const QString& viewText, int typeIndex, int nodeId,
                       const QString& companyText, int companyId, QWidget* owner, CDBClass& db)
    : CDialogBase(166, owner)
    , m_db(db)
    , m_viewText(viewText)
    , m_typeIndex(typeIndex)
    , m_nodeId(nodeId)
    , m_companyText(companyText)
    , m_companyId(companyId)
    , m_projectCompany(companyText.trimmed().isEmpty() ? QString() : companyText)
{
    setWindowTitle(QStringLiteral("Add Comment"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_TASKS, QString(), image));
    SetPlacementKey(QStringLiteral("CmtAddDlg"));
    BuildControls();
}

void CCmtAddDlg::SetCompanyText(const QString& text, int companyId)
{
    m_companyText = text;
    m_companyId = companyId;
    m_projectCompany.clear();
}

void CCmtAddDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_project = Make<QComboBox>(this, kIdProject);
    m_user = Make<QComboBox>(this, kIdUser);
    m_status = Make<QComboBox>(this, kIdStatus);
    m_priority = Make<QComboBox>(this, kIdPriority);
    m_priority->addItems({QStringLiteral("high"), QStringLiteral("medium"), QStringLiteral("low")});
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Pro&ject:"), m_project), 0, 0);
    grid->addWidget(m_project, 0, 1);
    grid->addWidget(label(QStringLiteral("&For:"), m_user), 0, 2);
    grid->addWidget(m_user, 0, 3);
    grid->addWidget(label(QStringLiteral("&Status :"), m_status), 1, 0);
    grid->addWidget(m_status, 1, 1);
    grid->addWidget(label(QStringLiteral("P&riority:"), m_priority), 1, 2);
    grid->addWidget(m_priority, 1, 3);

    auto* received = new QGroupBox(QStringLiteral("Received From :"), this);
    auto* from = new QGridLayout(received);
    m_company = Make<CPlainLabel>(received, kIdCompany);
    m_company->setText(QStringLiteral("Company"));
    m_company->setFrameShape(QFrame::StyledPanel);
    auto* pick = new QPushButton(QStringLiteral("..."), received);
    SetControlId(pick, kIdPickCompany);
    pick->setAutoDefault(false);
    connect(pick, &QPushButton::clicked, this, [this] { OnCommand(kIdPickCompany); });
    m_contact = Make<QComboBox>(received, kIdContact);
    m_contact->setEditable(true);
    auto* companyLabel = new QLabel(QStringLiteral("Com&pany:"), received);
    companyLabel->setBuddy(pick);
    auto* contactLabel = new QLabel(QStringLiteral("Con&tact:"), received);
    contactLabel->setBuddy(m_contact);
    from->addWidget(companyLabel, 0, 0);
    from->addWidget(m_company, 0, 1);
    from->addWidget(pick, 0, 2);
    from->addWidget(contactLabel, 1, 0);
    from->addWidget(m_contact, 1, 1, 1, 2);
    from->setColumnStretch(1, 1);
    grid->addWidget(received, 2, 0, 1, 4);

    m_assign = Make<QCheckBox>(this, kIdAssign);
    m_assign->setText(QStringLiteral("Assign to a Task"));
    connect(m_assign, &QCheckBox::clicked, this, [this] { OnCommand(kIdAssign); });
    m_task = Make<QComboBox>(this, kIdTask);
    grid->addWidget(m_assign, 3, 0, 1, 2);
    grid->addWidget(m_task, 3, 2, 1, 2);
    m_actionDate = Make<QDateTimeEdit>(this, kIdActionDate);
    m_actionDate->setCalendarPopup(true);
    m_actionDate->setDisplayFormat(QStringLiteral("dd MMM yyyy"));
    m_reference = Make<QLineEdit>(this, kIdReference);
    grid->addWidget(label(QStringLiteral("&Actioned by:"), m_actionDate), 4, 0);
    grid->addWidget(m_actionDate, 4, 1);
    grid->addWidget(label(QStringLiteral("Ref :"), m_reference), 4, 2);
    grid->addWidget(m_reference, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    m_comment = Make<CRichTextCtrl>(this, kIdComment);
    m_commentLabel = label(QStringLiteral("Co&mment:"), m_comment);
    m_question = Make<CRichTextCtrl>(this, kIdQuestion);
    m_questionLabel = label(QStringLiteral("Question?"), m_question);
    SetControlId(m_questionLabel, kIdQuestionLabel);
    m_answer = Make<CRichTextCtrl>(this, kIdAnswer);
    m_answerLabel = label(QStringLiteral("Answer!"), m_answer);
    SetControlId(m_answerLabel, kIdAnswerLabel);
    for (CRichTextCtrl* field : {m_comment, m_question, m_answer})
        field->setAcceptRichText(false);
    layout->addWidget(m_commentLabel);
    layout->addWidget(m_comment, 2);
    layout->addWidget(m_questionLabel);
    layout->addWidget(m_question, 1);
    layout->addWidget(m_answerLabel);
    layout->addWidget(m_answer, 2);
    m_textMenu = new CRichTextMenu(this);
    m_textMenu->Attach(m_comment, kIdComment);
    m_textMenu->Attach(m_question, kIdQuestion);
    m_textMenu->Attach(m_answer, kIdAnswer);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), IDOK);
    SetControlId(buttons->button(QDialogButtonBox::Cancel), IDCANCEL);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnCommand(IDOK); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCommand(IDCANCEL); });
    layout->addWidget(buttons);

    connect(m_project, &QComboBox::activated, this, [this] { OnCommand(kIdProject); });
    connect(m_status, &QComboBox::activated, this, [this] { OnCommand(kIdStatus); });
    resize(520, 520);
}

// ---- Opening ------------------------------------------------------------------------------

bool CCmtAddDlg::OnInitDialog()
{
    for (CRichTextCtrl* field : {m_comment, m_question, m_answer})
        field->SetWordWrap(true);
    m_priority->setCurrentIndex(1);

    // The type the comments window shows, else the options' type for new
    // comments.
    CComboItems statuses(m_status);
    m_db.FillCommentTypes(statuses, QString(), false);
    const int entry = m_typeIndex - 1;
    if (entry >= 0 && entry < m_status->count()) {
        m_status->setCurrentIndex(entry);
    } else {
        const int preset =
            m_status->findText(CurrentOptions().Text("DefTaskType"), Qt::MatchFixedString);
        m_status->setCurrentIndex(preset >= 0 ? preset : 0);
    }

    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    CComboItems users(m_user);
    if (m_db.FillEmployeeCombo(users, user, -1) < 0)
        m_db.FillEmployeeCombo(users, m_db.CurrentUserName(), -1);
    setWindowTitle(QStringLiteral("Add Comment for %1").arg(m_viewText));

    FillContacts();
    CComboItems projects(m_project);
    m_db.FillProjectCombo(projects, m_db.GetEmpIdByName(user), m_projectText, false);
    // The window may show a project the user is not on: it is offered all the same.
    if (m_project->currentIndex() < 0 && !m_projectText.isEmpty()) {
        const int projId = m_viewText == QLatin1String("Project") && m_nodeId >= 0
                               ? m_nodeId
                               : m_db.GetProjIdByName(m_projectText);
        if (projId >= 0) {
            m_project->addItem(m_projectText, projId);
            m_project->setCurrentIndex(m_project->count() - 1);
        }
    }
    FillTasks();
    m_assign->setChecked(false);
    m_task->setEnabled(false);
    m_actionDate->setDateTime(CClock::Now());
    m_company->setText(m_companyText);
    TakeProjectCompany();
    ShowFaqFields();
    return true;
}

void CCmtAddDlg::TakeProjectCompany()
{
    if (m_project->currentIndex() < 0 ||
        (!m_companyText.isEmpty() && m_companyText != m_projectCompany))
        return;
    QString name;
    int companyId = -1;
    // A project without a company leaves none (not the last project's).
    if (!m_db.GetProjectInfo(m_project->currentData().toInt(), name, companyId) ||
        name.trimmed().isEmpty()) {
        name.clear();
        companyId = -1;
    }
    m_projectCompany = name;
    if (name == m_companyText)
        return;
    m_companyText = name;
    m_companyId = companyId;
    m_company->setText(m_companyText);
    FillContacts();
}

void CCmtAddDlg::FillTasks()
{
    m_task->clear();
    const int projId = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    if (projId < 0)
        return;
    CComboItems tasks(m_task);
    int selected = -1;
    m_db.FillTaskCombo(tasks, selected, projId, false);
}

void CCmtAddDlg::FillContacts()
{
    m_contact->clear();
    if (m_companyText.trimmed().isEmpty())
        return;
    const int companyId = m_db.GetCompanyIdByName(m_companyText);
    // A company deleted meanwhile has no contacts to offer.
    if (companyId < 0) {
        ShowMessageBox(QStringLiteral("Company does not exist"), kMbOk | kMbIconWarning);
        return;
    }
    CAddrPersonListSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {companyId});
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(QStringLiteral("Company does not exist"), kMbOk | kMbIconWarning);
        return;
    }
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
        const QString name = WithoutBlanks(set.m_FullName).isEmpty()
                                 ? set.m_FirstName + QLatin1Char(' ') + set.m_LastName
                                 : set.m_FullName;
        m_contact->addItem(name, set.m_PersonID);
    }
    m_db.CloseRecordSet(&set);
    m_contact->setCurrentIndex(m_contact->count() > 0 ? 0 : -1);
}

bool CCmtAddDlg::IsFaq() const
{
    return m_status->currentText().compare(kFaq, Qt::CaseInsensitive) == 0;
}

void CCmtAddDlg::ShowFaqFields()
{
    const bool faq = IsFaq();
    m_commentLabel->setVisible(!faq);
    m_comment->setVisible(!faq);
    m_comment->setEnabled(!faq);
    m_assign->setVisible(!faq);
    m_assign->setEnabled(!faq);
    m_task->setVisible(!faq);
    for (QWidget* w : {static_cast<QWidget*>(m_questionLabel), static_cast<QWidget*>(m_question),
                       static_cast<QWidget*>(m_answerLabel), static_cast<QWidget*>(m_answer)})
        w->setVisible(faq);
}

// ---- Commands --------------------------------------------------------------------------------

bool CCmtAddDlg::OnCommand(int id)
{
    if (m_textMenu->OnCommand(id))
        return true;
    switch (id) {
    case kIdPickCompany:
        PickCompany();
        return true;
    case kIdProject:
        FillTasks();
        TakeProjectCompany();
        return true;
    case kIdStatus:
        ShowFaqFields();
        return true;
    case kIdAssign:
        m_task->setEnabled(m_assign->isChecked());
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CCmtAddDlg::PickCompany()
{
    CPickListDlg pick(CPickListDlg::kCompany, this, nullptr, false, false, &m_db);
    pick.SetPreselect(m_companyText);
    if (pick.DoModal() != IDOK || pick.PickedText().isEmpty())
        return;
    m_companyText = pick.PickedText();
    m_companyId = pick.PickedId();
    m_projectCompany.clear();
    m_company->setText(m_companyText);
    FillContacts();
}

// ---- OK
// ------------------------------------------------------------------------------------------

bool CCmtAddDlg::CheckInput()
{
    if (m_project->currentIndex() < 0 || m_user->currentIndex() < 0 || m_companyText.isEmpty()) {
        // All three are needed; a project brings its company with it.
        ShowMessageBox(QStringLiteral("You need to fill out project and company fields as well "
                                      "as your name and a comment"),
                       kMbOk | kMbIconWarning);
        return false;
    }
    if (m_status->currentText().isEmpty()) {
        ShowMessageBox(QStringLiteral("You must fill out the status selection"),
                       kMbOk | kMbIconWarning);
        return false;
    }
    CRichTextCtrl* text = IsFaq() ? m_question : m_comment;
    if (IsFaq() && (m_question->toPlainText().isEmpty() || m_answer->toPlainText().isEmpty())) {
        ShowMessageBox(QStringLiteral("You need to fill out a Question and an Answer"),
                       kMbOk | kMbIconWarning);
        return false;
    }
    if (!IsFaq() && m_comment->toPlainText().isEmpty()) {
        ShowMessageBox(QStringLiteral("You need to fill out a comment"), kMbOk | kMbIconWarning);
        return false;
    }
    // What a column cannot hold is cut where the user sees it, and the user is told.
    m_text = text->toPlainText();
    m_answerText = IsFaq() ? m_answer->toPlainText() : QString();
    m_contactText = m_contact->currentText();
    m_referenceText = m_reference->text();
    const int commentWidth = CProjectCommentSet::Width("ProjectComment");
    const int answerWidth = CProjectCommentSet::Width("FullDetails");
    return FitToColumns(
        {{IsFaq() ? QStringLiteral("The question") : QStringLiteral("The comment"), &m_text,
          commentWidth, [text](const QString& t) { text->setPlainText(t); },
          QStringLiteral("Comment can not be longer than %1").arg(commentWidth)},
         {QStringLiteral("The answer"), &m_answerText, answerWidth,
          [this](const QString& t) { m_answer->setPlainText(t); },
          QStringLiteral("Answer can not be longer than %1").arg(answerWidth)},
         {QStringLiteral("The contact"), &m_contactText, CProjectCommentSet::Width("ContactName"),
          [this](const QString& t) { m_contact->setEditText(t); }},
         {QStringLiteral("The reference"), &m_referenceText, CProjectCommentSet::Width("Reference"),
          [this](const QString& t) { m_reference->setText(t); }}});
}

void CCmtAddDlg::OnOK()
{
    SaveWindowPlacement(this, QStringLiteral("CmtAddDlg"));
    if (!CheckInput())
        return;
    const QString notAdded = QStringLiteral("The comment was not added.");
    const CActionFailureText failure(notAdded);
    QString reason;
    if (!Insert(reason)) {
        // Nothing was written; the dialog keeps what the user typed.
        ShowMessageBox(FailureMessage(notAdded, kE_CommandError, reason), kMbOk | kMbIconError);
        return;
    }
    EndDialog(IDOK);
}

bool CCmtAddDlg::Insert(QString& reason)
{
    int companyId = -1;
    if (m_companyText != QLatin1String(" ")) {
        companyId = m_db.GetCompanyIdByName(m_companyText);
        if (companyId < 0) {
            reason = QStringLiteral("Company does not exist");
            return false;
        }
    }
    // A connection that cannot be had has been told already.
    if (!m_db.OpenConnection())
        return false;
    CProjectCommentSet set(m_db.Connection());
    set.ClearFields();
    set.ClearStatus();
    set.Recordset()->SetQuiet(true);
    const bool faq = IsFaq();
    set.m_ProjID = m_project->currentData().toInt();
    set.m_EmpID = m_user->currentData().toInt();
    set.m_CompanyID = companyId;
    set.m_ProjectComment = m_text;
    set.m_FullDetails = faq ? m_answerText : QString();
    set.m_Priority = m_priority->currentIndex() + 1;
    set.m_CommentDate = CDateTime::CurrentDateTime();
    set.m_ActionDate = CDateTime::FromQDateTime(m_actionDate->dateTime());
    const int taskId = m_task->currentIndex() >= 0 ? m_task->currentData().toInt() : -1;
    if (!faq && m_assign->isChecked() && taskId >= 0) {
        set.m_ObjectTypeID = 2;
        set.m_ObjectID = taskId;
    } else {
        CCommentRecord::SetNull(set, CCommentRecord::kObjectTypeID);
        CCommentRecord::SetNull(set, CCommentRecord::kObjectID);
    }
    set.m_ContactName = m_contactText;
    set.m_CommentType = m_status->currentText();
    set.m_Reference = m_referenceText;
    const bool ok = set.Recordset()->CheckAddNew();
    if (ok)
        m_insertedId = set.Recordset()->LastInsertId().toInt();
    else
        reason = set.Recordset()->ErrorText();
    m_db.ReleaseConnection(false, false);
    return ok;
}

void CCmtAddDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
