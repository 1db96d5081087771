#pragma once

#include "data/ConnectionString.h"
#include "review/ImportTimeSheetsDlg.h"
#include "review/TimeSheetFile.h"
#include "tests/review/ExchangeFixture.h"
#include "ui/ResourceIds.h"

#include <QDir>
#include <QFileInfo>

namespace Exchange {

// A data line as the export writes it; times as minutes, 1440 the end of the day.
inline QString DataLine(int emp, int proj, int order, int task, const QString& workType,
                        const QString& comment, int timeId, const QDate& day, int start, int stop,
                        const QString& objectType = QString(), const QString& objectId = QString())
{
    const auto at = [&day](int minute) {
        const int m = qMin(minute, 1439);
        return day.toString(QStringLiteral("dd/MM/yyyy")) +
               QString::asprintf(" %02d:%02d:00", m / 60, m % 60);
    };
    return QStringLiteral("%1,%2,%3,1.000000,%4,%5,100.000000,%6,%7,%8,%9,")
               .arg(emp)
               .arg(proj)
               .arg(order)
               .arg(task)
               .arg(comment, workType)
               .arg(timeId)
               .arg(at(start), at(stop)) +
           day.toString(QStringLiteral("dd/MM/yyyy")) +
           QStringLiteral(",%1,%2,").arg(objectType, objectId);
}

} // namespace Exchange

// Imports files through the import dialog, as the user does.
class ImportTimeSheetsTest : public ExchangeTest {
protected:
    using Step = std::function<void(CImportTimeSheetsDlg&)>;

    // Imports the file with the dialog; the status line afterwards.
    QString Import(const QString& file, const Step& before = {}, CDummyDlg* hub = nullptr)
    {
        QString status;
        CImportTimeSheetsDlg dlg(m_db, hub);
        Exchange::RunModal<CImportTimeSheetsDlg>(dlg, [&](CImportTimeSheetsDlg& d) {
            d.SetFileName(file);
            if (before)
                before(d);
            d.OnCommand(IDOK);
            Exchange::Picture(d, QStringLiteral("import-%1.png").arg(QFileInfo(file).baseName()));
            status = d.StatusText();
            m_imported = d.Imported();
            m_refused = d.Refused();
            m_errorFile = d.ErrorFile();
            m_linesRead = d.LinesRead();
            m_headerLines = d.HeaderLines();
        });
        return status;
    }
    // A file of this database with the header and the lines.
    QString MakeFile(const QString& name, const QStringList& lines,
                     const QString& database = QString())
    {
        const QString file = File(name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        const QString first =
            database.isNull() ? CConnectionString(m_connectionString).DatabaseName() : database;
        EXPECT_TRUE(Exchange::WriteAll(
            file,
            (QStringList{first, TimeSheetFile::kHeader} + lines).join(QLatin1Char('\n')).toUtf8() +
                '\n'));
        return file;
    }
    // Many entries of Ann's, one a day.
    QStringList ManyLines(int count)
    {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << Exchange::DataLine(Exchange::kAnn, Exchange::kApollo, Exchange::kApolloOrder,
                                        Exchange::kBuild, "2", "bulk", 1,
                                        QDate(2027, 1, 1).addDays(i), 540, 600);
        return lines;
    }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }

    int m_imported = -1;
    int m_refused = -1;
    int m_linesRead = -1;
    int m_headerLines = -1;
    QString m_errorFile;
};
