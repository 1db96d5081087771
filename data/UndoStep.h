#pragma once

#include "data/UndoRecord.h"

#include <memory>

// One step of the time-sheet history: what was done, and the entry it was
// done to. The step owns its record.
struct CUndoStep {
    // What the step records.
    enum Kind : int {
        kInserted = 0,
        kDeleted = 2,
        kUpdated = 3,
    };

    CUndoStep(int kind, std::unique_ptr<CUndoRecord> record)
        : m_kind(kind)
        , m_record(std::move(record))
    {}

    int m_kind;
    std::unique_ptr<CUndoRecord> m_record;
};
