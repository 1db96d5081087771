// The time line's view: interval mode and increment, the first row's time
// and scrolling, project pages, keyboard selection, the insertion point and
// blocks made without the mouse.

#include "timeline/TimeLine.h"

#include "timeline/TimeUtil.h"

#include <algorithm>
#include <climits>

// --- Interval mode and increment ------------------------------------------------

bool CTimeLine::SetMinIntervalVal(float minutes)
{
    if (minutes != 6.0f && minutes != 15.0f)
        return false;
    m_minIntervalF = minutes;
    m_minInterval = static_cast<int>(minutes);
    m_roundBias = minutes / 2.0;
    FillIntervals();
    LayoutRows();
    RecreateToolTips();
    m_host.Invalidate();
    return true;
}

void CTimeLine::SetIncrTime(int minutes)
{
    if (minutes < 1)
        return;
    // The first row keeps its time; the rows keep their height.
    const int first = FirstRowMinutes();
    m_increment = minutes;
    m_scrollRows = -(first / minutes);
    for (auto& block : m_entries)
        block->SetIncrement(minutes);
    if (m_loose)
        m_loose->SetIncrement(minutes);
    if (m_copied)
        m_copied->SetIncrement(minutes);
    m_template->SetIncrement(minutes);
    m_minHeightPx = std::max(1, static_cast<int>(m_rowHeight * MinIntervalMinutes() / minutes));
    RecreateToolTips();
    m_host.Invalidate();
}

void CTimeLine::OnIntervalChange(const QString& name)
{
    int minutes = 0;
    for (const IntervalChoice& choice : m_intervals) {
        if (name.left(choice.name.size()).compare(choice.name, Qt::CaseInsensitive) == 0) {
            minutes = choice.minutes;
            break;
        }
    }
    if (minutes < 1)
        return;
    const int first = FirstRowMinutes();
    const int hour = first / 60;
    int minute = first % 60;
    const int readyBefore = m_ready;
    m_increment = minutes;
    m_ready = 0;
    if (minutes == 30) {
        if (minute == 15)
            minute = 0;
        else if (minute == 45)
            minute = 30;
    } else if (minutes == 60) {
        minute = 0;
    }
    m_scrollRows = -((hour * 60 + minute) / minutes);
    LayoutRows();
    m_ready = readyBefore == 0 ? 0 : 1;
    RecreateToolTips();
    m_host.Invalidate();
    // The container answers with DoResize, which rebuilds the engine.
    Fire(PlentorEvent::DoResizeMe, {});
}

// --- First row and scrolling -------------------------------------------------------

int CTimeLine::DefaultStartHour() const
{
    int hour = m_increment == 60 ? 4 : m_increment == 120 ? 0 : 8;
    const int remaining = 24 - m_rowCount * m_increment / 60;
    if (remaining < hour)
        hour = std::max(remaining, 0) / 2;
    return hour;
}

void CTimeLine::SetStartPosHour(int hour, int minute, bool /*keep*/)
{
    // The scroll offset is the first row's only record, so keeping the old
    // start while scrolling has nothing left to keep.
    const int span = m_rowCount * m_increment;
    if ((span / 60 + hour) * 60 + minute > kMinutesPerDay) {
        // The grid ends at the end of the day.
        const int tenths = 240 - span / 6;
        hour = tenths / 10;
        minute = (tenths % 10) * 6;
    }
    // Only a start the day cannot hold goes back to the default: an ordinary
    // late start is moved back above, so the grid ends with the day.
    const bool reset = hour < 0 || minute < 0 || (hour > 0 && m_increment == 120);
    if (reset) {
        hour = DefaultStartHour();
        minute = 0;
    }
    ScrollDownTo(hour, minute);
}

void CTimeLine::ScrollDownTo(int hour, int minute)
{
    if (m_increment < 1)
        return;
    int rows = m_increment == 120 ? 0 : hour * 60 / m_increment + minute / m_increment;
    // The grid ends at 24:00 at the latest: rows past the day hold no time
    // a block could be drawn to.
    const int lastFirstRow = std::max(0, (kMinutesPerDay - m_rowCount * m_increment) / m_increment);
    rows = std::clamp(rows, 0, lastFirstRow);
    m_scrollRows = -rows;
    if (m_ready == 1) {
        ClearEdgeMark();
        RecreateToolTips();
        m_host.Invalidate();
    }
}

bool CTimeLine::StepScroll(bool later, int rows)
{
    const int first = FirstRowMinutes();
    const int span = m_rowCount * m_increment;
    if (later) {
        if (m_scrollRows > 0 || AtBottom())
            return false;
        const int newFirst = first + rows * m_increment;
        if (newFirst + span > kMinutesPerDay || newFirst < 0 || newFirst > kMinutesPerDay)
            return false;
        m_scrollRows -= rows;
        return true;
    }
    if (m_scrollRows >= 1 || AtTop())
        return false;
    const int newFirst = first - rows * m_increment;
    if (newFirst < 0 || newFirst > kMinutesPerDay)
        return false;
    m_scrollRows = std::min(0, m_scrollRows + rows);
    return true;
}

bool CTimeLine::ScrollToLater(int rows)
{
    if (rows < 1 || !StepScroll(true, rows))
        return false;
    AfterScroll();
    return true;
}

bool CTimeLine::ScrollToEarlier(int rows)
{
    if (rows < 1 || !StepScroll(false, rows))
        return false;
    AfterScroll();
    return true;
}

bool CTimeLine::ScrollToTime(int minutes)
{
    if (m_increment < 1)
        return false;
    const int target = std::clamp(minutes, 0, kMinutesPerDay) / m_increment;
    bool scrolled = false;
    while (m_scrollRows <= 0 && -m_scrollRows != target) {
        if (!StepScroll(-m_scrollRows < target, 1))
            break;
        scrolled = true;
    }
    if (scrolled)
        AfterScroll();
    return scrolled;
}

void CTimeLine::AfterScroll()
{
    ClearEdgeMark();
    RecreateToolTips();
    m_host.Invalidate();
    Status(GridText());
}

QString CTimeLine::GridText() const
{
    const int first = FirstRowMinutes();
    const int last = std::min(first + m_rowCount * m_increment, kMinutesPerDay);
    return QStringLiteral("Grid %1 to %2, by %3's")
        .arg(FormatTime(first), FormatTime(last))
        .arg(m_increment);
}

// --- Buttons and project pages -------------------------------------------------------

void CTimeLine::OnButtonPress(int id)
{
    m_highlightId = -1;
    ResetLimits();
    SetObjectState(ObjectState::NONE);
    switch (id) {
    case kScrollUpButton:
        ScrollToEarlier(1);
        break;
    case kScrollDownButton:
        ScrollToLater(1);
        break;
    case kPageButton:
        PageProjects();
        break;
    case kNowButton:
        MakeBlockNow();
        break;
    default:
        if (id >= kFirstRowButton && id <= kLastRowButton) {
            CreateEntryAt(id - kFirstRowButton, 0);
            m_hoverLabel = m_curProjIndex;
        }
        break;
    }
}

void CTimeLine::MakeBlockNow()
{
    // A block at now belongs to the day it is now, which the container shows
    // first; a line that cannot take blocks only says why.
    const int asked = EditLocked() ? m_host.CurrentMinutes() : m_host.MinutesToBookNow();
    if (asked < 0) {
        Status(QStringLiteral("Now: no block can be made while another change is in hand"));
        return;
    }
    const int now = std::clamp(asked, 0, kMinutesPerDay - 1);
    ScrollToTime(now);
    if (CreateEntryAt(now / m_increment + m_scrollRows, 0))
        return;
    // A press that makes nothing says why, rather than doing nothing.
    const int start = now - now % std::max(m_increment, 1);
    const int stop = std::min(start + m_increment, kMinutesPerDay);
    const QString span = FormatTime(start) + QStringLiteral(" to ") + FormatTime(stop);
    if (EditLocked())
        Status(QStringLiteral("Now %1: this time sheet cannot be changed").arg(span));
    else if (IsTimeOccupied(start, stop))
        Status(QStringLiteral("Now %1 is taken by an existing entry").arg(span));
    else
        Status(QStringLiteral("Now %1: no block can be made there").arg(span));
}

void CTimeLine::PageProjects()
{
    const int count = static_cast<int>(m_projects.size());
    if (count == 0)
        return;
    int start = m_projPageStart + m_projPageStep;
    if (start >= count)
        start = 0;
    m_projPageStart = start;
    ClickProject(start);
    m_hoverLabel = start;
}

int CTimeLine::ActivateProjBut(int step)
{
    const int count = static_cast<int>(m_projects.size());
    if (count == 0)
        return -1;
    const int shownEnd = std::min(count, m_projPageStart + m_projPageStep);
    int index = m_curProjIndex + step;
    if (index < m_projPageStart) {
        // Backwards off the page wraps to its end.
        index = std::max(m_projPageStart, shownEnd + (index - m_projPageStart));
    } else if (index >= count) {
        index = 0;
    } else if (index >= shownEnd) {
        index = shownEnd;
    }
    ClickProject(index);
    return m_curProjIndex;
}

void CTimeLine::ClickProject(int index)
{
    const int count = static_cast<int>(m_projects.size());
    if (index < 0 || index >= count)
        return;
    m_highlightId = -1;
    if (index < m_projPageStart || index >= m_projPageStart + m_projPageStep)
        m_projPageStart = index - index % std::max(m_projPageStep, 1);
    m_curProjIndex = index;
    m_curProjId = m_projects[static_cast<std::size_t>(index)]->m_projId;
    Redraw();
}

void CTimeLine::SetCurrentProjID(int projId)
{
    m_curProjId = projId;
    // The button of that project becomes current too, so a new block gets
    // the project the container asked for.
    const int index = ProjectIndexOf(projId);
    if (index >= 0) {
        m_curProjIndex = index;
        if (index < m_projPageStart || index >= m_projPageStart + m_projPageStep)
            m_projPageStart = index - index % std::max(m_projPageStep, 1);
        m_shownProjId = projId;
        LayoutProjects();
    }
    m_host.Invalidate();
}

void CTimeLine::HighlightProjectName()
{
    DrawCurrent(m_curProjIndex, true);
    for (const ProjLabel& label : m_projLabels) {
        if (label.index == m_curProjIndex) {
            m_hoverLabel = label.index;
            m_lastPoint = QPoint(label.x, label.y + 5);
        }
    }
    m_host.Invalidate();
}

// --- Keyboard selection and the insertion point ----------------------------------------

int CTimeLine::ForceHighlight(int entryId, bool next)
{
    CTimeBlock* chosen = nullptr;
    if (entryId >= 0) {
        chosen = FindById(entryId);
    } else {
        const CTimeBlock* current = nullptr;
        int from = INT_MIN;
        if (m_insertShown) {
            from = m_insertTime;
            for (const auto& block : m_entries) {
                if (block->m_start <= m_insertTime && m_insertTime < block->m_stop)
                    current = block.get();
            }
        } else {
            current = FindById(m_selectedId);
        }
        if (current)
            from = current->m_start;
        CTimeBlock* nearest = nullptr;
        CTimeBlock* wrap = nullptr;
        for (const auto& block : m_entries) {
            CTimeBlock* b = block.get();
            if (b == current)
                continue;
            if (next) {
                if (from != INT_MIN && b->m_start > from &&
                    (!nearest || b->m_start < nearest->m_start))
                    nearest = b;
                if (!wrap || b->m_start < wrap->m_start)
                    wrap = b;
            } else {
                if (from != INT_MIN && b->m_start < from &&
                    (!nearest || b->m_start > nearest->m_start))
                    nearest = b;
                if (!wrap || b->m_start > wrap->m_start)
                    wrap = b;
            }
        }
        chosen = nearest ? nearest : wrap;
    }
    if (!chosen) {
        m_selectedId = -1;
        return -1;
    }
    if (BlockTop(*chosen) < GridTop() || BlockBottom(*chosen) > m_gridBottom)
        ScrollToTime(chosen->m_start);
    const int middle = (BlockTop(*chosen) + BlockBottom(*chosen)) / 2;
    m_lastPoint = QPoint(ColumnLeft() + m_columnWidth / 2, middle);
    const std::uint64_t serial = chosen->m_serial;
    if (chosen != m_highlighted)
        DrawHighlight(chosen, true);
    // The highlight's status text may have let the container remove it.
    chosen = FindBySerial(serial);
    m_hitPos = chosen;
    m_selectedId = chosen ? chosen->m_entryId : -1;
    return m_selectedId;
}

void CTimeLine::ShowInsertionPoint(int minutes)
{
    const int t = std::clamp(minutes, 0, kMinutesPerDay);
    m_insertTime = t;
    m_insertShown = true;
    const int first = FirstRowMinutes();
    const int span = m_rowCount * m_increment;
    if (t < first)
        ScrollToTime(t);
    else if (t >= first + span)
        ScrollToTime(t + m_increment - span);
    QString where;
    for (const auto& block : m_entries) {
        const int low = std::min(block->m_start, block->m_stop);
        const int high = std::max(block->m_start, block->m_stop);
        if (t == low || t == high)
            where = QStringLiteral("On EDGE ");
        else if (low < t && t < high)
            where = QStringLiteral("INSIDE ");
        else
            continue;
        where += Span(*block) + QLatin1Char(' ') + ProjectName(block->m_projId);
        break;
    }
    Status(QStringLiteral("Cursor ") + FormatTime(t) + QLatin1Char(' ') + where);
    m_host.Invalidate();
}

int CTimeLine::ShowCursorNow()
{
    int t = std::clamp(m_host.CurrentMinutes(), 0, kMinutesPerDay);
    t -= t % std::max(m_minInterval, 1);
    ShowInsertionPoint(t);
    return t;
}

void CTimeLine::RemoveInsertionPoint()
{
    m_insertShown = false;
    m_host.Invalidate();
}

// --- Blocks made without the mouse ---------------------------------------------------

bool CTimeLine::CreateEntryAt(int row, int length)
{
    if (EditLocked())
        return false;
    const int start = (row - m_scrollRows) * m_increment;
    if (!TimeUtil::IsValidStart(row - m_scrollRows, 0, 0, m_increment, false))
        return false;
    const int top = GridTop() + row * m_rowHeight;
    if (IsSpanOccupied(ColumnLeft(), top, ColumnRight(), top + m_rowHeight)) {
        m_host.Invalidate();
        return false;
    }
    const int projId = CurrentProjId();
    auto block = CreateTimeObject(start / 60, start % 60, projId, QString(), true);
    if (!block) {
        Message(QStringLiteral("Error creating time - please try again"));
        m_host.Invalidate();
        return false;
    }
    SendTimeStart(projId, start, static_cast<int>(m_objectState));
    const int stop = std::min(length > 0 ? start + length : start + m_increment, kMinutesPerDay);
    // Made without a drag: the stop is the stop.
    const DragDir dir = m_dragDir;
    m_dragDir = DragDir::UNDECIDED;
    SetObjectEnd(block.get(), stop / 60, stop % 60);
    m_dragDir = dir;
    CTimeBlock* made = block.get();
    AddTimeObject(std::move(block));
    ClearInHand();
    m_inHand = made;
    ScheduleReport();
    m_host.Invalidate();
    return true;
}

int CTimeLine::DrawTSEntryAt(int minutes)
{
    if (minutes < 0 || minutes >= kMinutesPerDay || m_increment < 1)
        return -1;
    if (!CreateEntryAt(minutes / m_increment + m_scrollRows,
                       static_cast<int>(MinIntervalMinutes())))
        return -1;
    return m_inHand ? m_inHand->m_entryId : -1;
}

int CTimeLine::DrawTSEntryStStp(int start, int stop)
{
    if (start < 0 || start >= kMinutesPerDay || m_increment < 1)
        return -1;
    if (!CreateEntryAt(start / m_increment + m_scrollRows, stop - start))
        return -1;
    return m_inHand ? m_inHand->m_entryId : -1;
}

int CTimeLine::DrawRectStartStop(int entryId, int start, int stop, int projId, bool announce)
{
    if (EditLocked() || start < 0 || start >= kMinutesPerDay)
        return -1;
    if (stop < start)
        stop = start + static_cast<int>(MinIntervalMinutes());
    stop = std::min(stop, kMinutesPerDay);
    const int y1 = m_template->TimeToY(start, m_increment, m_minInterval) + ScrollOffsetPx();
    const int y2 = m_template->TimeToY(stop, m_increment, m_minInterval) + ScrollOffsetPx();
    if (IsSpanOccupied(ColumnLeft(), y1, ColumnRight(), y2))
        return -1;
    const int project = projId == -1 ? CurrentProjId() : projId;
    auto block = CreateTimeObject(start / 60, start % 60, project, QString(), false);
    if (!block) {
        Message(QStringLiteral("Error creating time - please try again"));
        return -1;
    }
    if (entryId >= 0) {
        // Two blocks never share an id.
        int id = entryId;
        IsEntryIdFree(id);
        block->m_entryId = id;
    }
    const DragDir dir = m_dragDir;
    m_dragDir = DragDir::UNDECIDED;
    SetObjectEnd(block.get(), stop / 60, stop % 60);
    m_dragDir = dir;
    CTimeBlock* made = block.get();
    AddTimeObject(std::move(block));
    if (announce) {
        SendTimeStart(project, start, static_cast<int>(ObjectState::CREATING));
        ClearInHand();
        m_inHand = made;
        ScheduleReport();
    } else {
        // The container made it and knows of it.
        made->m_sent = true;
        RecreateToolTips();
    }
    const int madeId = made->m_entryId;
    m_selectedId = madeId;
    m_host.Invalidate();
    Status(QStringLiteral("New  ") + FormatTime(start) + QStringLiteral(", to  ") +
           FormatTime(stop));
    return madeId;
}

// --- Small view operations -----------------------------------------------------------

void CTimeLine::SetTickTypes(int major, int minor)
{
    m_tickMajor = major;
    m_tickMinor = minor;
    m_host.Invalidate();
}

void CTimeLine::RemoveHighlight()
{
    // One pixel right of the time column.
    OnMouseMove(0, ColumnRight() + 1, GridTop());
}

int CTimeLine::ForceEditHighlight()
{
    const CTimeBlock* block = m_hitPos;
    // As the double click: a read-only line edits nothing.
    if (!block || (m_controlFlags & kReadOnly))
        return -1;
    const int entryId = GetEntryId(block);
    const int start = block->m_start;
    const int stop = block->m_stop;
    Fire(PlentorEvent::WantsEdit, {block->m_projId, entryId});
    Status(QStringLiteral("Edit  ") + FormatTime(start) + QStringLiteral(", to  ") +
           FormatTime(stop));
    return entryId;
}

void CTimeLine::SetTimeHHMM(bool asTime)
{
    m_hoursAsTime = asTime;
    RefreshHoursLabel();
    m_host.Invalidate();
}

void CTimeLine::CreateGridMsg()
{
    Status(GridText());
}

void CTimeLine::CreateHoursWorkedMsg()
{
    Status(QStringLiteral("Hours Worked %1").arg(m_hoursWorked, 0, 'f', 2));
}

void CTimeLine::CreateProjectNameMsg()
{
    if (m_curProjIndex >= 0 && m_curProjIndex < static_cast<int>(m_projects.size()))
        Status(m_projects[static_cast<std::size_t>(m_curProjIndex)]->m_name);
}
