#pragma once

#include "data/ContactTypes.h"
#include "ui/DialogBase.h"

class CDBClass;
class CRichTextCtrl;
class QLabel;
class QListWidget;

// Changes a company's name, address, numbers, web page, comment and
// business types; the company is the one of the id it was opened for.
class CCompanyEditDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        IDD = 12821,
        kIdPhone = 1158,
        kIdName = 1159,
        kIdWeb = 1161,
        kIdFax = 1162,
        kIdAddress1 = 1178,
        kIdComment = 1263,
        kIdBusinessTypes = 1412,
        kIdNameAtOpening = 12814,
        kIdAddress2 = 12820,
        kIdAddress3 = 12822,
    };

    CCompanyEditDlg(CDBClass& db, int companyId, const CCompanyValues& company,
                    QWidget* parent = nullptr);

    const CCompanyValues& Company() const { return m_company; }
    // The name as stored (after OK).
    const QString& StoredName() const { return m_nameAtOpening; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    CDBClass& m_db;
    int m_companyId;
    CCompanyValues m_company;
    // The texts as opened: those left so are not cut to their columns.
    const CCompanyValues m_opened;
    QString m_nameAtOpening;
    // The comment as stored: written back as it was unless edited.
    QString m_storedComment;
    QLabel* m_openingName;
    CRichTextCtrl* m_comment;
    QListWidget* m_types;
};
