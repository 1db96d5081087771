#pragma once

#include <QString>

// Small helpers of the time line: locale formats, clock texts and the
// limits of the day by row increment.
namespace TimeUtil {

// A locale time format written the desktop way ("HH:mm:ss", "h:mm tt") to
// the placeholder form FormatMinutes reads ("%H:%M", "%#I:%M"). "tt" sets
// twelveHour and is dropped; seconds end the format unless withSeconds.
QString ConvertTimeFormat(const QString& format, bool* twelveHour, bool withSeconds = false);
// Qt's time format ("h:mm AP") written the desktop way ("h:mm tt").
QString DesktopTimeFormat(const QString& qtFormat);

// Minutes since midnight through a converted format: %H %#H (24-hour),
// %I %#I (12-hour), %M %#M; 1440 reads as 24:00.
QString FormatMinutes(int minutes, const QString& format);
// "%2.2i:%2.2i" of a time.
QString HourMinute(int minutes);

// Rows that make a day at this increment.
int RowsPerDay(int increment);
// The latest start (or, with wholeDay, end) a row of this increment may give.
int LatestTime(int increment, bool wholeDay);
bool IsValidStart(int row, int hour, int minute, int increment, bool wholeDay);

} // namespace TimeUtil
