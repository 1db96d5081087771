#pragma once

class QKeyEvent;

// An accelerator table as the key-aware dialog bases consult it: the first
// entry a key press matches gives its command.
class IAcceleratorTable {
public:
    virtual ~IAcceleratorTable() = default;
    // The command of the first matching entry, 0 when none. keyCode gets the
    // code the entry matched: the virtual key, or for a character entry the
    // character.
    virtual int TranslateAccelerator(const QKeyEvent& event, int& keyCode) const = 0;
};
