#pragma once

#include "review/ReviewRow.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The week review's grid, built in one pass over the hours of each project,
// task, day and employee: consecutive records of one project and task make
// a row, which goes out as soon as the next record starts another; only
// that row and a total per day are held.
class CReviewGrid {
public:
    // Receives each row as kept (see CReviewRow), the totals row last.
    using PackedRowSink = std::function<void(CReviewRow&& row)>;
    // Receives each row's texts: Id, employees, project, task, total, one per day.
    using RowSink = std::function<void(const QStringList& texts)>;

    // projectFilter: records of other projects close the pending row and
    // are otherwise passed over; empty for every project.
    CReviewGrid(const QDate& start, int dayCount, const QString& projectFilter, PackedRowSink sink);
    CReviewGrid(const QDate& start, int dayCount, const QString& projectFilter, RowSink sink);

    void Add(const QString& project, const QString& task, const QDate& workDate, double hours,
             const QString& employee);
    // Sends the pending row and then the totals row.
    void Finish();

    int RowCount() const { return m_rows; }
    int RecordsRead() const { return m_records; }
    const QVector<double>& ColumnTotals() const { return m_columnTotals; }
    double GrandTotal() const;

    // The header texts of the grid's columns.
    static QStringList ColumnTitles(const QDate& start, int dayCount);

private:
    // Whether a record of this project and task belongs to the pending row.
    bool InPendingRow(const QString& project, const QString& task) const;
    void Emit();

    QDate m_start;
    QString m_filter;
    PackedRowSink m_sink;
    int m_rows = 0;
    int m_records = 0;
    QVector<double> m_columnTotals;

    bool m_pending = false;
    QString m_project;
    QString m_task;
    QStringList m_employees;
    // The same names, to ask whether one is there without walking the list.
    QSet<QString> m_seenEmployees;
    QVector<double> m_days;
    double m_total = 0;
};
