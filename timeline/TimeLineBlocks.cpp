// The time line's block list: loading, creating, deleting, copying and
// pasting blocks, clipping overlaps, and the report of changed blocks.

#include "timeline/TimeLine.h"

#include "timeline/TimeUtil.h"

#include <algorithm>

namespace {

const QString kNoProjects = QStringLiteral("No Projects created");

} // namespace

// --- Lookups ------------------------------------------------------------------

CTimeBlock* CTimeLine::FindById(int entryId) const
{
    for (const auto& block : m_entries) {
        if (block->m_entryId == entryId)
            return block.get();
    }
    return nullptr;
}

CTimeBlock* CTimeLine::FindBySerial(std::uint64_t serial) const
{
    for (const auto& block : m_entries) {
        if (block->m_serial == serial)
            return block.get();
    }
    return nullptr;
}

bool CTimeLine::HasUnsentBlocks() const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const auto& b) { return !b->m_sent && b->m_start != b->m_stop; });
}

bool CTimeLine::IsListed(const CTimeBlock* block) const
{
    return block && std::any_of(m_entries.begin(), m_entries.end(),
                                [block](const auto& b) { return b.get() == block; });
}

int CTimeLine::GetEntryId(const CTimeBlock* block) const
{
    return !block || m_projects.empty() ? -1 : block->m_entryId;
}

bool CTimeLine::IsEntryIdFree(int& id) const
{
    bool free = true;
    while (FindById(id)) {
        ++id;
        free = false;
    }
    return free;
}

std::unique_ptr<CTimeBlock> CTimeLine::NewBlock(int projId, const QString& text, int start,
                                                int stop, Colour colour)
{
    auto block = std::make_unique<CTimeBlock>(this, projId, text, start, stop, m_increment, colour);
    block->m_serial = m_nextSerial++;
    return block;
}

std::unique_ptr<CTimeBlock> CTimeLine::CloneBlock(const CTimeBlock& source, CTimeLine& owner) const
{
    auto block =
        std::make_unique<CTimeBlock>(&owner, source.m_projId, source.m_text, source.m_start,
                                     source.m_stop, owner.m_increment, source.m_colour);
    block->m_entryId = source.m_entryId;
    block->m_dir = source.m_dir;
    return block;
}

void CTimeLine::ForgetBlock(const CTimeBlock* block)
{
    if (m_highlighted == block) {
        m_highlighted = nullptr;
        m_highlightId = -1;
    }
    if (m_hitPos == block)
        m_hitPos = nullptr;
    if (m_inHand == block)
        m_inHand = nullptr;
    if (m_moveBlock == block)
        m_moveBlock = nullptr;
}

void CTimeLine::ClearInHand()
{
    m_inHand = nullptr;
    m_loose.reset();
}

void CTimeLine::ClearHighlight()
{
    m_highlighted = nullptr;
    m_highlightId = -1;
}

double CTimeLine::MinIntervalMinutes() const
{
    return m_minIntervalF > 0 ? m_minIntervalF : m_minInterval;
}

// --- Creating and finishing -------------------------------------------------------

std::unique_ptr<CTimeBlock> CTimeLine::CreateTimeObject(int hours, int minutes, int projId,
                                                        const QString& text, bool quiet)
{
    if (m_objectState != ObjectState::NONE)
        return nullptr;
    m_curProjId = projId;
    const int start = hours * 60 + minutes;
    auto block = NewBlock(projId, text, start, start, ProjectColour(projId));
    m_objectState = ObjectState::CREATING;
    if (!quiet)
        SendTimeStart(projId, start, static_cast<int>(ObjectState::CREATING));
    if (m_selKeyState == L_KEY_DWN_START)
        m_selKeyState = L_KEY_DWN;
    return block;
}

CTimeBlock* CTimeLine::SetObjectEnd(CTimeBlock* block, int hours, int minutes)
{
    if (!block)
        return nullptr;
    const int t = hours * 60 + minutes;
    if (m_dragDir == DragDir::UP)
        block->SetStartTime(t);
    else
        block->SetStopTime(t);
    if (m_objectState == ObjectState::CREATING) {
        if (block->m_entryId < 0) {
            int id = m_nextEntryId;
            IsEntryIdFree(id);
            block->m_entryId = id;
        }
        block->m_dir = m_dragDir;
    }
    block->m_sent = false;
    RecomputeHours();
    return block;
}

bool CTimeLine::FinishTimeObject(bool topEdge, int x, int y)
{
    if (!m_inHand) {
        ClearState(START_POSITION_FOUND | MY_FORCE_KEY_UP);
        Message(QStringLiteral("Timesheet Object NULL"));
        return false;
    }
    const int t = PointToMinutes(y);
    switch (m_objectState) {
    case ObjectState::EDITING:
        m_inHand->m_sent = false;
        AdjustEnd(topEdge, x, y);
        return true;
    case ObjectState::CREATING: {
        if (m_inHand->m_entryId >= 0 && !IsStateSet(MY_FORCE_KEY_UP) && m_dragDir != DragDir::UP)
            return true;
        CTimeBlock* other = m_highlighted;
        if (other && other != m_inHand && IsListed(other) && y >= BlockTop(*other) &&
            y <= BlockBottom(*other)) {
            // Released over another block: end at its edge.
            if (m_dragDir == DragDir::UP) {
                m_inHand->CopyStopFrom(*m_inHand, true);
                m_inHand->CopyStartFrom(*other, false);
            } else {
                m_inHand->CopyStopFrom(*other, true);
            }
            if (m_inHand->m_entryId < 0) {
                int id = m_nextEntryId;
                IsEntryIdFree(id);
                m_inHand->m_entryId = id;
            }
            m_inHand->m_dir = m_dragDir;
            m_inHand->m_sent = false;
        } else if (t >= 0) {
            SetObjectEnd(m_inHand, t / 60, t % 60);
        }
        return true;
    }
    default:
        return true;
    }
}

void CTimeLine::AdjustEnd(bool topEdge, int /*x*/, int y)
{
    const int oldTop = BlockTop(*m_inHand);
    const int oldBottom = BlockBottom(*m_inHand);
    int top = oldTop;
    int bottom = oldBottom;
    if (topEdge)
        top = y;
    else
        bottom = y;
    CheckWithinConstraints(top, bottom);
    // The edge that did not move keeps its time unless a limit moved it.
    if (top != oldTop)
        m_inHand->SetStartFromY(top);
    if (bottom != oldBottom)
        m_inHand->SetStopFromY(bottom);
    RecomputeHours();
    m_hitPos = nullptr;
    ScheduleReport();
}

bool CTimeLine::AddTimeObject(std::unique_ptr<CTimeBlock> block)
{
    if (!block || m_objectState != ObjectState::CREATING) {
        m_objectState = ObjectState::NONE;
        return false;
    }
    ++m_nextEntryId;
    block->Normalise();
    block->m_listed = true;
    m_entries.push_back(std::move(block));
    m_objectState = ObjectState::NONE;
    RecomputeHours();
    return true;
}

void CTimeLine::ScheduleReport()
{
    SetState(SEND_STATE);
    m_host.PostMessage(EngineMessage::ReportChanges);
    RecreateToolTips();
    m_host.Invalidate();
}

// --- Loading ------------------------------------------------------------------

bool CTimeLine::SetTimesheetTimes(int entryId, int start, int stop, int projId, const QString& text)
{
    if (start < 0 || start > kMinutesPerDay || stop < 0)
        return false;
    ResetLimits();
    ClearEdgeMark();
    const int readyBefore = m_ready;
    m_ready = 2;
    auto block = CreateTimeObject(start / 60, start % 60, projId, text, true);
    if (!block) {
        m_ready = readyBefore;
        return false;
    }
    block->m_projId = projId;
    block->m_colour = ProjectColour(projId);
    block->m_entryId = entryId;
    block->SetStopTime(stop);
    CTimeBlock* added = block.get();
    AddTimeObject(std::move(block));
    // Loaded blocks are the container's own: reported again only once changed.
    added->m_listed = true;
    added->m_sent = true;
    m_blockTips.push_back({BuildToolTipText(*added),
                           QRect(ColumnLeft(), BlockTop(*added), m_columnWidth,
                                 BlockBottom(*added) - BlockTop(*added)),
                           0, added->m_entryId});
    m_nextEntryId = entryId >= 0 ? entryId + 1 : 0;
    m_ready = IsStateSet(SEND_STATE) ? 2 : (readyBefore == 0 ? 0 : 1);
    m_host.Invalidate();
    return true;
}

bool CTimeLine::SetProjInfo(const QString& name, int projId, Colour colour)
{
    // The stand-in shown while the list is empty gives way to real projects.
    if (m_projects.size() == 1 && m_projects.front()->m_projId == -1 &&
        m_projects.front()->m_name == kNoProjects && projId != -1)
        m_projects.clear();
    if (m_projects.size() > static_cast<std::size_t>(kMaxProjects - 1))
        return false;
    m_projects.push_back(std::make_unique<CProjObj>(name, projId, colour));
    LayoutProjects();
    m_host.Invalidate();
    return true;
}

void CTimeLine::ClearProjInfo()
{
    m_projects.clear();
    ClearInHand();
    m_hitPos = nullptr;
    ClearHighlight();
    SetObjectState(ObjectState::NONE);
    m_curProjIndex = 0;
    m_projPageStart = 0;
    LayoutProjects();
    RecreateToolTips();
    m_host.Invalidate();
}

void CTimeLine::ClearTimeInfo()
{
    DeleteInfoStorage(false, false);
    m_hoursWorked = 0;
    RefreshHoursLabel();
    ClearInHand();
    m_hitPos = nullptr;
    ClearHighlight();
    SetObjectState(ObjectState::NONE);
    m_host.Invalidate();
}

// --- Deleting -----------------------------------------------------------------

bool CTimeLine::RemoveFromInfoStore(CTimeBlock* block)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [block](const auto& b) { return b.get() == block; });
    if (it == m_entries.end())
        return false;
    ForgetBlock(block);
    m_entries.erase(it);
    return true;
}

void CTimeLine::DeleteInfoStorage(bool report, bool markedOnly)
{
    std::vector<std::uint64_t> serials;
    for (const auto& block : m_entries) {
        if (!markedOnly || block->m_marked)
            serials.push_back(block->m_serial);
    }
    for (const std::uint64_t serial : serials) {
        if (m_retired)
            return;
        CTimeBlock* block = FindBySerial(serial);
        if (!block)
            continue;
        if (report) {
            const int start = block->m_start;
            const int stop = block->m_stop;
            SendTimeInfo(GetEntryId(block), 0, 0, block->m_projId);
            // The container's handler may have taken the block away.
            block = FindBySerial(serial);
            Status(QStringLiteral("Delete  ") + FormatTime(start) + QStringLiteral(", to  ") +
                   FormatTime(stop));
            if (!block)
                continue;
        }
        RemoveFromInfoStore(block);
    }
    if (m_entries.empty()) {
        SetObjectState(ObjectState::NONE);
        ClearInHand();
        ClearHighlight();
    }
    RecomputeHours();
    ClearState(MY_FORCE_KEY_UP | L_KEY_DWN);
    RecreateToolTips();
    m_host.Invalidate();
}

void CTimeLine::OnDeleteHighlighted(int entryId)
{
    if (EditLocked())
        return;
    // Not while the left button draws on the line.
    if (entryId < 0 && IsStateSet(L_KEY_DWN | L_KEY_DWN_START))
        return;
    SetState(R_KEY_DWN);
    if (entryId < 0) {
        CTimeBlock* block = m_hitPos ? m_hitPos : m_inHand;
        if (block) {
            const std::uint64_t serial = block->m_serial;
            const bool loose = block == m_loose.get();
            SendTimeInfo(GetEntryId(block), 0, 0, block->m_projId);
            if (loose) {
                if (m_loose && m_loose->m_serial == serial)
                    ClearInHand();
            } else if (CTimeBlock* listed = FindBySerial(serial)) {
                RemoveFromInfoStore(listed);
            }
        }
    } else if (CTimeBlock* block = FindById(entryId)) {
        RemoveFromInfoStore(block);
    }
    RecomputeHours();
    m_hitPos = nullptr;
    ClearHighlight();
    SetObjectState(ObjectState::NONE);
    ClearState(R_KEY_DWN);
    RecreateToolTips();
    m_host.Invalidate();
}

void CTimeLine::OnDeleteMarked()
{
    if (EditLocked())
        return;
    DeleteInfoStorage(true, true);
    m_hitPos = nullptr;
    ClearHighlight();
    SetObjectState(ObjectState::NONE);
    m_host.Invalidate();
    ClearState(R_KEY_DWN);
}

void CTimeLine::DeleteAllToday()
{
    if (EditLocked() || m_askingDeleteAll)
        return;
    SetState(R_KEY_DWN);
    // Only an answer given to this question counts; none means no.
    m_deleteAnswered = false;
    m_deleteOk = false;
    m_askingDeleteAll = true;
    Fire(PlentorEvent::NotifyDeleteAll, {});
    m_askingDeleteAll = false;
    if (m_retired)
        return;
    if (m_deleteAnswered && m_deleteOk) {
        DeleteInfoStorage(true, false);
        ClearInHand();
        m_hitPos = nullptr;
        ClearHighlight();
        SetObjectState(ObjectState::NONE);
        m_hoursWorked = 0;
        RefreshHoursLabel();
    }
    m_deleteAnswered = false;
    m_deleteOk = false;
    m_host.Invalidate();
    ClearState(R_KEY_DWN);
}

void CTimeLine::DeleteAllOKRet(bool ok)
{
    m_deleteAnswered = true;
    m_deleteOk = ok;
}

// --- Copy, cut, paste, schedule -------------------------------------------------

CTimeBlock* CTimeLine::CopySource() const
{
    if (m_hitPos && IsListed(m_hitPos))
        return m_hitPos;
    if (!m_hitPos && m_selectedId >= 0)
        return FindById(m_selectedId);
    return nullptr;
}

void CTimeLine::OnCopy()
{
    if (EditLocked())
        return;
    const CTimeBlock* source = CopySource();
    if (!source)
        return;
    m_copied = CloneBlock(*source, *this);
    m_copied->m_serial = m_nextSerial++;
    Fire(PlentorEvent::NotifyCopyRec,
         {GetEntryId(source), source->m_start, source->m_stop, source->m_projId});
}

bool CTimeLine::OnCutHighlight()
{
    if (EditLocked())
        return false;
    CTimeBlock* source = CopySource();
    if (!source)
        return false;
    const std::uint64_t serial = source->m_serial;
    OnCopy();
    if (CTimeBlock* block = FindBySerial(serial)) {
        block->m_marked = true;
        DeleteInfoStorage(true, true);
    }
    ClearInHand();
    m_host.Invalidate();
    return true;
}

void CTimeLine::OnPaste()
{
    if (EditLocked() || !m_copied || m_objectState != ObjectState::NONE)
        return;
    const int x = m_lastPoint.x();
    const int y = m_lastPoint.y();
    if (x <= ColumnLeft() || x >= ColumnRight() || y < GridTop() || y > m_gridBottom)
        return;
    const int length = m_copied->Length();
    const int start = PointToMinutes(y);
    if (start < 0 || start >= kMinutesPerDay)
        return;
    // The free space is checked where the block will really lie: its start
    // is the pointer's time rounded to the interval mode, not the pointer.
    const int stop = std::min(start + length, kMinutesPerDay);
    if (IsTimeOccupied(start, stop))
        return;
    auto block = NewBlock(m_copied->m_projId, m_copied->m_text, start, stop, m_copied->m_colour);
    // A free id, never one a loaded block already has.
    int id = m_nextEntryId;
    IsEntryIdFree(id);
    block->m_entryId = id;
    CTimeBlock* pasted = block.get();
    m_objectState = ObjectState::CREATING;
    AddTimeObject(std::move(block));
    ClearInHand();
    m_inHand = pasted;
    RecreateToolTips();
    m_host.PostMessage(EngineMessage::PasteDone);
    m_host.Invalidate();
}

void CTimeLine::OnSchedule()
{
    if (!m_hitPos)
        return;
    auto copy = CloneBlock(*m_hitPos, *this);
    copy->m_serial = m_nextSerial++;
    copy->m_entryId = -1;
    ClearInHand();
    m_loose = std::move(copy);
    m_inHand = m_loose.get();
    m_host.PostMessage(EngineMessage::ScheduleDone);
}

// --- Changes by id ----------------------------------------------------------------

bool CTimeLine::UpdateProjForTimeObj(int entryId, int oldProjId, int newProjId)
{
    CTimeBlock* block = m_inHand && m_inHand->m_entryId == entryId ? m_inHand : FindById(entryId);
    if (!block || block->m_projId != oldProjId)
        return false;
    block->m_projId = newProjId;
    return true;
}

bool CTimeLine::ChangeProject(int entryId, int newProjId)
{
    CTimeBlock* block = FindById(entryId);
    if (!block)
        return false;
    block->m_projId = newProjId;
    block->m_colour = ProjectColour(newProjId);
    RecreateToolTips();
    m_host.Invalidate();
    return true;
}

bool CTimeLine::EditObjById(int entryId, int start, int stop, int projId)
{
    if (start < 0 || start > kMinutesPerDay || stop < 0)
        return false;
    CTimeBlock* block =
        m_highlighted && m_highlighted->m_entryId == entryId ? m_highlighted : FindById(entryId);
    if (!block)
        return false;
    block->SetStartTime(start);
    block->SetStopTime(stop);
    block->Normalise();
    block->m_projId = projId;
    RecomputeHours();
    RecreateToolTips();
    m_host.Invalidate();
    Status(QStringLiteral("Active ") + Span(*block) + QLatin1Char(' ') + ProjectName(projId));
    return true;
}

bool CTimeLine::SetChgRqstStr(const QString& text, int entryId)
{
    CTimeBlock* block = FindById(entryId);
    if (!block)
        return false;
    block->m_text = text;
    RecreateToolTips();
    return true;
}

// --- Private messages ---------------------------------------------------------------

void CTimeLine::OnSendMessage(EngineMessage message)
{
    switch (message) {
    case EngineMessage::ReportChanges:
        ReportChanges();
        break;
    case EngineMessage::PasteDone:
        if (CTimeBlock* block = m_inHand) {
            // The container hears of the pasted block here; no second report.
            block->m_sent = true;
            Fire(PlentorEvent::NotifyCopyData,
                 {GetEntryId(block), block->m_start, block->m_stop, block->m_projId});
        }
        break;
    case EngineMessage::CopyDone:
        if (const CTimeBlock* block = m_copied.get())
            Fire(PlentorEvent::NotifyCopyRec,
                 {GetEntryId(block), block->m_start, block->m_stop, block->m_projId});
        break;
    case EngineMessage::ScheduleDone:
        if (const CTimeBlock* block = m_inHand) {
            const bool loose = block == m_loose.get();
            const std::uint64_t serial = block->m_serial;
            Fire(PlentorEvent::NotifySchedData,
                 {GetEntryId(block), block->m_start, block->m_stop, block->m_projId});
            // The copy has served its purpose.
            if (loose && m_loose && m_loose->m_serial == serial)
                ClearInHand();
        }
        break;
    case EngineMessage::Nothing:
        break;
    }
}

void CTimeLine::ReportChanges()
{
    SetState(SEND_STATE);
    ResetLimits();
    ClearInHand();
    m_hitPos = nullptr;
    ClearState(L_KEY_DWN_START | L_KEY_DWN | MY_FORCE_KEY_UP);
    m_objectState = ObjectState::NONE;

    std::vector<std::uint64_t> serials;
    serials.reserve(m_entries.size());
    for (const auto& block : m_entries)
        serials.push_back(block->m_serial);

    for (const std::uint64_t serial : serials) {
        // A handler may load a day, resize or clear the line: stop then.
        if (m_ready != 1 || m_retired)
            break;
        CTimeBlock* block = FindBySerial(serial);
        if (!block)
            continue;
        block->m_marked = false;
        if (block->m_sent || block->m_start == block->m_stop)
            continue;
        bool removed = false;
        for (int pass = 0; pass < kMaxClipPasses; ++pass) {
            if (!CheckUntilNooverlaps(block, &removed))
                break;
        }
        if (removed)
            continue;
        block->Normalise();
        if (block->m_start == block->m_stop) {
            // Clipped away to nothing: the container never heard of it.
            RemoveFromInfoStore(block);
            continue;
        }
        block->m_sent = true;
        const int projId = block->m_projId;
        SendTimeInfo(GetEntryId(block), block->m_start, block->m_stop, projId);
        if (projId == -1) {
            if (CTimeBlock* gone = FindBySerial(serial))
                RemoveFromInfoStore(gone);
        }
    }
    if (m_retired)
        return;
    ClearState(START_POSITION_FOUND);
    if (m_ready == 2)
        m_ready = 1;
    OnDeleteMarked();
    ClearState(SEND_STATE);
    RecomputeHours();
    RecreateToolTips();
    m_host.Invalidate();
}

// --- Overlaps ---------------------------------------------------------------------

CTimeBlock* CTimeLine::FindObjectInSpan(int x1, int y1, int x2, int y2, int* edgeY, bool exclude,
                                        const CTimeBlock* excluded) const
{
    if (y2 < y1)
        std::swap(y1, y2);
    const bool inColumn =
        x1 >= ColumnLeft() && x1 <= ColumnRight() && x2 >= ColumnLeft() && x2 <= ColumnRight();
    if (!inColumn)
        return nullptr;
    for (const auto& block : m_entries) {
        if (exclude && block.get() == excluded)
            continue;
        const int top = BlockTop(*block);
        const int bottom = BlockBottom(*block);
        // Blocks that only touch the span do not overlap it.
        if (top < y2 && y1 < bottom) {
            if (edgeY) {
                if (!exclude)
                    *edgeY = top >= y1 && top <= y2 ? top : bottom;
                else if (m_dragDir == DragDir::UP)
                    *edgeY = bottom;
                else if (m_dragDir == DragDir::DOWN)
                    *edgeY = top;
            }
            return block.get();
        }
    }
    return nullptr;
}

bool CTimeLine::IsSpanOccupied(int x1, int y1, int x2, int y2) const
{
    const int cx = x1 + (x2 - x1) / 2;
    if (y2 < y1)
        std::swap(y1, y2);
    return FindObjectInSpan(cx, y1 + 1, cx, y2 - 1, nullptr, false, nullptr) != nullptr;
}

bool CTimeLine::IsTimeOccupied(int start, int stop) const
{
    for (const auto& block : m_entries) {
        const int low = std::min(block->m_start, block->m_stop);
        const int high = std::max(block->m_start, block->m_stop);
        if (low < stop && start < high)
            return true;
    }
    return false;
}

bool CTimeLine::ClipToNeighbour(CTimeBlock& a, CTimeBlock& b) const
{
    a.Normalise();
    b.Normalise();
    if (a.m_start > b.m_start && a.m_stop < b.m_stop)
        return false;
    if (a.m_dir == DragDir::UP) {
        if (a.m_stop >= b.m_stop)
            a.CopyStartFrom(b, false);
        else
            a.CopyStopFrom(b, true);
    } else {
        if (a.m_start >= b.m_start)
            a.CopyStartFrom(b, false);
        else
            a.CopyStopFrom(b, true);
    }
    return true;
}

// Overlap by times, so that it holds however small the rows are drawn.
CTimeBlock* CTimeLine::FindOverlapping(const CTimeBlock& a) const
{
    const int low = std::min(a.m_start, a.m_stop);
    const int high = std::max(a.m_start, a.m_stop);
    for (const auto& block : m_entries) {
        if (block.get() == &a)
            continue;
        const int otherLow = std::min(block->m_start, block->m_stop);
        const int otherHigh = std::max(block->m_start, block->m_stop);
        if (otherLow < high && low < otherHigh)
            return block.get();
    }
    return nullptr;
}

bool CTimeLine::CheckUntilNooverlaps(CTimeBlock*& a, bool* removed)
{
    *removed = false;
    CTimeBlock* other = FindOverlapping(*a);
    if (!other)
        return false;
    if (ClipToNeighbour(*a, *other))
        return true;
    // Wholly inside another block: it goes.
    RemoveFromInfoStore(a);
    a = nullptr;
    *removed = true;
    return false;
}
