#pragma once

#include "data/TimeSheetImport.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CTimeSheetSet;

// The comma-separated time-sheet file that carries time sheets from one
// database to another: line 1 the database the rows come from, line 2 the
// header, then one line of 15 fields per row. Files are written in UTF-8
// with numbers in the C locale; a line of an older file that is not valid
// UTF-8 is read in the single-byte Windows code page.
namespace TimeSheetFile {

// Line 2, without its line end.
extern const QString kHeader;
constexpr int kFieldCount = 15;

// The data line of the row the record holds, without its line end. A NULL
// column is an empty field.
QByteArray DataLine(const CTimeSheetSet& row);
// The comment as a field: commas and line breaks taken out.
QString CleanComment(const QString& comment);

// One line as read: its number in the file (from 1) and its text.
struct CFileLine {
    int number = 0;
    QString text;
};

// What a file's bytes are.
enum class Content { Text, Empty, Binary };
Content Inspect(const QByteArray& bytes);

// The file's non-blank lines, ended by a line feed, a carriage return and
// line feed, or a carriage return alone; NUL bytes dropped, a UTF-8
// byte-order mark skipped. `singleByte` tells that some line was not UTF-8.
QList<CFileLine> SplitLines(const QByteArray& bytes, bool* singleByte = nullptr);

// Whether a line is the header itself (the import skips it).
bool IsHeader(const QString& line);

// Reads a data line; false with the reason it cannot be imported.
bool ParseDataLine(const CFileLine& line, const QString& fileName, CImportRow& row,
                   QString& reason);

// The error file of an import file: its name up to the first dot, ".err",
// in the same folder.
QString ErrorFileName(const QString& importFile);

} // namespace TimeSheetFile
