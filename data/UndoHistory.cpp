#include "data/UndoHistory.h"

#include <algorithm>

CUndoHistory::CUndoHistory(int capacity)
    : m_capacity(capacity)
{}

CUndoHistory::~CUndoHistory() = default;

void CUndoHistory::SetApplyCallbacks(ApplyCallback undo, ApplyCallback redo)
{
    m_applyUndo = std::move(undo);
    m_applyRedo = std::move(redo);
}

bool CUndoHistory::Movable(int kind)
{
    return kind == CUndoStep::kInserted || kind == CUndoStep::kDeleted;
}

int CUndoHistory::Append(std::unique_ptr<CUndoStep> step)
{
    // The oldest edits fall away first.
    while (!m_undo.empty() && static_cast<int>(m_undo.size()) >= m_capacity)
        m_undo.pop_front();
    m_undo.push_back(std::move(step));
    if (m_position < 0 && !m_redo.empty())
        m_position = UndoCount() + RedoCount() + 1;
    else
        ++m_position;
    return m_position;
}

int CUndoHistory::PushUndo(std::unique_ptr<CUndoStep> step)
{
    if (!step)
        return -1;
    if (!Movable(step->m_kind))
        return step->m_kind;
    return Append(std::move(step));
}

int CUndoHistory::Push(std::unique_ptr<CUndoStep> step)
{
    if (!step)
        return -1;
    return Append(std::move(step));
}

int CUndoHistory::PushRedo(std::unique_ptr<CUndoStep> step)
{
    if (!step)
        return -1;
    if (!Movable(step->m_kind))
        return step->m_kind;
    m_redo.push_back(std::move(step));
    return m_position;
}

void CUndoHistory::AppendRedo(std::unique_ptr<CUndoStep> step)
{
    if (step)
        m_redo.push_back(std::move(step));
}

int CUndoHistory::Undo()
{
    return Apply(m_undo, m_applyUndo, -1);
}

int CUndoHistory::Redo()
{
    return Apply(m_redo, m_applyRedo, 1);
}

int CUndoHistory::Apply(std::deque<std::unique_ptr<CUndoStep>>& list, const ApplyCallback& apply,
                        int step)
{
    if (list.empty())
        return 0;
    const int position = m_position;
    m_position += step;
    const std::size_t place = list.size() - 1;
    std::unique_ptr<CUndoStep> taken = std::move(list.back());
    list.pop_back();
    // The callback may record steps of its own while it re-applies this one.
    if (apply && apply(taken.get())) {
        if (&list == &m_undo)
            PushRedo(std::move(taken));
        else
            PushUndo(std::move(taken));
        return 1;
    }
    // Its write failed: the database is as it was, so the step stays where
    // it was, for the next try.
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(place, list.size())),
                std::move(taken));
    m_position = position;
    return -1;
}

void CUndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
}

void CUndoHistory::RenameRow(int oldKey, int newKey)
{
    for (auto* list : {&m_undo, &m_redo})
        for (const std::unique_ptr<CUndoStep>& step : *list)
            if (step->m_record && step->m_record->m_TimesheetID == oldKey)
                step->m_record->m_TimesheetID = newKey;
}
