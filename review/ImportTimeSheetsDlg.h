#pragma once

#include "review/TimeSheetExchangeDlg.h"

#include "data/TimeSheetImport.h"

#include <QList>

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
    // What the checks of the file made of its data lines. Lines that do not
    // read as entries are counted, not kept: the error file reads them
    // again from the file, so memory follows the entries alone.
    struct CReadLines {
        QList<CImportRow> rows; // in line order
        int unreadable = 0;
        // The first line that did not read, and why.
        int firstNumber = 0;
        QString firstReason;
    };
    void Import();
    // Reads the data lines and imports them under the progress window; false
    // (the status said why) when nothing was imported, with `failure` the
    // database's reason when the import failed.
    bool ImportLines(const QString& fileName, const QByteArray& bytes, qsizetype lineCount,
                     CReadLines& read, CTimeSheetImport& import, QString& failure);
    bool ReadFile(const QString& fileName, QByteArray& bytes);
    // Writes the refused lines in line order, each after its reason, read
    // again from the file's bytes.
    bool WriteErrorFile(const QString& importFile, const QByteArray& bytes, const CReadLines& read,
                        const CTimeSheetImport& import, QString& why);
    void Finish(const QString& fileName, const QByteArray& bytes, const CReadLines& read,
                const CTimeSheetImport& import);

    int m_imported = 0;
    int m_refusedCount = 0;
    int m_linesRead = 0;
    int m_headerLines = 0;
    QString m_errorFile;
};
