#include "timesheet/ClashViewDlg.h"

#include "data/DBClass.h"
#include "data/records/TimeSheetClashSet.h"
#include "platform/Trace.h"
#include "ui/MyListCtrl.h"

#include <QLocale>
#include <QVBoxLayout>

CClashViewDlg::CClashViewDlg(CDBClass& db, QWidget* parent, int clashCount, int empId,
                             const QString& empName, const QString& projName,
                             const QString& taskName)
    : CDialogBase(220, parent)
    , m_db(db)
    , m_clashCount(clashCount)
    , m_empId(empId)
    , m_empName(empName)
    , m_projName(projName)
    , m_taskName(taskName)
{
    setWindowTitle(QStringLiteral("View Clashes"));
    setSizeGripEnabled(true);
    resize(600, 240);
    m_list = new CMyListCtrl;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_list);
}

QString CClashViewDlg::FormatWorkDate(const QDate& day)
{
    return QString::asprintf("%i\\%i\\%i", day.day(), day.month(), day.year());
}

QString CClashViewDlg::FormatClashTime(const CDateTime& time)
{
    // As every other time of the program shows a stored one (the day's end as 24:00).
    const int minutes = StoredMinutes(time);
    return QString::asprintf("%2.2i:%2.2i", minutes / 60, minutes % 60);
}

bool CClashViewDlg::OnInitDialog()
{
    CTimeSheetClashSet set(m_db.Connection());
    const QStringList& headers = set.m_headers;
    QList<int> widths;
    for (const QString& header : headers)
        widths << (header == QLatin1String("Task") ? 150 : 75);
    m_list->CreateListSimple(rect(), this, headers, {}, widths);
    SetControlId(m_list, kIdList);

    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    // This session's copies, by day and time, so the list reads like a calendar.
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[EmpID] = ? AND [BatchID] = ?"),
                                QStringLiteral("[WorkDate], [StartTime]"),
                                {m_empId, m_db.ScheduleBatch()})) {
        qCWarning(lcUi, "CClashViewDlg: %s", qPrintable(set.Recordset()->ErrorText()));
        return true;
    }
    const QLocale locale;
    for (; !set.Recordset()->IsEOF(); set.MoveNext()) {
        const QDate day = set.m_WorkDate.Date();
        m_list->InsertRow({m_empName, m_projName, FormatWorkDate(day),
                           locale.dayName(day.dayOfWeek(), QLocale::LongFormat),
                           FormatClashTime(set.m_StartTime), FormatClashTime(set.m_StopTime),
                           m_taskName});
    }
    set.Close();
    // Fonts here are wider than the widths were made for: a column never
    // cuts its texts short.
    for (int c = 0; c < widths.size(); ++c) {
        m_list->resizeColumnToContents(c);
        m_list->setColumnWidth(c, qMax(widths.at(c), m_list->columnWidth(c)));
    }
    return true;
}
