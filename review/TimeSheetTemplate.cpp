#include "review/TimeSheetTemplate.h"

#include "office/OfficeDocuments.h"
#include "office/OfficeError.h"
#include "office/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

namespace {

// The sheet the macros fill: the header in rows 2 to 4, a column a day.
void LayOut(ISpreadsheet& sheet)
{
    sheet.SetValue(QStringLiteral("A1"), QStringLiteral("Weekly Time Sheet"));
    sheet.SetFontSize(QStringLiteral("A1"), 14);
    sheet.SetValues(
        QStringLiteral("A2"),
        {{QStringLiteral("Week:"), QVariant(), QVariant(), QStringLiteral("to")},
         {QStringLiteral("User:"), QVariant(), QVariant(), QVariant(), QStringLiteral("Form:")},
         {QStringLiteral("Employee:")}});
    sheet.SetValues(
        QStringLiteral("A6"),
        {{QString(), QStringLiteral("Mon"), QStringLiteral("Tues"), QStringLiteral("Wed"),
          QStringLiteral("Thurs"), QStringLiteral("Fri"), QStringLiteral("Week")},
         {QStringLiteral("In")},
         {QStringLiteral("Out")},
         {QStringLiteral("Total")},
         {QStringLiteral("Hours")}});
    for (const char* range : {"A1", "A2:A4", "E3", "A6:G6", "A9:G9", "A10"})
        sheet.SetBold(QLatin1String(range), true);
    sheet.SetInteriorColorIndex(QStringLiteral("A6:G6"), 15);
    // The week fits the width of one printed page.
    sheet.SetColumnWidth(QStringLiteral("A1"), 11);
    sheet.SetColumnWidth(QStringLiteral("B1:G1"), 9);
}

} // namespace

QString CTimeSheetTemplate::MacroSource()
{
    QFile source(QStringLiteral(":/xlsts/TimeSheetMacros.bas"));
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(source.readAll());
}

QString CTimeSheetTemplate::DefaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder;
}

QString CTimeSheetTemplate::DefaultPath()
{
    return QDir(DefaultFolder()).filePath(QLatin1String(kFileName));
}

void CTimeSheetTemplate::Build(IOfficeDocuments& documents, const QString& path)
{
    const QString source = MacroSource();
    if (source.isEmpty())
        throw COfficeError("The time-sheet macros are missing from the program");
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        throw COfficeError(QStringLiteral("The folder %1 cannot be made")
                               .arg(target.absolutePath())
                               .toStdString());
    // Made beside the target and moved there whole, so that a failed build
    // never leaves a template that looks finished.
    const QString part =
        target.absoluteDir().filePath(QStringLiteral(".building-") + target.fileName());
    QFile::remove(part);
    try {
        std::unique_ptr<ISpreadsheet> sheet = documents.NewSpreadsheet();
        LayOut(*sheet);
        sheet->SetMacroModuleCode(QLatin1String(kModuleName), source);
        sheet->SaveAs(part);
        sheet->Close();
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw COfficeError(QStringLiteral("%1 cannot be written").arg(path).toStdString());
    }
}
