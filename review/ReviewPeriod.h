#pragma once

#include <QDate>

// The period presets the week review and the options' "Review" page share.
enum ReviewPreset : int {
    kPresetOneWeek = 0,
    kPresetTwoWeeks = 1,
    kPresetThreeWeeks = 2,
    kPresetFourWeeks = 3,
    kPresetThisMonth = 4,
    kPresetThisWeek = 5,
};

// A review period: whole days from start to end, both included.
struct CReviewPeriod {
    QDate start;
    QDate end;

    int Days() const { return static_cast<int>(start.daysTo(end)) + 1; }
    bool operator==(const CReviewPeriod&) const = default;
};

// The period a preset gives on a day: "1 week" to "4 weeks" end on the day
// (relative 0) or begin on it (1); "this month" and "this week" (Monday to
// Sunday) hold it. False, and the period left as it was, for a period of 32
// days or more.
bool PresetPeriod(int preset, int relative, const QDate& today, CReviewPeriod& period);

// One step back or forward from a period: a calendar month for "this
// month" (from the month of its start), 7 days for "this week", its own
// length otherwise.
CReviewPeriod StepPeriod(const CReviewPeriod& period, int preset, bool forward);
