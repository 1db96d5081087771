#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class CDBClass;
class CMyAdoRecordSet;
class COfficeError;
class IOfficeDocuments;
class ISpreadsheet;

// The signed-on user's time sheet of last week (Monday to Friday) as a
// workbook: the week's rows and day totals from the database are handed,
// one macro call at a time, to the macros of the registered template; every
// other procedure is removed and the workbook is saved under a dated name
// in the registered folder. One object a run.
class CXlsTimeSheet {
public:
    // The macros every template must have, in the order they are called.
    static const QStringList& RequiredMacros();
    // The macros the saved workbook keeps.
    static const QStringList& KeptMacros();
    // The form's code handed to FillOutHdrWeekly.
    static constexpr const char* kFormCode = "KTS";
    // A larger file is no time-sheet workbook.
    static constexpr qint64 kMaxTemplateBytes = 64LL * 1024 * 1024;

    // A working day: its first start and last stop ("HH:MM", " " without
    // rows) and its hours.
    struct CDayValues {
        QString firstStart;
        QString lastStop;
        QString hours;
    };
    struct CRow {
        int projId = 0;
        int orderId = 0;
        int invId = 0;
        int taskId = 0;
        QString start;
        QString stop;
        QString hours;
        QDate workDate;
    };

    // The registered folder and template file ("UE"/"xlsDir" and
    // "UE"/"xlsTemp"); an empty folder is the default one, an empty file
    // the program's own template.
    CXlsTimeSheet(CDBClass& db, const QString& folder, const QString& templateFile);

    // Reads the week and makes the workbook; false when none was saved
    // (the user was told why).
    bool Run();

    // The day a run takes as today (default: the current date).
    void SetToday(const QDate& today) { m_today = today; }
    // The office the run uses (default: the program's).
    void SetOfficeDocuments(IOfficeDocuments* documents) { m_documents = documents; }

    // ---- The week ---------------------------------------------------------------------
    // The Monday before the day (a week earlier on a Monday) and the Friday after it.
    static QDate WeekStart(const QDate& today);
    static QDate WeekEnd(const QDate& start);
    // The day's name for the macros: 1 = "Sun", 2 = "Mon", "Tues", "Wed",
    // "Thurs", "Fri", 7 = "Sat"; empty for other numbers.
    static QString WeekdayName(int dayOfWeek);
    static QString WeekdayName(const QDate& day);
    // The indexes of the stored rows of the day, in store order; false for none.
    bool FindDays(const QDate& day, QList<int>& indexes) const;

    QString TemplatePath() const;
    // The saved workbook: ts_ with today as "05March04" (English month
    // names) and ".xls", in the folder.
    QString WorkbookPath() const;

    // What the last run read.
    QDate StartDate() const { return m_start; }
    QDate EndDate() const { return m_end; }
    const QList<CDayValues>& DayValues() const { return m_days; }
    const QList<CRow>& Rows() const { return m_rows; }

private:
    QString Folder() const;
    QDate Today() const;
    bool ReadWeek();
    // Runs a statement of the week's SQL for each day; false when one fails.
    bool QueryEachDay(const QString& sql,
                      const std::function<void(const QDate&, CMyAdoRecordSet&)>& read);
    bool GetDayTotals();
    bool GetDayRows();
    bool IsOwnTemplate() const;
    // False when a registered template is missing (the user was told).
    bool TemplateFound();
    // The program's own template, made when it is missing.
    bool EnsureTemplate(IOfficeDocuments& documents);
    bool ConfirmReplace(const QString& path);
    // Fills the template and saves it as the target; false when the user was told why not.
    bool MakeWorkbook(IOfficeDocuments& documents, const QString& target);
    void OpenTemplateFailed(const COfficeError& error);
    // False when the template lacks a macro (the user was told).
    bool HasRequiredMacros(ISpreadsheet& book);
    void FillWorkbook(ISpreadsheet& book);
    // Runs a macro; a refusal is told once a macro and the run goes on.
    void RunMacro(ISpreadsheet& book, const QString& name, const QStringList& arguments);
    void PruneMacros(ISpreadsheet& book);
    void ReportOnce(const QString& key, const QString& detail);

    CDBClass& m_db;
    QString m_folder;
    QString m_templateFile;
    QDate m_today;
    IOfficeDocuments* m_documents = nullptr;

    QString m_userName;
    int m_empId = -1;
    QString m_empName;
    QDate m_start;
    QDate m_end;
    QList<CDayValues> m_days;
    QList<CRow> m_rows;
    QSet<QString> m_reported;
};
