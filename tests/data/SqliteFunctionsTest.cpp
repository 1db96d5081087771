#include "data/SqliteFunctions.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <limits>

TEST(JetFunctions, FormatsDatesAndNumbersLikeJet)
{
    const QVariant t = QVariant::fromValue(CDateTime(2026, 12, 8, 9, 5, 7));
    EXPECT_EQ(JetFormat(t, QStringLiteral("Short Time")), QStringLiteral("09:05"));
    EXPECT_EQ(JetFormat(t, QStringLiteral("Long Time")), QStringLiteral("09:05:07"));
    EXPECT_EQ(JetFormat(t, QStringLiteral("dd/mm/yyyy hh:mm")), QStringLiteral("08/12/2026 09:05"));
    EXPECT_EQ(JetFormat(t, QStringLiteral("d mmm yy, dddd")), QStringLiteral("8 Dec 26, Tuesday"));
    EXPECT_EQ(JetFormat(t, QStringLiteral("h:nn AM/PM")), QStringLiteral("9:05 AM"));
    EXPECT_EQ(JetFormat(QStringLiteral("2026-12-08 21:00:00"), QStringLiteral("Medium Time")),
              QStringLiteral("09:00 PM"));
    EXPECT_EQ(JetFormat(1234.5, QStringLiteral("Standard")), QStringLiteral("1,234.50"));
    EXPECT_EQ(JetFormat(0.289, QStringLiteral("0.00")), QStringLiteral("0.29"));
    EXPECT_EQ(JetFormat(0.25, QStringLiteral("Percent")), QStringLiteral("25.00%"));
    EXPECT_EQ(JetFormat(QStringLiteral("plain"), QStringLiteral("Short Time")),
              QStringLiteral("plain"));
}

TEST(JetFunctions, DateDiffCountsBoundaries)
{
    qint64 n = 0;
    const CDateTime a(2026, 12, 31, 23, 59);
    const CDateTime b(2027, 1, 1, 0, 1);
    ASSERT_TRUE(JetDateDiff(QStringLiteral("d"), a, b, &n));
    EXPECT_EQ(n, 1);
    ASSERT_TRUE(JetDateDiff(QStringLiteral("yyyy"), a, b, &n));
    EXPECT_EQ(n, 1);
    ASSERT_TRUE(JetDateDiff(QStringLiteral("n"), a, b, &n));
    EXPECT_EQ(n, 2);
    ASSERT_TRUE(JetDateDiff(QStringLiteral("h"), b, a, &n));
    EXPECT_EQ(n, -1);
    ASSERT_TRUE(
        JetDateDiff(QStringLiteral("m"), CDateTime(2026, 1, 31), CDateTime(2026, 3, 1), &n));
    EXPECT_EQ(n, 2);
    // Saturday to Sunday crosses one week boundary; Sunday to Saturday none.
    ASSERT_TRUE(
        JetDateDiff(QStringLiteral("ww"), CDateTime(2026, 12, 5), CDateTime(2026, 12, 6), &n));
    EXPECT_EQ(n, 1);
    ASSERT_TRUE(
        JetDateDiff(QStringLiteral("ww"), CDateTime(2026, 12, 6), CDateTime(2026, 12, 12), &n));
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(JetDateDiff(QStringLiteral("fortnight"), a, b, &n));
}

TEST(JetFunctions, AvailableInSqlOnTheFileBackEnd)
{
    CDBConnection conn;
    conn.UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
    ASSERT_TRUE(conn.Connect(false));
    CQueryResult r;
    CDbError error;
    ASSERT_TRUE(CSqlExecutor::Run(
        conn,
        QStringLiteral("SELECT Format('2026-12-08 07:30:00', 'Short Time'), "
                       "datediff('d', '2026-12-08 23:00:00', '08/December/2026'), "
                       "Nz(NULL, 'x'), Nz(5), DateDiff('d', NULL, '2026-01-01')"),
        {}, &r, &error))
        << error.description.toStdString();
    EXPECT_EQ(r.Value(0, 0).toString(), QStringLiteral("07:30"));
    EXPECT_EQ(r.Value(0, 1).toInt(), 0);
    EXPECT_EQ(r.Value(0, 2).toString(), QStringLiteral("x"));
    EXPECT_EQ(r.Value(0, 3).toInt(), 5);
    EXPECT_TRUE(r.Value(0, 4).isNull());
    EXPECT_FALSE(CSqlExecutor::Run(
        conn, QStringLiteral("SELECT DateDiff('q', 'soon', '2026-01-01')"), {}, &r, &error));
    EXPECT_TRUE(error.description.contains(QStringLiteral("not a date")));
}

TEST(JetFunctions, DayCountsBeyondTheYearsOneTo9999AreRefusedNotCast)
{
    // The first and last days of the range are dates; anything past them is none.
    EXPECT_EQ(CDateTime::FromOle(-693593.0), CDateTime(1, 1, 1));
    EXPECT_EQ(CDateTime::FromOle(2958465.5), CDateTime(9999, 12, 31, 12, 0));
    for (const double days :
         {-693593.5, 2958466.0, -1e308, 1e308, -4e11, 9.3e18,
          std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(CDateTime::FromOle(days).IsNull()) << days;

    CDBConnection conn;
    conn.UseConnectionString(TestDatabases::NewSqliteDatabase(TestEnv::TestDir()));
    ASSERT_TRUE(conn.Connect(false));
    CQueryResult r;
    CDbError error;
    ASSERT_TRUE(CSqlExecutor::Run(conn,
                                  QStringLiteral("SELECT Format(46364, 'yyyy-mm-dd'), "
                                                 "DateDiff('m', -693593, 2958465), "
                                                 "Format(1e300, '0.00') = '1e300', Format(-1e308)"),
                                  {}, &r, &error))
        << error.description.toStdString();
    EXPECT_EQ(r.Value(0, 0).toString(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(r.Value(0, 1).toLongLong(), 9998 * 12 + 11);
    EXPECT_EQ(r.Value(0, 2).toInt(), 0);
    EXPECT_EQ(r.Value(0, 3).toString(), QStringLiteral("-1e+308"));
    for (const char* sql :
         {"SELECT Format(-1e308, 'yyyy')", "SELECT Format(1e308, 'Short Date')",
          "SELECT Format(-693594, 'yyyy')", "SELECT DateDiff('m', '2026-01-01', -4e11)",
          "SELECT DateDiff('yyyy', 9e18, '2026-01-01')", "SELECT DateDiff('d', 0, 1e999)"}) {
        EXPECT_FALSE(CSqlExecutor::Run(conn, QLatin1String(sql), {}, &r, &error)) << sql;
        EXPECT_TRUE(
            error.description.contains(QStringLiteral("is not a day of the years 1 to 9999")))
            << sql << ": " << error.description.toStdString();
    }
}
