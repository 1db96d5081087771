#pragma once

#include "data/DateTime.h"

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// Small routines every window uses.

// ---- Window placements ("Window Settings" in the profile) -------------------
// A placement as stored: the normal rectangle and the show state
// (0 hidden, 1 normal, 2 minimised, 3 maximised). `valid` is false when the
// text did not parse.
struct CWindowPlacement {
    QRect normal;
    int showState = 1;
    bool valid = false;
};

// "(%d,%d,%d,%d),%s %d": top, bottom, left, right, the show word
// (HIDE, NORM, MIN, MAX) and n.
QString FormatWindowPlacement(const CWindowPlacement& placement, int n = 1);
// Reads the text back; an optional " [a,b]" may follow. Fields that do not
// parse are 0; a text that does not parse at all gives an invalid placement
// with show state 1 and n 0.
CWindowPlacement ParseWindowPlacement(const QString& text, int* n = nullptr, int* a = nullptr,
                                      int* b = nullptr);
CWindowPlacement GetWindowPlacementFromString(const QString& text);
// Keep and restore a top-level window's placement under "Window Settings"/key.
void SaveWindowPlacement(const QWidget* window, const QString& key);
bool RestoreWindowPlacement(QWidget* window, const QString& key);

// ---- Calendar and clock ---------------------------------------------------------
// With the Gregorian century rule (1900 has 28 days in February).
int DaysInMonth(int month, int year);
// Seconds local time is ahead of UTC now (negative west of UTC).
int GetUtcOffset();
// English weekday names, 1 = "Sunday" .. 7 = "Saturday"; other numbers leave `out` alone.
void GetDayName(int day, QString& out);
// Parses a date-time text as CTypedDate reads it (the program's own date
// form, ISO); false and all parts 0 when it does not parse.
bool ParseDateParts(const QString& text, int& year, int& month, int& day, int& hour, int& minute,
                    int& second);

// ---- The user's regional formats -------------------------------------------------
// strftime-style formats ("%d/%m/%y", "%H:%M", ...) as the program keeps them.
struct CRegionalFormats {
    QString dateFormat = QStringLiteral("%d/%m/%y");
    QString timeFormat = QStringLiteral("%H:%M");
    bool twelveHour = false;
    QString amDesignator;
    QString pmDesignator;
    int utcOffset = 0;
};
// Reads the desktop's short-date and short time formats (QLocale(): the
// system locale unless the program set another default), converted through
// the picture converters below.
CRegionalFormats ReadRegionalFormats();
// The program-wide formats (set once at start-up).
const CRegionalFormats& RegionalFormats();
void SetRegionalFormats(const CRegionalFormats& formats);
// A desktop setting by its traditional name: "sShortDate", "sTimeFormat",
// "s1159" (AM), "s2359" (PM), as a picture of d, dd, ddd, dddd, M, MM, MMM,
// MMMM, yy, yyyy, H, HH, h, hh, m, mm, s, ss and tt. False when unknown.
bool ReadIntlSetting(const QString& name, QString& out);
// Pictures to strftime formats (see the tables in Utilities.cpp).
QString TimePictureToFormat(const QString& picture, bool& twelveHour);
QString DatePictureToFormat(const QString& picture);
// Formats a date-time with a strftime-style format: %d %#d %m %#m %b %B %y
// %Y %a %A %H %#H %I %#I %M %#M %S %#S %p %%. English names; %p gives the
// AM or PM text given (default "AM"/"PM").
QString FormatDateTime(const CDateTime& value, const QString& format, const QString& am = QString(),
                       const QString& pm = QString());
// A time of day in the program's time format, with "noon" or the AM/PM
// designator in twelve-hour mode.
QString FormatTimeOfDay(int hour, int minute);

// ---- Texts -------------------------------------------------------------------------
// Always at least one element; a trailing separator gives an empty last one.
QStringList SplitString(const QString& text, const QString& separator);
QString StripAfterHash(const QString& text);
// Every character of `set` removed from `text`.
QString RemoveChars(const QString& text, const QString& set);
// The login name of the person at the desktop.
bool GetWindowsUserName(QString& out);

// ---- Numbers and flags ---------------------------------------------------------------
bool TestFlags(qint64 value, qint64 mask);
int& SetFlags(int& value, int mask);
int& ClearFlags(int& value, int mask);
// Modifier of a virtual-key code: 1 Ctrl (17, 162, 163), 2 Shift (16), else -1.
int LookupIdTable(int virtualKey);
// (int)(a * 10^n) <= (int)(b * 10^n), each truncated toward zero.
bool CompareDoubles(double a, double b, int decimals);

// ---- Screen and messages -----------------------------------------------------------------
void GetPixelScale(double& x, double& y);
// Processes pending events (at most 10,000); false when the program is quitting.
bool PumpMessages();
// Processes events for the given time.
void WaitPumping(int milliseconds);
int ShowMessage(const QString& text);
// The text of a string id (ui/StringTable) in a message box.
int ShowStringMessage(int stringId);
