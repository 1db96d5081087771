#include "review/ReviewRow.h"

#include <algorithm>

namespace {

QString Hours(double hours)
{
    return QString::asprintf("%.2f", hours);
}

} // namespace

CReviewRow CReviewRow::DataRow(int id, const QString& employees, const QString& project,
                               const QString& task, double total, const QVector<double>& days)
{
    CReviewRow row;
    row.m_id = id;
    row.m_employees = employees;
    row.m_project = project;
    row.m_task = task;
    row.m_total = total;
    row.m_dayCount = static_cast<int>(days.size());
    for (int day = 0; day < days.size(); ++day)
        if (days.at(day) != 0)
            row.m_days.push_back({day, days.at(day)});
    row.m_days.shrink_to_fit();
    return row;
}

CReviewRow CReviewRow::TotalsRow(int dataRows, double total, const QVector<double>& days)
{
    CReviewRow row;
    row.m_id = dataRows;
    row.m_project = QStringLiteral("  Total ");
    row.m_task = QStringLiteral(" ");
    row.m_total = total;
    row.m_totals = true;
    row.m_dayCount = static_cast<int>(days.size());
    row.m_days.reserve(days.size());
    for (int day = 0; day < days.size(); ++day)
        row.m_days.push_back({day, days.at(day)});
    return row;
}

QString CReviewRow::Text(int column) const
{
    switch (column) {
    case kId:
        return QString::asprintf("%i", m_id);
    case kEmployees:
        return m_employees;
    case kProject:
        return m_project;
    case kTask:
        return m_task;
    case kTotal:
        return Hours(m_total);
    default:
        break;
    }
    const int day = column - kFirstDay;
    if (day < 0 || day >= m_dayCount)
        return QString();
    const auto at = std::lower_bound(m_days.cbegin(), m_days.cend(), day,
                                     [](const CDay& d, int wanted) { return d.day < wanted; });
    if (at != m_days.cend() && at->day == day)
        return Hours(at->hours);
    return m_totals ? Hours(0) : QStringLiteral(" ");
}

QStringList CReviewRow::Texts() const
{
    QStringList texts;
    texts.reserve(ColumnCount());
    for (int c = 0; c < ColumnCount(); ++c)
        texts << Text(c);
    return texts;
}
