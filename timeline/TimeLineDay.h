#pragma once

// What the time line asks of the program around it about time, offered as
// the site service PlentorIds::kDayService. The line knows minutes of a day
// but not which day; the program knows the day shown and owns the clock.
class ITimeLineDay {
public:
    // Minutes since midnight now, by the program's clock.
    virtual int MinutesNow() = 0;
    // The same for a block made at now, which belongs to the day it is now:
    // the program shows that day first. -1 when it cannot change the day.
    virtual int MinutesToBookNow() = 0;
    // The minutes that passed between two minutes of the day shown.
    virtual int ElapsedMinutes(int start, int stop) = 0;

protected:
    ~ITimeLineDay() = default;
};
