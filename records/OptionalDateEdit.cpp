#include "records/OptionalDateEdit.h"

#include "platform/Clock.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

COptionalDateEdit::COptionalDateEdit(QWidget* parent)
    : QWidget(parent)
    , m_check(new QCheckBox(this))
    , m_editor(new QDateEdit(this))
    , m_time(0, 0)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_editor->setCalendarPopup(true);
    m_editor->setDisplayFormat(QStringLiteral("dd MMM yyyy"));
    m_check->setToolTip(QStringLiteral("Set a date"));
    layout->addWidget(m_check);
    layout->addWidget(m_editor, 1);
    connect(m_check, &QCheckBox::toggled, m_editor, &QWidget::setEnabled);
    SetValue(CDateTime());
}

void COptionalDateEdit::SetValue(const CDateTime& value)
{
    m_check->setChecked(value.IsValid());
    m_editor->setEnabled(value.IsValid());
    m_editor->setDate(value.IsValid() ? value.Date() : CClock::Today());
    m_time = value.IsValid() ? value.Time() : QTime(0, 0);
}

CDateTime COptionalDateEdit::Value() const
{
    return HasDate() ? CDateTime(m_editor->date(), m_time) : CDateTime();
}

bool COptionalDateEdit::HasDate() const
{
    return m_check->isChecked();
}
