#include "review/ReviewDlg.h"

#include "data/DBClass.h"
#include "data/records/HoursSumSet.h"
#include "data/records/TimeSheetJoinSet.h"
#include "office/OfficeError.h"
#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "platform/MessageBox.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QDateEdit>

#include <exception>

namespace {

const QString kQueryFailed = QStringLiteral("Unable to open Project Task Times table");

QString Hours(double hours)
{
    return QString::asprintf("%.2f", hours);
}

QString Cell(int column, int row)
{
    return QStringLiteral("%1%2").arg(QChar(QLatin1Char(static_cast<char>('A' + column)))).arg(row);
}

QString ShortDate(const QDate& day)
{
    return FormatDateTime(CDateTime(day), RegionalFormats().dateFormat);
}

// A stored start or stop of an entry of the day in the application's time
// format; the day's end (stored as 23:59) reads 24:00.
QString TimeText(const CDateTime& at, const QDate& day)
{
    if (at.IsNull())
        return QString();
    const int minutes = StoredMinutes(at, day);
    QString format = RegionalFormats().timeFormat;
    if (minutes >= 24 * 60)
        format.replace(QStringLiteral("%#H"), QStringLiteral("24"))
            .replace(QStringLiteral("%H"), QStringLiteral("24"));
    return FormatDateTime(CDateTime(day).AddSecs(qint64(minutes % (24 * 60)) * 60), format);
}

} // namespace

// ---- The selection -----------------------------------------------------------------------------

bool CReviewDlg::CapExportDays(bool& capped)
{
    capped = false;
    if (m_endPicker->date() < m_startPicker->date()) {
        const QDate start = m_startPicker->date();
        m_startPicker->setDate(m_endPicker->date());
        m_endPicker->setDate(start);
    }
    UpdateData(true);
    // The grid, its day count and its totals made for what the controls show.
    if (m_userText != m_lastReviewedUser || m_datesChanged || !m_listCreated)
        OnReview();
    // Every export starts from the review's days, so a second one asks again.
    m_exportDayCount = m_dayCount;
    if (m_exportDayCount <= kMaxExportDays)
        return true;
    const int answer = ShowMessageBox(
        QString::asprintf("Sorry, you can only export 250 days of data - you are trying to export "
                          "%i days.",
                          m_exportDayCount) +
            QStringLiteral("\n Do you want 250 days?"),
        kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes)
        return false;
    m_exportDayCount = kMaxExportDays;
    capped = true;
    return true;
}

// ---- The office
// -----------------------------------------------------------------------------------

std::unique_ptr<ISpreadsheet> CReviewDlg::NewWorkbook()
{
    IOfficeDocuments* documents = m_documents ? m_documents : COfficeSession::Current();
    if (!documents) {
        ShowMessageBox(QStringLiteral("LibreOffice is not available"), kMbOk | kMbIconWarning);
        return nullptr;
    }
    try {
        return documents->NewSpreadsheet();
    } catch (const COfficeError& e) {
        const QString reason = OfficeFailureText(e);
        ShowMessageBox(e.ErrorKind() == COfficeError::kUnavailable
                           ? QStringLiteral("LibreOffice is not available\n") + reason
                           : QStringLiteral("Cannot start LibreOffice.\n") + reason,
                       kMbOk | kMbIconWarning);
    } catch (const std::exception& e) {
        ShowMessageBox(QStringLiteral("Cannot start LibreOffice.\n") + OfficeFailureText(e),
                       kMbOk | kMbIconWarning);
    }
    return nullptr;
}

void CReviewDlg::FailedExport(const std::exception& error)
{
    ShowMessageBox(QStringLiteral("The workbook could not be finished.\n") +
                       OfficeFailureText(error),
                   kMbOk | kMbIconWarning);
}

void CReviewDlg::Present(ISpreadsheet& sheet, const QString& title)
{
    IOfficeDocuments* documents = m_documents ? m_documents : COfficeSession::Current();
    m_lastExportFile = documents->Present(
        sheet, title.arg(m_period.start.toString(Qt::ISODate),
                         m_period.start.addDays(m_exportDayCount - 1).toString(Qt::ISODate)));
}

// ---- The list
// -------------------------------------------------------------------------------------

void CReviewDlg::ExportListView()
{
    RunExport(&CReviewDlg::WriteListView);
}

void CReviewDlg::ExportDayView()
{
    RunExport(&CReviewDlg::WriteDayView);
}

void CReviewDlg::RunExport(void (CReviewDlg::*write)(ISpreadsheet&, bool))
{
    bool capped = false;
    if (!CapExportDays(capped))
        return;
    CWaitCursor wait;
    std::unique_ptr<ISpreadsheet> sheet = NewWorkbook();
    if (!sheet)
        return;
    // Whatever goes wrong in the office is told here; the window carries on.
    try {
        (this->*write)(*sheet, capped);
    } catch (const std::exception& e) {
        FailedExport(e);
    }
}

void CReviewDlg::WriteListView(ISpreadsheet& sheet, bool capped)
{
    const int days = m_exportDayCount;
    const QDate start = m_period.start;
    const QStringList header = {QStringLiteral("User"),       QStringLiteral("Project"),
                                QStringLiteral("Date Start"), QStringLiteral("Date Stop"),
                                QStringLiteral("# Days"),     QStringLiteral("Total Hours")};
    for (int c = 0; c < header.size(); ++c)
        sheet.SetValue(Cell(c, 1), header.at(c));
    sheet.SetValue(QStringLiteral("B5"), QStringLiteral("Project"));
    sheet.SetValue(QStringLiteral("C5"), QStringLiteral("Task"));
    sheet.SetValue(QStringLiteral("D5"), QStringLiteral("Total"));

    // The review's own totals; with 250 days those of the days exported.
    double total = m_grandTotal;
    if (capped) {
        total = 0;
        for (int day = 0; day < days && day < m_columnTotals.size(); ++day)
            total += m_columnTotals.at(day);
    }
    const QDate stop = capped ? start.addDays(days - 1) : m_period.end;
    sheet.SetValues(QStringLiteral("A2"), {{m_userText, m_projectFilter, start, stop,
                                            QString::asprintf("%i", days), total}});
    QVariantList dayHeaders;
    for (int day = 0; day < days; ++day)
        dayHeaders << FormatDateTime(CDateTime(start.addDays(day)), QStringLiteral("%a, %b %d"));
    sheet.SetValues(QStringLiteral("E5"), {dayHeaders});

    const int empId = m_db.GetEmpIdByName(m_userText);
    QVariantList values;
    CHoursSumSet set(m_db.Connection());
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    set.Recordset()->SetFilter(SelectionFilter(empId, start, m_period.end, m_projectFilter, values),
                               values);
    // A project and task make one line.
    set.Recordset()->SetSort(ProjectTaskOrder());
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(kQueryFailed, kMbOk | kMbIconWarning);
        // The workbook goes unshown.
        sheet.Close();
        return;
    }
    QList<QVariantList> lines;
    QVector<double> columnSums(days, 0.0);
    QVector<double> lineSums(days, 0.0);
    QString project;
    QString task;
    double lineTotal = 0;
    bool open = false;
    const auto closeLine = [&] {
        if (!open)
            return;
        QVariantList line = {project, task, Hours(lineTotal)};
        for (double hours : std::as_const(lineSums))
            line << Hours(hours);
        lines << line;
        lineSums.fill(0.0);
        lineTotal = 0;
        open = false;
    };
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
        const qint64 day = start.daysTo(set.m_WorkDate.Date());
        // Days past the export neither start nor end a line.
        if (!set.m_WorkDate.IsValid() || day < 0 || day >= days)
            continue;
        if (!open || set.m_ProjName != project || set.m_Task != task) {
            closeLine();
            open = true;
            project = set.m_ProjName;
            task = set.m_Task;
        }
        lineSums[day] += set.m_SumOfHoursWorked1;
        columnSums[day] += set.m_SumOfHoursWorked1;
        lineTotal += set.m_SumOfHoursWorked1;
    }
    closeLine();
    m_db.CloseRecordSet(&set);

    if (!lines.isEmpty())
        sheet.SetValues(QStringLiteral("B6"), lines);
    const QString totalCell = QStringLiteral("C%1").arg(lines.size() + 7);
    QVariantList totals = {QStringLiteral("Total"), total};
    for (double hours : std::as_const(columnSums))
        totals << Hours(hours);
    sheet.SetValues(totalCell, {totals});
    sheet.SetBold(totalCell, true);
    sheet.SetBold(QStringLiteral("A1:F1"), true);
    sheet.AutoFitColumns(QStringLiteral("A1:F1"));
    sheet.SetBold(QStringLiteral("B5:D5"), true);
    Present(sheet, QStringLiteral("Week review %1 to %2"));
}

// ---- Day by day
// -----------------------------------------------------------------------------------

void CReviewDlg::WriteDayView(ISpreadsheet& sheet, bool /*capped*/)
{
    const int days = m_exportDayCount;
    const QDate start = m_period.start;
    sheet.SetValue(QStringLiteral("A1"), QStringLiteral("Day-by-Day timesheet review"));
    sheet.SetBold(QStringLiteral("A1"), true);
    sheet.SetFontSize(QStringLiteral("A1"), 10);
    sheet.SetUnderline(QStringLiteral("A1"), 2);
    sheet.SetValue(QStringLiteral("B3"), m_userText);
    QString period = ShortDate(start);
    const QString end = ShortDate(m_period.end);
    if (end != period)
        period += QStringLiteral(" - ") + end;
    sheet.SetValue(QStringLiteral("B4"), period);
    sheet.SetBold(QStringLiteral("B3:B4"), true);
    sheet.SetFontSize(QStringLiteral("B3:B4"), 10);

    const int empId = m_db.GetEmpIdByName(m_userText);
    QVariantList values;
    CTimeSheetJoinSet set(m_db.Connection());
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    set.Recordset()->SetFilter(SelectionFilter(empId, start, m_period.end, m_projectFilter, values),
                               values);
    set.Recordset()->SetSort(QStringLiteral("[WorkDate], [StartTime]"));
    if (!m_db.OpenRecordSet(&set)) {
        ShowMessageBox(kQueryFailed, kMbOk | kMbIconWarning);
        sheet.Close();
        return;
    }
    const auto atEnd = [&set] { return set.Recordset()->IsBOF() || set.Recordset()->IsEOF(); };
    if (!atEnd()) {
        const QStringList header = {QStringLiteral("Date       "), QStringLiteral("Project"),
                                    QStringLiteral("Comment"),     QStringLiteral("Start"),
                                    QStringLiteral("Stop"),        QStringLiteral("Hours"),
                                    QStringLiteral("Value"),       QStringLiteral("Task"),
                                    QStringLiteral("Order"),       QStringLiteral("Work Type")};
        for (int c = 0; c < header.size(); ++c)
            sheet.SetValue(Cell(c + 1, 6), header.at(c));
        sheet.SetBold(QStringLiteral("B6:K6"), true);
        sheet.SetFontSize(QStringLiteral("B6:K6"), 10);
        sheet.SetInteriorColorIndex(QStringLiteral("B6:K6"), 50);
    }
    int row = 7;
    for (int d = 0; d < days && !atEnd(); ++d) {
        const QDate day = start.addDays(d);
        // Entries are matched by their day, whatever time of day they carry.
        while (!atEnd() && set.m_WorkDate.Date() < day)
            set.MoveNext();
        QList<QVariantList> lines;
        for (; !atEnd() && set.m_WorkDate.Date() == day; set.MoveNext())
            lines << QVariantList{ShortDate(day),
                                  set.m_ProjName,
                                  ShownText(set.m_Comment),
                                  TimeText(set.m_StartTime, day),
                                  TimeText(set.m_StopTime, day),
                                  QString::asprintf("%f", double(set.m_HoursWorked)),
                                  set.m_InvCost,
                                  set.m_Task,
                                  set.m_OrderCode,
                                  m_db.GetWorkTypeNameReload(set.m_WorkTypeID)};
        if (lines.isEmpty())
            continue;
        sheet.SetValues(QStringLiteral("B%1").arg(row), lines);
        // One empty row after each day.
        row += static_cast<int>(lines.size()) + 1;
    }
    m_db.CloseRecordSet(&set);

    sheet.AutoFitColumns(QStringLiteral("C1:D1"));
    if (sheet.ColumnWidth(QStringLiteral("D1")) > 50)
        sheet.SetColumnWidth(QStringLiteral("D1"), 50);
    for (int c = 4; c <= 10; ++c)
        sheet.AutoFitColumns(Cell(c, 1));
    Present(sheet, QStringLiteral("Week review by day %1 to %2"));
}
