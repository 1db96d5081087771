#pragma once

#include "ui/AccelDlg.h"

class CDBClass;
class QComboBox;
class QLineEdit;

// Asks for the user and the password when the database wants passwords.
class CLogonDlg : public CAccelDlg {
    Q_OBJECT
public:
    explicit CLogonDlg(CDBClass* db, QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    QString m_userName;
    QString m_password;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    void OnChangePassword();

    CDBClass* m_db;
    QComboBox* m_user;
    QLineEdit* m_passwordEdit;
};
