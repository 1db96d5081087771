#include "review/ReviewDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/PickListDlg.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "data/records/HoursSumSet.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "review/ReviewGrid.h"
#include "review/ReviewGridView.h"
#include "ui/MyListCtrl.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>

namespace {

// Widths (before the horizontal scale) and alignments of the grid's columns.
constexpr int kFixedWidths[] = {10, 80, 150, 150, 80};
constexpr int kDayWidth = 70;
constexpr int kFitMargin = 40;
constexpr int kHeaderMargin = 14;

} // namespace

// ---- Period --------------------------------------------------------------------------------

void CReviewDlg::CheckSpan()
{
    CWaitCursor wait;
    UpdateData(true);
    const int preset = m_span->currentIndex();
    m_spanText = m_span->currentText();
    CReviewPeriod period = m_period;
    if (!PresetPeriod(preset, CurrentOptions().Int("ReviewTimeRelative"), CClock::Today(),
                      period)) {
        if (preset >= kPresetOneWeek && preset <= kPresetThisWeek)
            ShowMessageBox(
                QStringLiteral("Time Spans too many days, span should be less than 1 month"),
                kMbOk | kMbIconWarning);
        return;
    }
    m_period = period;
    UpdateData(false);
    m_datesChanged = true;
}

void CReviewDlg::OnBack()
{
    CWaitCursor wait;
    UpdateData(true);
    m_period = StepPeriod(m_period, m_span->currentIndex(), false);
    UpdateData(false);
    OnReview();
}

void CReviewDlg::OnForward()
{
    CWaitCursor wait;
    UpdateData(true);
    m_period = StepPeriod(m_period, m_span->currentIndex(), true);
    UpdateData(false);
    OnReview();
}

// ---- The review ----------------------------------------------------------------------------

void CReviewDlg::OnReview()
{
    CWaitCursor wait;
    const int span = m_span->currentIndex();
    UpdateData(true);
    // A start after the end is taken the other way round.
    if (m_period.start > m_period.end) {
        std::swap(m_period.start, m_period.end);
        UpdateData(false);
    }
    m_dayCount = m_exportDayCount = m_period.Days();
    SetStatus(QString::asprintf("Total Days: %i", m_dayCount));
    FillReview(m_projectFilter, true);
    m_lastReviewedUser = m_userText;
    m_datesChanged = false;
    const QSignalBlocker quiet(m_span);
    m_span->setCurrentIndex(span);
}

bool CReviewDlg::ProjectFilterCounts(const QString& projectFilter)
{
    return !projectFilter.isEmpty() &&
           projectFilter.compare(QLatin1String("All"), Qt::CaseInsensitive) != 0;
}

QString CReviewDlg::SelectionFilter(int empId, const QDate& start, const QDate& end,
                                    const QString& projectFilter, QVariantList& values)
{
    // Whole days: an entry stored with a time of day on the last day belongs to it.
    QString filter = QStringLiteral("[WorkDate] >= ? AND [WorkDate] < ?");
    values = {QVariant::fromValue(CDateTime(start)), CSqlDialect::DayEnd(end)};
    if (empId >= 0) {
        filter.prepend(QStringLiteral("[EmpID] = ? AND "));
        values.prepend(empId);
    }
    if (ProjectFilterCounts(projectFilter)) {
        filter += QStringLiteral(" AND [ProjName] = ?");
        values << projectFilter;
    }
    return filter;
}

void CReviewDlg::SelectGridRecords(CHoursSumSet& set, int empId, const CReviewPeriod& period,
                                   const QString& projectFilter)
{
    QVariantList values;
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    set.Recordset()->SetFilter(
        SelectionFilter(empId, period.start, period.end, projectFilter, values), values);
    // One project and task after the other, whatever order the view keeps.
    set.Recordset()->SetSort(ProjectTaskOrder());
}

QString CReviewDlg::EmployeeName(int empId)
{
    const auto it = m_employeeNames.constFind(empId);
    if (it != m_employeeNames.constEnd())
        return *it;
    QString name;
    for (const CEmployeeEntry& e : m_db.Employees())
        if (e.EmpID == empId) {
            name = e.EmpFullName;
            break;
        }
    if (name.isEmpty())
        name = m_db.GetEmpFullName(empId);
    m_employeeNames.insert(empId, name);
    return name;
}

void CReviewDlg::FillReview(const QString& projectFilter, bool newColumns)
{
    CWaitCursor wait;
    m_projectFilter = projectFilter;
    // Columns made for other dates would not fit the rows.
    if (newColumns || !m_listCreated || m_datesChanged) {
        if (m_period.start > m_period.end)
            std::swap(m_period.start, m_period.end);
        m_dayCount = m_exportDayCount = m_period.Days();
        SetStatus(QString::asprintf("Total Days: %i", m_dayCount));
        const QStringList titles = CReviewGrid::ColumnTitles(m_period.start, m_dayCount);
        QList<int> widths;
        QList<int> formats;
        // No narrower than its title: the desktop's font is wider than the widths assume.
        const QFontMetrics header = m_grid->header()->fontMetrics();
        for (int c = 0; c < titles.size(); ++c) {
            widths << qMax(qRound((c < 5 ? kFixedWidths[c] : kDayWidth) * m_scaleX),
                           header.horizontalAdvance(titles.at(c)) + kHeaderMargin);
            formats << (c == 4 || c >= 5 ? kFormatRight : kFormatLeft);
        }
        const int top = m_panel->geometry().bottom() + 1;
        m_grid->SetColumns(titles, formats, widths);
        m_grid->setGeometry(QRect(0, top, width(), qMax(0, height() - 20 - top)));
        m_grid->show();
        m_listCreated = true;
        m_columnTotals.clear();
    }
    m_grid->Clear();
    m_employeeNames.clear();

    CHoursSumSet set(m_db.Connection());
    SelectGridRecords(set, m_db.GetEmpIdByName(m_userText), m_period, m_projectFilter);
    const auto notRead = [this] {
        // An empty grid must not pass for a period without bookings.
        m_grid->Clear();
        SetStatus(QStringLiteral("Total Days: %1; the bookings could not be read").arg(m_dayCount));
        if (m_hub)
            m_hub->NoteWindowRead(this, false);
    };
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(QStringLiteral("Unable to open Project Task Times table"),
                       kMbOk | kMbIconWarning);
        notRead();
        return;
    }
    // The rows are kept packed and made into texts only when shown.
    std::vector<CReviewRow> rows;
    CReviewGrid grid(m_period.start, m_dayCount,
                     ProjectFilterCounts() ? m_projectFilter : QString(),
                     [&rows](CReviewRow&& row) { rows.push_back(std::move(row)); });
    bool whole = true;
    for (; whole && !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF();) {
        grid.Add(set.m_ProjName, set.m_Task, set.m_WorkDate.Date(), set.m_SumOfHoursWorked1,
                 EmployeeName(set.m_EmpID));
        // Part of a month is no month.
        whole = set.MoveNext();
    }
    m_db.CloseRecordSet(&set);
    if (!whole) {
        notRead();
        return;
    }
    grid.Finish();
    m_grid->SetRows(std::move(rows));
    m_columnTotals = grid.ColumnTotals();
    m_grandTotal = grid.GrandTotal();
    SetStatus(QString::asprintf("Total Days: %i, total number of records %i", m_exportDayCount,
                                grid.RecordsRead()));
    if (m_hub)
        m_hub->NoteWindowRead(this, true);
    FitTextColumns();
}

void CReviewDlg::FitTextColumns()
{
    const QFontMetrics header = m_grid->header()->fontMetrics();
    const QFontMetrics rows = m_grid->fontMetrics();
    for (int column : {CReviewRow::kProject, CReviewRow::kTask}) {
        int widest = header.horizontalAdvance(m_grid->HeaderText(column));
        QString last;
        for (int row = 0; row < m_grid->ItemCount(); ++row) {
            // The rows of a project follow each other: each name is measured once.
            const QString text = m_grid->ItemText(row, column);
            if (row > 0 && text == last)
                continue;
            widest = qMax(widest, rows.horizontalAdvance(text));
            last = text;
        }
        m_grid->setColumnWidth(column, widest + kFitMargin);
    }
}

void CReviewDlg::OnChooseProject()
{
    UpdateData(true);
    CPickListDlg pick(CPickListDlg::kProject, this, nullptr, false, false, &m_db);
    pick.SetAllEntry(true);
    pick.SetUserName(m_userText);
    pick.DoModal();
    // Whatever the list's end: its text is the filter (none is every project).
    CWaitCursor wait;
    m_projectFilter = pick.PickedText();
    m_project->setText(m_projectFilter);
    SetReviewCaption();
    FillReview(m_projectFilter, false);
}
