#pragma once

#include "app/Profile.h"

#include <QString>

#include <array>

class IItemList;

// One single-key action of the time-sheet window.
struct CKeyCommand {
    QString name;      // empty ends the table
    int modifier = -1; // 17 Ctrl, 16 Shift, anything else neither
    QString keyText;   // upper-cased
    int keyCode = 0;   // first character of the key text, 7 bits
    bool highlight = false;
    bool edit = false;
    int command = 0; // sent to the time-sheet window
};

// The table of key commands, built from the "Keys" settings. Keys are
// virtual-key codes (letters are their upper-case character).
class CKeyCommands {
public:
    static constexpr int kCount = 35;

    enum : int { kModShift = 16, kModCtrl = 17 };
    enum : int {
        kVkPageUp = 0x21,
        kVkPageDown = 0x22,
        kVkUp = 0x26,
        kVkDown = 0x28,
        kVkApps = 0x5D,
    };

    // Stores one entry: the key text upper-cased, its first character
    // (masked to 7 bits) as the key code.
    void SetKeyCommand(int index, const QString& name, int modifier, const QString& keyText,
                       int command, bool highlight, bool edit);
    // Rebuilds every entry from the "Keys" values.
    void Build(const CProfile::CValues& keys);

    // The first entry for the key whose flags fit the state and whose
    // modifier fits the keys held down.
    bool FindKeyCommand(int key, int& index, bool highlighted, bool editing, bool ctrlDown,
                        bool shiftDown) const;

    const CKeyCommand& Entry(int index) const { return m_entries.at(index); }

    // Stored modifier choice 0 NONE, 1 SHIFT, 2 CNTL -> modifier; -1 otherwise.
    static int ModifierOfChoice(int choice);
    // A modifier choice's name, compared ignoring case -> modifier; -1 otherwise.
    static int ModifierOfName(const QString& name);
    // Stored key choice 0..3 -> virtual key; -1 otherwise.
    static int VirtualKeyOfChoice(int choice);
    // The key text an entry built from a key choice carries.
    static QString KeyTextOfChoice(int choice);

    // The choices' names with their numbers as item data.
    static void FillModifierCombo(IItemList& combo);
    static void FillKeyCombo(IItemList& combo);

private:
    std::array<CKeyCommand, kCount> m_entries;
};
