#include "data/NameValueArray.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(NameValueArray, TheFirstEntryOfANameDecides)
{
    CNameValueArray table;
    table.Add(QStringLiteral("sp_TimesheetInsert"), 2.2f);
    table.Add(QStringLiteral("sp_TimesheetInsert"), 1.0f);
    EXPECT_TRUE(table.IsAvailable(QStringLiteral("sp_TimesheetInsert"), 2.2f));
    EXPECT_FALSE(table.IsAvailable(QStringLiteral("sp_TimesheetInsert"), 2.1f));
    EXPECT_FALSE(table.IsAvailable(QStringLiteral("sp_TimesheetInsert"), 2.19f));
    EXPECT_TRUE(
        table.IsAvailable(QStringLiteral("sp_TimesheetInsert"), 2.199f)); // 2.20 in hundredths
    EXPECT_TRUE(table.IsAvailable(QStringLiteral("sp_timesheetinsert"), 1.0f)); // names are exact
    EXPECT_TRUE(table.IsAvailable(QStringLiteral("unregistered"), 0.0f));
    table.RemoveAll();
    EXPECT_EQ(table.GetSize(), 0);
    EXPECT_TRUE(table.IsAvailable(QStringLiteral("sp_TimesheetInsert"), 0.0f));
}

TEST(NameValueArray, VersionsCompareInRoundedHundredths)
{
    const float stored = 2.2f; // 2.2000000476837158
    EXPECT_EQ(CNameValueArray::Hundredths(stored), 220);
    EXPECT_EQ(CNameValueArray::Hundredths(2.19999), 220);
    EXPECT_EQ(CNameValueArray::Hundredths(2.194), 219);
}
