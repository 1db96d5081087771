#include "records/ViewChgRqst.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/ChgRqstSet.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/ChgRqstListOwner.h"
#include "records/ChgRstAddDlg.h"
#include "records/ChgRstItemsPage.h"
#include "records/CommentColumns.h"
#include "records/TabCRViewFullD.h"
#include "records/TabCRViewItems.h"
#include "records/TabCRViewStatus.h"
#include "records/TabCRViewTeam.h"
#include "ui/ComboItems.h"
#include "ui/GradientMenu.h"
#include "ui/PageTabCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPlacementKey = QStringLiteral("ViewChgDlg");
constexpr int kTeamListLength = 254;

// Selects the entry with the id; false when the combo has none.
bool SelectData(QComboBox* combo, int id)
{
    const int index = combo->findData(QVariant(qint64(id)));
    if (index >= 0)
        combo->setCurrentIndex(index);
    return index >= 0;
}

// The entry with the id selected, added with the text when the combo has none.
void SelectOrAdd(QComboBox* combo, int id, const QString& text)
{
    if (id < 0 || SelectData(combo, id))
        return;
    combo->addItem(text.isEmpty() ? QString::number(id) : text, qint64(id));
    combo->setCurrentIndex(combo->count() - 1);
}

} // namespace

CViewChgRqst::CViewChgRqst(IChgRqstListOwner* owner, int row, int chgReqId, CDBClass& db,
                           QWidget* parent)
    : CDialogBase(378, parent)
    , m_owner(owner)
    , m_db(db)
    , m_keys(CAcceleratorTable::Load(316))
    , m_row(row)
    , m_chgReqId(chgReqId)
{
    CKeyFilter::Install();
    setWindowTitle(QStringLiteral("Edit Change Request"));
    int image = -1;
    setWindowIcon(CGradientMenu::GetMenuIcon(ID_CHANGE_REQUESTS, QString(), image));
    SetPlacementKey(kPlacementKey);
    BuildControls();
}

void CViewChgRqst::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_project = new QComboBox(this);
    SetControlId(m_project, kIdProject);
    m_contact = new QComboBox(this);
    SetControlId(m_contact, kIdContact);
    m_contact->setEditable(true);
    m_authority = new QComboBox(this);
    SetControlId(m_authority, kIdAuthority);
    m_priority = new QComboBox(this);
    SetControlId(m_priority, kIdPriority);
    m_priority->addItems({QStringLiteral("high"), QStringLiteral("medium"), QStringLiteral("low")});
    m_reference = new QLineEdit(this);
    SetControlId(m_reference, kIdReference);
    m_dateCreated = new QLabel(this);
    SetControlId(m_dateCreated, kIdDateCreated);
    const auto add = [this, grid](int row, int column, const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    add(0, 0, QStringLiteral("Authority :"), m_authority);
    add(0, 2, QStringLiteral("Project :"), m_project);
    add(1, 0, QStringLiteral("Contact :"), m_contact);
    add(1, 2, QStringLiteral("P&riority :"), m_priority);
    add(2, 0, QStringLiteral("Date :"), m_dateCreated);
    add(2, 2, QStringLiteral("&Ref :"), m_reference);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    m_tabs = new CPageTabCtrl(this);
    SetControlId(m_tabs, kIdTabs);
    m_items = new CTabCRViewItems(this, m_tabs);
    m_details = new CTabCRViewFullD(m_tabs);
    m_status = new CTabCRViewStatus(m_db, m_tabs);
    m_team = new CTabCRViewTeam(m_db, m_tabs);
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QHBoxLayout;
    m_previous = new CTipButton(nullptr, this);
    SetControlId(m_previous, kIdPrevious);
    m_previous->setText(QStringLiteral("&<<"));
    m_previous->SetOwner(this, kTipOwnerChangeRequestEdit, kIdPrevious);
    m_next = new CTipButton(nullptr, this);
    SetControlId(m_next, kIdNext);
    m_next->setText(QStringLiteral("&>>"));
    m_next->SetOwner(this, kTipOwnerChangeRequestEdit, kIdNext);
    m_update = AddCommandButton(QStringLiteral("&Update"), kIdUpdate);
    QPushButton* cancel = AddCommandButton(QStringLiteral("&Cancel"), IDCANCEL);
    for (QPushButton* b : {static_cast<QPushButton*>(m_previous), static_cast<QPushButton*>(m_next),
                           m_update, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(2, 1);
    layout->addLayout(buttons);

    resize(560, 520);
}

// ---- Loading ---------------------------------------------------------------------------------

bool CViewChgRqst::OnInitDialog()
{
    CWaitCursor wait;
    m_previous->SetTip(QStringLiteral("Left to move to Prev Change Request ALT+<"));
    m_next->SetTip(QStringLiteral("Right to move to Next Change Request ALT+>"));
    m_tabs->AddPage(QStringLiteral("&Item"), 0, m_items);
    m_tabs->AddPage(QStringLiteral("Details"), 1, m_details);
    m_tabs->AddPage(QStringLiteral("Status"), 2, m_status);
    m_tabs->AddPage(QStringLiteral("Team"), 3, m_team);
    Load();
    return true;
}

void CViewChgRqst::LoadChgRqst(int row, int chgReqId)
{
    m_row = row;
    m_chgReqId = chgReqId;
    Load();
}

void CViewChgRqst::Load()
{
    QString reason;
    const ChgReqResult result = m_db.ReadChangeRequest(m_chgReqId, m_record, reason);
    m_found = result == ChgReqResult::Ok;
    setWindowTitle(QStringLiteral("Edit Change Request # %1").arg(m_chgReqId));
    if (!m_found) {
        if (result == ChgReqResult::NotFound)
            RequestGone();
        else
            ShowMessageBox(QStringLiteral("Error updating change request %1\n%2")
                               .arg(QString::number(m_chgReqId), reason),
                           kMbOk | kMbIconError);
        m_update->setEnabled(false);
        UpdateButtons();
        return;
    }
    m_update->setEnabled(true);
    FillCombos();
    m_reference->setText(m_record.Reference);
    m_dateCreated->setText(CCommentColumns::FormatDate(m_record.DateCreated, true));
    m_priority->setCurrentIndex(qBound(1, m_record.Priority, 3) - 1);
    QStringList actions;
    for (const CChgReqAction& action : std::as_const(m_record.Actions))
        actions << action.Comment;
    m_items->Load(m_record.Item, actions);
    m_details->Load(m_record.FullDetail);
    m_status->Load(m_record.StatusID, m_record.IsCompleted(), m_record.DateCompleted);
    m_team->Load(m_chgReqId, m_record.Team);
    UpdateButtons();
}

void CViewChgRqst::FillCombos()
{
    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    CComboItems projects(m_project);
    m_db.FillProjectCombo(projects, m_db.GetEmpIdByName(user), m_record.ProjName, false);
    // A request of a project the user is not on keeps its project.
    SelectOrAdd(m_project, m_record.ProjID, m_record.ProjName);

    CComboItems authorities(m_authority);
    m_db.FillEmployeeCombo(authorities, m_record.Authority, -1);
    // An authority who left, or of another department, stays the authority.
    SelectOrAdd(m_authority, m_record.EmpID, m_record.Authority);

    CComboItems contacts(m_contact);
    if (m_db.FillCompanyContacts(contacts, m_record.CompanyID, m_record.Contact) < 0 ||
        m_record.CompanyID < 0)
        m_contact->setEditText(m_record.Contact);
}

int CViewChgRqst::PriorityIndex(const QString& text)
{
    if (text.compare(QLatin1String("low"), Qt::CaseInsensitive) == 0)
        return 3;
    if (text.compare(QLatin1String("high"), Qt::CaseInsensitive) == 0)
        return 1;
    return 2;
}

void CViewChgRqst::UpdateButtons()
{
    const int count = m_owner ? m_owner->ChgRqstRowCount() : 0;
    m_previous->setEnabled(m_row > 0);
    m_next->setEnabled(m_row < count - 1);
}

void CViewChgRqst::RequestGone()
{
    ShowMessageBox(QStringLiteral("Change request # %1 does not exist anymore - another user may "
                                  "have deleted it")
                       .arg(m_chgReqId),
                   kMbOk | kMbIconWarning);
}

// ---- Commands -----------------------------------------------------------------------------------

bool CViewChgRqst::OnCommand(int id)
{
    switch (id) {
    case kIdUpdate:
        UpdateCRData();
        return true;
    case kIdNext:
    case kIdPrevious:
    case CTabCRViewItems::kIdAdd:
    case CTabCRViewItems::kIdRemove:
        OnTipButtonClick(id);
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CViewChgRqst::OnTipButtonClick(int id)
{
    switch (id) {
    case CTabCRViewItems::kIdAdd:
        m_items->AddAction();
        break;
    case CTabCRViewItems::kIdRemove:
        m_items->RemoveAction();
        break;
    case kIdNext:
    case kIdPrevious:
        Step(id);
        break;
    default:
        break;
    }
}

void CViewChgRqst::OnKeyCommand(QChar key)
{
    if (const int command = m_keys.Translate(0, Qt::AltModifier, QString(key)))
        OnTipButtonClick(command);
}

bool CViewChgRqst::TakesKey(const QKeyEvent& event) const
{
    return m_keys.Translate(event) != 0;
}

bool CViewChgRqst::PreTranslateKey(QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int command = m_keys.Translate(event);
    if (command == 0)
        return false;
    OnTipButtonClick(command);
    return true;
}

void CViewChgRqst::Step(int id)
{
    if (!m_owner)
        return;
    CWaitCursor wait;
    const int count = m_owner->ChgRqstRowCount();
    const int old = m_row;
    const int next = id == kIdNext ? qMin(m_row + 1, count - 1) : qMax(m_row - 1, 0);
    if (next != old && next >= 0) {
        m_items->ClearItem();
        m_owner->StepToChgRqstRow(old, next);
    }
    UpdateButtons();
}

// ---- Update -------------------------------------------------------------------------------------

void CViewChgRqst::OnOK()
{
    UpdateCRData();
}

bool CViewChgRqst::UpdateCRData()
{
    SaveWindowPlacement(this, kPlacementKey);
    if (!m_found) {
        RequestGone();
        return false;
    }
    CChgReqUpdate values;
    values.Reference = m_reference->text();
    values.Contact = m_contact->currentText();
    values.writeReference = values.Reference != m_record.Reference;
    values.writeContact = values.Contact != m_record.Contact;
    values.writeItem = m_items->ItemEdited();
    values.Item = m_items->Item();
    values.writeDetails = m_details->Edited();
    values.FullDetail = m_details->Details();
    // What a column cannot hold is cut where the user sees it, and the user
    // is told; texts left as they were are not written.
    const auto width = [](bool written, const char* column) {
        return written ? CChgRqstSet::Width(column) : 0;
    };
    if (!FitToColumns(
            {{QStringLiteral("The reference"), &values.Reference,
              width(values.writeReference, "Reference"),
              [this](const QString& t) { m_reference->setText(t); }},
             {QStringLiteral("The contact"), &values.Contact, width(values.writeContact, "Contact"),
              [this](const QString& t) { m_contact->setEditText(t); }},
             {QStringLiteral("The item"), &values.Item, width(values.writeItem, "Item"),
              [this](const QString& t) { m_items->ItemField()->setPlainText(t); }},
             {QStringLiteral("The full details"), &values.FullDetail,
              width(values.writeDetails, "FullDetail"),
              [this](const QString& t) { m_details->Field()->setPlainText(t); }}}))
        return false;
    QString team;
    for (const QString& name : m_team->Names()) {
        const QString next = team.isEmpty() ? name : team + QLatin1Char(',') + name;
        if (next.size() > kTeamListLength)
            break;
        team = next;
    }
    values.TeamList = team;
    const int status = m_status->StatusId();
    const bool completed = m_status->Completed();
    // A completion date for a completed request and for the dated status;
    // a completed action's status is the request's completed status.
    if (completed || status == kChgReqStatusDated)
        values.DateCompleted = CDateTime(m_status->Date());
    values.StatusID = status == kChgActionCompleted ? kChgReqStatusCompleted : status;
    values.Priority = m_priority->currentIndex() + 1;
    values.ProjID = m_project->currentIndex() >= 0 ? m_project->currentData().toInt() : -1;
    values.EmpID = m_authority->currentIndex() >= 0 ? m_authority->currentData().toInt() : -1;

    const QString notUpdated =
        QStringLiteral("Change request # %1 was not updated.").arg(m_chgReqId);
    const CActionFailureText failure(notUpdated);
    QString reason;
    ChgReqResult result;
    {
        CWaitCursor wait;
        result = m_db.UpdateChangeRequest(m_chgReqId, values, m_items->Actions(), reason);
    }
    switch (result) {
    case ChgReqResult::Ok:
        m_updated = true;
        break;
    case ChgReqResult::NotFound:
        m_found = false;
        m_update->setEnabled(false);
        RequestGone();
        break;
    default:
        // Nothing was written; the dialog keeps what the user entered.
        ShowMessageBox(FailureMessage(notUpdated, kE_CommandError, reason), kMbOk | kMbIconError);
        return false;
    }
    if (m_owner)
        m_owner->RefreshChangeRequests();
    if (result != ChgReqResult::Ok)
        return false;
    // The dialog shows what is stored now.
    Load();
    return true;
}

void CViewChgRqst::OnCancel()
{
    SaveWindowPlacement(this, kPlacementKey);
    EndDialog(IDCANCEL);
}
