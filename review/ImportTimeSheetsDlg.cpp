#include "review/ImportTimeSheetsDlg.h"

#include "app/DummyDlg.h"
#include "data/DBClass.h"
#include "data/TimeSheetImport.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "platform/UserFile.h"
#include "review/TimeSheetFile.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTemplate = 174;
constexpr int kReadStep = 1000;
const QString kNothingImported = QStringLiteral("No time sheets were imported.");

QString Hhmm(int minute)
{
    return QString::asprintf("%02d:%02d", minute / 60, minute % 60);
}

// The reason a checked row was refused, in the words the user is shown.
QString RefusalText(const CImportRefused& refused, const CImportRow& row)
{
    const int line = refused.Line;
    switch (refused.Reason) {
    case ImportRefusal::Employee:
        return QStringLiteral("Employer # %1 on line #%2 doesnt exist in Database ")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::Project:
        return QStringLiteral("Proj # %1 on line #%2doesnt exist in Database ")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::Order:
        return QStringLiteral("Order # %1on line #%2 doesnt exist in Database ")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::Task:
        return QStringLiteral("Task # %1 on line #%2doesnt exist in Database ")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::WorkType:
        return QStringLiteral("Work Type # %1 on line #%2doesnt exist in Database ")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::BadTimes:
        return QStringLiteral("The times %1 to %2 on line #%3 are not a span of one day")
            .arg(Hhmm(row.Start), Hhmm(row.Stop))
            .arg(line);
    case ImportRefusal::BadTimeId:
        return QStringLiteral("TimeID %1 on line #%2 is not a valid entry number")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::NoFreeTimeId:
        return QStringLiteral("TimeID %1 on line #%2 is taken on its day, and no higher entry "
                              "number is free")
            .arg(refused.Id)
            .arg(line);
    case ImportRefusal::Overlap:
        break;
    }
    return QStringLiteral("This timesheet record has an overlap with an existing record "
                          "(line #%1: employee %2 on %3 from %4 to %5)")
        .arg(line)
        .arg(row.EmpID)
        .arg(row.WorkDate.toString(QStringLiteral("dd/MM/yyyy")), Hhmm(row.Start), Hhmm(row.Stop));
}

// The import's progress in the progress window.
class CImportProgress : public IImportProgress {
public:
    explicit CImportProgress(CProgressDlg& progress)
        : m_progress(progress)
    {}
    bool ImportProgress(Phase phase, qint64 done, qint64 total) override
    {
        const QString text = phase == kChecking ? QStringLiteral("Checking line %1 of %2")
                                                : QStringLiteral("Writing entry %1 of %2");
        return m_progress.Step(text.arg(done).arg(total), done, total);
    }

private:
    CProgressDlg& m_progress;
};

} // namespace

CImportTimeSheetsDlg::CImportTimeSheetsDlg(CDBClass& db, CDummyDlg* hub, QWidget* parent)
    : CTimeSheetExchangeDlg(kTemplate, db, hub, kIdStatus, parent)
{
    setWindowTitle(QStringLiteral("Import Timesheets"));
    auto* grid = new QGridLayout;
    grid->addWidget(NewLabel(QStringLiteral("Import &filename : "), FileEdit()), 0, 0);
    grid->addWidget(FileEdit(), 0, 1);
    grid->addWidget(FileButton(), 0, 2);
    grid->addWidget(NewLabel(QStringLiteral("Into data&base?"), DatabaseEdit()), 1, 0);
    grid->addWidget(DatabaseEdit(), 1, 1);
    grid->addWidget(DatabaseButton(), 1, 2);
    grid->setColumnStretch(1, 1);

    auto* import = AddCommandButton(QStringLiteral("&Import"), IDOK);
    auto* close = AddCommandButton(QStringLiteral("&Close"), IDCANCEL);
    import->setDefault(true);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(import);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(StatusLabel());
    layout->addLayout(buttons);
}

QString CImportTimeSheetsDlg::ChooseFile(const QString& current)
{
    return ChooseOpenFile(QStringLiteral("Select a file..."), current,
                          QStringLiteral("Text Files (*.txt);;All Files (*)"));
}

void CImportTimeSheetsDlg::OnOK()
{
    UpdateData(true);
    m_imported = 0;
    m_refusedCount = 0;
    m_linesRead = 0;
    m_headerLines = 0;
    m_errorFile.clear();
    if (FileName().isEmpty())
        return SetStatus(QStringLiteral("No filename specified - try again"));
    const CActionFailureText failure(kNothingImported);
    if (!EnsureConnected(QStringLiteral("Unable to open table [tblTimeSheet]. Import ended")))
        return;
    Import();
}

bool CImportTimeSheetsDlg::ReadFile(const QString& fileName, QByteArray& bytes)
{
    QString why;
    switch (ReadUserFile(fileName, kMaxFileBytes, bytes, &why)) {
    case UserFileProblem::None:
        break;
    case UserFileProblem::Missing:
    case UserFileProblem::Unreadable:
        SetStatus(QStringLiteral("Unable to open file %1").arg(fileName));
        return false;
    case UserFileProblem::TooLarge:
        SetStatus(QStringLiteral("The file %1 is too large for a time-sheet file - nothing "
                                 "imported")
                      .arg(fileName));
        return false;
    case UserFileProblem::Folder:
    case UserFileProblem::NotRegular:
        SetStatus(why + QStringLiteral(" - nothing imported"));
        return false;
    }
    switch (TimeSheetFile::Inspect(bytes)) {
    case TimeSheetFile::Content::Empty:
        SetStatus(QStringLiteral("The file %1 is empty - nothing imported").arg(fileName));
        return false;
    case TimeSheetFile::Content::Binary:
        SetStatus(QStringLiteral("The file %1 is not a time-sheet file - nothing imported")
                      .arg(fileName));
        return false;
    case TimeSheetFile::Content::Text:
        break;
    }
    return true;
}

void CImportTimeSheetsDlg::Import()
{
    const QString fileName = FileName();
    QByteArray bytes;
    if (!ReadFile(fileName, bytes))
        return;
    const QList<TimeSheetFile::CFileLine> lines = TimeSheetFile::SplitLines(bytes);
    bytes.clear();
    if (lines.isEmpty())
        return SetStatus(QStringLiteral("The file %1 is empty - nothing imported").arg(fileName));

    // Line 1 names the database the rows come from.
    const QString source = lines.first().text.trimmed();
    const QString target = DatabaseName();
    if (source.compare(target, Qt::CaseInsensitive) != 0) {
        const int answer = ShowMessageBox(
            QStringLiteral("Error with Database - does not match database exported from \n%1\n\n"
                           "Import the time sheets into %2 all the same?")
                .arg(source, target),
            kMbYesNo | kMbIconWarning);
        if (answer != kIdYes)
            return SetStatus(QStringLiteral("Import ended: %1 was exported from %2, not from %3")
                                 .arg(fileName, source, target));
    }
    QList<CRefusedLine> refused;
    int renumbered = 0;
    QString failure;
    // The progress window and the busy cursor are gone before the summary.
    if (ImportLines(fileName, lines, refused, renumbered, failure))
        Finish(fileName, renumbered, refused);
    else if (!failure.isEmpty())
        // A failed import is told as well as said.
        ShowMessageBox(FailureMessage(kNothingImported, kE_CommandError, failure),
                       kMbOk | kMbIconError);
}

bool CImportTimeSheetsDlg::ImportLines(const QString& fileName,
                                       const QList<TimeSheetFile::CFileLine>& lines,
                                       QList<CRefusedLine>& refused, int& renumbered,
                                       QString& failure)
{
    CProgressDlg progress(this, windowTitle());
    const auto said = [this](const QString& status) {
        SetStatus(status);
        return false;
    };
    // Line 1 names the database; the header follows it. Every other line is
    // imported or refused with its reason.
    m_linesRead = static_cast<int>(lines.size());
    m_headerLines = 1;
    qsizetype first = 1;
    if (lines.size() > 1 && TimeSheetFile::IsHeader(lines.at(1).text)) {
        m_headerLines = 2;
        first = 2;
    }
    QList<CImportRow> rows;
    rows.reserve(lines.size());
    for (qsizetype i = first; i < lines.size(); ++i) {
        if (i % kReadStep == 0 &&
            !progress.Step(QStringLiteral("Reading line %1 of %2").arg(i).arg(lines.size()), i,
                           lines.size()))
            return said(QStringLiteral("Import cancelled - nothing imported"));
        const TimeSheetFile::CFileLine& line = lines.at(i);
        CImportRow row;
        QString reason;
        if (TimeSheetFile::ParseDataLine(line, fileName, row, reason))
            rows.append(row);
        else
            refused.append({line.number, line.text, reason});
    }
    if (rows.isEmpty() && refused.isEmpty())
        return said(QStringLiteral("No time entries in %1 - nothing imported").arg(fileName));

    CImportProgress hears(progress);
    CTimeSheetImport import(m_db);
    switch (import.Run(rows, &hears)) {
    case CTimeSheetImport::kCancelled:
        return said(QStringLiteral("Import cancelled - nothing imported"));
    case CTimeSheetImport::kFailed:
        failure = import.Reason();
        return said(QStringLiteral("Uanble to add timesheet record - nothing imported\n%1")
                        .arg(import.Reason()));
    case CTimeSheetImport::kDone:
        break;
    }
    m_imported = import.Imported();
    if (!import.Refused().isEmpty()) {
        QHash<int, const CImportRow*> byLine;
        for (const CImportRow& row : std::as_const(rows))
            byLine.insert(row.Line, &row);
        QHash<int, const QString*> textOf;
        for (const TimeSheetFile::CFileLine& line : lines)
            textOf.insert(line.number, &line.text);
        for (const CImportRefused& r : import.Refused())
            refused.append({r.Line, *textOf.value(r.Line), RefusalText(r, *byLine.value(r.Line))});
        std::sort(refused.begin(), refused.end(),
                  [](const CRefusedLine& a, const CRefusedLine& b) { return a.number < b.number; });
    }
    renumbered = import.Renumbered();
    return true;
}

bool CImportTimeSheetsDlg::WriteErrorFile(const QString& importFile,
                                          const QList<CRefusedLine>& refused, QString& why)
{
    const QString name = TimeSheetFile::ErrorFileName(importFile);
    // Never a pipe or a device that would take the lines, or wait for good.
    switch (CheckUserFile(name, kNoSizeLimit, &why)) {
    case UserFileProblem::Folder:
    case UserFileProblem::NotRegular:
        return false;
    default:
        break;
    }
    QFile file(name);
    // Made when missing; each import writes its own.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        why = file.errorString();
        return false;
    }
    QByteArray text =
        QStringLiteral("Lines of %1 refused on %2 by %3\n")
            .arg(importFile, CClock::Now().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                 DatabaseName())
            .toUtf8();
    for (const CRefusedLine& line : refused)
        text += QStringLiteral("Line %1: %2\n%3\n")
                    .arg(line.number)
                    .arg(line.reason, line.text)
                    .toUtf8();
    if (file.write(text) != text.size() || !file.flush()) {
        why = file.errorString();
        return false;
    }
    m_errorFile = name;
    return true;
}

void CImportTimeSheetsDlg::Finish(const QString& fileName, int renumbered,
                                  const QList<CRefusedLine>& refused)
{
    m_refusedCount = static_cast<int>(refused.size());
    QString status =
        QStringLiteral("Finished Import %1 Records added from %2").arg(m_imported).arg(fileName);
    // Every line read is accounted for.
    status += QStringLiteral("\n%1 lines read: %2 imported, %3 refused, %4 header lines")
                  .arg(m_linesRead)
                  .arg(m_imported)
                  .arg(m_refusedCount)
                  .arg(m_headerLines);
    if (renumbered > 0)
        status +=
            QStringLiteral("\n%1 entries took the next free TimeID of their day").arg(renumbered);
    if (!refused.isEmpty()) {
        QString why;
        if (WriteErrorFile(fileName, refused, why)) {
            status += QStringLiteral("\n%1 lines refused, written to %2")
                          .arg(m_refusedCount)
                          .arg(m_errorFile);
            SetStatus(status);
            if (m_refusedCount == 1)
                ShowMessageBox(QStringLiteral("Error with line %1 in File %2, errored line written "
                                              "to %3\n%4")
                                   .arg(refused.first().number)
                                   .arg(fileName, m_errorFile, refused.first().reason),
                               kMbOk | kMbIconWarning);
            else
                ShowMessageBox(QStringLiteral("%1 lines in File %2 were refused, errored lines "
                                              "written to %3\nThe first: %4")
                                   .arg(m_refusedCount)
                                   .arg(fileName, m_errorFile, refused.first().reason),
                               kMbOk | kMbIconWarning);
        } else {
            // The lines are still in the import file; nothing claims otherwise.
            const QString name = TimeSheetFile::ErrorFileName(fileName);
            status += QStringLiteral("\n%1 lines refused; Unable to open file %2")
                          .arg(m_refusedCount)
                          .arg(name);
            SetStatus(status);
            ShowMessageBox(QStringLiteral("%1 lines in File %2 were refused, and the error file "
                                          "%3 could not be written: %4\nThe first refused line "
                                          "is line %5: %6")
                               .arg(QString::number(m_refusedCount), fileName, name, why,
                                    QString::number(refused.first().number),
                                    refused.first().reason),
                           kMbOk | kMbIconError);
        }
    } else {
        SetStatus(status);
    }
    // The time sheet shows what is stored now.
    if (m_hub && m_imported > 0)
        m_hub->RefreshTimesheet(m_db.DisplayedDay());
}
