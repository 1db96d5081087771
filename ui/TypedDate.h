#pragma once

#include "data/DateTime.h"

#include <QDate>
#include <QString>

// A date, perhaps with a time of day after it, as a person types it: in the
// order of the desktop's short date form as the program shows it
// (RegionalFormats), with one mark (. / - ,) or blanks between the parts,
// a two- or four-digit year and the month as a number or a name; or year
// first (2026-03-29). A two-digit year is the year ending in those digits
// from 79 years before today's year to 20 after it. Years outside 1 to 9999
// are refused.
class CTypedDate {
public:
    // An invalid `today` is the clock's.
    explicit CTypedDate(const QString& text, const QDate& today = QDate());

    bool IsValid() const { return m_value.IsValid(); }
    const CDateTime& Value() const { return m_value; }
    bool HasTime() const { return m_hasTime; }
    // Why the text is no date, with the forms that are; empty for a date.
    const QString& Message() const { return m_message; }

    static int FullYear(int twoDigits, const QDate& today);
    // The forms a date may be typed in, shown for `example`:
    // "29.03.26, 29.03.2026 or 2026-03-29".
    static QString Forms(const QDate& example);

private:
    bool ReadDate(const QString& text, const QDate& today, QDate& date, bool& badYear) const;
    bool ReadTime(const QString& text, QTime& time) const;

    CDateTime m_value;
    bool m_hasTime = false;
    QString m_message;
};
