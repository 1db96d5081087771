#include "review/ReviewGrid.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct CGridRun {
    QList<QStringList> rows;
    CReviewGrid grid;

    CGridRun(const QDate& start, int days, const QString& filter = QString())
        : grid(start, days, filter, [this](const QStringList& texts) { rows << texts; })
    {}
};

const QDate kMarch1(2024, 3, 1);

} // namespace

TEST(ReviewGridTest, ConsecutiveRecordsOfAProjectAndTaskMakeARow)
{
    CGridRun run(kMarch1, 3);
    run.grid.Add(QStringLiteral("Apollo"), QStringLiteral("Launch"), QDate(2024, 3, 1), 2, "Ann");
    run.grid.Add(QStringLiteral("Apollo"), QStringLiteral("Launch"), QDate(2024, 3, 1), 1.5, "Bob");
    run.grid.Add(QStringLiteral("Apollo"), QStringLiteral("Launch"), QDate(2024, 3, 3), 4, "Ann");
    run.grid.Add(QStringLiteral("Bridge"), QStringLiteral("Build"), QDate(2024, 3, 2), 0.25, "Bob");
    run.grid.Finish();
    ASSERT_EQ(run.rows.size(), 3);
    EXPECT_EQ(run.rows.at(0),
              (QStringList{"0", "Ann,Bob", "Apollo", "Launch", "7.50", "3.50", " ", "4.00"}));
    EXPECT_EQ(run.rows.at(1),
              (QStringList{"1", "Bob", "Bridge", "Build", "0.25", " ", "0.25", " "}));
    // The totals row: Id is the number of data rows, a total per day.
    EXPECT_EQ(run.rows.at(2),
              (QStringList{"2", "", "  Total ", " ", "7.75", "3.50", "0.25", "4.00"}));
    EXPECT_EQ(run.grid.RecordsRead(), 4);
    EXPECT_DOUBLE_EQ(run.grid.GrandTotal(), 7.75);
    EXPECT_EQ(run.grid.ColumnTotals(), (QVector<double>{3.5, 0.25, 4}));
}

TEST(ReviewGridTest, NoRecordsGiveTheTotalsRowOnly)
{
    CGridRun run(kMarch1, 2);
    run.grid.Finish();
    ASSERT_EQ(run.rows.size(), 1);
    EXPECT_EQ(run.rows.first(), (QStringList{"0", "", "  Total ", " ", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(run.grid.RecordsRead(), 0);
}

TEST(ReviewGridTest, RecordsOutsideThePeriodOrFilterAddNothing)
{
    CGridRun run(kMarch1, 1, QStringLiteral("Bridge"));
    run.grid.Add(QStringLiteral("Bridge"), QStringLiteral("Build"), QDate(2024, 3, 1), 1, "Ann");
    // Another project ends the row and is passed over.
    run.grid.Add(QStringLiteral("Apollo"), QStringLiteral("Build"), QDate(2024, 3, 1), 5, "Ann");
    run.grid.Add(QStringLiteral("Bridge"), QStringLiteral("Build"), QDate(2024, 3, 1), 2, "Ann");
    // A day outside the period starts no hours but belongs to the row.
    run.grid.Add(QStringLiteral("Bridge"), QStringLiteral("Build"), QDate(2024, 3, 2), 9, "Bob");
    run.grid.Add(QStringLiteral("Bridge"), QStringLiteral("Build"), QDate(), 9, "Bob");
    run.grid.Finish();
    ASSERT_EQ(run.rows.size(), 3);
    EXPECT_EQ(run.rows.at(0), (QStringList{"0", "Ann", "Bridge", "Build", "1.00", "1.00"}));
    EXPECT_EQ(run.rows.at(1), (QStringList{"1", "Ann,Bob", "Bridge", "Build", "2.00", "2.00"}));
    EXPECT_EQ(run.rows.at(2), (QStringList{"2", "", "  Total ", " ", "3.00", "3.00"}));
    EXPECT_EQ(run.grid.RecordsRead(), 5);
}

TEST(ReviewGridTest, ColumnTitlesNameEachDay)
{
    const QStringList titles = CReviewGrid::ColumnTitles(QDate(2024, 2, 28), 3);
    EXPECT_EQ(titles, (QStringList{"Id", "Employee", "Project  ", "Task  ", "Total  ",
                                   "Wed,28 Feb ", "Thu,29 Feb ", "Fri,01 Mar "}));
}
