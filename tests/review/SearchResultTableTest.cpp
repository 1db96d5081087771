#include "review/SearchResultTable.h"
#include "review/SearchQuery.h"
#include "tests/review/SearchFixture.h"
#include "ui/ResourceIds.h"

#include <memory>

namespace {

class SearchResultTableTest : public SearchTest {
protected:
    void TearDown() override
    {
        m_rows.reset();
        SearchTest::TearDown();
    }
    // The table over a time-sheet search of the given columns.
    void Load(const QStringList& names, const QString& filter = QString())
    {
        CSearchQuery query(ID_TIMESHEETS, &m_db);
        query.SetFilter(filter);
        CKeptResults kept;
        m_db.SetSearchViewFactory(&kept);
        QList<CMyAdoRecordSet*> recordsets;
        QList<QObject*> views;
        QString message;
        ASSERT_TRUE(m_db.RunQueryToList(query.SearchText(), message, QString(), QString(),
                                        recordsets, views))
            << message.toStdString();
        m_db.SetSearchViewFactory(nullptr);
        ASSERT_EQ(recordsets.size(), 1);
        m_rows.reset(recordsets.first());
        QList<CSearchResultTable::CColumn> columns;
        for (const QString& name : names)
            for (int i = 0; i < query.Fields().size(); ++i) {
                const CSearchQuery::CField& field = query.Fields().at(i);
                if (field.name == name)
                    columns << CSearchResultTable::CColumn{field.name, field.caption, field.type,
                                                           field.translation, i};
            }
        m_table.SetColumns(columns);
        m_blocks = m_table.Fill(*m_rows);
    }
    QStringList Column(int column) const
    {
        QStringList texts;
        for (int r = 0; r < m_table.RowCount(); ++r)
            texts << m_table.Text(r, column);
        return texts;
    }

    std::unique_ptr<CMyAdoRecordSet> m_rows;
    CSearchResultTable m_table;
    int m_blocks = 0;
};

} // namespace

TEST_P(SearchResultTableTest, SortsByTypedValuesAndKeepsTiesInOrder)
{
    Load({QStringLiteral("TimesheetID"), QStringLiteral("HoursWorked"), QStringLiteral("WorkDate"),
          QStringLiteral("Comment")},
         QStringLiteral("TimesheetID IN (1, 2, 3, 4, 5, 9, 10)"));
    ASSERT_EQ(m_table.RowCount(), 6);
    EXPECT_EQ(m_blocks, 1);
    EXPECT_EQ(m_table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Hours Worked"));

    // Numbers as numbers; equal hours keep the order they had.
    m_table.SortBy(0, false);
    EXPECT_EQ(Column(0), QStringList({"1", "2", "3", "4", "5", "9"}));
    m_table.SortBy(1, true);
    EXPECT_EQ(Column(1), QStringList({"1.75", "1.5", "1.25", "1.25", "1.25", "1"}));
    EXPECT_EQ(Column(0), QStringList({"3", "2", "1", "5", "9", "4"}));
    // The table's order is the recordset's row numbers.
    QStringList ids;
    for (int row : m_table.Order())
        ids << m_rows->Rows().Value(row, 3).toString();
    EXPECT_EQ(ids, Column(0));

    // Dates as dates (midnight shows no time), then by id within a day.
    m_table.SortBy(0, false);
    m_table.SortBy(2, false);
    EXPECT_EQ(Column(2), QStringList({"2026-12-07", "2026-12-07", "2026-12-08", "2026-12-08",
                                      "2026-12-09", "2026-12-09"}));
    EXPECT_EQ(Column(0), QStringList({"1", "4", "2", "5", "3", "9"}));

    // Text ignoring case; NULL shows a blank and sorts first.
    m_table.SortBy(3, false);
    EXPECT_EQ(Column(3), QStringList({" ", "'; DROP TABLE tblTimeSheet;--", "C:\\temp\\x",
                                      "Design review", "design REVIEW notes", "O'Brien's bridge"}));
    EXPECT_TRUE(m_table.Value(0, 3).isNull());
    m_table.SortBy(3, true);
    EXPECT_EQ(Column(3).last(), QStringLiteral(" "));
    EXPECT_EQ(m_table.RowTexts(0), QStringList({"3", "1.75", "2026-12-09", "O'Brien's bridge"}));
}

TEST_P(SearchResultTableTest, TextsSortAsTheUsersLanguageSortsThem)
{
    const QStringList names = {QStringLiteral("zebra crossing"), QStringLiteral("Émile's gate"),
                               QStringLiteral("Äpfel"), QStringLiteral("apple")};
    for (int i = 0; i < names.size(); ++i)
        Book(20 + i, 1, 1, 1, 14, 8 * 60 + 60 * i, names.at(i));
    Load({QStringLiteral("Comment")}, QStringLiteral("TimesheetID >= 20"));
    m_table.SortBy(0, false);
    EXPECT_EQ(Column(0), QStringList({"Äpfel", "apple", "Émile's gate", "zebra crossing"}));
    m_table.SortBy(0, true);
    EXPECT_EQ(Column(0).first(), QStringLiteral("zebra crossing"));
}

TEST_P(SearchResultTableTest, RowsAreReadAHundredAtATime)
{
    ASSERT_TRUE(m_conn.BeginTrans());
    for (int id = 10; id < 251; ++id)
        Book(id, 1, 1, 1, 10 + id % 20, id, QStringLiteral("row %1").arg(id));
    ASSERT_TRUE(m_conn.CommitTrans());
    Load({QStringLiteral("TimesheetID")});
    EXPECT_EQ(m_table.RowCount(), 250);
    EXPECT_EQ(m_blocks, 3);
    EXPECT_EQ(m_table.rowCount(), 250);
    EXPECT_EQ(m_table.columnCount(), 1);
}

KELVANE_INSTANTIATE_BACKENDS(SearchResultTableTest);
