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
    int keyCode = 0;   // the virtual key pressed for it; 0: no key
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

    // Stores one entry for a typed key: the key text upper-cased, and as
    // its key code the virtual key its first character is typed with
    // (KeyOfText).
    void SetKeyCommand(int index, const QString& name, int modifier, const QString& keyText,
                       int command, bool highlight, bool edit);
    // Rebuilds every entry from the "Keys" values.
    void Build(const CProfile::CValues& keys);

    // The first entry for the key whose flags fit the state and whose
    // modifier fits the keys held down.
    bool FindKeyCommand(int key, int& index, bool highlighted, bool editing, bool ctrlDown,
                        bool shiftDown) const;

    const CKeyCommand& Entry(int index) const { return m_entries.at(index); }

    // The virtual key of the key that types the first character of a key
    // text by itself: letters (either case) and digits are their own keys,
    // punctuation the key it is printed on first ("." the period key), a
    // blank the space bar. 0 when no single key types it: a character typed
    // with Shift ("(", "&"), a letter of no key of its own ("é"), a tab or
    // an empty text.
    static int KeyOfText(const QString& keyText);

    // Stored modifier choice 0 NONE, 1 SHIFT, 2 CNTL -> modifier; -1 otherwise.
    static int ModifierOfChoice(int choice);
    // A modifier choice's name, compared ignoring case -> modifier; -1 otherwise.
    static int ModifierOfName(const QString& name);
    // Stored key choice 0..3 -> virtual key; -1 otherwise.
    static int VirtualKeyOfChoice(int choice);

    // The choices' names with their numbers as item data.
    static void FillModifierCombo(IItemList& combo);
    static void FillKeyCombo(IItemList& combo);

private:
    // An entry for a key named by its virtual key (a key choice, the
    // context-menu key); -1 gives no key.
    void SetVirtualKeyCommand(int index, const QString& name, int modifier, int virtualKey,
                              int command, bool highlight, bool edit);

    std::array<CKeyCommand, kCount> m_entries;
};
