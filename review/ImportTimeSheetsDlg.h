#pragma once

#include "review/TimeSheetExchangeDlg.h"

#include <QList>

namespace TimeSheetFile {
struct CFileLine;
}

// "Import Timesheets": reads a time-sheet file into the database, checking
// every line; refused lines go to the error file beside it with the reason.
// The whole file is one transaction: every accepted line or none.
class CImportTimeSheetsDlg : public CTimeSheetExchangeDlg {
    Q_OBJECT
public:
    enum : int { kIdStatus = 1129 };
    // Larger files are not time-sheet files (a year of a large company is
    // a few hundred megabytes less).
    static constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

    CImportTimeSheetsDlg(CDBClass& db, CDummyDlg* hub, QWidget* parent = nullptr);

    // The counts of the last import, and its error file ("" when none was written).
    int Imported() const { return m_imported; }
    int Refused() const { return m_refusedCount; }
    // Lines read (blank lines are none), of which the database line and
    // the header: imported + refused + header lines = lines read.
    int LinesRead() const { return m_linesRead; }
    int HeaderLines() const { return m_headerLines; }
    const QString& ErrorFile() const { return m_errorFile; }

protected:
    void OnOK() override;
    QString ChooseFile(const QString& current) override;

private:
    // A refused line: its number, its text as read and why.
    struct CRefusedLine {
        int number = 0;
        QString text;
        QString reason;
    };
    void Import();
    // Reads the data lines and imports them under the progress window; false
    // (the status said why) when nothing was imported, with `failure` the
    // database's reason when the import failed.
    bool ImportLines(const QString& fileName, const QList<TimeSheetFile::CFileLine>& lines,
                     QList<CRefusedLine>& refused, int& renumbered, QString& failure);
    bool ReadFile(const QString& fileName, QByteArray& bytes);
    bool WriteErrorFile(const QString& importFile, const QList<CRefusedLine>& refused,
                        QString& why);
    void Finish(const QString& fileName, int renumbered, const QList<CRefusedLine>& refused);

    int m_imported = 0;
    int m_refusedCount = 0;
    int m_linesRead = 0;
    int m_headerLines = 0;
    QString m_errorFile;
};
