#pragma once

#include "ui/DialogBase.h"

class CDBClass;
class QLineEdit;

// Checks the old password and asks for the new one twice; writing it is
// the caller's job.
class CChangePasswordDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CChangePasswordDlg(CDBClass* db, QWidget* parent = nullptr);

    QString m_userName;
    QString m_oldPassword;
    QString m_newPassword;
    QString m_verifyPassword;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    CDBClass* m_db;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_verify;
};
