#pragma once

#include "data/DateTime.h"

#include <QDate>

// One time-sheet row as stored (WorkDate, StartTime, StopTime) read into its
// day and its start and stop as minutes 0..1440 of that day. This is the one
// reading of those columns: the day cache, the time line, Save Times, the
// overlap checks, the undo steps and the exports take a row through it, and
// the database's statements through its SQL form (CSqlDialect::RowMinute,
// the columns StartMinute and StopMinute of the saved query
// qselTimeSheetForEmployee).
//
// - The day is the date part of WorkDate, whatever time of day it carries.
// - A start or stop is its time of day (StoredMinutes): the day's end, 1440,
//   is stored as 23:59 by this program; a time on a later day than the row's
//   day (a stop at the next midnight, as the administration program stores
//   the end of a day) is the day's end too.
// - A row whose start or stop is empty has no times: a lump sum of booked
//   hours. It lies nowhere on the day, so it overlaps nothing.
struct CRowTimes {
    QDate day;
    int start = -1; // -1: no times stored
    int stop = -1;
    // Start and stop stored as the same moment of the row's day: the empty
    // row the program's own editing may leave. A stop on a later day, or
    // missing times, never make a row empty.
    bool zeroLength = false;

    static CRowTimes Read(const CDateTime& workDate, const CDateTime& startTime,
                          const CDateTime& stopTime);

    bool HasTimes() const { return start >= 0 && stop >= 0; }
    // Whether the row and the span [a, b) share a minute; rows that only
    // touch do not, and a row without times overlaps nothing. The rule of
    // every overlap check, the server's included.
    bool Overlaps(int a, int b) const { return HasTimes() && start < b && stop > a; }

    // The span a time step records and replays for the row: its own times,
    // or, without times, its booked hours from the start of the day.
    struct CSpan {
        int start = 0;
        int stop = 0;
    };
    CSpan Span(double hours) const;
    // The block the time line shows for the row, as well as the line can:
    // start and stop rounded up to the booking interval; a row that ends
    // where it starts (or before) one interval long at its start; a row
    // without times from 00:00 for its booked hours, at least one interval.
    CSpan LineBlock(int interval, double hours) const;
};
