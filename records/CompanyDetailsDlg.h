#pragma once

#include "data/ContactTypes.h"
#include "ui/DialogBase.h"

class CDBClass;
class QComboBox;
class QLineEdit;

// Adds a company with one business type and, when a name is given, its
// first contact person: all stored together, or nothing.
class CCompanyDetailsDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        IDD = 238,
        kIdComment = 1009,
        kIdPhone = 1158,
        kIdPersonPhone = 1159,
        kIdWeb = 1161,
        kIdFax = 1162,
        kIdMobile = 1163,
        kIdEmail = 1164,
        kIdPersonFax = 1165,
        kIdAddress1 = 1178,
        kIdAddress2 = 1179,
        kIdName = 1239,
        kIdBusinessType = 1240,
        kIdFirst = 1241,
        kIdLast = 1242,
        kIdAddress3 = 1386,
    };

    explicit CCompanyDetailsDlg(CDBClass& db, QWidget* parent = nullptr);

    // The stored company (after OK).
    int CompanyId() const { return m_companyId; }
    const CCompanyValues& Company() const { return m_company; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    QLineEdit* AddEdit(int id);

    CDBClass& m_db;
    CCompanyValues m_company;
    CPersonValues m_person;
    int m_businessTypeId = -1;
    int m_companyId = -1;
    QComboBox* m_businessType;
};
