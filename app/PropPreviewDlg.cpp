#include "app/PropPreviewDlg.h"

#include "ui/ResourceIds.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

CPropPreviewDlg::CPropPreviewDlg(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_REVIEW, QStringLiteral("Review"))
{
    m_lengthCombo =
        NewCombo(IDC_REVIEW_LENGTH, {QStringLiteral("1 week"), QStringLiteral("2 weeks"),
                                     QStringLiteral("3 weeks"), QStringLiteral("4 weeks"),
                                     QStringLiteral("this month"), QStringLiteral("this week")});
    m_positionCombo = NewCombo(IDC_REVIEW_POSITION, {QStringLiteral("Preceeding a selected day"),
                                                     QStringLiteral("Following a selected day")});
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(NewLabel(QStringLiteral("Review &length :"), m_lengthCombo), m_lengthCombo);
    form->addRow(NewLabel(QStringLiteral("Review &position :"), m_positionCombo), m_positionCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();

    connect(m_lengthCombo, &QComboBox::activated, this, [this](int index) {
        m_length = index;
        SetChanged();
    });
    connect(m_positionCombo, &QComboBox::activated, this, [this](int index) {
        m_relative = index;
        SetChanged();
    });
}

void CPropPreviewDlg::LoadValues(const CProfile::CValues& values)
{
    m_length = values.Int("ReviewTimeLength");
    m_relative = values.Int("ReviewTimeRelative");
}

void CPropPreviewDlg::StoreValues(CProfile::CValues& values) const
{
    values.Set("ReviewTimeLength", m_length);
    values.Set("ReviewTimeRelative", m_relative);
}

void CPropPreviewDlg::OnInitPage()
{
    Select(m_lengthCombo, m_length);
    Select(m_positionCombo, m_relative);
}
