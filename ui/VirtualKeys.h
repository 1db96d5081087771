#pragma once

class QKeyEvent;

// Keys are kept as Windows virtual-key codes: stored key choices, the key
// commands and the time line speak them. Letters and digits are their
// upper-case ASCII codes.
enum VirtualKey : int {
    kVkBack = 0x08,
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12, // Alt
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPrior = 0x21, // Page Up
    kVkNext = 0x22,  // Page Down
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    kVkApps = 0x5D, // the context-menu key
    kVkNumpad0 = 0x60,
    kVkF1 = 0x70,
    kVkF24 = 0x87,
};

// The virtual key of a Qt key (Qt::Key_...); 0 when it has none. Shifted
// punctuation gives the key it sits on (Qt::Key_Less gives VK_OEM_COMMA).
int QtKeyToVirtualKey(int qtKey);
// The Qt key of a virtual key; 0 when it has none.
int VirtualKeyToQtKey(int virtualKey);
// The virtual key of a key event; keypad digits and operators give the
// numeric-pad codes.
int VirtualKeyOfEvent(const QKeyEvent& event);
