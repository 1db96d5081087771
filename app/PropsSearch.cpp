#include "app/PropsSearch.h"

#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPropsSearch::CPropsSearch(CPropsDef& sheet)
    : CPropAccDlg(sheet, IDD_PROPS_SEARCH, QStringLiteral("Search"), 306)
{
    m_limitCheck = NewCheck(IDC_LIMIT_SEARCH, QStringLiteral("&Limit the record size to"));
    m_sizeEdit = NewEdit(IDC_SEARCH_SIZE);
    m_sizeEdit->setMaximumWidth(80);
    auto* row = new QHBoxLayout;
    row->addWidget(m_limitCheck);
    row->addWidget(m_sizeEdit);
    row->addWidget(new QLabel(QStringLiteral("records"), this));
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch();

    connect(m_limitCheck, &QCheckBox::clicked, this, [this] {
        m_limit = !m_limit;
        m_sizeEdit->setEnabled(m_limit);
        SetChanged();
    });
    connect(m_sizeEdit, &QLineEdit::textEdited, this, [this] { SetChanged(); });
}

void CPropsSearch::LoadValues(const CProfile::CValues& values)
{
    m_limit = values.Bool("bsearchSize");
    m_size = values.Int("isearchSize");
}

void CPropsSearch::StoreValues(CProfile::CValues& values) const
{
    values.Set("bsearchSize", m_limit);
    values.Set("isearchSize", m_size);
}

void CPropsSearch::OnInitPage()
{
    m_limitCheck->setChecked(m_limit);
    m_sizeEdit->setText(QString::number(m_size));
    m_sizeEdit->setEnabled(m_limit);
}

bool CPropsSearch::DoDataExchange(bool saveAndValidate)
{
    // Without a limit the number is not used, so it is kept as it was.
    if (!saveAndValidate || !m_limit)
        return true;
    return ReadInt(m_sizeEdit, 1, kLargestLimit, m_size);
}
