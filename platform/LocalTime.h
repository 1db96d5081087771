#pragma once

#include <QDate>
#include <QDateTime>

// Minutes of the clock on a day in the user's time zone (0 to 1440, 1440
// being the next midnight), and the time that really passed between two of
// them. On the nights the clock changes, a minute that the clock skips going
// forward is the moment of the change, and a minute that it shows twice going
// back is the first time it shows it: 00:30 to 03:30 is 2 hours on the night
// the clock goes forward, 4 hours on the night it goes back, and a span that
// lies wholly in the skipped hour is no time at all.
class CLocalTime {
public:
    static QDateTime Moment(const QDate& day, int minute);
    // The minutes that passed between two minutes of the day, in either
    // order. Without a day, the minutes between them on the clock's face.
    static int ElapsedMinutes(const QDate& day, int start, int stop);
    // Whether the zone keeps one offset around the whole day, so that its
    // clock's face is the time that passes.
    static bool ClockRunsEvenlyOn(const QDate& day);
};
