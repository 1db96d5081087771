#include "review/ReviewGrid.h"

#include "ui/Utilities.h"

CReviewGrid::CReviewGrid(const QDate& start, int dayCount, const QString& projectFilter,
                         PackedRowSink sink)
    : m_start(start)
    , m_filter(projectFilter)
    , m_sink(std::move(sink))
    , m_columnTotals(qMax(0, dayCount), 0.0)
    , m_days(qMax(0, dayCount), 0.0)
{}

CReviewGrid::CReviewGrid(const QDate& start, int dayCount, const QString& projectFilter,
                         RowSink sink)
    : CReviewGrid(start, dayCount, projectFilter,
                  [sink = std::move(sink)](CReviewRow&& row) { sink(row.Texts()); })
{}

QStringList CReviewGrid::ColumnTitles(const QDate& start, int dayCount)
{
    QStringList titles = {QStringLiteral("Id"), QStringLiteral("Employee"),
                          QStringLiteral("Project  "), QStringLiteral("Task  "),
                          QStringLiteral("Total  ")};
    for (int day = 0; day < dayCount; ++day)
        titles << FormatDateTime(CDateTime(start.addDays(day)), QStringLiteral("%a,%d %b "));
    return titles;
}

void CReviewGrid::Add(const QString& project, const QString& task, const QDate& workDate,
                      double hours, const QString& employee)
{
    ++m_records;
    if (!m_filter.isEmpty() && project != m_filter) {
        Emit();
        return;
    }
    if (!InPendingRow(project, task)) {
        Emit();
        m_pending = true;
        m_project = project;
        m_task = task;
    }
    if (!m_seenEmployees.contains(employee)) {
        m_seenEmployees.insert(employee);
        m_employees << employee;
    }
    const qint64 day = m_start.daysTo(workDate);
    if (workDate.isValid() && day >= 0 && day < m_days.size()) {
        m_days[day] += hours;
        m_columnTotals[day] += hours;
        m_total += hours;
    }
}

bool CReviewGrid::InPendingRow(const QString& project, const QString& task) const
{
    return m_pending && project == m_project && task == m_task;
}

void CReviewGrid::Emit()
{
    if (!m_pending)
        return;
    m_sink(CReviewRow::DataRow(m_rows, m_employees.join(QLatin1Char(',')), m_project, m_task,
                               m_total, m_days));
    ++m_rows;
    m_pending = false;
    m_employees.clear();
    m_seenEmployees.clear();
    m_days.fill(0.0);
    m_total = 0;
}

void CReviewGrid::Finish()
{
    Emit();
    m_sink(CReviewRow::TotalsRow(m_rows, GrandTotal(), m_columnTotals));
}

double CReviewGrid::GrandTotal() const
{
    double total = 0;
    for (double hours : m_columnTotals)
        total += hours;
    return total;
}
