#include "review/XlsTimeSheet.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "office/BasicModule.h"
#include "office/OfficeError.h"
#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/UserFile.h"
#include "review/TimeSheetTemplate.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace {

const QString kMacroFailed = QStringLiteral("If here, you got the error!");
const QString kReadFailed = QStringLiteral("Unable to open Timesheet table");

// Hours as a number the macros read whatever the locale: "7.5", "0.25".
QString HoursText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral(" ");
    QString text = QString::number(std::round(value.toDouble() * 10000) / 10000, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// A stored start or stop of the day as "HH:MM", the day's end as "24:00";
// a null value reads as one blank.
QString TimeText(const CMyAdoRecordSet& rs, int column, const QDate& day)
{
    bool ok = false;
    const CDateTime time = rs.DateValue(column, &ok);
    if (!ok)
        return QStringLiteral(" ");
    const int minutes = StoredMinutes(time, day);
    return QString::asprintf("%02i:%02i", minutes / 60, minutes % 60);
}

QString Quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

} // namespace

const QStringList& CXlsTimeSheet::RequiredMacros()
{
    static const QStringList names = {QStringLiteral("FillOutHdrWeekly"),
                                      QStringLiteral("FillDaysTime"),
                                      QStringLiteral("DailyInOutVals"), QStringLiteral("RunTotals"),
                                      QStringLiteral("RunGrandTotal")};
    return names;
}

const QStringList& CXlsTimeSheet::KeptMacros()
{
    static const QStringList names = {QStringLiteral("Macro1"), QStringLiteral("Print_time_sheet")};
    return names;
}

CXlsTimeSheet::CXlsTimeSheet(CDBClass& db, const QString& folder, const QString& templateFile)
    : m_db(db)
    , m_folder(folder.trimmed())
    , m_templateFile(templateFile.trimmed())
{}

// ---- The week ----------------------------------------------------------------------

QDate CXlsTimeSheet::WeekStart(const QDate& today)
{
    // Dates, not times of day: a daylight-saving change cannot skip or repeat a day.
    QDate day = today.addDays(-1);
    while (day.dayOfWeek() != Qt::Monday)
        day = day.addDays(-1);
    return day;
}

QDate CXlsTimeSheet::WeekEnd(const QDate& start)
{
    QDate day = start.addDays(1);
    while (day.dayOfWeek() != Qt::Friday)
        day = day.addDays(1);
    return day;
}

QString CXlsTimeSheet::WeekdayName(int dayOfWeek)
{
    static const char* const names[] = {"Sun", "Mon", "Tues", "Wed", "Thurs", "Fri", "Sat"};
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return QString();
    return QLatin1String(names[dayOfWeek - 1]);
}

QString CXlsTimeSheet::WeekdayName(const QDate& day)
{
    // Qt counts from Monday = 1 to Sunday = 7.
    return WeekdayName(day.dayOfWeek() % 7 + 1);
}

bool CXlsTimeSheet::FindDays(const QDate& day, QList<int>& indexes) const
{
    indexes.clear();
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).workDate == day)
            indexes << i;
    return !indexes.isEmpty();
}

QDate CXlsTimeSheet::Today() const
{
    return m_today.isValid() ? m_today : CClock::Today();
}

// ---- Paths -------------------------------------------------------------------------

QString CXlsTimeSheet::Folder() const
{
    return m_folder.isEmpty() ? CTimeSheetTemplate::DefaultFolder() : m_folder;
}

QString CXlsTimeSheet::TemplatePath() const
{
    const QString file =
        m_templateFile.isEmpty() ? QLatin1String(CTimeSheetTemplate::kFileName) : m_templateFile;
    // QDir joins with or without a separator at the folder's end.
    return QDir::cleanPath(QDir(Folder()).filePath(file));
}

QString CXlsTimeSheet::WorkbookPath() const
{
    const QString name = QStringLiteral("ts_%1.xls")
                             .arg(FormatDateTime(CDateTime(Today()), QStringLiteral("%d%B%y")));
    return QDir::cleanPath(QDir(Folder()).filePath(name));
}

// ---- The database ------------------------------------------------------------------

bool CXlsTimeSheet::ReadWeek()
{
    m_start = WeekStart(Today());
    m_end = WeekEnd(m_start);
    m_db.GetEmpNameById(m_empId, m_empName);
    m_days.clear();
    m_rows.clear();
    const bool held = m_db.OpenConnection();
    const bool read = held && GetDayTotals() && GetDayRows();
    if (held)
        m_db.ReleaseConnection(false, false);
    if (!read)
        ShowMessageBox(kReadFailed, kMbOk | kMbIconWarning);
    return read;
}

bool CXlsTimeSheet::QueryEachDay(const QString& sql,
                                 const std::function<void(const QDate&, CMyAdoRecordSet&)>& read)
{
    for (QDate day = m_start; day <= m_end; day = day.addDays(1)) {
        const QDate next = day.addDays(1);
        CMyAdoRecordSet* rs = nullptr;
        if (!m_db.ExecuteQuery(sql, rs, {m_empId, day, next}))
            return false;
        const std::unique_ptr<CMyAdoRecordSet> owned(rs);
        rs->MoveFirst();
        read(day, *rs);
    }
    return true;
}

bool CXlsTimeSheet::GetDayTotals()
{
    return QueryEachDay(
        m_db.Dialect().WeekDayTotalsStatement(), [this](const QDate& day, CMyAdoRecordSet& rs) {
            CDayValues values{QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
            if (!rs.IsEOF())
                values = {TimeText(rs, 0, day), TimeText(rs, 1, day), HoursText(rs.Value(2))};
            m_days << values;
        });
}

bool CXlsTimeSheet::GetDayRows()
{
    return QueryEachDay(m_db.Dialect().WeekDayRowsStatement(),
                        [this](const QDate& day, CMyAdoRecordSet& rs) {
                            for (; !rs.IsEOF(); rs.MoveNext()) {
                                CRow row;
                                row.projId = rs.Value(0).toInt();
                                row.orderId = rs.Value(1).toInt();
                                row.invId = rs.Value(2).toInt();
                                row.taskId = rs.Value(3).toInt();
                                row.start = TimeText(rs, 4, day);
                                row.stop = TimeText(rs, 5, day);
                                row.hours = HoursText(rs.Value(6));
                                row.workDate = day;
                                m_rows << row;
                            }
                        });
}

// ---- The run -----------------------------------------------------------------------

bool CXlsTimeSheet::Run()
{
    m_reported.clear();
    IOfficeDocuments* documents = m_documents ? m_documents : COfficeSession::Current();
    if (!documents) {
        ShowMessageBox(QStringLiteral("LibreOffice is not available"), kMbOk | kMbIconWarning);
        return false;
    }
    m_userName = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    m_empId = m_userName.isEmpty() ? -1 : m_db.GetEmpIdByName(m_userName);
    if (m_empId < 0) {
        ShowMessageBox(m_userName.isEmpty()
                           ? QStringLiteral("Please choose a user with Set User first.")
                           : QStringLiteral("\"%1\" is not an employee: please choose a user "
                                            "with Set User.")
                                 .arg(m_userName),
                       kMbOk | kMbIconWarning);
        return false;
    }
    if (!TemplateFound() || !ReadWeek())
        return false;
    const QString target = WorkbookPath();
    if (!ConfirmReplace(target) || !MakeWorkbook(*documents, target))
        return false;
    ShowMessageBox(QStringLiteral("The time sheet is stored as %1").arg(Quoted(target)),
                   kMbOk | kMbIconInformation);
    return true;
}

bool CXlsTimeSheet::MakeWorkbook(IOfficeDocuments& documents, const QString& target)
{
    CWaitCursor wait;
    if (!EnsureTemplate(documents))
        return false;
    std::unique_ptr<ISpreadsheet> book;
    try {
        book = documents.OpenSpreadsheet(TemplatePath());
    } catch (const std::exception& e) {
        const auto* office = dynamic_cast<const COfficeError*>(&e);
        OpenTemplateFailed(office ? *office : COfficeError(e.what(), COfficeError::kNotStarted));
        return false;
    }
    try {
        if (!HasRequiredMacros(*book)) {
            book->Close();
            return false;
        }
        FillWorkbook(*book);
        PruneMacros(*book);
    } catch (const std::exception& e) {
        // The office went away: nothing more can be done with the workbook.
        ShowMessageBox(QStringLiteral("The time sheet could not be finished.\n") +
                           OfficeFailureText(e),
                       kMbOk | kMbIconWarning);
        return false;
    }
    try {
        book->SaveAs(target);
        book->Close();
    } catch (const std::exception& e) {
        ShowMessageBox(QStringLiteral("The time sheet could not be saved as %1.\n%2")
                           .arg(Quoted(target), OfficeFailureText(e)),
                       kMbOk | kMbIconWarning);
        return false;
    }
    return true;
}

bool CXlsTimeSheet::ConfirmReplace(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return ShowMessageBox(
               QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(Quoted(path)),
               kMbYesNo | kMbIconQuestion) == kIdYes;
}

bool CXlsTimeSheet::IsOwnTemplate() const
{
    return TemplatePath() == QDir::cleanPath(CTimeSheetTemplate::DefaultPath());
}

bool CXlsTimeSheet::TemplateFound()
{
    const QString path = TemplatePath();
    if (IsOwnTemplate())
        return true;
    // The office is handed only a regular file of a workbook's size: a pipe
    // or a device would hold it for good.
    QString why;
    switch (CheckUserFile(path, kMaxTemplateBytes, &why)) {
    case UserFileProblem::None:
        return true;
    case UserFileProblem::Missing:
        ShowMessageBox(QStringLiteral("The time-sheet template %1 cannot be found.\nRegister the "
                                      "workbook to fill with \"Register\".")
                           .arg(Quoted(path)),
                       kMbOk | kMbIconWarning);
        return false;
    default:
        ShowMessageBox(
            QStringLiteral("The time-sheet template %1 cannot be used.\n%2").arg(Quoted(path), why),
            kMbOk | kMbIconWarning);
        return false;
    }
}

bool CXlsTimeSheet::EnsureTemplate(IOfficeDocuments& documents)
{
    const QString path = TemplatePath();
    if (QFileInfo(path).isFile() || !IsOwnTemplate())
        return true;
    // The program's own template is made when it is first needed.
    try {
        CTimeSheetTemplate::Build(documents, path);
    } catch (const std::exception& e) {
        const auto* office = dynamic_cast<const COfficeError*>(&e);
        if (office && office->ErrorKind() != COfficeError::kRefused) {
            OpenTemplateFailed(*office);
            return false;
        }
        ShowMessageBox(QStringLiteral("The time-sheet template %1 could not be made.\n%2")
                           .arg(Quoted(path), OfficeFailureText(e)),
                       kMbOk | kMbIconWarning);
        return false;
    }
    return true;
}

void CXlsTimeSheet::OpenTemplateFailed(const COfficeError& error)
{
    const QString reason = OfficeFailureText(error);
    switch (error.ErrorKind()) {
    case COfficeError::kUnavailable:
        ShowMessageBox(QStringLiteral("LibreOffice is not available\n") + reason,
                       kMbOk | kMbIconWarning);
        break;
    case COfficeError::kRefused:
        ShowMessageBox(QStringLiteral("The time-sheet template %1 cannot be opened.\n%2")
                           .arg(Quoted(TemplatePath()), reason),
                       kMbOk | kMbIconWarning);
        break;
    default:
        ShowMessageBox(QStringLiteral("Cannot start LibreOffice.\n") + reason,
                       kMbOk | kMbIconWarning);
        break;
    }
}

// ---- The macros --------------------------------------------------------------------

bool CXlsTimeSheet::HasRequiredMacros(ISpreadsheet& book)
{
    QStringList present;
    for (const QString& module : book.MacroModules())
        present << CBasicModule(book.MacroModuleCode(module)).ProcedureNames();
    QStringList missing;
    for (const QString& name : RequiredMacros())
        if (!present.contains(name, Qt::CaseInsensitive))
            missing << name;
    if (missing.isEmpty())
        return true;
    ShowMessageBox(QStringLiteral("The time-sheet template %1 lacks the macro%2 %3.\nNothing was "
                                  "saved.")
                       .arg(Quoted(TemplatePath()),
                            missing.size() > 1 ? QStringLiteral("s") : QString(),
                            missing.join(QStringLiteral(", "))),
                   kMbOk | kMbIconWarning);
    return false;
}

void CXlsTimeSheet::FillWorkbook(ISpreadsheet& book)
{
    const QString dayFormat = QStringLiteral("%a, %b %d");
    RunMacro(book, QStringLiteral("FillOutHdrWeekly"),
             {FormatDateTime(CDateTime(m_start), dayFormat),
              FormatDateTime(CDateTime(m_end), dayFormat), m_userName, QLatin1String(kFormCode),
              m_empName});

    // A day's lines are numbered from 1; a change of order leaves one line empty.
    std::optional<int> order;
    if (!m_rows.isEmpty())
        order = m_rows.first().orderId;
    for (QDate day = m_start; day <= m_end; day = day.addDays(1)) {
        int line = 1;
        QList<int> indexes;
        FindDays(day, indexes);
        for (int index : std::as_const(indexes)) {
            const CRow& row = m_rows.at(index);
            if (row.orderId != order) {
                ++line;
                order = row.orderId;
            }
            RunMacro(book, QStringLiteral("FillDaysTime"),
                     {QString::number(line), WeekdayName(day), QString(), row.hours});
            ++line;
        }
    }

    int index = 0;
    for (QDate day = m_start; day <= m_end; day = day.addDays(1), ++index) {
        const CDayValues values = m_days.value(index);
        RunMacro(book, QStringLiteral("DailyInOutVals"),
                 {WeekdayName(day), values.firstStart, values.lastStop});
    }
    RunMacro(book, QStringLiteral("RunTotals"), {QStringLiteral("2")});
    RunMacro(book, QStringLiteral("RunGrandTotal"), {QStringLiteral("2")});
}

void CXlsTimeSheet::RunMacro(ISpreadsheet& book, const QString& name, const QStringList& arguments)
{
    try {
        book.RunMacro(name, arguments);
    } catch (const COfficeError& e) {
        if (e.Lost())
            throw;
        ReportOnce(name, OfficeFailureText(e));
    }
}

void CXlsTimeSheet::PruneMacros(ISpreadsheet& book)
{
    for (const QString& module : book.MacroModules()) {
        try {
            const QString code = book.MacroModuleCode(module);
            const QString pruned = CBasicModule(code).WithoutProceduresExcept(KeptMacros());
            if (pruned != code)
                book.SetMacroModuleCode(module, pruned);
        } catch (const COfficeError& e) {
            if (e.Lost())
                throw;
            ReportOnce(module, OfficeFailureText(e));
        }
    }
}

void CXlsTimeSheet::ReportOnce(const QString& key, const QString& detail)
{
    // A macro that fails every call is told once; the run goes on.
    if (m_reported.contains(key))
        return;
    m_reported.insert(key);
    ShowMessageBox(kMacroFailed + QStringLiteral("\n") + detail, kMbOk | kMbIconWarning);
}
