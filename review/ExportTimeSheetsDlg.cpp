#include "review/ExportTimeSheetsDlg.h"

#include "app/PickListDlg.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/RowCursor.h"
#include "data/SqlDialect.h"
#include "data/SqlExecutor.h"
#include "data/records/TimeSheetSet.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "review/TimeSheetFile.h"
#include "ui/ComboItems.h"
#include "ui/PlainLabel.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

constexpr int kTemplate = 173;
// How often the status line follows the rows (it is read, not watched).
constexpr int kStatusEveryMs = 200;

QDateEdit* DatePicker(int id, QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    CDialogBase::SetControlId(picker, id);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return picker;
}

QString Hhmm(const CDateTime& time)
{
    return QString::asprintf("%02d:%02d", time.Time().hour(), time.Time().minute());
}

QString Day(const CDateTime& date)
{
    const QDate d = date.Date();
    return QString::asprintf("%02d/%02d/%04d", d.day(), d.month(), d.year());
}

// The names the status line shows, read before the rows stream: a statement
// run while the export's cursor is open would have the cursor read every row
// left into memory first (on PostgreSQL).
class CStatusNames {
public:
    void Load(CDBConnection& connection)
    {
        Read(connection, "SELECT EmpID, EmpFullName FROM tblFinEmployee", m_employees);
        Read(connection, "SELECT ProjID, ProjName FROM tblProject", m_projects);
        Read(connection, "SELECT TaskID, Task FROM qselProjectTask ORDER BY TaskID", m_tasks);
    }
    // "" for an id the database does not have.
    QString Employee(int id) const { return m_employees.value(id); }
    QString Project(int id) const { return m_projects.value(id); }
    QString Task(int id) const { return m_tasks.value(id); }

private:
    static void Read(CDBConnection& connection, const char* sql, QHash<int, QString>& names)
    {
        const auto rows =
            CSqlExecutor::OpenCursor(connection, QString::fromLatin1(sql), {}, nullptr);
        // The first row of an id, as the lookups take it.
        while (rows && rows->Next())
            if (!names.contains(rows->IntAt(0)))
                names.insert(rows->IntAt(0), rows->TextAt(1));
    }

    QHash<int, QString> m_employees;
    QHash<int, QString> m_projects;
    QHash<int, QString> m_tasks;
};

} // namespace

const QString CExportTimeSheetsDlg::kAll = QStringLiteral("All");

CExportTimeSheetsDlg::CExportTimeSheetsDlg(CDBClass& db, CDummyDlg* hub, QWidget* parent)
    : CTimeSheetExchangeDlg(kTemplate, db, hub, kIdStatus, parent)
{
    setWindowTitle(QStringLiteral("Export TimeSheets"));
    m_whoFor = new QComboBox(this);
    SetControlId(m_whoFor, kIdWhoFor);
    m_project = new CPlainLabel(QStringLiteral("Project"), this);
    SetControlId(m_project, kIdProject);
    m_project->setFrameShape(QFrame::StyledPanel);
    m_project->setFrameShadow(QFrame::Sunken);
    auto* chooseProject = AddCommandButton(QStringLiteral("..."), kIdChooseProject);
    chooseProject->setAutoDefault(false);
    chooseProject->setFixedWidth(32);
    m_beginEdit = DatePicker(kIdBegin, this);
    m_endEdit = DatePicker(kIdEnd, this);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(NewLabel(QStringLiteral("&File name :"), FileEdit()), row, 0);
    grid->addWidget(FileEdit(), row, 1);
    grid->addWidget(FileButton(), row++, 2);
    grid->addWidget(NewLabel(QStringLiteral("&Database :"), DatabaseEdit()), row, 0);
    grid->addWidget(DatabaseEdit(), row, 1);
    grid->addWidget(DatabaseButton(), row++, 2);
    grid->addWidget(NewLabel(QStringLiteral("&Who For?"), m_whoFor), row, 0);
    grid->addWidget(m_whoFor, row++, 1);
    grid->addWidget(NewLabel(QStringLiteral("&Project :"), chooseProject), row, 0);
    grid->addWidget(m_project, row, 1);
    grid->addWidget(chooseProject, row++, 2);
    auto* dates = new QHBoxLayout;
    dates->addWidget(NewLabel(QStringLiteral("&Begin "), m_beginEdit));
    dates->addWidget(m_beginEdit);
    dates->addSpacing(16);
    dates->addWidget(NewLabel(QStringLiteral("&End "), m_endEdit));
    dates->addWidget(m_endEdit);
    dates->addStretch(1);
    grid->addLayout(dates, row++, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* exportButton = AddCommandButton(QStringLiteral("E&XPORT"), IDOK);
    auto* close = AddCommandButton(QStringLiteral("&Close"), IDCANCEL);
    exportButton->setAutoDefault(false);
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(StatusLabel());
    layout->addLayout(buttons);
}

bool CExportTimeSheetsDlg::OnInitDialog()
{
    CTimeSheetExchangeDlg::OnInitDialog();
    m_projectName = kAll;
    m_begin = m_end = CClock::Today();
    // The employees of the default user's department, the default user chosen.
    CComboItems combo(m_whoFor);
    m_db.FillEmployeeCombo(combo, CProfile::DefUserName(), -1, kAll);
    UpdateData(false);
    return true;
}

void CExportTimeSheetsDlg::SetPeriod(const QDate& begin, const QDate& end)
{
    m_begin = begin;
    m_end = end;
    m_beginEdit->setDate(begin);
    m_endEdit->setDate(end);
}

void CExportTimeSheetsDlg::DoDataExchange(bool saveAndValidate)
{
    CTimeSheetExchangeDlg::DoDataExchange(saveAndValidate);
    if (saveAndValidate) {
        m_begin = m_beginEdit->date();
        m_end = m_endEdit->date();
        return;
    }
    m_project->setText(m_projectName);
    m_beginEdit->setDate(m_begin);
    m_endEdit->setDate(m_end);
}

bool CExportTimeSheetsDlg::OnCommand(int id)
{
    if (id == kIdChooseProject) {
        OnChooseProject();
        return true;
    }
    return CTimeSheetExchangeDlg::OnCommand(id);
}

QString CExportTimeSheetsDlg::ChooseFile(const QString& current)
{
    return ChooseSaveFile(QStringLiteral("Select a file..."), current,
                          QStringLiteral("Text Files (*.txt);;All Files (*)"));
}

void CExportTimeSheetsDlg::OnChooseProject()
{
    UpdateData(true);
    // The chosen employee's projects; with "All", every project.
    const QString who = m_whoFor->currentText();
    CPickListContext context;
    const bool everybody = who.isEmpty() || who == kAll;
    CPickListDlg pick(CPickListDlg::kProject, this, everybody ? nullptr : &context, !everybody,
                      true, &m_db);
    pick.SetAllEntry(true);
    pick.SetUserName(who);
    pick.SetPreselect(m_projectName);
    if (pick.DoModal() != IDOK || pick.PickedText().isEmpty())
        return;
    m_projectName = pick.PickedText();
    m_project->setText(m_projectName);
}

void CExportTimeSheetsDlg::OnOK()
{
    UpdateData(true);
    m_written = 0;
    if (FileName().isEmpty())
        return SetStatus(QStringLiteral("No filename specified - try again"));
    if (m_whoFor->currentIndex() < 0)
        return SetStatus(QStringLiteral("No person name specified - try again"));
    if (DatabaseName().isEmpty())
        return SetStatus(QStringLiteral("No DB name specified - try again"));
    if (m_projectName.isEmpty())
        return SetStatus(QStringLiteral("No Project specified - try again"));
    if (m_begin > m_end)
        return SetStatus(QStringLiteral("The begin date %1 is after the end date %2 - try again")
                             .arg(m_begin.toString(QStringLiteral("dd/MM/yyyy")),
                                  m_end.toString(QStringLiteral("dd/MM/yyyy"))));
    if (!EnsureConnected(QStringLiteral("Unable to open table [tblTimeSheet]. Export ended")))
        return;
    Export();
}

bool CExportTimeSheetsDlg::BuildFilter(QString& filter, QVariantList& values)
{
    QStringList parts;
    if (m_projectName != kAll) {
        SetStatus(QStringLiteral("Finding Project ID for %1").arg(m_projectName));
        const int projId = m_db.GetProjIdByName(m_projectName);
        if (projId < 0) {
            // Exporting every project in its place would be a different file.
            SetStatus(QStringLiteral("Project %1 was not found in the database. Export ended")
                          .arg(m_projectName));
            return false;
        }
        parts << QStringLiteral("[ProjID] = ?");
        values << projId;
    }
    const QString who = m_whoFor->currentText();
    if (who != kAll) {
        SetStatus(QStringLiteral("Finding Employer ID for %1").arg(who));
        parts << QStringLiteral("[EmpID] = ?");
        values << static_cast<int>(m_whoFor->currentData().toLongLong());
    }
    // Whole days: a row belongs to its day whatever time of day its
    // WorkDate carries.
    parts << QStringLiteral("[WorkDate] >= ? AND [WorkDate] < ?");
    values << QVariant::fromValue(CDateTime(m_begin)) << CSqlDialect::DayEnd(m_end);
    filter = parts.join(QStringLiteral(" AND "));
    return true;
}

void CExportTimeSheetsDlg::Export()
{
    QString filter;
    QVariantList values;
    if (!BuildFilter(filter, values))
        return;
    // Counted first for the progress bar; the rows then stream to the file,
    // so an export of any size holds one row at a time.
    CQueryResult counted;
    CDbError countError;
    const qint64 total =
        CSqlExecutor::Run(*m_db.Connection(),
                          QStringLiteral("SELECT COUNT(*) FROM tblTimeSheet WHERE ") + filter,
                          values, &counted, &countError) &&
                counted.rows == 1
            ? counted.Value(0, 0).toLongLong()
            : 0;
    CStatusNames names;
    names.Load(*m_db.Connection());
    CTimeSheetSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    set.Recordset()->SetFilter(filter, values);
    set.Recordset()->SetSort(QStringLiteral("[EmpID], [WorkDate], [TimeID]"));
    if (!m_db.OpenRecordSet(&set)) {
        const QString why = set.Recordset()->ErrorText();
        SetStatus(QStringLiteral("Unable to open table [tblTimeSheet]. Export ended") +
                  (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
        return;
    }
    SetStatus(QStringLiteral("Opening table [tblTimeSheet]. Export Begining"));
    const QString fileName = FileName();
    // Written beside and put in place at the end: a failed or cancelled
    // export leaves no half file, and a missing file is created.
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        m_db.CloseRecordSet(&set);
        SetStatus(QStringLiteral("Unable to open file %1").arg(fileName));
        return;
    }
    file.write(DatabaseName().toUtf8() + '\n');
    file.write(TimeSheetFile::kHeader.toUtf8() + '\n');
    CProgressDlg progress(this, windowTitle());
    QElapsedTimer sinceStatus;
    sinceStatus.start();
    int count = 0;
    bool cancelled = false;
    for (; !set.Recordset()->IsEOF(); set.MoveNext()) {
        if (sinceStatus.elapsed() >= kStatusEveryMs) {
            sinceStatus.restart();
            SetStatus(
                QStringLiteral("Exporting time entry: %1 .%2, %3 begin : %4, end %5 (%6 hours) on "
                               "day %7 \nWriting Record %8 to %9")
                    .arg(names.Employee(set.m_EmpID), names.Project(set.m_ProjID),
                         names.Task(set.m_TaskID), Hhmm(set.m_StartTime), Hhmm(set.m_StopTime),
                         QString::asprintf("%f", set.m_HoursWorked), Day(set.m_WorkDate),
                         QString::number(count), fileName));
        }
        if (progress.IsDue() &&
            !progress.Step(QStringLiteral("Writing record %1 of %2").arg(count).arg(total), count,
                           total)) {
            cancelled = true;
            break;
        }
        QByteArray line = TimeSheetFile::DataLine(set);
        line += '\n';
        file.write(line);
        ++count;
    }
    m_db.CloseRecordSet(&set);
    if (cancelled) {
        file.cancelWriting();
        file.commit();
        SetStatus(QStringLiteral("Export cancelled - %1 was not written").arg(fileName));
        return;
    }
    if (!file.commit()) {
        SetStatus(QStringLiteral("Unable to write file %1\n%2").arg(fileName, file.errorString()));
        return;
    }
    m_written = count;
    SetStatus(QStringLiteral("Finished Export %1 Records written to %2")
                  .arg(QString::number(count), fileName));
}
