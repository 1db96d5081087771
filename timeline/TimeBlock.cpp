#include "timeline/TimeBlock.h"

#include "timeline/TimeLine.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int ClampToDay(int t)
{
    return std::clamp(t, 0, CTimeLine::kMinutesPerDay);
}

} // namespace

CTimeBlock::CTimeBlock(const CTimeLine* owner, int projId, QString text, int start, int stop,
                       int incr, Colour colour)
    : m_start(start)
    , m_stop(std::min(stop, CTimeLine::kMinutesPerDay))
    , m_incr(incr > 0 ? incr : 60)
    , m_colour(colour)
    , m_projId(projId)
    , m_text(std::move(text))
    , m_owner(owner)
{
    SetStartTime(m_start);
    SetStopTime(m_stop);
}

bool CTimeBlock::TimeToPos(int t, int incr, int mode, int* y, int* row, int* offset) const
{
    if (mode < 1 || incr < 1 || !m_owner)
        return false;
    t = ClampToDay(t);
    t -= t % mode;
    const int r = std::min(t / incr, kLastRow);
    const int off = static_cast<int>(static_cast<float>(t % incr) * m_owner->RowHeight() /
                                     static_cast<float>(incr));
    if (row)
        *row = r;
    if (offset)
        *offset = off;
    if (y)
        *y = m_owner->RowTop(r) + off;
    return true;
}

void CTimeBlock::PlaceTime(int t, int* time, int* row, int* offset)
{
    *time = ClampToDay(t);
    if (!m_owner || !TimeToPos(*time, m_incr, m_owner->MinInterval(), nullptr, row, offset)) {
        *row = 0;
        *offset = 0;
    }
}

void CTimeBlock::SetStartTime(int t)
{
    PlaceTime(t, &m_start, &m_startRow, &m_startOff);
}

void CTimeBlock::SetStopTime(int t)
{
    PlaceTime(t, &m_stop, &m_stopRow, &m_stopOff);
}

void CTimeBlock::SetIncrement(int incr)
{
    m_incr = incr > 0 ? incr : 60;
    SetStartTime(m_start);
    SetStopTime(m_stop);
}

int CTimeBlock::TimeToY(int t, int incr, int mode) const
{
    int y = -1;
    TimeToPos(t, incr, mode, &y, nullptr, nullptr);
    return y;
}

int CTimeBlock::GetTopY() const
{
    if (!m_owner || m_startRow < 0 || m_startRow > kLastRow || m_stopRow < 0 ||
        m_stopRow > kLastRow)
        return -1;
    return std::min(m_owner->RowTop(m_startRow) + m_startOff,
                    m_owner->RowTop(m_stopRow) + m_stopOff);
}

int CTimeBlock::GetBottomY() const
{
    if (!m_owner || m_startRow < 0 || m_startRow > kLastRow || m_stopRow < 0 ||
        m_stopRow > kLastRow)
        return -1;
    return std::max(m_owner->RowTop(m_startRow) + m_startOff,
                    m_owner->RowTop(m_stopRow) + m_stopOff);
}

bool CTimeBlock::Normalise()
{
    if (m_stop >= m_start)
        return true;
    std::swap(m_start, m_stop);
    std::swap(m_startRow, m_stopRow);
    std::swap(m_startOff, m_stopOff);
    return false;
}

void CTimeBlock::CopyStartFrom(const CTimeBlock& other, bool fromStart)
{
    m_start = fromStart ? other.m_start : other.m_stop;
    m_startRow = fromStart ? other.m_startRow : other.m_stopRow;
    m_startOff = fromStart ? other.m_startOff : other.m_stopOff;
}

void CTimeBlock::CopyStopFrom(const CTimeBlock& other, bool fromStart)
{
    m_stop = fromStart ? other.m_start : other.m_stop;
    m_stopRow = fromStart ? other.m_startRow : other.m_stopRow;
    m_stopOff = fromStart ? other.m_startOff : other.m_stopOff;
}

// The interval step a pixel inside a row stands for. Offsets are whole
// pixels cut down from the step's exact place, so a y that is exactly where
// a step is drawn reads back as that step; other pixels go to the nearest.
int CTimeBlock::StepAt(int distance, double step)
{
    const int guess = static_cast<int>(std::lround(distance / step));
    for (int k = std::max(guess - 1, 0); k <= guess + 1; ++k) {
        if (static_cast<int>(k * step) == distance)
            return k;
    }
    return guess;
}

bool CTimeBlock::Locate(int y, int* row, int* steps) const
{
    if (!m_owner)
        return false;
    const int rowHeight = m_owner->RowHeight();
    const int mode = m_owner->MinInterval();
    if (rowHeight < 1 || mode < 1 || m_incr < 1)
        return false;
    const int fromTop = y - m_owner->GridTop();
    if (fromTop + rowHeight / 2 < 0)
        return false;
    const int r = fromTop < 0 ? -1 : std::min(fromTop / rowHeight, kLastRow);
    const double step = static_cast<double>(rowHeight) * mode / m_incr;
    *row = r;
    *steps = StepAt(fromTop - r * rowHeight, step);
    return true;
}

int CTimeBlock::SnapY(int y, int* row, int* offset) const
{
    int r = 0;
    int k = 0;
    if (!Locate(y, &r, &k))
        return -1;
    const double step = static_cast<double>(m_owner->RowHeight()) * m_owner->MinInterval() / m_incr;
    const int off = static_cast<int>(k * step);
    if (row)
        *row = r;
    if (offset)
        *offset = off;
    return m_owner->GridTop() + r * m_owner->RowHeight() + off;
}

bool CTimeBlock::YToTime(int y, int* hours, int* minutes) const
{
    int row = 0;
    int steps = 0;
    if (!Locate(y, &row, &steps))
        return false;
    const int mode = m_owner->MinInterval();
    const int total = m_owner->FirstRowMinutes() + row * m_incr + steps * mode;
    if (total < 0 || total > CTimeLine::kMinutesPerDay)
        return false;
    const int minuteOfHour = total % 60;
    const int rounded =
        mode * static_cast<int>(std::floor((minuteOfHour + m_owner->RoundBias()) / mode));
    const int result = std::min(total - minuteOfHour + rounded, CTimeLine::kMinutesPerDay);
    if (hours)
        *hours = result / 60;
    if (minutes)
        *minutes = result % 60;
    return true;
}

bool CTimeBlock::SetStartFromY(int y)
{
    int h = 0;
    int m = 0;
    if (!YToTime(y, &h, &m))
        return false;
    SetStartTime(h * 60 + m);
    return true;
}

bool CTimeBlock::SetStopFromY(int y)
{
    int h = 0;
    int m = 0;
    if (!YToTime(y, &h, &m))
        return false;
    SetStopTime(h * 60 + m);
    return true;
}
