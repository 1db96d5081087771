#include "app/LogonDlg.h"

#include "app/ChangePasswordDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "ui/CharacterLimit.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLogonDlg::CLogonDlg(CDBClass* db, QWidget* parent)
    : CAccelDlg(IDD_LOGON, parent)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Logon ..."));
    m_user = new QComboBox(this);
    SetControlId(m_user, IDC_USER_COMBO);
    m_passwordEdit = new QLineEdit(this);
    SetControlId(m_passwordEdit, IDC_PASSWORD);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    LimitCharacters(m_passwordEdit, 20);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Username :"), m_user);
    form->addRow(QStringLiteral("&Password :"), m_passwordEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddCommandButton(QStringLiteral("Change Pass&word"), IDC_CHANGE_PASSWORD));
    buttons->addStretch();
    QPushButton* ok = AddCommandButton(QStringLiteral("OK"), IDOK);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(AddCommandButton(QStringLiteral("Cancel"), IDCANCEL));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool CLogonDlg::OnInitDialog()
{
    m_userName = CProfile::DefUserName();
    CComboItems items(m_user);
    int index = m_db ? m_db->FillEmployeeCombo(items, m_userName, -1) : -1;
    if (index < 0)
        index = 0;
    m_user->setCurrentIndex(m_user->count() > 0 ? index : -1);
    m_passwordEdit->setFocus();
    return true;
}

void CLogonDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_userName = m_user->currentText();
        m_password = m_passwordEdit->text();
    } else {
        m_passwordEdit->setText(m_password);
    }
}

bool CLogonDlg::OnCommand(int id)
{
    if (id == IDC_CHANGE_PASSWORD) {
        OnChangePassword();
        return true;
    }
    // The hub's "Refresh Timesheet" key means nothing here.
    if (id == ID_REFRESH_TIMESHEET)
        return true;
    return CDialogBase::OnCommand(id);
}

void CLogonDlg::OnOK()
{
    UpdateData(true);
    const int index = m_user->currentIndex();
    const int empId = index >= 0 ? m_user->itemData(index).toInt() : -1;
    if (!m_db || empId < 0 || !m_db->CheckUserPassword(empId, m_password)) {
        ShowMessageBox(QStringLiteral("Username/password validation error"),
                       kMbOk | kMbIconWarning);
        return;
    }
    if (HasApp()) {
        theApp().SetDefUserName(m_userName);
        int level = 0;
        theApp().LoadCurrentEmployee(level);
        theApp().SetSecurityLevel(level);
    } else {
        CProfile::SetDefUserName(m_userName);
    }
    if (m_db)
        m_db->LoadProjects(m_db->GetEmpIdByName(m_userName));
    EndDialog(IDOK);
}

void CLogonDlg::OnChangePassword()
{
    CChangePasswordDlg dlg(m_db, this);
    if (dlg.DoModal() == IDOK && m_db)
        m_db->ChangePassword(m_db->GetEmpIdByName(CProfile::DefUserName()), dlg.m_newPassword);
}
