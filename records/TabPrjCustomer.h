#pragma once

#include "records/ProjectPage.h"

// "&Customer": the customer's name of the project and its two contacts.
class CTabPrjCustomer : public CProjectPage {
    Q_OBJECT
public:
    enum : int {
        IDD = 354,
        kIdContact = 1154,
        kIdInvoiceContact = 1155,
        kIdCustomerProject = 1158,
    };

    explicit CTabPrjCustomer(CShowPrjDlg* owner, QWidget* parent = nullptr);

    QString Text(int id) const;

protected:
    void Fill() override;

private:
    QLabel* m_customerProject;
    QLabel* m_contact;
    QLabel* m_invoiceContact;
};
