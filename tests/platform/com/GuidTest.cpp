#include "platform/com/Guid.h"
#include "tests/support/QtPrinters.h"

#include <QSet>
#include <gtest/gtest.h>

#include <unordered_set>

namespace {
constexpr Guid kPlentor = Guid::Literal("{4170551F-F04B-11D1-ACC6-0040053F2CF2}");
}

TEST(Guid, PrintsUpperCaseWithBracesWhateverFormItWasReadIn)
{
    const auto lower = Guid::FromString(QStringLiteral("4170551f-f04b-11d1-acc6-0040053f2cf2"));
    const auto braced =
        Guid::FromString(QStringLiteral(" {4170551F-F04B-11D1-ACC6-0040053F2CF2} "));
    ASSERT_TRUE(lower && braced);
    EXPECT_EQ(*lower, kPlentor);
    EXPECT_EQ(*braced, kPlentor);
    EXPECT_EQ(kPlentor.ToString(), QStringLiteral("{4170551F-F04B-11D1-ACC6-0040053F2CF2}"));
    EXPECT_EQ(Guid::FromString(kPlentor.ToString()), kPlentor);
}

TEST(Guid, RejectsAnythingButTheRegistryForm)
{
    for (const char* bad :
         {"", "{}", "4170551F-F04B-11D1-ACC6-0040053F2CF", "4170551F-F04B-11D1-ACC6-0040053F2CF2A",
          "4170551FF04B-11D1-ACC6-0040053F2CF2-", "{4170551F-F04B-11D1-ACC6-0040053F2CF2",
          "4170551G-F04B-11D1-ACC6-0040053F2CF2", "PLENTORX.PlentorCtrl.1"})
        EXPECT_FALSE(Guid::FromString(QString::fromLatin1(bad))) << bad;
}

TEST(Guid, ComparesAndHashesByValue)
{
    const Guid other = Guid::Literal("{41705520-F04B-11D1-ACC6-0040053F2CF2}");
    EXPECT_NE(kPlentor, other);
    EXPECT_LT(kPlentor, other);

    QSet<Guid> set{kPlentor, other, *Guid::FromString(kPlentor.ToString())};
    EXPECT_EQ(set.size(), 2);
    std::unordered_set<Guid> std{kPlentor, other, kPlentor};
    EXPECT_EQ(std.size(), 2u);
}
