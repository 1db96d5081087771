#pragma once

#include "data/DateTime.h"

#include <QString>
#include <QVariant>

struct sqlite3;
class QSqlDatabase;

// The Jet functions that the program's SQL texts use, made available on the
// file back end: Format(value, pattern), DateDiff(interval, d1, d2),
// Nz(value[, fallback]) and Now(); and lower(text) for every letter, as the
// server's, in place of SQLite's own that knows only ASCII.
bool RegisterSqliteFunctions(sqlite3* db);

// The sqlite3 handle under an open QSQLITE connection, or nullptr.
sqlite3* SqliteHandle(const QSqlDatabase& db);

// The same rules for use outside SQL (and for tests). A number shown as a
// date is a day count that must fall in the years 1 to 9999: FormatValue
// gives false for one that does not (Format() in SQL raises an error, as
// DateDiff() does), JetFormat the number's text.
QString JetFormat(const QVariant& value, const QString& pattern);
bool FormatValue(const QVariant& value, const QString& pattern, QString& text);
// Whole interval boundaries crossed from first to second; false when the
// interval is not one of yyyy q m y d w ww h n s.
bool JetDateDiff(const QString& interval, const CDateTime& first, const CDateTime& second,
                 qint64* result);
