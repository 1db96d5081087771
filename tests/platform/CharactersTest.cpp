#include "platform/Characters.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(CharactersTest, ACutNeverSplitsACharacter)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two code units
    // Characters count as the databases count them: an emoji is one.
    EXPECT_EQ(LeftCharacters(QStringLiteral("ab") + emoji + QStringLiteral("cd"), 3),
              QStringLiteral("ab") + emoji);
    EXPECT_EQ(LeftCharacters(emoji + emoji + emoji, 2), emoji + emoji);
    EXPECT_EQ(LeftCharacters(QStringLiteral("abc"), 2), QStringLiteral("ab"));
    // Texts that fit stay as they are; no room, no text.
    EXPECT_EQ(LeftCharacters(emoji + emoji, 2), emoji + emoji);
    EXPECT_EQ(LeftCharacters(QStringLiteral("abc"), 0), QString());
    EXPECT_EQ(CharacterCount(QStringLiteral("ab") + QChar(0xD83D) + QChar(0xDE00)), 3);
    // A stray half is a character of its own.
    const QString half = emoji.left(1);
    EXPECT_EQ(LeftCharacters(half + QStringLiteral("xyz"), 2), half + QStringLiteral("x"));
}
