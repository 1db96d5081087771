// The contacts window's commands on companies, persons, the list layout
// and the business types.
#include "records/ContactDlg.h"

#include "app/DummyDlg.h"
#include "data/DBClass.h"
#include "data/records/CompanyDetailSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"
#include "records/BusTypeManage.h"
#include "records/CommentWindows.h"
#include "records/CompanyDetailsDlg.h"
#include "records/CompanyEditDlg.h"
#include "records/ContactDetailsDlg.h"
#include "records/ContactLinks.h"
#include "records/ContactMessage.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"

#include <QAction>

namespace {

const QString kListKey = QStringLiteral("CDlgList");

} // namespace

// ---- Companies -------------------------------------------------------------------------

void CContactDlg::AddCompany()
{
    CCompanyDetailsDlg dialog(m_db, this);
    if (dialog.DoModal() != IDOK)
        return;
    FillTree();
    SelectCompany(dialog.CompanyId());
}

void CContactDlg::EditCompany()
{
    const int companyId = CurrentCompanyId();
    if (companyId <= 0)
        return;
    CCompanyDetailSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {companyId});
    const bool opened = m_db.OpenRecordSet(&set);
    if (!opened || set.Recordset()->IsEOF()) {
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO), set.Recordset()->ErrorText());
        if (opened)
            Refresh(); // gone: the tree shows it no longer
        return;
    }
    CCompanyValues company;
    company.CompanyName = set.m_Company_Name;
    company.AddressComment = set.m_AddressComment;
    company.Phone = set.m_Phone;
    company.Fax = set.m_Fax;
    company.WWWpage = set.m_WWWpage;
    company.Address1 = set.m_Address1;
    company.Address2 = set.m_Address2;
    company.Address3 = set.m_Address3;
    m_db.CloseRecordSet(&set);

    CCompanyEditDlg dialog(m_db, companyId, company, this);
    if (dialog.DoModal() != IDOK)
        return;
    FillTree();
    SelectCompany(companyId);
    if (QTreeWidgetItem* item = Tree()->currentItem())
        item->setExpanded(true);
}

void CContactDlg::DeleteCompany()
{
    const int companyId = CurrentCompanyId();
    if (companyId <= 0)
        return;
    const QString name = Tree()->currentItem()->text(0);
    if (ShowMessageBox(QStringLiteral("Do you really want to delete %1").arg(name),
                       kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    const QString notDeleted = QStringLiteral("%1 could not be deleted.").arg(name);
    const CActionFailureText failure(notDeleted);
    QString reason;
    switch (m_db.DeleteCompany(companyId, reason)) {
    case ContactResult::Ok:
        break;
    case ContactResult::NotFound:
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO));
        break;
    case ContactResult::InUse:
        ShowContactMessage(QStringLiteral("%1 cannot be deleted: %2 name it.").arg(name, reason));
        return;
    default:
        ShowContactMessage(notDeleted, reason);
        return;
    }
    // Gone, by this delete or before it: the tree is read again, and
    // nothing of the company stays in the info panel.
    FillTree();
    ClearCompany(QString());
    FillPersonList();
    OnSetSelect(QString());
}

void CContactDlg::BrowseWeb()
{
    OpenWebPage(m_web);
}

void CContactDlg::CompanyComments()
{
    const int companyId = CurrentCompanyId();
    if (!m_hub || companyId <= 0)
        return;
    ShowCompanyComments(*m_hub, companyId);
}

// ---- Persons -------------------------------------------------------------------------------

void CContactDlg::ViewPerson(int row, bool add)
{
    const int companyId = CurrentCompanyId();
    if (companyId <= 0 || companyId != m_companyId)
        return;
    if (row < 0 || row >= List()->ItemCount())
        add = true;
    CPersonValues person;
    int personId = -1;
    if (!add) {
        personId = Cell(row, kColId).toInt();
        person.FirstName = Cell(row, kColFirstName);
        person.LastName = Cell(row, kColLastName);
        person.Phone = Cell(row, kColPhone);
        person.Mobile = Cell(row, kColMobile);
        person.Email = Cell(row, kColEmail);
        person.Fax = Cell(row, kColFax);
    }
    CContactDetailsDlg dialog(m_companyName, person, add, this);
    if (dialog.DoModal() != IDOK)
        return;
    person = dialog.Person();
    if (person.Phone.isEmpty())
        person.Phone = QStringLiteral(" ");
    const QString notStored = add ? QStringLiteral("The contact person was not added.")
                                  : QStringLiteral("The contact person was not updated.");
    const CActionFailureText failure(notStored);
    QString reason;
    ContactResult result =
        add ? ContactResult::NotFound : m_db.UpdatePerson(personId, person, reason);
    // A person deleted meanwhile is stored again, so nothing typed is lost.
    if (result == ContactResult::NotFound)
        result = m_db.AddPerson(companyId, person, personId, reason);
    switch (result) {
    case ContactResult::Ok:
        break;
    case ContactResult::NotFound:
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO));
        break;
    default:
        ShowContactMessage(notStored, reason);
        break;
    }
    FillPersonList();
    SelectPerson(personId, row);
}

void CContactDlg::SelectPerson(int personId, int fallbackRow)
{
    int row = -1;
    for (int r = 0; r < List()->ItemCount() && row < 0; ++r)
        if (personId > 0 && Cell(r, kColId).toInt() == personId)
            row = r;
    if (row < 0)
        row = qMin(fallbackRow, List()->ItemCount() - 1);
    if (row >= 0)
        List()->SelectItem(row);
}

void CContactDlg::DeletePerson()
{
    const int row = List()->GetFirstSelected();
    if (row < 0)
        return;
    if (ShowMessageBox(
            QStringLiteral("Do you really want to delete %1").arg(Cell(row, kColFirstName)),
            kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    const QString notDeleted = QStringLiteral("%1 was not deleted.").arg(Cell(row, kColFirstName));
    const CActionFailureText failure(notDeleted);
    QString reason;
    switch (m_db.DeletePerson(Cell(row, kColId).toInt(), reason)) {
    case ContactResult::Ok:
        break;
    case ContactResult::NotFound:
        ShowContactMessage(QStringLiteral("Unable to Delete Entry"));
        break;
    default:
        ShowContactMessage(notDeleted, reason);
        break;
    }
    FillPersonList();
    SelectPerson(-1, row);
}

void CContactDlg::MailPerson()
{
    const int row = List()->GetFirstSelected();
    if (row >= 0)
        OpenMailTo(Cell(row, kColEmail));
}

// ---- The list's layout ------------------------------------------------------------------------

void CContactDlg::SaveListLayout()
{
    QString layout;
    if (!List()->GetLayout(layout)) {
        if (ShowMessageBox(QStringLiteral("Error : Some Column values are incorrect - you should "
                                          "revert back to default settings?"),
                           kMbYesNo | kMbIconQuestion) != kIdYes)
            return;
        layout = List()->GetDefaultLayout(kColumnCount);
    }
    List()->LoadLayout(false, kListKey, layout);
    CreatePersonList();
    FillPersonList();
}

void CContactDlg::DefaultListLayout()
{
    QString layout = List()->GetDefaultLayout(kColumnCount);
    List()->LoadLayout(false, kListKey, layout);
    CreatePersonList();
    FillPersonList();
}

// ---- Business types ---------------------------------------------------------------------------

void CContactDlg::ToggleArrangement()
{
    m_arranged = !m_arranged;
    if (auto* arrange = findChild<QAction*>(QStringLiteral("cmd%1").arg(kCmdArrange)))
        arrange->setChecked(m_arranged);
    Refresh();
}

void CContactDlg::ManageBusinessTypes()
{
    CBusTypeManage dialog(m_db, this);
    dialog.DoModal();
    // Types may have been renamed or deleted.
    Refresh();
}
