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

TEST(RowStore, ManyRowsAndLongCellsKeepTheirPlaces)
{
    // Enough rows for several blocks, and cells longer than a block.
    CPackedRows rows(3);
    const QByteArray big(300 * 1024, 'x');
    for (int r = 0; r < 20000; ++r) {
        rows.AddInt(r);
        if (r % 5000 == 7)
            rows.AddText(big.constData(), static_cast<int>(big.size()));
        else
            rows.AddText("short", 5);
        rows.AddNull();
    }
    ASSERT_EQ(rows.Rows(), 20000);
    bool ok = false;
    for (int r = 0; r < 20000; r += 997) {
        EXPECT_EQ(rows.Int(r, 0, &ok), r);
        EXPECT_TRUE(rows.IsNull(r, 2));
    }
    EXPECT_EQ(rows.Bytes(5007, 1), big);
    EXPECT_EQ(rows.Text(5008, 1), QStringLiteral("short"));
    EXPECT_EQ(rows.Int(19999, 0, &ok), 19999);
    // Far less than a row store that doubled and copied would hold at its peak.
    EXPECT_LT(rows.MemoryUsed(), std::size_t(8 * 1024 * 1024));
}

TEST(RowStore, AResultOnTheBlocksOfOneThatWentReadsOnlyItsOwnCells)
{
    // The blocks of a result that goes serve the next one.
    for (int round = 0; round < 3; ++round) {
        CPackedRows rows(2);
        for (int r = 0; r < 30000; ++r) {
            rows.AddInt(r * 10 + round);
            if (round == 1)
                rows.AddNull();
            else
                rows.AddText("cell", 4);
        }
        bool ok = false;
        for (int r = 0; r < 30000; r += 1499) {
            EXPECT_EQ(rows.Int(r, 0, &ok), r * 10 + round);
            EXPECT_EQ(rows.IsNull(r, 1), round == 1);
            EXPECT_EQ(rows.Text(r, 1), round == 1 ? QString() : QStringLiteral("cell"));
        }
    }
}

TEST(RowStore, ACellReferenceReadsAValueAsTheStoreWould)
{
    EXPECT_TRUE(CCellRef().IsNull());
    bool ok = true;
    EXPECT_EQ(CCellRef().Int(&ok), 0);
    EXPECT_FALSE(ok);
    const CCellRef text(QVariant(QStringLiteral("42")));
    EXPECT_EQ(text.Int(&ok), 42);
    EXPECT_TRUE(ok);
    const CCellRef date(QVariant::fromValue(CDateTime(2026, 12, 8, 10, 15)));
    EXPECT_EQ(date.Date(&ok), CDateTime(2026, 12, 8, 10, 15));
    EXPECT_EQ(date.Text(), QStringLiteral("2026-12-08 10:15:00"));
    EXPECT_TRUE(CCellRef(QVariant()).IsNull());
}
