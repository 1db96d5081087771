#pragma once

#include "review/TimeSheetFile.h"

#include <QByteArray>

// The non-blank lines of a time-sheet file's bytes, one at a time, split and
// decoded as TimeSheetFile::SplitLines gives them: a file of any length is
// read without holding its lines.
class CTimeSheetLineReader {
public:
    // Reads from the start of the bytes (their UTF-8 byte-order mark
    // skipped), or from a line start that LineStart() gave; the bytes must
    // outlive the reader.
    explicit CTimeSheetLineReader(const QByteArray& bytes, qsizetype from = 0);

    // The next non-blank line; false at the end of the bytes.
    bool Next(TimeSheetFile::CFileLine& line);
    // Where the line Next() gave last begins in the bytes.
    qsizetype LineStart() const { return m_lineStart; }
    // Whether a line read so far was not UTF-8 (and was read in the Windows
    // code page).
    bool SingleByte() const { return m_singleByte; }

    // The number of non-blank lines, without decoding the lines that have
    // plain ASCII text.
    static qsizetype CountLines(const QByteArray& bytes);

private:
    // The bytes of the next line, blank or not, NULs still in; false at the end.
    bool NextRaw(QByteArrayView& raw);
    QString Decode(QByteArrayView raw);

    const QByteArray& m_bytes;
    qsizetype m_at = 0;
    qsizetype m_lineStart = 0;
    int m_number = 0;
    bool m_singleByte = false;
};
