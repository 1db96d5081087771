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
#include "review/TimeSheetLineReader.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTemplate = 174;
constexpr int kReadStep = 1000;
// The error file is written in pieces of about this many bytes.
constexpr qsizetype kErrorFileChunk = 1 << 20;
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
    // The file is read line by line as it is checked: only its bytes and
    // the entries are held, never every line.
    const qsizetype lineCount = CTimeSheetLineReader::CountLines(bytes);
    TimeSheetFile::CFileLine first;
    if (lineCount == 0 || !CTimeSheetLineReader(bytes).Next(first))
        return SetStatus(QStringLiteral("The file %1 is empty - nothing imported").arg(fileName));

    // Line 1 names the database the rows come from.
    const QString source = first.text.trimmed();
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
    CReadLines read;
    CTimeSheetImport import(m_db);
    QString failure;
    // The progress window and the busy cursor are gone before the summary.
    if (ImportLines(fileName, bytes, lineCount, read, import, failure))
        Finish(fileName, bytes, read, import);
    else if (!failure.isEmpty())
        // A failed import is told as well as said.
        ShowMessageBox(FailureMessage(kNothingImported, kE_CommandError, failure),
                       kMbOk | kMbIconError);
}

bool CImportTimeSheetsDlg::ImportLines(const QString& fileName, const QByteArray& bytes,
                                       qsizetype lineCount, CReadLines& read,
                                       CTimeSheetImport& import, QString& failure)
{
    CProgressDlg progress(this, windowTitle());
    const auto said = [this](const QString& status) {
        SetStatus(status);
        return false;
    };
    // Line 1 names the database; the header follows it. Every other line is
    // imported or refused with its reason.
    m_linesRead = static_cast<int>(lineCount);
    m_headerLines = 1;
    CTimeSheetLineReader reader(bytes);
    TimeSheetFile::CFileLine line;
    reader.Next(line);
    qsizetype i = 1;
    bool more = reader.Next(line);
    if (more && TimeSheetFile::IsHeader(line.text)) {
        m_headerLines = 2;
        more = reader.Next(line);
        ++i;
    }
    for (; more; more = reader.Next(line), ++i) {
        if (i % kReadStep == 0 &&
            !progress.Step(QStringLiteral("Reading line %1 of %2").arg(i).arg(lineCount), i,
                           lineCount))
            return said(QStringLiteral("Import cancelled - nothing imported"));
        CImportRow row;
        QString reason;
        if (TimeSheetFile::ParseDataLine(line, fileName, row, reason)) {
            read.rows.append(row);
        } else if (read.unreadable++ == 0) {
            read.firstNumber = line.number;
            read.firstReason = reason;
        }
    }
    if (read.rows.isEmpty() && read.unreadable == 0)
        return said(QStringLiteral("No time entries in %1 - nothing imported").arg(fileName));

    CImportProgress hears(progress);
    switch (import.Run(read.rows, &hears)) {
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
    return true;
}

bool CImportTimeSheetsDlg::WriteErrorFile(const QString& importFile, const QByteArray& bytes,
                                          const CReadLines& read, const CTimeSheetImport& import,
                                          QString& why)
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
    const auto flush = [&] {
        const bool written = file.write(text) == text.size();
        text.clear();
        return written;
    };
    // The file's lines again, in their order: an entry the database refused
    // is found among the entries, any other line that is not an entry
    // reads as it did with its reason.
    CTimeSheetLineReader reader(bytes);
    TimeSheetFile::CFileLine line;
    for (int skipped = 0; skipped < m_headerLines && reader.Next(line); ++skipped) {
    }
    const QList<CImportRefused>& byDatabase = import.Refused();
    auto entry = read.rows.cbegin();
    auto refusal = byDatabase.cbegin();
    bool written = true;
    while (written && reader.Next(line)) {
        while (entry != read.rows.cend() && entry->Line < line.number)
            ++entry;
        QString reason;
        if (entry != read.rows.cend() && entry->Line == line.number) {
            while (refusal != byDatabase.cend() && refusal->Line < line.number)
                ++refusal;
            if (refusal == byDatabase.cend() || refusal->Line != line.number)
                continue; // imported
            reason = RefusalText(*refusal, *entry);
        } else {
            CImportRow unused;
            if (TimeSheetFile::ParseDataLine(line, importFile, unused, reason))
                continue;
        }
        text +=
            QStringLiteral("Line %1: %2\n%3\n").arg(line.number).arg(reason, line.text).toUtf8();
        if (text.size() >= kErrorFileChunk)
            written = flush();
    }
    if (!written || !flush() || !file.flush()) {
        why = file.errorString();
        return false;
    }
    m_errorFile = name;
    return true;
}

void CImportTimeSheetsDlg::Finish(const QString& fileName, const QByteArray& bytes,
                                  const CReadLines& read, const CTimeSheetImport& import)
{
    const QList<CImportRefused>& byDatabase = import.Refused();
    m_refusedCount = read.unreadable + static_cast<int>(byDatabase.size());
    const int renumbered = import.Renumbered();
    // The first refused line, for the closing message.
    int firstNumber = read.firstNumber;
    QString firstReason = read.firstReason;
    if (!byDatabase.isEmpty() && (read.unreadable == 0 || byDatabase.first().Line < firstNumber)) {
        const CImportRefused& r = byDatabase.first();
        const auto row =
            std::lower_bound(read.rows.cbegin(), read.rows.cend(), r.Line,
                             [](const CImportRow& entry, int line) { return entry.Line < line; });
        firstNumber = r.Line;
        firstReason = RefusalText(r, *row);
    }
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
    if (m_refusedCount > 0) {
        QString why;
        if (WriteErrorFile(fileName, bytes, read, import, why)) {
            status += QStringLiteral("\n%1 lines refused, written to %2")
                          .arg(m_refusedCount)
                          .arg(m_errorFile);
            SetStatus(status);
            if (m_refusedCount == 1)
                ShowMessageBox(QStringLiteral("Error with line %1 in File %2, errored line written "
                                              "to %3\n%4")
                                   .arg(firstNumber)
                                   .arg(fileName, m_errorFile, firstReason),
                               kMbOk | kMbIconWarning);
            else
                ShowMessageBox(QStringLiteral("%1 lines in File %2 were refused, errored lines "
                                              "written to %3\nThe first: %4")
                                   .arg(m_refusedCount)
                                   .arg(fileName, m_errorFile, firstReason),
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
                                    QString::number(firstNumber), firstReason),
                           kMbOk | kMbIconError);
        }
    } else {
        SetStatus(status);
    }
    // The time sheet shows what is stored now.
    if (m_hub && m_imported > 0)
        m_hub->RefreshTimesheet(m_db.DisplayedDay());
}
