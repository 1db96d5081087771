#include "ui/ComboItems.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QComboBox>
#include <QListWidget>

#include <memory>

TEST(ComboItems, TheFacadeFillsARealComboBox)
{
    CDBClass db;
    db.Connection()->UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
    ASSERT_TRUE(db.OpenConnection());
    QString error;
    ASSERT_TRUE(CSchema::Create(*db.Connection(), &error));
    QComboBox combo;
    CComboItems items(&combo);
    EXPECT_EQ(db.FillWorkTypeCombo(items, 3), 2);
    EXPECT_EQ(combo.count(), 6);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Meeting"));
    EXPECT_EQ(combo.currentData().toInt(), 3);
}

TEST(ComboItems, AGoneControlIsNoControl)
{
    auto list = std::make_unique<QListWidget>();
    CListItems items(list.get());
    EXPECT_EQ(items.AddItem(QStringLiteral("a"), 7), 0);
    items.SetCurrentIndex(0);
    EXPECT_EQ(items.ItemData(0), 7);
    EXPECT_EQ(items.CurrentIndex(), 0);
    list.reset();
    EXPECT_FALSE(items.IsValid());
    EXPECT_EQ(items.AddItem(QStringLiteral("b"), 1), -1);
}
