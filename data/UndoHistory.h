#pragma once

#include "data/UndoStep.h"

#include <deque>
#include <functional>
#include <memory>

// The undo and redo lists of time-sheet changes, oldest first. The history
// owns every step on its lists; a step it refuses is deleted at once.
class CUndoHistory {
public:
    // Hands a step to whoever re-applies it; true when its write succeeded.
    using ApplyCallback = std::function<bool(CUndoStep*)>;

    explicit CUndoHistory(int capacity);
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    void SetApplyCallbacks(ApplyCallback undo, ApplyCallback redo);

    // Inserts and deletes only: another kind is refused and its number
    // returned. Otherwise the position after the push.
    int PushUndo(std::unique_ptr<CUndoStep> step);
    // The same for a step of any kind.
    int Push(std::unique_ptr<CUndoStep> step);
    // Inserts and deletes only, no capacity limit; the position stays.
    int PushRedo(std::unique_ptr<CUndoStep> step);
    // A step straight onto the redo list, whatever its kind.
    void AppendRedo(std::unique_ptr<CUndoStep> step);

    // Re-apply the newest step of a list and move it to the other one: 1.
    // 0 when the list is empty; -1 when the step could not be applied, and
    // it stays where it was.
    int Undo();
    int Redo();
    void Clear();
    // A row stored again under a new key: every step naming its old key
    // names the new one.
    void RenameRow(int oldKey, int newKey);

    int Capacity() const { return m_capacity; }
    int Position() const { return m_position; }
    int UndoCount() const { return static_cast<int>(m_undo.size()); }
    int RedoCount() const { return static_cast<int>(m_redo.size()); }
    const CUndoStep* NewestUndo() const { return m_undo.empty() ? nullptr : m_undo.back().get(); }
    const CUndoStep* NewestRedo() const { return m_redo.empty() ? nullptr : m_redo.back().get(); }
    const CUndoStep* UndoAt(int i) const { return m_undo.at(static_cast<std::size_t>(i)).get(); }

private:
    static bool Movable(int kind);
    int Append(std::unique_ptr<CUndoStep> step);
    int Apply(std::deque<std::unique_ptr<CUndoStep>>& list, const ApplyCallback& apply, int step);

    std::deque<std::unique_ptr<CUndoStep>> m_undo;
    std::deque<std::unique_ptr<CUndoStep>> m_redo;
    int m_capacity;
    int m_position = 0;
    ApplyCallback m_applyUndo;
    ApplyCallback m_applyRedo;
};
