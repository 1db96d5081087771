#pragma once

#include "ui/TabPage.h"

class CDBClass;
class QComboBox;
class QLineEdit;

// The "&Reference" page of "Add Change Request": the company (the
// project's own to begin with), its contact and the reference.
class CChgRstRefPage : public CTabPage {
    Q_OBJECT
public:
    enum : int { kIdContact = 1099, kIdReference = 12824, kIdCompany = 12827 };

    CChgRstRefPage(CDBClass& db, QWidget* parent = nullptr);

    // The companies with the project's selected (the company given when the
    // project has none); then its contacts.
    void Fill(int projId, int companyId);
    // -1 for none.
    int CompanyId() const;
    QString Contact() const;
    QString Reference() const;
    void SetReference(const QString& text);
    void SetContact(const QString& text);

protected:
    bool OnPageCommand(int id) override;

private:
    void FillContacts();

    CDBClass& m_db;
    QComboBox* m_company = nullptr;
    QComboBox* m_contact = nullptr;
    QLineEdit* m_reference = nullptr;
};
