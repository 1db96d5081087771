#include "timesheet/CalendarDlg.h"

#include "platform/Clock.h"
#include "ui/ResourceIds.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CCalendar::CCalendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
}

short CCalendar::GetYear() const
{
    return static_cast<short>(selectedDate().year());
}

short CCalendar::GetMonth() const
{
    return static_cast<short>(selectedDate().month());
}

short CCalendar::GetDay() const
{
    return static_cast<short>(selectedDate().day());
}

void CCalendar::SetYear(short year)
{
    Show(year, GetMonth(), GetDay());
}

void CCalendar::SetMonth(short month)
{
    Show(GetYear(), month, GetDay());
}

void CCalendar::SetDay(short day)
{
    Show(GetYear(), GetMonth(), day);
}

void CCalendar::Today()
{
    setSelectedDate(CClock::Today());
}

void CCalendar::Show(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1)
        return;
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    const QDate date(year, month, qMin(day, first.daysInMonth()));
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

CCalendarDlg::CCalendarDlg(QWidget* parent)
    : CDialogBase(149, parent)
    , m_calendar(new CCalendar(this))
{
    SetControlId(m_calendar, 1030);
    auto* ok = AddCommandButton(QStringLiteral("OK"), IDOK);
    ok->setDefault(true);
    auto* cancel = AddCommandButton(QStringLiteral("Cancel"), IDCANCEL);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_calendar, 1);
    layout->addLayout(buttons);
}

bool CCalendarDlg::OnInitDialog()
{
    setWindowTitle(m_caption);
    if (m_startAtToday) {
        m_calendar->Today();
        m_year = m_calendar->GetYear();
        m_month = m_calendar->GetMonth();
        m_day = m_calendar->GetDay();
    }
    m_calendar->SetYear(m_year);
    m_calendar->SetMonth(m_month);
    m_calendar->SetDay(m_day);
    m_result = CDateTime(m_calendar->selectedDate());
    return true;
}

void CCalendarDlg::OnOK()
{
    m_year = m_calendar->GetYear();
    m_month = m_calendar->GetMonth();
    m_day = m_calendar->GetDay();
    m_result = CDateTime(QDate(m_year, m_month, m_day));
    CDialogBase::OnOK();
}
