#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

// One row of the week review's grid as the window keeps it: its texts and
// its hours, made into the cells' texts only when they are shown. A data row
// keeps the days that have hours; the totals row keeps every day. A year of
// every employee's rows takes a few megabytes this way, not a text per cell.
class CReviewRow {
public:
    // The columns before the days.
    enum Column : int {
        kId = 0,
        kEmployees = 1,
        kProject = 2,
        kTask = 3,
        kTotal = 4,
        kFirstDay = 5,
    };

    CReviewRow() = default;
    // A row of a project and task: its running number, the employees' names
    // (joined by ","), the hours of each day of the period and their sum.
    static CReviewRow DataRow(int id, const QString& employees, const QString& project,
                              const QString& task, double total, const QVector<double>& days);
    // The last row: the number of data rows, the grand total and each day's total.
    static CReviewRow TotalsRow(int dataRows, double total, const QVector<double>& days);

    int ColumnCount() const { return kFirstDay + m_dayCount; }
    // The cell's text: hours as "%.2f", a day without hours as " " (as "0.00"
    // in the totals row).
    QString Text(int column) const;
    QStringList Texts() const;

private:
    struct CDay {
        int day;
        double hours;
    };

    int m_id = 0;
    QString m_employees;
    QString m_project;
    QString m_task;
    double m_total = 0;
    int m_dayCount = 0;
    bool m_totals = false;
    // In day order.
    std::vector<CDay> m_days;
};
