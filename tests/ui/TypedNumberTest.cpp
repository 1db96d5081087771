#include "ui/TypedNumber.h"

#include <gtest/gtest.h>

namespace {

enum Outcome { kNumber, kNotANumber, kAmbiguous };

struct CReading {
    const char* locale;
    const char* typed;
    Outcome outcome;
    double value = 0.0;
};

} // namespace

TEST(TypedNumber, ThePointAndTheDesktopsDecimalSignAndItsGroups)
{
    const CReading readings[] = {
        {"de_DE", "1,5", kNumber, 1.5},
        {"de_DE", "1.5", kNumber, 1.5},
        {"de_DE", " -0,25 ", kNumber, -0.25},
        {"de_DE", "1.234,5", kNumber, 1234.5},
        {"de_DE", "1.234.567", kNumber, 1234567},
        {"de_DE", "1.000", kAmbiguous},
        {"de_DE", "1,234.5", kNotANumber},
        {"de_DE", "1,5,", kNotANumber},
        {"fr_FR", "1,5", kNumber, 1.5},
        {"fr_FR", "7.75", kNumber, 7.75},
        {"fr_FR", "1 234,5", kNumber, 1234.5},
        {"fr_FR", "1\u00a0234", kNumber, 1234},
        {"fr_FR", "1 23", kNotANumber},
        {"en_US", "1.5", kNumber, 1.5},
        {"en_US", "1,234.5", kNumber, 1234.5},
        {"en_US", "1,000", kNumber, 1000},
        {"en_US", "1,5", kNotANumber},
        {"en_US", "inf", kNotANumber},
        {"en_US", "nan", kNotANumber},
        {"en_US", "1e999", kNotANumber},
        {"en_US", "1 or 1=1", kNotANumber},
    };
    for (const CReading& r : readings) {
        const CTypedNumber typed(QString::fromUtf8(r.typed), QLocale(QLatin1String(r.locale)));
        EXPECT_EQ(typed.IsValid(), r.outcome == kNumber) << r.locale << " " << r.typed;
        EXPECT_EQ(typed.IsAmbiguous(), r.outcome == kAmbiguous) << r.locale << " " << r.typed;
        if (r.outcome == kNumber)
            EXPECT_DOUBLE_EQ(typed.Value(), r.value) << r.locale << " " << r.typed;
        else
            EXPECT_FALSE(typed.Message().isEmpty());
    }
    const CTypedNumber empty(QStringLiteral("  "));
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(CTypedNumber(QStringLiteral("1 or 1=1")).Message(),
              QStringLiteral("1 or 1=1 is not a number"));
    EXPECT_EQ(CTypedNumber(QStringLiteral("1.000"), QLocale(QLatin1String("de_DE"))).Message(),
              QStringLiteral("1.000 could mean 1 or 1000: type it without group separators"));
}

TEST(TypedNumber, AnIntegerIsDigitsWithTheDesktopsGroupsOnly)
{
    const struct {
        const char* locale;
        const char* typed;
        bool integer;
    } readings[] = {
        {"en_US", "1000", true},  {"en_US", "1,000", true},      {"en_US", "-12", true},
        {"fr_FR", "1 000", true}, {"fr_FR", "1\u202f000", true}, {"de_DE", "1.000.000", true},
        {"en_US", "1e3", false},  {"en_US", "1E3", false},       {"en_US", "1.0", false},
        {"de_DE", "12,0", false}, {"en_US", "0x10", false},      {"de_DE", "1.000", false},
    };
    for (const auto& r : readings) {
        const CTypedNumber typed(QString::fromUtf8(r.typed), QLocale(QLatin1String(r.locale)));
        EXPECT_EQ(typed.IsInteger(), r.integer) << r.locale << " " << r.typed;
    }
}
