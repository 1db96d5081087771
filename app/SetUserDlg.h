#pragma once

#include "ui/DialogBase.h"

class CDBClass;
class CDummyDlg;
class QComboBox;

// Picks the current user without a password: by department and name. Runs
// modally at start-up, modeless from the hub (then with the main menu).
class CSetUserDlg : public CDialogBase {
    Q_OBJECT
public:
    // The owner is the hub (or none); a modal run has no menu to forward.
    CSetUserDlg(CDBClass* db, CDummyDlg* owner, QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    QString m_selectedName;
    QString m_department;
    bool m_userChanged = false;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    void OnSet();
    void OnNameChanged();
    void OnDepartmentChanged();
    void UpdateTitle(int empId);

    CDBClass* m_db;
    CDummyDlg* m_owner;
    QComboBox* m_name;
    QComboBox* m_departments;
    QString m_nameAtOpening;
    QString m_fullNameAtOpening;
    bool m_filling = false;
};
