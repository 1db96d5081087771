#include "records/ProjStatsDlg.h"

#include "data/DBClass.h"
#include "data/records/ProjectSet.h"
#include "records/ShowPrjDlg.h"
#include "ui/ColorStatic.h"
#include "ui/Utilities.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kNotSet = QStringLiteral("Not set");

QString Percent(double value)
{
    return QString::asprintf("%.2f %%", value);
}

} // namespace

CProjStatsDlg::CProjStatsDlg(CShowPrjDlg* owner, QWidget* parent)
    : CProjectPage(IDD, owner, parent)
{
    // Dates and state at the left, the estimate and the hours at the right.
    auto* columns = new QHBoxLayout(this);
    auto* left = new QGridLayout;
    m_startDate = AddField(left, 0, 0, QStringLiteral("Start Date"), kIdStartDate);
    m_stopDate = AddField(left, 1, 0, QStringLiteral("Stop Date"), kIdStopDate);
    m_state = AddField(left, 2, 0, QStringLiteral("State"), kIdState);
    m_hourRate = AddField(left, 3, 0, QStringLiteral("Hour Rate "), kIdHourRate);
    left->setRowStretch(4, 1);

    auto* right = new QVBoxLayout;
    auto* estimate = new QGroupBox(QStringLiteral("Managers Estimate"), this);
    auto* estimateGrid = new QGridLayout(estimate);
    m_progress = new QLabel(estimate);
    SetControlId(m_progress, kIdProgress);
    m_progress->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    estimateGrid->addWidget(new QLabel(QStringLiteral("Progress"), estimate), 0, 0);
    estimateGrid->addWidget(m_progress, 0, 1);
    estimateGrid->setColumnStretch(1, 1);
    right->addWidget(estimate);
    auto* hours = new QGridLayout;
    m_actualHours = AddField(hours, 0, 0, QStringLiteral("Actual hours"), kIdActualHours);
    m_estimatedHours = AddField(hours, 1, 0, QStringLiteral("Estimated hours"), kIdEstimatedHours);
    m_ratio = new CColorStatic(this);
    SetControlId(m_ratio, kIdRatio);
    hours->addWidget(new QLabel(QStringLiteral("Actual / Estimated"), this), 2, 0);
    hours->addWidget(m_ratio, 2, 1);
    right->addLayout(hours);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
}

QString CProjStatsDlg::Text(int id) const
{
    const auto* label = Control<QLabel>(id);
    return label ? label->text() : QString();
}

QColor CProjStatsDlg::RatioColor() const
{
    return m_ratio->TextColor();
}

QString CProjStatsDlg::FormatProjectDate(const CDateTime& value)
{
    if (!value.IsValid() || value.Date() <= CDateTime::ZeroDate())
        return kNotSet;
    return FormatDateTime(value, RegionalFormats().dateFormat);
}

void CProjStatsDlg::Fill()
{
    for (QLabel* label : {m_startDate, m_stopDate, m_state, m_progress, m_hourRate, m_actualHours,
                          m_estimatedHours, static_cast<QLabel*>(m_ratio)})
        label->clear();
    m_ratio->SetTextColor(palette().color(QPalette::WindowText));
    const CProjectSet* project = Owner() ? Owner()->Project() : nullptr;
    if (!project)
        return;
    m_startDate->setText(FormatProjectDate(project->m_ProjStartDate));
    m_stopDate->setText(FormatProjectDate(project->m_ProjStopDate));
    QString state;
    Owner()->Db().LookupProjectStateName(project->m_ProjState, state);
    m_state->setText(state);
    m_progress->setText(Percent(project->m_ProjProgress * 100.0));
    m_hourRate->setText(QString::asprintf("%.2f", project->m_ProjHourRate));
    m_actualHours->setText(QString::asprintf("%.2f", double(project->m_ProjHours)));
    m_estimatedHours->setText(QString::asprintf("%.2f", double(project->m_ProjEstHours)));
    const double ratio = project->m_ProjEstHours > 0
                             ? double(project->m_ProjHours) / project->m_ProjEstHours * 100.0
                             : 0.0;
    m_ratio->setText(Percent(ratio));
    // Judged by what is shown: 100.004 reads 100.00 and is no overrun.
    if (std::round(ratio * 100.0) > 10000.0)
        m_ratio->SetTextColor(kOverColor);
}
