#include "ui/TypedDate.h"
#include "tests/support/DesktopLocale.h"
#include "ui/Utilities.h"

#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 3, 29);

struct CReading {
    const char* locale;
    const char* typed;
    CDateTime expected; // null: refused
    bool withTime = false;
};

} // namespace

TEST(TypedDate, ReadsTheDesktopsOrderTwoAndFourDigitYearsAndIso)
{
    const CDateTime day(2026, 3, 29);
    const CReading readings[] = {
        {"de_DE", "29.03.26", day},
        {"de_DE", "29.03.2026", day},
        {"de_DE", " 29.3.26 ", day},
        {"de_DE", "2026-03-29", day},
        {"de_DE", "29. März 2026", day},
        {"de_DE", "29.03.26 14:30", CDateTime(2026, 3, 29, 14, 30), true},
        {"de_DE", "29.03.47", CDateTime(1947, 3, 29)},
        {"de_DE", "29.03.46", CDateTime(2046, 3, 29)},
        {"de_DE", "03.29.26", {}},
        {"en_US", "3/29/26", day},
        {"en_US", "3/29/2026", day},
        {"en_US", "March 29, 2026", day},
        {"en_US", "Sun, Mar 29, 2026", day},
        {"en_US", "3/29/26 2:30 PM", CDateTime(2026, 3, 29, 14, 30), true},
        {"en_US", "29/3/26", {}},
        {"fr_FR", "29/03/2026", day},
        {"fr_FR", "29/03/26", day},
        {"fr_FR", "29 mars 2026", day},
        {"fr_FR", "29 Mar 2026", day},
        {"fr_FR", "dim. 29 mars 2026", day},
        {"fr_FR", "2026-03-29T14:30:05", CDateTime(2026, 3, 29, 14, 30, 5), true},
        {"fr_FR", "31/02/2026", {}},
        {"fr_FR", "29/03/26 25:00", {}},
        {"fr_FR", "14:30", {}},
        {"fr_FR", "demain", {}},
        {"fr_FR", "29//03/26", {}},
        {"fr_FR", "", {}},
    };
    for (const CReading& r : readings) {
        const CDesktopLocale desktop(r.locale);
        const CTypedDate typed(QString::fromUtf8(r.typed), kToday);
        EXPECT_EQ(typed.Value(), r.expected) << r.locale << " " << r.typed;
        EXPECT_EQ(typed.HasTime(), r.withTime) << r.locale << " " << r.typed;
        EXPECT_EQ(typed.Message().isEmpty(), r.expected.IsValid()) << r.locale << " " << r.typed;
    }
}

TEST(TypedDate, TheDatesTheProgramShowsReadBack)
{
    for (const char* locale : {"de_DE", "en_US", "fr_FR"}) {
        const CDesktopLocale desktop(locale);
        const CRegionalFormats& formats = RegionalFormats();
        for (const CDateTime& shown : {CDateTime(1990, 7, 4), CDateTime(2026, 12, 8, 9, 5),
                                       CDateTime(2045, 1, 31, 23, 59)}) {
            const QString date = FormatDateTime(shown, formats.dateFormat);
            const QString withTime = date + QLatin1Char(' ') +
                                     FormatTimeOfDay(shown.Time().hour(), shown.Time().minute());
            for (const QString& text :
                 {date, QLocale().toString(shown.Date(), QLocale::ShortFormat), withTime}) {
                const CTypedDate typed(text, kToday);
                EXPECT_EQ(typed.Value(), text == withTime ? shown : CDateTime(shown.Date()))
                    << locale << " " << text.toStdString() << " " << typed.Message().toStdString();
            }
        }
    }
}

TEST(TypedDate, ImpossibleYearsAreRefusedNamingTheFormsThatAreRead)
{
    const CDesktopLocale desktop("de_DE");
    const QString forms = QStringLiteral("29.03.26, 29.03.2026 or 2026-03-29");
    EXPECT_EQ(CTypedDate::Forms(kToday), forms);
    for (const char* year : {"1/2/-001", "29.03.0000", "29.03.10000", "29.03.026", "-2026-03-29"}) {
        const CTypedDate typed(QLatin1String(year), kToday);
        EXPECT_FALSE(typed.IsValid()) << year;
        EXPECT_TRUE(typed.Message().contains(QLatin1String("no possible year"))) << year;
        EXPECT_TRUE(typed.Message().endsWith(forms)) << typed.Message().toStdString();
    }
    const CTypedDate words(QStringLiteral("morgen"), kToday);
    EXPECT_EQ(words.Message(),
              QStringLiteral("morgen is not a date: type it as %1, a time may follow").arg(forms));
    // The stored-form reader refuses a signed year too.
    EXPECT_FALSE(CDateTime::Parse(u"1/2/-001").IsValid());
    EXPECT_FALSE(CDateTime::Parse(u"1/2/+001").IsValid());
}

TEST(TypedDate, TwoDigitYearsFallFromSeventyNineYearsBackToTwentyAhead)
{
    struct {
        int thisYear, typed, full;
    } const cases[] = {{2026, 26, 2026}, {2026, 0, 2000},  {2026, 46, 2046},
                       {2026, 47, 1947}, {2026, 99, 1999}, {2090, 10, 2110},
                       {2090, 11, 2011}, {2001, 21, 2021}, {2001, 22, 1922}};
    for (const auto& c : cases)
        EXPECT_EQ(CTypedDate::FullYear(c.typed, QDate(c.thisYear, 6, 1)), c.full)
            << c.thisYear << " " << c.typed;
}
