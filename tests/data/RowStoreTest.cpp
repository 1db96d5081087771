#include "data/RowStore.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(RowStore, PackedCellsReadBackByType)
{
    CPackedRows rows(3);
    rows.AddInt(-7);
    rows.AddDouble(2.5);
    rows.AddText("2026-12-08 10:15:00", 19);
    rows.AddNull();
    rows.AddBlob("\0\1", 2);
    rows.AddVariant(QVariant::fromValue(CDateTime(2026, 1, 2)));
    ASSERT_EQ(rows.Rows(), 2);
    bool ok = false;
    EXPECT_EQ(rows.Int(0, 0, &ok), -7);
    EXPECT_TRUE(ok);
    EXPECT_EQ(rows.Double(0, 1, &ok), 2.5);
    EXPECT_EQ(rows.Date(0, 2, &ok), CDateTime(2026, 12, 8, 10, 15));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(rows.IsNull(1, 0));
    EXPECT_EQ(rows.Bytes(1, 1), QByteArray("\0\1", 2));
    EXPECT_EQ(rows.Value(1, 2).toString(), QStringLiteral("2026-01-02 00:00:00"));
}

TEST(RowStore, ConversionsRefuseWhatDoesNotFit)
{
    CPackedRows rows(6);
    rows.AddText("12", 2);
    rows.AddText("12.0", 4);
    rows.AddText("12.5", 4);
    rows.AddText("abc", 3);
    rows.AddDouble(1e300);
    rows.AddText("not a date", 10);
    bool ok = false;
    EXPECT_EQ(rows.Int(0, 0, &ok), 12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(rows.Int(0, 1, &ok), 12);
    EXPECT_TRUE(ok);
    rows.Int(0, 2, &ok);
    EXPECT_FALSE(ok);
    rows.Int(0, 3, &ok);
    EXPECT_FALSE(ok);
    rows.Int(0, 4, &ok);
    EXPECT_FALSE(ok);
    rows.Date(0, 5, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(rows.Text(0, 3), QStringLiteral("abc"));
}
