#include "data/TextCut.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(TextCutTest, ACutNeverSplitsACharacter)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two code units
    // Characters count as the databases count them: an emoji is one.
    EXPECT_EQ(CutAtCharacterBoundary(QStringLiteral("ab") + emoji + QStringLiteral("cd"), 3),
              QStringLiteral("ab") + emoji);
    EXPECT_EQ(CutAtCharacterBoundary(emoji + emoji + emoji, 2), emoji + emoji);
    EXPECT_EQ(CutAtCharacterBoundary(QStringLiteral("abc"), 2), QStringLiteral("ab"));
    // Texts that fit, and no limit, stay as they are.
    EXPECT_EQ(CutAtCharacterBoundary(emoji + emoji, 2), emoji + emoji);
    EXPECT_EQ(CutAtCharacterBoundary(QStringLiteral("abc"), 0), QStringLiteral("abc"));
    // A stray half is a character of its own.
    const QString half = emoji.left(1);
    EXPECT_EQ(CutAtCharacterBoundary(half + QStringLiteral("xyz"), 2), half + QStringLiteral("x"));
}
