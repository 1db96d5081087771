// The time line's mouse editing: drawing a new block and moving a block's
// edge, driven by the control's button and move messages.

#include "timeline/TimeLine.h"

#include "timeline/TimeUtil.h"

#include <algorithm>

namespace {

constexpr unsigned kAnyLeftDown =
    CTimeLine::L_KEY_DWN | CTimeLine::MY_FORCE_KEY_UP | CTimeLine::L_KEY_DWN_START;

} // namespace

// --- Classification -----------------------------------------------------------

CTimeLine::Hit CTimeLine::HitTest(int x, int y)
{
    if (!InGrid(x, y))
        return Hit::INVALID_OUTSIDE_GRID;
    CTimeBlock* block = FindBlockAt(ColumnX(), y, nullptr, -1, false);
    if (!block)
        return Hit::TOTALLY_NEW;
    m_highlightId = -1;
    // The press acts on the block under it, which the move before it found.
    m_hitPos = block;
    if (!EditLocked()) {
        if (CTimeBlock* edge = FindEdgeAt(x, y)) {
            m_hitPos = edge;
            return Hit::ON_EDGE;
        }
    }
    return Hit::INSIDE_EXISTING;
}

CTimeLine::Hit CTimeLine::HitTestMove(int x, int y)
{
    m_moveBlock = nullptr;
    if (!InGrid(x, y))
        return Hit::INVALID_OUTSIDE_GRID;
    // Read-only, an edge counts as the inside of its block.
    if (!EditLocked()) {
        if (CTimeBlock* edge = FindEdgeAt(x, y)) {
            m_moveBlock = edge;
            return Hit::ON_EDGE;
        }
    }
    CTimeBlock* block = FindBlockAt(ColumnX(), y, nullptr, -1, false);
    m_moveBlock = block;
    if (block && block != m_highlighted)
        return Hit::INSIDE_EXISTING;
    if (block && m_objectState != ObjectState::EDITING && m_objectState != ObjectState::CREATING)
        return Hit::INSIDE_EXISTING;
    return Hit::EMPTY_GRID;
}

CTimeBlock* CTimeLine::FindBlockAt(int /*x*/, int y, int* edgeY, int excludeId, bool exclude) const
{
    // Blocks are found by where they are, never by their ids: a block that
    // reads a negative id is not a reason to drop it.
    for (const auto& block : m_entries) {
        if (exclude && block->m_entryId == excludeId)
            continue;
        const int top = BlockTop(*block);
        const int bottom = BlockBottom(*block);
        if (y >= top && y <= bottom) {
            if (edgeY)
                *edgeY = m_dragDir == DragDir::DOWN ? top : bottom;
            return block.get();
        }
    }
    return nullptr;
}

CTimeBlock* CTimeLine::FindEdgeAt(int x, int y)
{
    const bool dragging =
        m_objectState == ObjectState::EDITING || m_objectState == ObjectState::CREATING;
    if (x >= ColumnLeft() && x <= ColumnRight()) {
        for (const auto& block : m_entries) {
            const int top = BlockTop(*block);
            const int bottom = BlockBottom(*block);
            int distance = m_grabWidth;
            if (bottom - top < distance)
                distance /= 2;
            const bool onTop = (y - top) < (bottom - y) && top <= y && y <= top + distance;
            const bool onBottom = !onTop && bottom - distance <= y && y <= bottom;
            if (!onTop && !onBottom)
                continue;
            if (dragging)
                return block.get();
            m_grabEdge = onTop ? GrabEdge::GRAB_TOP : GrabEdge::GRAB_BOT;
            const int edgeY = onTop ? top : bottom;
            if (edgeY != m_edgeY) {
                m_edgeY = edgeY;
                m_host.Invalidate();
            }
            return block.get();
        }
    }
    if (!dragging) {
        m_grabEdge = GrabEdge::GRAB_NOTHING;
        ClearEdgeMark();
    }
    return nullptr;
}

void CTimeLine::FindclosestObjectsTo(int y)
{
    ResetLimits();
    const int t = PointToMinutes(y);
    if (t < 0)
        return;
    int bestAbove = 10000;
    int bestBelow = 10000;
    for (const auto& block : m_entries) {
        if (block.get() == m_inHand)
            continue;
        const int low = std::min(block->m_start, block->m_stop);
        const int high = std::max(block->m_start, block->m_stop);
        if (high <= t && t - high < bestAbove) {
            bestAbove = t - high;
            m_limitAbove = BlockBottom(*block);
        }
        if (low >= t && low - t < bestBelow) {
            bestBelow = low - t;
            m_limitBelow = BlockTop(*block);
        }
    }
}

void CTimeLine::CheckWithinConstraints(int& top, int& bottom) const
{
    const int gap = m_minHeightPx;
    if (m_objectState == ObjectState::EDITING && (bottom < top || bottom - top < gap)) {
        if (m_grabEdge == GrabEdge::GRAB_TOP)
            top = bottom - gap;
        else if (m_grabEdge == GrabEdge::GRAB_BOT)
            bottom = top + gap;
    }
    if (m_limitAbove >= 0) {
        if (top < m_limitAbove)
            top = m_limitAbove;
        if (bottom < m_limitAbove)
            bottom = m_limitAbove + gap;
    }
    if (m_limitBelow >= 0) {
        if (m_limitBelow < top)
            top = m_limitBelow - gap;
        if (m_limitBelow < bottom && m_limitBelow != top)
            bottom = m_limitBelow;
    }
}

void CTimeLine::DirFromY(int y)
{
    if (y > m_lastY + 1)
        m_dragDir = DragDir::DOWN;
    else if (y < m_lastY - 1)
        m_dragDir = DragDir::UP;
}

bool CTimeLine::PointToTime(int y, int* hours, int* minutes)
{
    if (m_template->m_incr != m_increment)
        m_template->SetIncrement(m_increment);
    return m_template->YToTime(y, hours, minutes);
}

int CTimeLine::PointToMinutes(int y)
{
    int h = 0;
    int m = 0;
    return PointToTime(y, &h, &m) ? h * 60 + m : -1;
}

void CTimeLine::ResetLimits()
{
    m_limitAbove = -1;
    m_limitBelow = -1;
}

void CTimeLine::ClearEdgeMark()
{
    if (m_edgeY != -1) {
        m_edgeY = -1;
        m_host.Invalidate();
    }
}

// --- Highlight ----------------------------------------------------------------

void CTimeLine::HoverStep(int x, int y)
{
    if (m_objectState == ObjectState::CREATING || !InGrid(x, y))
        return;
    CTimeBlock* block = FindBlockAt(ColumnX(), y, nullptr, -1, false);
    // While an edge is dragged its block keeps the highlight.
    if (m_objectState == ObjectState::EDITING)
        return;
    if (block) {
        if (block != m_highlighted)
            DrawHighlight(block, true);
    } else if (m_highlighted) {
        DrawHighlight(m_highlighted, false);
    }
}

void CTimeLine::DrawHighlight(CTimeBlock* block, bool on)
{
    if (!block)
        return;
    if (!on) {
        m_highlighted = nullptr;
        m_highlightId = -1;
        m_hitPos = nullptr;
        SetObjectState(ObjectState::NONE);
        m_host.Invalidate();
        return;
    }
    const int top = BlockTop(*block);
    const int bottom = BlockBottom(*block);
    if (bottom < GridTop() || top > m_gridBottom)
        return;
    m_highlighted = block;
    m_hitPos = block;
    m_highlightId = block->m_entryId;
    m_host.Invalidate();
    if (!IsStateSet(CONTROL_STATE | SEND_STATE) && m_objectState != ObjectState::CREATING)
        SendHighlightInfo(GetEntryId(block), block->m_start, block->m_stop, block->m_projId);
    Status(QStringLiteral("Active ") + Span(*block) + QLatin1Char(' ') +
           ProjectName(block->m_projId));
}

// --- Press, move, release -------------------------------------------------------

void CTimeLine::OnLButtonDown(unsigned flags, int x, int y)
{
    m_lastPoint = QPoint(x, y);
    if (EditLocked())
        return;
    SetState(L_KEY_DWN);
    m_lastHit = HitTest(x, y);
    switch (m_lastHit) {
    case Hit::INVALID_OUTSIDE_GRID: {
        ClearState(L_KEY_DWN);
        m_highlightId = -1;
        const int label = ProjectLabelAt(x, y);
        if (label >= 0)
            ClickProject(label);
        break;
    }
    case Hit::INSIDE_EXISTING: {
        ClearState(L_KEY_DWN);
        CTimeBlock* block = m_hitPos;
        ClearInHand();
        m_inHand = block;
        SetObjectState(ObjectState::NONE);
        m_host.SetCursor(TimeLineCursor::Arrow);
        m_highlightId = -1;
        break;
    }
    case Hit::TOTALLY_NEW: {
        m_highlightId = -1;
        m_highlighted = nullptr;
        SetState(MAY_START_NEW);
        const int t = PointToMinutes(y);
        if (t >= 0)
            Status(QStringLiteral("New  ") + FormatTime(t) + QLatin1Char(' '));
        m_host.Invalidate();
        OnMouseMove(flags, x, y);
        break;
    }
    case Hit::ON_EDGE: {
        if (!m_hitPos)
            break;
        CTimeBlock* block = m_hitPos;
        ClearInHand();
        m_inHand = block;
        m_inHand->Normalise();
        m_host.SetCursor(TimeLineCursor::SizeVertical);
        m_objectState = ObjectState::EDITING;
        SetState(MAY_START_NEW);
        FindclosestObjectsTo(y);
        SetState(START_POSITION_FOUND);
        m_lastY = y;
        break;
    }
    default:
        Message(QStringLiteral("Error"));
        ClearState(L_KEY_DWN);
        m_highlightId = -1;
        break;
    }
}

void CTimeLine::OnMouseMove(unsigned flags, int x, int y)
{
    m_lastPoint = QPoint(x, y);
    DirFromY(y);
    // A handler that moves the mouse itself does not hear of it again.
    if (!m_tellingTimePos) {
        m_tellingTimePos = true;
        if (!InGrid(x, y)) {
            Fire(PlentorEvent::NotifyTimePos, {-1});
        } else {
            const int t = PointToMinutes(y);
            if (t > 0 && t <= kMinutesPerDay)
                Fire(PlentorEvent::NotifyTimePos, {t});
        }
        m_tellingTimePos = false;
    }
    // A handler may have retired this engine.
    if (m_retired || IsStateSet(MOUSEMOVE_STATE))
        return;
    m_lastHit = HitTestMove(x, y);
    SetState(MOUSEMOVE_STATE);
    if (m_inHand)
        m_inHand->Normalise();

    switch (m_lastHit) {
    case Hit::INVALID_OUTSIDE_GRID: {
        m_host.SetCursor(TimeLineCursor::Arrow);
        ClearState(MAY_START_NEW);
        // Leaving the time column ends a drag where it left.
        if (IsStateSet(kAnyLeftDown))
            OnMyLButtonUp(flags, x, y);
        if (m_highlighted && m_objectState != ObjectState::EDITING)
            DrawHighlight(m_highlighted, false);
        const int label = ProjectLabelAt(x, y);
        if (label != m_hoverLabel) {
            m_hoverLabel = label;
            m_host.Invalidate();
        }
        break;
    }
    case Hit::INSIDE_EXISTING: {
        if (m_objectState == ObjectState::EDITING)
            ClearEdgeMark();
        else
            m_host.SetCursor(TimeLineCursor::Arrow);
        HoverStep(x, y);
        // Read after the hover: its status text may have let the container
        // take the block away.
        const CTimeBlock* entered = m_moveBlock;
        if (IsStateSet(L_KEY_DWN) && entered && entered != m_inHand && entered->m_sent)
            OnMyLButtonUp(flags, x, y);
        break;
    }
    case Hit::ON_EDGE:
        if (!EditLocked()) {
            const CTimeBlock* highlighted = m_highlighted;
            HoverStep(x, y);
            const CTimeBlock* reached = m_moveBlock;
            if (IsStateSet(L_KEY_DWN | MY_FORCE_KEY_UP) && reached && reached != highlighted &&
                reached != m_inHand && reached->m_sent)
                OnMyLButtonUp(flags, x, y);
            m_host.SetCursor(TimeLineCursor::SizeVertical);
        }
        break;
    case Hit::EMPTY_GRID:
        if (!EditLocked()) {
            m_highlightId = -1;
            if (m_objectState != ObjectState::EDITING)
                m_host.SetCursor(TimeLineCursor::Arrow);
            HoverStep(x, y);
            if (IsStateSet(L_KEY_DWN) && !IsStateSet(MY_FORCE_KEY_UP))
                LeftMouseDown(x, y);
            m_lastY = y;
        }
        break;
    default:
        break;
    }

    // The button went up where we did not see it: give the drag up.
    if (!EditLocked() && !IsStateSet(L_KEY_DWN) &&
        (m_objectState == ObjectState::EDITING || m_objectState == ObjectState::CREATING))
        AbandonDrag();
    ClearState(MOUSEMOVE_STATE);
}

void CTimeLine::AbandonDrag()
{
    SetObjectState(ObjectState::NONE);
    ClearState(L_KEY_DWN_START | L_KEY_DWN);
    m_host.Invalidate();
}

void CTimeLine::LeftMouseDown(int x, int y)
{
    switch (m_objectState) {
    case ObjectState::NONE: {
        if (IsStateSet(START_POSITION_FOUND))
            return;
        int hours = 0;
        int minutes = 0;
        if (!PointToTime(y, &hours, &minutes)) {
            Message(QStringLiteral("Error calculating time"));
            return;
        }
        SetState(START_POSITION_FOUND);
        FindclosestObjectsTo(y);
        const int projId = CurrentProjId();
        auto block = CreateTimeObject(hours, minutes, projId, QString(), false);
        if (!block) {
            Message(QStringLiteral("Error creating time object"));
            SetObjectState(ObjectState::NONE);
            ClearState(L_KEY_DWN_START | L_KEY_DWN | START_POSITION_FOUND);
            return;
        }
        block->m_pressY = y;
        ClearInHand();
        m_loose = std::move(block);
        m_inHand = m_loose.get();
        SendTimeStart(projId, m_inHand->m_start, static_cast<int>(m_objectState));
        m_lastY = m_inHand->SnapY(y, nullptr, nullptr);
        Status(QStringLiteral("Entry at ") + FormatTime(m_inHand->m_start));
        m_host.Invalidate();
        break;
    }
    case ObjectState::EDITING:
        if (!m_inHand) {
            Message(QStringLiteral("Object Nulled during edititng - unable to continue"));
            SetObjectState(ObjectState::NONE);
            ClearState(L_KEY_DWN_START | L_KEY_DWN | START_POSITION_FOUND);
            return;
        }
        if (!EditEdge(x, y))
            OnMyLButtonUp(0, x, y);
        break;
    case ObjectState::CREATING: {
        if (!m_inHand) {
            Message(QStringLiteral("Object Nulled during creation - unable to continue"));
            SetObjectState(ObjectState::NONE);
            ClearState(L_KEY_DWN_START | L_KEY_DWN | START_POSITION_FOUND);
            return;
        }
        int edgeY = -1;
        if (FindObjectInSpan(ColumnX(), m_inHand->m_pressY, ColumnX(), y, &edgeY, false, nullptr)) {
            // The new block stops at the edge of the one it ran into.
            OnMyLButtonUp(0, x, edgeY >= 0 ? edgeY : m_lastY);
            ClearState(L_KEY_DWN_START | L_KEY_DWN);
            return;
        }
        m_host.Invalidate();
        if (m_inHand->m_entryId >= 0) {
            int endY = y;
            int t = 0;
            if (!TestEdgeAtY(endY, true, &t))
                Message(QStringLiteral("Time End not found - Object not made"));
        }
        break;
    }
    default:
        Message(QStringLiteral("This case should never happen"));
        break;
    }
}

bool CTimeLine::EditEdge(int x, int y)
{
    int top = BlockTop(*m_inHand);
    int bottom = BlockBottom(*m_inHand);
    const bool grabTop = m_grabEdge == GrabEdge::GRAB_TOP;
    const bool grabBottom = m_grabEdge == GrabEdge::GRAB_BOT;

    int edgeY = -1;
    if (FindObjectInSpan(ColumnX(), top, ColumnX(), y, &edgeY, true, m_inHand)) {
        // The moving edge stops at the neighbour.
        if (grabTop && m_dragDir == DragDir::UP)
            top = y;
        else if (grabBottom && m_dragDir == DragDir::DOWN)
            bottom = y;
        CheckWithinConstraints(top, bottom);
        m_inHand->SetStartFromY(top);
        m_inHand->SetStopFromY(bottom);
        m_host.Invalidate();
        return false;
    }

    const int moving = PointToMinutes(y);
    const int fixedTime = grabTop ? m_inHand->m_stop : m_inHand->m_start;
    if (moving >= 0) {
        Status((grabBottom ? QStringLiteral("Editing bottom, ") : QStringLiteral("Editing top, ")) +
               FormatTime(std::min(moving, fixedTime)) + QStringLiteral(" to ") +
               FormatTime(std::max(moving, fixedTime)));
    }
    ClearState(MAY_START_NEW);
    m_host.Invalidate();

    int endY = y;
    int t = 0;
    bool refused = false;
    if (grabTop && y >= GridTop() + 1 && y < bottom)
        refused = !TestEdgeAtY(endY, false, &t);
    else if (grabBottom && y > top && y < m_gridBottom && y != m_lastY)
        refused = !TestEdgeAtY(endY, true, &t);
    if (!refused && ((grabBottom && y < top) || (grabTop && y > bottom)))
        refused = true;
    if (refused) {
        OnMyLButtonUp(0, x, endY);
        ClearState(L_KEY_DWN_START | L_KEY_DWN);
    }
    return true;
}

bool CTimeLine::TestEdgeAtY(int& y, bool isStop, int* t)
{
    DirFromY(y);
    const int minutes = PointToMinutes(y);
    if (t)
        *t = minutes;
    if (!m_inHand || minutes < 0)
        return true;
    const int gap = static_cast<int>(MinIntervalMinutes());
    bool ok = true;
    if (m_grabEdge == GrabEdge::GRAB_BOT && minutes - gap < m_inHand->m_start) {
        y += m_minHeightPx;
        m_inHand->SetStopTime(m_inHand->m_start + gap);
        ok = false;
    } else if (m_grabEdge == GrabEdge::GRAB_TOP && minutes + gap > m_inHand->m_stop) {
        y -= m_minHeightPx;
        m_inHand->SetStartTime(m_inHand->m_stop - gap);
        ok = false;
    }
    if (isStop)
        SendTimeEdit(m_inHand->m_projId, m_inHand->m_start, minutes);
    else
        SendTimeEdit(m_inHand->m_projId, minutes, m_inHand->m_stop);
    return ok;
}

void CTimeLine::OnLButtonUp(unsigned /*flags*/, int x, int y)
{
    if (m_objectState != ObjectState::EDITING && m_objectState != ObjectState::CREATING)
        return;
    ClearState(L_KEY_DWN | L_KEY_DWN_START);
    if (!m_inHand) {
        ClearState(START_POSITION_FOUND | MY_FORCE_KEY_UP);
        return;
    }
    if (m_inHand->m_start < 0) {
        ClearState(START_POSITION_FOUND | MY_FORCE_KEY_UP);
        return;
    }
    if (EditLocked())
        return;
    DirFromY(y);
    ClearState(START_POSITION_FOUND);
    y = std::clamp(y, GridTop(), m_gridBottom);

    if (!FinishTimeObject(m_grabEdge == GrabEdge::GRAB_TOP, x, y)) {
        SetState(START_POSITION_FOUND | L_KEY_DWN);
        ClearState(MY_FORCE_KEY_UP);
        if (!m_inHand || m_inHand->m_entryId < 0)
            return;
    }

    if (m_objectState == ObjectState::CREATING) {
        m_hitPos = nullptr;
        if (m_inHand->m_start != m_inHand->m_stop && m_inHand == m_loose.get()) {
            AddTimeObject(std::move(m_loose));
        } else if (!IsListed(m_inHand)) {
            // A click without a drag makes nothing.
            ClearInHand();
            m_objectState = ObjectState::NONE;
            m_host.Invalidate();
            return;
        }
    }

    const int gap = static_cast<int>(MinIntervalMinutes());
    if (m_inHand->m_start == m_inHand->m_stop) {
        if (m_grabEdge == GrabEdge::GRAB_TOP && m_dragDir == DragDir::DOWN)
            m_inHand->SetStartTime(m_inHand->m_stop - gap);
        else if (m_grabEdge == GrabEdge::GRAB_BOT && m_dragDir == DragDir::UP)
            m_inHand->SetStopTime(m_inHand->m_start + gap);
    }
    m_inHand->Normalise();
    m_hitPos = nullptr;
    RecomputeHours();
    ScheduleReport();
    Status(QStringLiteral("Entry ") + Span(*m_inHand));
    m_host.Invalidate();
    ClearState(MY_FORCE_KEY_UP);
}

void CTimeLine::OnMyLButtonUp(unsigned flags, int x, int y)
{
    SetState(MY_FORCE_KEY_UP);
    ClearState(L_KEY_DWN | L_KEY_DWN_START);
    if (EditLocked()) {
        ClearState(MY_FORCE_KEY_UP);
        return;
    }
    OnLButtonUp(flags, x, y);
    ClearState(MY_FORCE_KEY_UP | START_POSITION_FOUND);
}

void CTimeLine::OnLButtonDblClk(unsigned /*flags*/, int x, int y)
{
    m_lastPoint = QPoint(x, y);
    if (m_controlFlags & kReadOnly)
        return;
    const int label = ProjectLabelAt(x, y);
    if (label >= 0) {
        Fire(PlentorEvent::NotifyShowProjInfo,
             {m_projects[static_cast<std::size_t>(label)]->m_projId, -1});
        return;
    }
    if (!InGrid(x, y))
        return;
    if (const CTimeBlock* block = FindBlockAt(ColumnX(), y, nullptr, -1, false)) {
        Fire(PlentorEvent::WantsEdit, {block->m_projId, GetEntryId(block)});
        return;
    }
    for (int r = 0; r < m_rowCount; ++r) {
        if (RowTop(r) <= y && y < RowTop(r + 1)) {
            CreateEntryAt(r, 0);
            return;
        }
    }
}

void CTimeLine::OnRButtonDown(int x, int y)
{
    m_lastPoint = QPoint(x, y);
    m_hitPos = InGrid(x, y) ? FindBlockAt(ColumnX(), y, nullptr, -1, false) : nullptr;
}

QString CTimeLine::BuildAddBlockItem(int y) const
{
    QString text = QStringLiteral("Add Block");
    for (int r = 0; r < m_rowCount; ++r) {
        if (RowTop(r) <= y && y < RowTop(r + 1)) {
            const int start = RowMinutes(r) - RowMinutes(r) % m_increment;
            text += QLatin1Char(' ') + TimeUtil::HourMinute(start) + QStringLiteral(" - ") +
                    TimeUtil::HourMinute(start + m_increment);
            break;
        }
    }
    return text;
}

std::vector<CTimeLine::MenuItem> CTimeLine::ContextMenu(int /*x*/, int y, bool editable)
{
    std::vector<MenuItem> items;
    const bool onBlock = m_hitPos != nullptr;
    if (onBlock) {
        items.push_back({kCmdEdit, QStringLiteral("Edit"), true, false});
        items.push_back({kCmdDelete, QStringLiteral("Delete"), editable, false});
        items.push_back({0, QString(), true, false});
        items.push_back({kCmdCopy, QStringLiteral("Copy"), editable, false});
        items.push_back({kCmdCut, QStringLiteral("Cut"), editable, false});
        items.push_back({kCmdSchedule, QStringLiteral("Schedule"), true, false});
    }
    if (m_copied && !onBlock)
        items.push_back({kCmdPaste, QStringLiteral("Paste"), editable, false});
    if (!onBlock)
        items.push_back({kCmdAddBlock, BuildAddBlockItem(y), editable, false});
    if (!m_entries.empty())
        items.push_back({kCmdDeleteAll, QStringLiteral("Delete all Today"), editable, false});
    items.push_back({0, QString(), true, false});
    const int commands[] = {kCmdInterval3, kCmdInterval2, kCmdInterval1};
    for (int i = 0; i < 3 && i < static_cast<int>(m_intervals.size()); ++i) {
        const IntervalChoice& choice = m_intervals[static_cast<std::size_t>(2 - i)];
        items.push_back({commands[i], choice.name, true, choice.minutes == m_increment});
    }
    return items;
}

void CTimeLine::OnMenuCommand(int command, QPoint point)
{
    // The menu was opened for the block under its point, whatever the mouse
    // did while it was up.
    m_hitPos = InGrid(point.x(), point.y()) ? FindBlockAt(ColumnX(), point.y(), nullptr, -1, false)
                                            : nullptr;
    switch (command) {
    case kCmdEdit:
    case kCmdAddBlock:
        OnLButtonDblClk(0, point.x(), point.y());
        break;
    case kCmdDelete:
        OnDeleteHighlighted(-1);
        if (!m_inHand && m_highlighted)
            DrawHighlight(m_highlighted, false);
        break;
    case kCmdCopy:
        OnCopy();
        break;
    case kCmdCut:
        OnCutHighlight();
        break;
    case kCmdSchedule:
        OnSchedule();
        break;
    case kCmdPaste:
        m_lastPoint = point;
        OnPaste();
        break;
    case kCmdDeleteAll:
        DeleteAllToday();
        break;
    case kCmdInterval3:
    case kCmdInterval2:
    case kCmdInterval1: {
        const std::size_t index = static_cast<std::size_t>(kCmdInterval1 - command);
        if (index < m_intervals.size())
            OnIntervalChange(m_intervals[index].name);
        m_host.Invalidate();
        break;
    }
    default:
        break;
    }
}

void CTimeLine::SetObjectState(ObjectState state)
{
    // A block still being drawn goes with the state it was drawn in.
    if (state == ObjectState::NONE && m_objectState == ObjectState::CREATING && m_loose &&
        m_inHand == m_loose.get())
        ClearInHand();
    m_objectState = state;
}
