#include "records/ContactDetailsDlg.h"

#include "platform/MessageBox.h"
#include "records/ContactFields.h"
#include "records/ContactLinks.h"
#include "records/DialogFields.h"
#include "ui/AppIcon.h"
#include "ui/ResourceIds.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const CPersonIds kPersonIds = {CContactDetailsDlg::kIdFirst, CContactDetailsDlg::kIdLast,
                               CContactDetailsDlg::kIdPhone, CContactDetailsDlg::kIdMobile,
                               CContactDetailsDlg::kIdEmail, CContactDetailsDlg::kIdFax};

QLineEdit* Edit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    CDialogBase::SetControlId(edit, id);
    return edit;
}

} // namespace

CContactDetailsDlg::CContactDetailsDlg(const QString& company, const CPersonValues& person,
                                       bool add, QWidget* parent)
    : CDialogBase(IDD, parent)
    , m_company(company)
    , m_person(person)
    , m_opened(person)
    , m_add(add)
{
    setWindowIcon(AppIcon());
    auto* group = new QGroupBox(QStringLiteral("Name "), this);
    auto* form = new QFormLayout(group);
    const std::pair<const char*, int> rows[] = {{"&First:", kIdFirst}, {"&Last:", kIdLast},
                                                {"&Phone:", kIdPhone}, {"&Mobile:", kIdMobile},
                                                {"&Email:", kIdEmail}, {"&Fax:", kIdFax}};
    for (const auto& [label, id] : rows)
        form->addRow(QString::fromLatin1(label), Edit(group, id));

    m_update = AddCommandButton(QStringLiteral("&Update"), kIdUpdate);
    m_update->setDefault(true);
    m_send = AddCommandButton(QStringLiteral("&Send>>"), kIdSend);
    QPushButton* cancel = AddCommandButton(QStringLiteral("&Cancel"), kIdCancel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_update);
    buttons->addWidget(m_send);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

bool CContactDetailsDlg::OnInitDialog()
{
    setWindowTitle((m_add ? QStringLiteral("Contacts Details  Add - ")
                          : QStringLiteral("Contacts Details  Edit - ")) +
                   m_company);
    UpdateData(false);
    m_send->setEnabled(!m_person.Email.isEmpty());
    if (m_add)
        m_update->setText(QStringLiteral("Add"));
    Control<QLineEdit>(kIdFirst)->setFocus();
    return true;
}

void CContactDetailsDlg::DoDataExchange(bool saveAndValidate)
{
    ExchangeTexts(*this,
                  {{kIdFirst, &m_person.FirstName},
                   {kIdLast, &m_person.LastName},
                   {kIdPhone, &m_person.Phone},
                   {kIdMobile, &m_person.Mobile},
                   {kIdEmail, &m_person.Email},
                   {kIdFax, &m_person.Fax}},
                  saveAndValidate);
    if (saveAndValidate) {
        // Blanks alone are no name.
        m_person.FirstName = m_person.FirstName.trimmed();
        m_person.LastName = m_person.LastName.trimmed();
    }
}

bool CContactDetailsDlg::OnCommand(int id)
{
    switch (id) {
    case kIdUpdate:
        OnOK();
        return true;
    case kIdCancel:
        OnCancel();
        return true;
    case kIdSend:
        OnSend();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CContactDetailsDlg::OnOK()
{
    UpdateData(true);
    if (m_person.FirstName.isEmpty() || m_person.LastName.isEmpty()) {
        ShowMessageBox(QStringLiteral("You must have a first and last name to add an entry"),
                       kMbOk | kMbIconWarning);
        return;
    }
    // The contacts window writes what this dialog hands it.
    if (!FitToColumns(PersonTexts(*this, m_person, kPersonIds, m_add ? nullptr : &m_opened)))
        return;
    EndDialog(IDOK);
}

void CContactDetailsDlg::OnSend()
{
    UpdateData(true);
    OpenMailTo(m_person.Email);
}
