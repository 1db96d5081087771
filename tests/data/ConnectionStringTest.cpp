#include "data/ConnectionString.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(ConnectionString, ParsesKeysCaseInsensitivelyAndQuotedValues)
{
    const CConnectionString cs(QStringLiteral(
        "Provider=PostgreSQL; host = db1 ;Password=\"a;b\"\"c\";Database='x y';junk;"));
    EXPECT_EQ(cs.Value(QStringLiteral("provider")), QStringLiteral("PostgreSQL"));
    EXPECT_EQ(cs.Value(QStringLiteral("Host")), QStringLiteral("db1"));
    EXPECT_EQ(cs.Value(QStringLiteral("password")), QStringLiteral("a;b\"c"));
    EXPECT_EQ(cs.Value(QStringLiteral("Database")), QStringLiteral("x y"));
    EXPECT_FALSE(cs.Has(QStringLiteral("junk")));
}

TEST(ConnectionString, BuiltStringsReadBackTheSame)
{
    const QString text =
        CConnectionString::PostgresString(QStringLiteral("h"), 5433, QStringLiteral("d b"),
                                          QStringLiteral("u;x"), QStringLiteral(" p\"w'd "));
    const CConnectionString cs(text);
    EXPECT_EQ(cs.Value(QStringLiteral("Port")), QStringLiteral("5433"));
    EXPECT_EQ(cs.Value(QStringLiteral("User ID")), QStringLiteral("u;x"));
    EXPECT_EQ(cs.Value(QStringLiteral("Password")), QStringLiteral(" p\"w'd "));
    const QString file = QStringLiteral("/home/a;b/it's.db");
    EXPECT_EQ(CConnectionString(CConnectionString::SqliteString(file))
                  .Value(QStringLiteral("Data Source")),
              file);
}

TEST(ConnectionString, MaskedHidesOnlyThePassword)
{
    const CConnectionString cs(QStringLiteral("Provider=PostgreSQL;User ID=me;Password=secret"));
    EXPECT_EQ(cs.Masked(), QStringLiteral("Provider=PostgreSQL;User ID=me;Password=*****"));
}

TEST(ConnectionString, TheDatabaseNameIsTheFileOrTheServerAndDatabaseWithoutAPassword)
{
    EXPECT_EQ(CConnectionString(CConnectionString::SqliteString(QStringLiteral("/srv/a;b/k.db")))
                  .DatabaseName(),
              QStringLiteral("/srv/a;b/k.db"));
    EXPECT_EQ(CConnectionString(CConnectionString::PostgresString(
                                    QStringLiteral("db.example"), 5433, QStringLiteral("vek_data"),
                                    QStringLiteral("ann"), QStringLiteral("secret")))
                  .DatabaseName(),
              QStringLiteral("db.example/vek_data"));
    EXPECT_TRUE(
        CConnectionString(QStringLiteral("Provider=Other;Data Source=x")).DatabaseName().isEmpty());
}
