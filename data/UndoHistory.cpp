#include "data/UndoHistory.h"

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
    if (m_undo.empty())
        return 0;
    --m_position;
    std::unique_ptr<CUndoStep> step = std::move(m_undo.back());
    m_undo.pop_back();
    // The callback may record steps of its own while it re-applies this one.
    if (m_applyUndo && m_applyUndo(step.get()))
        PushRedo(std::move(step));
    return 1;
}

int CUndoHistory::Redo()
{
    if (m_redo.empty())
        return 0;
    ++m_position;
    std::unique_ptr<CUndoStep> step = std::move(m_redo.back());
    m_redo.pop_back();
    if (m_applyRedo && m_applyRedo(step.get()))
        PushUndo(std::move(step));
    return 1;
}

void CUndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
}
