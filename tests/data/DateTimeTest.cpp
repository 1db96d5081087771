#include "data/DateTime.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(DateTime, ParsesTheFormsTheProgramWrites)
{
    EXPECT_EQ(CDateTime::Parse(u"2026-12-08 14:05:09"), CDateTime(2026, 12, 8, 14, 5, 9));
    EXPECT_EQ(CDateTime::Parse(u"2026-12-08"), CDateTime(2026, 12, 8));
    EXPECT_EQ(CDateTime::Parse(u"2026-12-08T14:05:09.250"),
              CDateTime(2026, 12, 8, 14, 5, 9).AddMSecs(250));
    EXPECT_EQ(CDateTime::Parse(u"2026-12-08T14:05:09+02:00"), CDateTime(2026, 12, 8, 14, 5, 9));
    EXPECT_EQ(CDateTime::Parse(u"08/December/2026"), CDateTime(2026, 12, 8));
    EXPECT_EQ(CDateTime::Parse(u"8/Dec/2026 23:59:00"), CDateTime(2026, 12, 8, 23, 59));
    EXPECT_EQ(CDateTime::Parse(u"12/08/2026"), CDateTime(2026, 12, 8)); // month first
    EXPECT_EQ(CDateTime::Parse(u"25/12/2026"),
              CDateTime(2026, 12, 25)); // day first when it must be
    EXPECT_EQ(CDateTime::Parse(u"9:30 PM"), CDateTime(CDateTime::ZeroDate(), QTime(21, 30)));
}

TEST(DateTime, RejectsWhatIsNoDate)
{
    for (const char16_t* text : {u"", u"tomorrow", u"2026-02-30", u"2026-12-08 25:00:00",
                                 u"31/31/2026", u"12/08/26", u"2026-12-08X10:00"})
        EXPECT_TRUE(CDateTime::Parse(text).IsNull()) << QString::fromUtf16(text).toStdString();
}

TEST(DateTime, OleDaysAndIsoTextRoundTrip)
{
    EXPECT_EQ(CDateTime::FromOle(0.0), CDateTime(1899, 12, 30));
    EXPECT_EQ(CDateTime::FromOle(-1.5), CDateTime(1899, 12, 28, 12, 0));
    const CDateTime t(2026, 12, 8, 23, 59, 0);
    EXPECT_EQ(CDateTime::FromOle(t.ToOle()), t);
    EXPECT_EQ(t.ToIsoText(), QStringLiteral("2026-12-08 23:59:00"));
    EXPECT_EQ(CDateTime(987, 1, 2).ToIsoText(), QStringLiteral("0987-01-02 00:00:00"));
    EXPECT_EQ(CDateTime().ToIsoText(), QString());
}

TEST(DateTime, ArithmeticAndOrder)
{
    const CDateTime t(2026, 12, 31, 23, 30);
    EXPECT_EQ(t.AddSecs(3600), CDateTime(2027, 1, 1, 0, 30));
    EXPECT_EQ(t.AddSecs(-86400 * 366), CDateTime(2025, 12, 30, 23, 30));
    EXPECT_EQ(t.SecsTo(CDateTime(2027, 1, 1)), 1800);
    EXPECT_EQ(t.MinutesOfDay(), 23 * 60 + 30);
    EXPECT_LT(CDateTime(), CDateTime(1, 1, 1));
    EXPECT_LT(CDateTime(2026, 1, 1, 10, 0), CDateTime(2026, 1, 1, 10, 1));
    EXPECT_EQ(CDateTime(), CDateTime());
}
