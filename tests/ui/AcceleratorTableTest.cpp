#include "ui/AcceleratorTable.h"

#include <gtest/gtest.h>

TEST(AcceleratorTable, TheHubsKeysFirstMatchWins)
{
    const CAcceleratorTable table = CAcceleratorTable::Load(128);
    EXPECT_EQ(table.Translate(Qt::Key_W, Qt::ControlModifier, QString()), 12882);
    EXPECT_EQ(table.Translate(Qt::Key_C, Qt::ControlModifier, QString()), 12883);
    EXPECT_EQ(table.Translate(Qt::Key_C, Qt::AltModifier, QString()), 1144);
    // Of two entries for one key the first wins.
    EXPECT_EQ(table.Translate(Qt::Key_P, Qt::AltModifier, QString()), 1360);
    EXPECT_EQ(table.Translate(Qt::Key_U, Qt::AltModifier, QString()), 1309);
    EXPECT_EQ(table.Translate(Qt::Key_F1, Qt::NoModifier, QString()), 57670);
    EXPECT_EQ(table.Translate(Qt::Key_F1, Qt::ShiftModifier, QString()), 57669);
    // Virtual keys want exactly their modifiers.
    EXPECT_EQ(table.Translate(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, QString()), 0);
    EXPECT_EQ(table.Translate(Qt::Key_W, Qt::NoModifier, QStringLiteral("w")), 0);
    // Characters want Alt; Shift belongs to the character.
    EXPECT_EQ(table.Translate(Qt::Key_Less, Qt::AltModifier | Qt::ShiftModifier, QString()), 1131);
    EXPECT_EQ(table.Translate(Qt::Key_Period, Qt::AltModifier, QStringLiteral(".")), 1132);
    EXPECT_EQ(table.Translate(Qt::Key_Comma, Qt::NoModifier, QStringLiteral(",")), 0);
}

TEST(AcceleratorTable, PageTablesAndUnknownOnes)
{
    EXPECT_EQ(CAcceleratorTable::Load(307).Translate(Qt::Key_S, Qt::AltModifier, QString()), 1110);
    EXPECT_EQ(CAcceleratorTable::Load(306).Translate(Qt::Key_L, Qt::AltModifier, QString()), 1314);
    EXPECT_TRUE(CAcceleratorTable::Load(999).IsEmpty());
}
