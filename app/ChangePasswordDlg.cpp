#include "app/ChangePasswordDlg.h"

#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "ui/CharacterLimit.h"
#include "ui/ResourceIds.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CChangePasswordDlg::CChangePasswordDlg(CDBClass* db, QWidget* parent)
    : CDialogBase(IDD_CHANGE_PASSWORD, parent)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Change Password"));
    const auto passwordEdit = [this](int id, int maxLength) {
        auto* edit = new QLineEdit(this);
        SetControlId(edit, id);
        edit->setEchoMode(QLineEdit::Password);
        if (maxLength > 0)
            LimitCharacters(edit, maxLength);
        return edit;
    };
    m_old = passwordEdit(IDC_OLD_PASSWORD, 0);
    m_new = passwordEdit(IDC_NEW_PASSWORD, 20);
    m_verify = passwordEdit(IDC_VERIFY_PASSWORD, 20);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Old &password"), m_old);
    form->addRow(QStringLiteral("&New password"), m_new);
    form->addRow(QStringLiteral("&Verify new password"), m_verify);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = AddCommandButton(QStringLiteral("OK"), IDOK);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(AddCommandButton(QStringLiteral("Cancel"), IDCANCEL));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool CChangePasswordDlg::OnInitDialog()
{
    m_userName = CProfile::DefUserName();
    setWindowTitle(QStringLiteral("Change Password for - ") + m_userName);
    return true;
}

void CChangePasswordDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_oldPassword = m_old->text();
        m_newPassword = m_new->text();
        m_verifyPassword = m_verify->text();
    }
}

void CChangePasswordDlg::OnOK()
{
    UpdateData(true);
    const int empId = m_db ? m_db->GetEmpIdByName(m_userName) : -1;
    if (!m_db || !m_db->CheckUserPassword(empId, m_oldPassword)) {
        ShowMessageBox(QStringLiteral("Validation error of old password, please try again"),
                       kMbOk | kMbIconWarning);
        return;
    }
    if (m_newPassword != m_verifyPassword) {
        ShowMessageBox(QStringLiteral("Validation error of new passwords, please try again"),
                       kMbOk | kMbIconWarning);
        return;
    }
    EndDialog(IDOK);
}
