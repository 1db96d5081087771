#include "records/TabPrjCustomer.h"

#include "data/records/ProjectSet.h"
#include "records/ShowPrjDlg.h"

#include <QGridLayout>
#include <QLabel>

CTabPrjCustomer::CTabPrjCustomer(CShowPrjDlg* owner, QWidget* parent)
    : CProjectPage(IDD, owner, parent)
{
    auto* grid = new QGridLayout(this);
    m_customerProject =
        AddField(grid, 0, 0, QStringLiteral("Customer's Project"), kIdCustomerProject);
    m_contact = AddField(grid, 1, 0, QStringLiteral("Contact"), kIdContact);
    m_invoiceContact = AddField(grid, 2, 0, QStringLiteral("Invoice Contact"), kIdInvoiceContact);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
}

QString CTabPrjCustomer::Text(int id) const
{
    const auto* label = Control<QLabel>(id);
    return label ? label->text() : QString();
}

void CTabPrjCustomer::Fill()
{
    m_customerProject->clear();
    m_contact->clear();
    m_invoiceContact->clear();
    const CProjectSet* project = Owner() ? Owner()->Project() : nullptr;
    if (!project)
        return;
    m_customerProject->setText(project->m_CustProjName);
    m_contact->setText(project->m_ProjCustContact);
    m_invoiceContact->setText(project->m_ProjInvoiceContact);
}
