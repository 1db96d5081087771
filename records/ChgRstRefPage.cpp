#include "records/ChgRstRefPage.h"

#include "data/DBClass.h"
#include "ui/ComboItems.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

CChgRstRefPage::CChgRstRefPage(CDBClass& db, QWidget* parent)
    : CTabPage(380, parent)
    , m_db(db)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* form = new QFormLayout(this);
    m_company = new QComboBox(this);
    SetControlId(m_company, kIdCompany);
    m_contact = new QComboBox(this);
    m_contact->setEditable(true);
    SetControlId(m_contact, kIdContact);
    m_reference = new QLineEdit(this);
    SetControlId(m_reference, kIdReference);
    form->addRow(QStringLiteral("Co&mpany:"), m_company);
    form->addRow(QStringLiteral("Co&ntact:"), m_contact);
    form->addRow(QStringLiteral("Re&ference:"), m_reference);
    connect(m_company, &QComboBox::activated, this, [this] { OnCommand(kIdCompany); });
}

void CChgRstRefPage::Fill(int projId, int companyId)
{
    CComboItems companies(m_company);
    m_db.GetProjectCompany(companies, companyId, projId);
    FillContacts();
}

void CChgRstRefPage::FillContacts()
{
    const QString typed = m_contact->currentText();
    CComboItems contacts(m_contact);
    const int companyId = CompanyId();
    if (companyId >= 0)
        m_db.FillCompanyContacts(contacts, companyId, typed);
    else
        m_contact->clear();
    if (m_contact->currentIndex() < 0)
        m_contact->setCurrentIndex(m_contact->count() > 0 ? 0 : -1);
}

bool CChgRstRefPage::OnPageCommand(int id)
{
    if (id == kIdCompany) {
        m_contact->clear();
        FillContacts();
        return true;
    }
    return CTabPage::OnPageCommand(id);
}

int CChgRstRefPage::CompanyId() const
{
    return m_company->currentIndex() >= 0 ? m_company->currentData().toInt() : -1;
}

QString CChgRstRefPage::Contact() const
{
    return m_contact->currentText();
}

QString CChgRstRefPage::Reference() const
{
    return m_reference->text();
}

void CChgRstRefPage::SetReference(const QString& text)
{
    m_reference->setText(text);
}

void CChgRstRefPage::SetContact(const QString& text)
{
    m_contact->setEditText(text);
}
