#include "records/TabCRViewStatus.h"

#include "data/DBClass.h"
#include "platform/Clock.h"
#include "ui/ComboItems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>

CTabCRViewStatus::CTabCRViewStatus(CDBClass& db, QWidget* parent)
    : CTabPage(385, parent)
    , m_db(db)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* form = new QFormLayout(this);
    m_status = new QComboBox(this);
    SetControlId(m_status, kIdStatus);
    m_completed = new QCheckBox(QStringLiteral("Com&pleted"), this);
    SetControlId(m_completed, kIdCompleted);
    m_date = new QDateEdit(this);
    SetControlId(m_date, kIdDate);
    m_date->setCalendarPopup(true);
    form->addRow(QStringLiteral("&Status :"), m_status);
    form->addRow(QString(), m_completed);
    form->addRow(QStringLiteral("Dat&e:"), m_date);
    connect(m_completed, &QCheckBox::clicked, this, [this] { OnCommand(kIdCompleted); });
}

void CTabCRViewStatus::Load(int statusId, bool completed, const CDateTime& completedDate)
{
    if (m_status->count() == 0) {
        CComboItems statuses(m_status);
        m_db.FillStatusCombo(statuses, 1, -1);
    }
    m_statusId = statusId;
    Select(statusId);
    m_completed->setChecked(completed);
    m_date->setDate(completed && completedDate.IsValid() ? completedDate.Date() : CClock::Today());
    m_status->setEnabled(!completed);
}

void CTabCRViewStatus::Select(int statusId)
{
    m_status->setCurrentIndex(m_status->findData(QVariant(qint64(statusId))));
}

bool CTabCRViewStatus::OnPageCommand(int id)
{
    if (id == kIdCompleted) {
        OnCompleted();
        return true;
    }
    return CTabPage::OnPageCommand(id);
}

void CTabCRViewStatus::OnCompleted()
{
    if (m_completed->isChecked()) {
        Select(kChgReqStatusCompleted);
    } else {
        const int status = StatusId();
        if (status == kChgReqStatusCompleted || status == kChgActionCompleted)
            Select(kChgReqStatusReopened);
    }
    m_status->setEnabled(!m_completed->isChecked());
}

int CTabCRViewStatus::StatusId() const
{
    return m_status->currentIndex() >= 0 ? m_status->currentData().toInt() : m_statusId;
}

bool CTabCRViewStatus::Completed() const
{
    return m_completed->isChecked();
}

QDate CTabCRViewStatus::Date() const
{
    return m_date->date();
}
