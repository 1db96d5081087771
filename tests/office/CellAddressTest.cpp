#include "office/CellAddress.h"
#include "office/ColorIndex.h"

#include <gtest/gtest.h>

TEST(CellAddressTest, ColumnNamesRoundTrip)
{
    EXPECT_EQ(ColumnName(0), QStringLiteral("A"));
    EXPECT_EQ(ColumnName(25), QStringLiteral("Z"));
    EXPECT_EQ(ColumnName(26), QStringLiteral("AA"));
    EXPECT_EQ(ColumnName(255), QStringLiteral("IV"));
    EXPECT_EQ(ColumnName(16383), QStringLiteral("XFD"));
    for (int c : {0, 1, 25, 26, 51, 52, 701, 702, 16383})
        EXPECT_EQ(ColumnIndex(ColumnName(c)), c) << c;
    EXPECT_EQ(ColumnIndex(QStringLiteral("xfd")), 16383);
    EXPECT_EQ(ColumnIndex(QStringLiteral("XFE")), -1);
    EXPECT_EQ(ColumnIndex(QString()), -1);
    EXPECT_EQ(ColumnIndex(QStringLiteral("A1")), -1);
    EXPECT_TRUE(ColumnName(-1).isEmpty());
}

TEST(CellAddressTest, ParsesCellsAndRanges)
{
    const CCellRange b6 = CCellRange::Parse(QStringLiteral("B6"));
    EXPECT_EQ(b6.column, 1);
    EXPECT_EQ(b6.row, 5);
    EXPECT_EQ(b6.columns, 1);
    EXPECT_EQ(b6.rows, 1);
    const CCellRange header = CCellRange::Parse(QStringLiteral("a1:f1"));
    EXPECT_EQ(header.Name(), QStringLiteral("A1:F1"));
    // Corners in any order, absolute marks ignored.
    EXPECT_EQ(CCellRange::Parse(QStringLiteral("$D$5:$B$3")).Name(), QStringLiteral("B3:D5"));
    for (const char* bad : {"", "A", "1", "A0", "A1:", "A1:B", "A1B2", "AAAA1", "A1048577", "Ä1"})
        EXPECT_FALSE(CCellRange::Parse(QString::fromUtf8(bad)).IsValid()) << bad;
}

TEST(CellAddressTest, ResizesFromTheTopLeftCell)
{
    // The list export's blocks: from E5 one row of 250 days, from B6 lines of days + 3.
    EXPECT_EQ(CCellRange::Parse(QStringLiteral("E5")).Resized(1, 250).Name(),
              QStringLiteral("E5:IT5"));
    EXPECT_EQ(CCellRange::Parse(QStringLiteral("B6")).Resized(3, 10).Name(),
              QStringLiteral("B6:K8"));
    EXPECT_EQ(CCellRange::Parse(QStringLiteral("C2:Z9")).Resized(1, 1).Name(),
              QStringLiteral("C2"));
    EXPECT_FALSE(CCellRange::Parse(QStringLiteral("B6")).Resized(0, 3).IsValid());
    EXPECT_FALSE(CCellRange::Parse(QStringLiteral("XFD1")).Resized(1, 2).IsValid());
    EXPECT_EQ(CellName(2, 6), QStringLiteral("C7"));
}

TEST(ColorIndexTest, ExcelAndWordPalettes)
{
    EXPECT_EQ(ExcelColorIndexToRgb(1), 0x000000);
    EXPECT_EQ(ExcelColorIndexToRgb(2), 0xFFFFFF);
    EXPECT_EQ(ExcelColorIndexToRgb(3), 0xFF0000);
    EXPECT_EQ(ExcelColorIndexToRgb(15), 0xC0C0C0);
    EXPECT_EQ(ExcelColorIndexToRgb(50), 0x339966);
    EXPECT_EQ(ExcelColorIndexToRgb(56), 0x333333);
    EXPECT_EQ(ExcelColorIndexToRgb(0), -1);
    EXPECT_EQ(ExcelColorIndexToRgb(57), -1);
    // Word's own numbering: 8 white, 15 grey 50%, 16 grey 25%; 0 is automatic.
    EXPECT_EQ(WordColorIndexToRgb(8), 0xFFFFFF);
    EXPECT_EQ(WordColorIndexToRgb(15), 0x808080);
    EXPECT_EQ(WordColorIndexToRgb(16), 0xC0C0C0);
    EXPECT_EQ(WordColorIndexToRgb(0), -1);
    EXPECT_EQ(WordColorIndexToRgb(17), -1);
}
