#include "ui/VirtualKeys.h"

#include <QKeyEvent>

namespace {

struct CKeyPair {
    int qtKey;
    int virtualKey;
};

// The first pair of a virtual key is the one VirtualKeyToQtKey gives back.
constexpr CKeyPair kKeyPairs[] = {
    {Qt::Key_Backspace, kVkBack},
    {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},
    {Qt::Key_Return, kVkReturn},
    {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},
    {Qt::Key_Alt, kVkMenu},
    {Qt::Key_AltGr, kVkMenu},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, kVkEscape},
    {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, kVkPrior},
    {Qt::Key_PageDown, kVkNext},
    {Qt::Key_End, kVkEnd},
    {Qt::Key_Home, kVkHome},
    {Qt::Key_Left, kVkLeft},
    {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},
    {Qt::Key_Down, kVkDown},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, kVkInsert},
    {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Menu, kVkApps},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    // Punctuation by the US layout's keys (VK_OEM_...).
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

} // namespace

int QtKeyToVirtualKey(int qtKey)
{
    // Qt's letters and digits are their ASCII codes, as the virtual keys are.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kVkF1 + (qtKey - Qt::Key_F1);
    for (const CKeyPair& pair : kKeyPairs)
        if (pair.qtKey == qtKey)
            return pair.virtualKey;
    return 0;
}

int VirtualKeyToQtKey(int virtualKey)
{
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return virtualKey;
    if (virtualKey >= kVkF1 && virtualKey <= kVkF24)
        return Qt::Key_F1 + (virtualKey - kVkF1);
    if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + 9)
        return Qt::Key_0 + (virtualKey - kVkNumpad0);
    for (const CKeyPair& pair : kKeyPairs)
        if (pair.virtualKey == virtualKey)
            return pair.qtKey;
    return 0;
}

int VirtualKeyOfEvent(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return kVkNumpad0 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk:
            return 0x6A;
        case Qt::Key_Plus:
            return 0x6B;
        case Qt::Key_Minus:
            return 0x6D;
        case Qt::Key_Period:
            return 0x6E;
        case Qt::Key_Slash:
            return 0x6F;
        default:
            break;
        }
    }
    return QtKeyToVirtualKey(key);
}
