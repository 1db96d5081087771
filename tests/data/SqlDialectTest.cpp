#include "data/SqlDialect.h"
#include "tests/support/TestDatabases.h"

#include <gtest/gtest.h>

namespace {

QString Simplified(const QString& s)
{
    return s.simplified();
}

const CSqlDialect kSqlite(kProviderSqlite);
const CSqlDialect kPostgres(kProviderPostgres);

} // namespace

TEST(SqlDialect, TheProviderIsReadFromTheProviderValueExactly)
{
    EXPECT_EQ(CSqlDialect::DetectProvider(QStringLiteral("Provider=PostgreSQL;Host=x")),
              kProviderPostgres);
    EXPECT_EQ(CSqlDialect::DetectProvider(
                  QStringLiteral("Provider=SQLite;Data Source=/a/PostgreSQL/k.db")),
              kProviderSqlite);
    EXPECT_EQ(CSqlDialect::DetectProvider(QStringLiteral("Provider=postgresql;Host=x")),
              kProviderUnknown);
    EXPECT_EQ(CSqlDialect::DetectProvider(QString()), kProviderUnknown);
}

TEST(SqlDialect, DateDelimitersAndLiterals)
{
    EXPECT_EQ(kSqlite.DateDelimiter(), QStringLiteral("#"));
    EXPECT_EQ(kPostgres.DateDelimiter(), QStringLiteral("'"));
    EXPECT_EQ(CSqlDialect(kProviderUnknown).DateDelimiter(), QStringLiteral("'"));
    const CDateTime t(2026, 12, 8, 17, 45, 12);
    EXPECT_EQ(kSqlite.DateLiteral(t, false), QStringLiteral("'2026-12-08 00:00:00'"));
    EXPECT_EQ(kPostgres.DateLiteral(t, true), QStringLiteral("'2026-12-08 17:45:12'"));
}

TEST(SqlDialect, TranslateRewritesJetFormsOutsideLiterals)
{
    const QString sql = QStringLiteral(
        "SELECT [ProjName] & ' - ' & [Work Date] FROM [tblProject] WHERE [WorkDate] = "
        "#08/December/2026# AND [IsDone] = True AND x <> False AND Note = 'it''s #1/1/2000# [a] & "
        "True'");
    EXPECT_EQ(
        kPostgres.Translate(sql),
        QStringLiteral("SELECT ProjName || ' - ' || \"work date\" FROM tblProject WHERE WorkDate = "
                       "'2026-12-08 00:00:00' AND IsDone = 1 AND x <> 0 AND Note = 'it''s "
                       "#1/1/2000# [a] & True'"));
    EXPECT_EQ(kSqlite.Translate(sql),
              QStringLiteral(
                  "SELECT [ProjName] || ' - ' || [Work Date] FROM [tblProject] WHERE [WorkDate] = "
                  "'2026-12-08 00:00:00' AND [IsDone] = 1 AND x <> 0 AND Note = 'it''s #1/1/2000# "
                  "[a] & True'"));
}

TEST(SqlDialect, TrueAndFalseBecomeNumbersOnlyWhereTheyAreComparedValues)
{
    EXPECT_EQ(kPostgres.Translate(QStringLiteral("True<>x OR y>=FALSE OR z != true")),
              QStringLiteral("1<>x OR y>=0 OR z != 1"));
    for (const char* kept : {"coalesce(x > 1, False)", "x IS TRUE", "NOT false",
                             "current_setting('a', true) IS NULL", "TrueCost = 1"})
        EXPECT_EQ(kPostgres.Translate(QString::fromLatin1(kept)), QString::fromLatin1(kept))
            << kept;
}

TEST(SqlDialect, TopBecomesLimit)
{
    EXPECT_EQ(Simplified(kSqlite.Translate(QStringLiteral("SELECT TOP 5 * FROM t ORDER BY x;"))),
              QStringLiteral("SELECT * FROM t ORDER BY x LIMIT 5"));
    EXPECT_EQ(Simplified(kPostgres.Translate(QStringLiteral("select distinct top 1 a from t"))),
              QStringLiteral("select distinct a from t LIMIT 1"));
    // A column named Top is left alone.
    EXPECT_EQ(kPostgres.Translate(QStringLiteral("SELECT a, top FROM t")),
              QStringLiteral("SELECT a, top FROM t"));
}

TEST(SqlDialect, UnparsableHashesAndOpenBracketsPassThrough)
{
    EXPECT_EQ(kPostgres.Translate(QStringLiteral("SELECT a # b")), QStringLiteral("SELECT a # b"));
    EXPECT_EQ(kPostgres.Translate(QStringLiteral("SELECT [a")), QStringLiteral("SELECT [a"));
    EXPECT_EQ(kPostgres.Translate(QStringLiteral("SELECT 'open")), QStringLiteral("SELECT 'open"));
}

TEST(SqlDialect, QuotingAndProcedures)
{
    EXPECT_EQ(CSqlDialect::QuoteText(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(kPostgres.QuoteIdentifier(QStringLiteral("[tblChgReqAction]")),
              QStringLiteral("\"tblchgreqaction\""));
    EXPECT_EQ(kSqlite.QuoteIdentifier(QStringLiteral("Work\"Date")),
              QStringLiteral("\"Work\"\"Date\""));
    EXPECT_EQ(kPostgres.ProcedureCall(QStringLiteral("sp_TimeSheetInsert"), 3),
              QStringLiteral("SELECT * FROM sp_TimeSheetInsert(?, ?, ?)"));
    EXPECT_TRUE(CSqlDialect::IsProcedureName(QStringLiteral("[sp_TimesheetDelete]")));
    EXPECT_TRUE(CSqlDialect::IsProcedureName(QStringLiteral("up_adminBuildProjectTotals")));
    EXPECT_FALSE(CSqlDialect::IsProcedureName(QStringLiteral("qselStartUpInfo")));
}

TEST(SqlDialect, BoundValuesTakeTheBackEndsForm)
{
    EXPECT_EQ(kSqlite.ToDbValue(QVariant::fromValue(CDateTime(2026, 1, 2, 3, 4, 5))),
              QVariant(QStringLiteral("2026-01-02 03:04:05")));
    EXPECT_TRUE(kSqlite.ToDbValue(QVariant::fromValue(CDateTime())).isNull());
    EXPECT_EQ(kPostgres.ToDbValue(QVariant(true)), QVariant(1));
    // Text goes as typed; what a back end cannot hold is named, not altered.
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const QString internal = QStringLiteral("a") + QChar(0xFDD0) + QStringLiteral("b");
    EXPECT_EQ(kPostgres.ToDbValue(withNul).toString(), withNul);
    EXPECT_EQ(kPostgres.FromDbText(internal), internal);
    EXPECT_FALSE(kPostgres.UnstorableText(withNul).isEmpty());
    EXPECT_TRUE(kSqlite.UnstorableText(withNul).isEmpty());
    EXPECT_TRUE(kPostgres.UnstorableText(internal).isEmpty());
    const QString half = QStringLiteral("x") + QChar(0xDE00);
    EXPECT_FALSE(kSqlite.UnstorableText(half).isEmpty());
    EXPECT_FALSE(kPostgres.UnstorableText(half).isEmpty());
    EXPECT_TRUE(kSqlite.UnstorableText(QStringLiteral("😀")).isEmpty());
}

// The literals the dialect writes compare correctly with stored dates.
class DialectDbTest : public DbTest {};

TEST_P(DialectDbTest, DateLiteralsFindStoredDates)
{
    Exec(IsPostgres() ? QStringLiteral("CREATE TABLE t (d TIMESTAMP, n INTEGER)")
                      : QStringLiteral("CREATE TABLE t (d TEXT, n INTEGER)"));
    Exec(QStringLiteral("INSERT INTO t VALUES (?, 1)"),
         {QVariant::fromValue(CDateTime(2026, 12, 8))});
    Exec(QStringLiteral("INSERT INTO t VALUES (?, 2)"),
         {QVariant::fromValue(CDateTime(2026, 12, 8, 9, 30))});
    Exec(QStringLiteral("INSERT INTO t VALUES (?, 3)"),
         {QVariant::fromValue(CDateTime(2026, 12, 10))});
    const CSqlDialect& d = m_conn.Dialect();
    CQueryResult r;
    ASSERT_TRUE(CSqlExecutor::Run(
        m_conn,
        QStringLiteral("SELECT n FROM t WHERE [d] = %1%2%1")
            .arg(d.DateDelimiter(),
                 IsPostgres() ? QStringLiteral("2026-12-08") : QStringLiteral("08/December/2026")),
        {}, &r, nullptr));
    ASSERT_EQ(r.rows, 1);
    EXPECT_EQ(r.Value(0, 0).toInt(), 1);
    ASSERT_TRUE(
        CSqlExecutor::Run(m_conn,
                          QStringLiteral("SELECT n FROM t WHERE d >= %1 AND d < %2 ORDER BY d")
                              .arg(d.DateLiteral(CDateTime(2026, 12, 8), false),
                                   d.DateLiteral(CDateTime(2026, 12, 9), false)),
                          {}, &r, nullptr));
    ASSERT_EQ(r.rows, 2);
    EXPECT_EQ(r.Value(1, 0).toInt(), 2);
}

KELVANE_INSTANTIATE_BACKENDS(DialectDbTest);
