#include "app/KeyCommands.h"
#include "app/Profile.h"
#include "platform/ProfileStore.h"
#include "ui/ComboItems.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

int Find(const CKeyCommands& keys, int key, bool highlighted, bool editing, bool ctrl, bool shift)
{
    int index = -2;
    const bool found = keys.FindKeyCommand(key, index, highlighted, editing, ctrl, shift);
    EXPECT_EQ(found, index >= 0);
    return found ? keys.Entry(index).command : 0;
}

CKeyCommands Defaults()
{
    CKeyCommands keys;
    keys.Build(CProfile::LoadKeyCommands());
    return keys;
}

} // namespace

TEST(KeyCommands, TheDefaultTableAnswersEachStateAndModifier)
{
    const CKeyCommands keys = Defaults();
    // "p": plain, Shift and Ctrl each find their own entry.
    int index = -1;
    ASSERT_TRUE(keys.FindKeyCommand('P', index, false, false, true, false));
    EXPECT_EQ(keys.Entry(index).modifier, 17);
    ASSERT_TRUE(keys.FindKeyCommand('P', index, false, false, false, true));
    EXPECT_EQ(keys.Entry(index).modifier, 16);
    ASSERT_TRUE(keys.FindKeyCommand('P', index, false, false, false, false));
    EXPECT_EQ(keys.Entry(index).modifier, -1);
    EXPECT_EQ(keys.Entry(index).command, 12864);

    // "t" adds an entry whatever the state; Ctrl+T is no key command.
    EXPECT_EQ(Find(keys, 'T', false, false, false, false), 12863);
    EXPECT_EQ(Find(keys, 'T', true, true, false, false), 12863);
    EXPECT_EQ(Find(keys, 'T', false, false, true, false), 0);
    // The insertion key shows the cursor: the first of its two entries wins.
    EXPECT_EQ(Find(keys, 'C', false, false, false, false), 12865);

    // Resizing needs a highlighted block and no editing state.
    EXPECT_EQ(Find(keys, CKeyCommands::kVkUp, true, false, false, false), 12869);
    EXPECT_EQ(Find(keys, CKeyCommands::kVkDown, true, false, false, true), 12870);
    EXPECT_EQ(Find(keys, CKeyCommands::kVkUp, true, false, false, true), 12876);
    EXPECT_EQ(Find(keys, CKeyCommands::kVkDown, true, false, false, false), 12877);
    // Without a highlight or editing, only entries with both flags clear count.
    EXPECT_EQ(Find(keys, CKeyCommands::kVkUp, false, false, false, false), 12878);
    EXPECT_EQ(Find(keys, CKeyCommands::kVkPageDown, false, false, false, false), 12872);
    // Editing alone: scrolling still works, the insertion cursor is not shown.
    EXPECT_EQ(Find(keys, CKeyCommands::kVkDown, false, true, false, false), 12879);
    EXPECT_EQ(Find(keys, 'C', false, true, false, false), 12865);

    // The context-menu key opens the menu in every state.
    EXPECT_EQ(Find(keys, CKeyCommands::kVkApps, false, false, false, false), 12868);
    EXPECT_EQ(Find(keys, CKeyCommands::kVkApps, true, true, false, false), 12868);
}

TEST(KeyCommands, StoredTextIsUpperCasedAndMatchedByItsFirstCharacter)
{
    const CKeyCommands keys = Defaults();
    // "esc" is stored as "ESC" and matched by its "E".
    EXPECT_EQ(keys.Entry(16).keyText, QStringLiteral("ESC"));
    EXPECT_EQ(keys.Entry(16).keyCode, int('E'));
    EXPECT_EQ(Find(keys, 'E', true, true, false, false), 12875);
    EXPECT_EQ(keys.Entry(34).name, QString());
}

TEST(KeyCommands, ATypedKeyIsTheKeyThatTypesItOrNoKeyAtAll)
{
    // Letters in either case and digits are their own keys, punctuation the
    // key it is printed on first.
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral("t")), int('T'));
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral("7")), int('7'));
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral(".")), 0xBE);
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral("-")), 0xBD);
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral(";")), 0xBA);
    EXPECT_EQ(CKeyCommands::KeyOfText(QStringLiteral(" ")), 0x20);
    // Typed with Shift, of no key of their own, or nothing to press.
    for (const char* text : {"(", "&", "!", "$", "<", "é", "ß", "Ω", "\t", "\u00a0", ""})
        EXPECT_EQ(CKeyCommands::KeyOfText(QString::fromUtf8(text)), 0) << text;

    // Such a key stored by an older version stands for no other key.
    CKeyCommands one;
    one.SetKeyCommand(0, QStringLiteral("x"), -1, QString::fromUtf8("é"), 5, false, false);
    one.SetKeyCommand(1, QStringLiteral("y"), -1, QStringLiteral("("), 6, false, false);
    one.SetKeyCommand(2, QString(), 0, QString(), 0, false, false);
    EXPECT_EQ(one.Entry(0).keyText, QString::fromUtf8("É"));
    for (int key = 0; key < 0x100; ++key) {
        int index = -1;
        EXPECT_FALSE(one.FindKeyCommand(key, index, false, false, false, false)) << key;
    }

    // A profile that names the space bar keeps it.
    CProfileStore profile;
    profile.setValue(QStringLiteral("Keys/TSKey"), QStringLiteral(" "));
    profile.sync();
    EXPECT_EQ(
        Find(Defaults(), CKeyCommands::KeyOfText(QStringLiteral(" ")), false, false, false, false),
        12863);
}

TEST(KeyCommands, ChoicesOutsideTheirRangeGiveNoKeyAndNoModifier)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("Keys/RsTUp"), 7);
    profile.setValue(QStringLiteral("Keys/sysRsTUp"), 9);
    profile.setValue(QStringLiteral("Keys/sysRsBDwn"), 2);
    profile.setValue(QStringLiteral("Keys/HKey"), QStringLiteral("q"));
    profile.sync();
    const CKeyCommands keys = Defaults();
    EXPECT_EQ(keys.Entry(18).keyText, QString());
    EXPECT_EQ(keys.Entry(18).modifier, -1);
    EXPECT_EQ(keys.Entry(21).modifier, 17);
    // No key reaches the entry without a key.
    for (int key = 1; key < 0x80; ++key) {
        int index = -1;
        if (keys.FindKeyCommand(key, index, true, false, false, false)) {
            EXPECT_NE(index, 18) << key;
        }
    }
    EXPECT_EQ(Find(keys, CKeyCommands::kVkDown, true, false, true, false), 12877);
    EXPECT_EQ(Find(keys, 'Q', false, false, false, true), 12867);
    EXPECT_EQ(Find(keys, 'H', false, false, false, false), 0);

    EXPECT_EQ(CKeyCommands::ModifierOfName(QStringLiteral("cntl")), 17);
    EXPECT_EQ(CKeyCommands::ModifierOfName(QStringLiteral("Shift")), 16);
    EXPECT_EQ(CKeyCommands::ModifierOfName(QStringLiteral("ALT")), -1);
}

TEST(KeyCommands, CombosListTheChoicesWithTheirNumbers)
{
    QComboBox modifiers;
    CComboItems modifierItems(&modifiers);
    CKeyCommands::FillModifierCombo(modifierItems);
    ASSERT_EQ(modifiers.count(), 3);
    EXPECT_EQ(modifiers.itemText(2), QStringLiteral("CNTL"));
    EXPECT_EQ(modifiers.itemData(2).toInt(), 2);

    QComboBox keys;
    CComboItems keyItems(&keys);
    CKeyCommands::FillKeyCombo(keyItems);
    ASSERT_EQ(keys.count(), 4);
    EXPECT_EQ(keys.itemText(3), QStringLiteral("Page Down"));
    EXPECT_EQ(keys.itemData(0).toInt(), 0);
}
