#include "ui/VirtualKeys.h"
#include "tests/support/TestEnv.h"

#include <QKeyEvent>

TEST(VirtualKeys, LettersDigitsAndFunctionKeysMapBothWays)
{
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_A), 'A');
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_7), '7');
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F1), 0x70);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F12), 0x7B);
    const int keys[] = {'E',       '0',       0x70,       0x87,     kVkEscape,
                        kVkUp,     kVkDown,   kVkPrior,   kVkNext,  kVkApps,
                        kVkDelete, kVkReturn, kVkControl, kVkShift, kVkMenu};
    for (int vk : keys)
        EXPECT_EQ(QtKeyToVirtualKey(VirtualKeyToQtKey(vk)), vk) << vk;
}

TEST(VirtualKeys, EscapeIsNotTheLetterE)
{
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Escape), 27);
    EXPECT_EQ(VirtualKeyToQtKey(27), Qt::Key_Escape);
    EXPECT_EQ(VirtualKeyToQtKey('E'), Qt::Key_E);
}

TEST(VirtualKeys, ShiftedPunctuationGivesItsKey)
{
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Comma), 0xBC);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Less), 0xBC);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Greater), 0xBE);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Exclam), '1');
    EXPECT_EQ(VirtualKeyToQtKey(0xBC), Qt::Key_Comma);
}

TEST(VirtualKeys, UnknownKeysGiveNothing)
{
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_unknown), 0);
    EXPECT_EQ(QtKeyToVirtualKey(0), 0);
    EXPECT_EQ(VirtualKeyToQtKey(0), 0);
    EXPECT_EQ(VirtualKeyToQtKey(0xFF), 0);
}

TEST(VirtualKeys, TheKeypadHasItsOwnCodes)
{
    const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"));
    const QKeyEvent row(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    const QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    EXPECT_EQ(VirtualKeyOfEvent(keypad), 0x65);
    EXPECT_EQ(VirtualKeyOfEvent(row), '5');
    EXPECT_EQ(VirtualKeyOfEvent(plus), 0x6B);
    EXPECT_EQ(VirtualKeyToQtKey(0x65), Qt::Key_5);
}
