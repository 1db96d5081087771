#pragma once

#include "timeline/ProjObj.h"

#include <QString>

#include <cstdint>

class CTimeLine;

// Drag directions, as the engine records them for a block.
enum class DragDir : int { UP = 0, DOWN = 1, UNDECIDED = 2 };

// One time-sheet entry of the day. Its geometry (row and pixel offset of
// start and stop) follows the owning engine's row table; callers add the
// engine's scroll offset to get a y on screen.
class CTimeBlock {
public:
    static constexpr int kLastRow = 960;

    CTimeBlock(const CTimeLine* owner, int projId, QString text, int start, int stop, int incr,
               Colour colour);

    // y, row and offset of time t; false for a mode or increment below 1.
    bool TimeToPos(int t, int incr, int mode, int* y, int* row, int* offset) const;
    void SetStartTime(int t);
    void SetStopTime(int t);
    void SetIncrement(int incr);
    // y of time t for drawing, without the scroll offset.
    int TimeToY(int t, int incr, int mode) const;
    // The smaller / larger y of start and stop, without the scroll offset;
    // -1 when a row lies outside the table.
    int GetTopY() const;
    int GetBottomY() const;
    // Puts start before stop; true when nothing had to be swapped.
    bool Normalise();
    // Takes the other block's start (fromStart) or stop as this block's
    // start / stop, row and offset included.
    void CopyStartFrom(const CTimeBlock& other, bool fromStart);
    void CopyStopFrom(const CTimeBlock& other, bool fromStart);
    // The y of the interval step at y (row relative to the first visible
    // row); -1 above the grid.
    int SnapY(int y, int* row, int* offset) const;
    // The time at y on screen, rounded to the interval mode; false outside
    // the day.
    bool YToTime(int y, int* hours, int* minutes) const;
    bool SetStartFromY(int y);
    bool SetStopFromY(int y);

    int Length() const { return m_stop > m_start ? m_stop - m_start : m_start - m_stop; }

    int m_entryId = -1;
    int m_start = 0;
    int m_stop = 0;
    int m_incr = 60;
    Colour m_colour = kWhite;
    int m_projId = -1;
    QString m_text;
    bool m_listed = false;
    bool m_sent = false;
    bool m_marked = false;
    int m_pressY = 0;
    // Blocks not drawn with the mouse count as drawn downwards.
    DragDir m_dir = DragDir::DOWN;
    const CTimeLine* m_owner = nullptr;
    int m_startRow = 0;
    int m_stopRow = 0;
    int m_startOff = 0;
    int m_stopOff = 0;
    // Tells blocks apart across deletions, where an address may be reused.
    std::uint64_t m_serial = 0;

private:
    void PlaceTime(int t, int* time, int* row, int* offset);
    static int StepAt(int distance, double step);
    // Row (from the first visible one) and interval steps into it of a y.
    bool Locate(int y, int* row, int* steps) const;
};
