#include "records/CompanyDetailsDlg.h"

#include "data/DBClass.h"
#include "platform/UserAction.h"
#include "records/ContactFields.h"
#include "records/ContactLinks.h"
#include "records/ContactMessage.h"
#include "records/DialogFields.h"
#include "ui/AppIcon.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const CCompanyIds kCompanyIds = {CCompanyDetailsDlg::kIdName,     CCompanyDetailsDlg::kIdComment,
                                 CCompanyDetailsDlg::kIdPhone,    CCompanyDetailsDlg::kIdFax,
                                 CCompanyDetailsDlg::kIdWeb,      CCompanyDetailsDlg::kIdAddress1,
                                 CCompanyDetailsDlg::kIdAddress2, CCompanyDetailsDlg::kIdAddress3};
const CPersonIds kPersonIds = {
    CCompanyDetailsDlg::kIdFirst,  CCompanyDetailsDlg::kIdLast,  CCompanyDetailsDlg::kIdPersonPhone,
    CCompanyDetailsDlg::kIdMobile, CCompanyDetailsDlg::kIdEmail, CCompanyDetailsDlg::kIdPersonFax};

} // namespace

CCompanyDetailsDlg::CCompanyDetailsDlg(CDBClass& db, QWidget* parent)
    : CDialogBase(IDD, parent)
    , m_db(db)
    , m_businessType(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Company Details Add"));
    setWindowIcon(AppIcon());
    SetControlId(m_businessType, kIdBusinessType);

    auto* company = new QFormLayout;
    company->addRow(QStringLiteral("Company &name:"), AddEdit(kIdName));
    company->addRow(QStringLiteral("&Business type:"), m_businessType);
    company->addRow(QStringLiteral("Co&mment:"), AddEdit(kIdComment));
    company->addRow(QStringLiteral("&Phone:"), AddEdit(kIdPhone));
    company->addRow(QStringLiteral("&Fax:"), AddEdit(kIdFax));
    company->addRow(QStringLiteral("&Web:"), AddEdit(kIdWeb));
    auto* address = new QGroupBox(QStringLiteral("Address "), this);
    auto* lines = new QVBoxLayout(address);
    for (int id : {kIdAddress1, kIdAddress2, kIdAddress3})
        lines->addWidget(AddEdit(id));

    auto* person = new QGroupBox(QStringLiteral("Contact Person Name "), this);
    auto* personForm = new QFormLayout(person);
    personForm->addRow(QStringLiteral("&First:"), AddEdit(kIdFirst));
    personForm->addRow(QStringLiteral("&Last:"), AddEdit(kIdLast));
    personForm->addRow(QStringLiteral("&Phone:"), AddEdit(kIdPersonPhone));
    personForm->addRow(QStringLiteral("&Mobile:"), AddEdit(kIdMobile));
    personForm->addRow(QStringLiteral("&Email:"), AddEdit(kIdEmail));
    personForm->addRow(QStringLiteral("&Fax:"), AddEdit(kIdPersonFax));

    auto* left = new QVBoxLayout;
    left->addLayout(company);
    left->addWidget(address);
    auto* fields = new QHBoxLayout;
    fields->addLayout(left, 1);
    fields->addWidget(person, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(OkCancelRow(*this, QStringLiteral("&OK")));
    // Made first, the business type would be last in Tab's round: it goes
    // where it stands, between the name and the comment.
    setTabOrder(Control<QLineEdit>(kIdName), m_businessType);
    setTabOrder(m_businessType, Control<QLineEdit>(kIdComment));
    setMinimumWidth(620);
}

QLineEdit* CCompanyDetailsDlg::AddEdit(int id)
{
    auto* edit = new QLineEdit(this);
    SetControlId(edit, id);
    return edit;
}

bool CCompanyDetailsDlg::OnInitDialog()
{
    CComboItems items(m_businessType);
    m_db.FillBusinessTypeCombo(items, -1);
    return true;
}

void CCompanyDetailsDlg::DoDataExchange(bool saveAndValidate)
{
    ExchangeTexts(*this,
                  {{kIdName, &m_company.CompanyName},
                   {kIdComment, &m_company.AddressComment},
                   {kIdPhone, &m_company.Phone},
                   {kIdFax, &m_company.Fax},
                   {kIdWeb, &m_company.WWWpage},
                   {kIdAddress1, &m_company.Address1},
                   {kIdAddress2, &m_company.Address2},
                   {kIdAddress3, &m_company.Address3},
                   {kIdFirst, &m_person.FirstName},
                   {kIdLast, &m_person.LastName},
                   {kIdPersonPhone, &m_person.Phone},
                   {kIdMobile, &m_person.Mobile},
                   {kIdEmail, &m_person.Email},
                   {kIdPersonFax, &m_person.Fax}},
                  saveAndValidate);
    if (saveAndValidate) {
        m_person.FirstName = m_person.FirstName.trimmed();
        m_person.LastName = m_person.LastName.trimmed();
        const int index = m_businessType->currentIndex();
        m_businessTypeId = index < 0 ? -1 : m_businessType->itemData(index).toInt();
    }
}

void CCompanyDetailsDlg::OnOK()
{
    UpdateData(true);
    if (m_company.CompanyName.trimmed().isEmpty()) {
        ShowContactMessage(QStringLiteral("You need to specify a company Name"));
        return;
    }
    if (m_businessTypeId < 0) {
        ShowContactMessage(QStringLiteral("You need to specify a business type"));
        return;
    }
    QString error;
    if (!m_company.WWWpage.trimmed().isEmpty() && WebPageUrl(m_company.WWWpage, &error).isEmpty()) {
        ShowContactMessage(error);
        return;
    }
    if (!FitToColumns(CompanyTexts(*this, m_company, kCompanyIds) +
                      PersonTexts(*this, m_person, kPersonIds)))
        return;
    const QString notAdded = QStringLiteral("The company was not added.");
    const CActionFailureText failure(notAdded);
    QString reason;
    switch (m_db.AddCompany(m_company, m_businessTypeId, m_person, m_companyId, reason)) {
    case ContactResult::Ok:
        EndDialog(IDOK);
        return;
    case ContactResult::Empty:
        ShowContactMessage(QStringLiteral("You need to specify a company Name"));
        return;
    case ContactResult::Exists:
        ShowContactMessage(
            QStringLiteral("Company Name exist already - the name should be unique"));
        return;
    case ContactResult::OpenFailed:
        ShowContactMessage(notAdded, reason);
        return;
    case ContactResult::NotFound: {
        // The type was deleted meanwhile: choose again from those there are.
        ShowContactMessage(QStringLiteral("You need to specify a business type"), reason);
        CComboItems items(m_businessType);
        m_db.FillBusinessTypeCombo(items, -1);
        return;
    }
    default:
        ShowContactMessage(notAdded, reason);
        return;
    }
}
