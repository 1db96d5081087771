#include "app/PropertyPage.h"

#include "platform/MessageBox.h"
#include "ui/TypedNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

CPropertyPage::CPropertyPage(CPropsDef& sheet, int templateId, const QString& caption)
    : m_sheet(sheet)
    , m_templateId(templateId)
    , m_caption(caption)
{}

void CPropertyPage::LoadValues(const CProfile::CValues&) {}

void CPropertyPage::StoreValues(CProfile::CValues&) const {}

void CPropertyPage::Open()
{
    if (m_opened)
        return;
    m_opened = true;
    m_changed = false;
    OnInitPage();
}

bool CPropertyPage::UpdateData(bool saveAndValidate)
{
    return DoDataExchange(saveAndValidate);
}

bool CPropertyPage::DoDataExchange(bool)
{
    return true;
}

bool CPropertyPage::OnApply()
{
    ++m_applyCount;
    m_changed = false;
    OnOK();
    return true;
}

void CPropertyPage::OnCancel()
{
    m_changed = false;
}

void CPropertyPage::SetChanged()
{
    m_changed = true;
    emit changed();
}

QCheckBox* CPropertyPage::NewCheck(int id, const QString& text)
{
    auto* check = new QCheckBox(text, this);
    CDialogBase::SetControlId(check, id);
    return check;
}

QRadioButton* CPropertyPage::NewRadio(int id, const QString& text)
{
    auto* radio = new QRadioButton(text, this);
    CDialogBase::SetControlId(radio, id);
    return radio;
}

QComboBox* CPropertyPage::NewCombo(int id, const QStringList& items)
{
    auto* combo = new QComboBox(this);
    CDialogBase::SetControlId(combo, id);
    combo->addItems(items);
    return combo;
}

QLineEdit* CPropertyPage::NewEdit(int id)
{
    auto* edit = new QLineEdit(this);
    CDialogBase::SetControlId(edit, id);
    return edit;
}

QLabel* CPropertyPage::NewLabel(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
}

bool CPropertyPage::ReadInt(QLineEdit* edit, int min, int max, int& value)
{
    // Digits with the desktop's groups: "1,000" in English, "1 000" in French.
    const CTypedNumber typed(edit->text());
    if (typed.IsInteger() && typed.Value() >= min && typed.Value() <= max) {
        value = static_cast<int>(typed.Value());
        return true;
    }
    ShowMessageBox(QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max),
                   kMbOk | kMbIconWarning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CPropertyPage::Select(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}
