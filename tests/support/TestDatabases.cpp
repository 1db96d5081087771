#include "tests/support/TestDatabases.h"

#include "data/ConnectionString.h"
#include "data/DatabaseFile.h"
#include "data/Schema.h"
#include "tests/support/TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QHash<QString, QString> ServerSettings()
{
    QHash<QString, QString> settings;
    const QString conninfo = QString::fromLocal8Bit(qgetenv("KELVANE_TEST_PG"));
    for (const QString& part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0)
            settings.insert(part.left(eq), part.mid(eq + 1));
    }
    return settings;
}

QStringList s_created;
QHash<QString, QString> s_suiteDatabases;

bool AdminExecImpl(const QString& sql, QString* error)
{
    const QString name = QStringLiteral("kelvane-test-admin");
    bool ok = false;
    {
        const auto settings = ServerSettings();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(settings.value(QStringLiteral("host"), QStringLiteral("127.0.0.1")));
        db.setPort(settings.value(QStringLiteral("port"), QStringLiteral("5432")).toInt());
        db.setUserName(settings.value(QStringLiteral("user"), QStringLiteral("postgres")));
        db.setPassword(settings.value(QStringLiteral("password")));
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok)
                *error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString SanitisedName(const QString& hint)
{
    QString name;
    for (QChar c : hint.toLower())
        name += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    return name.left(30);
}

} // namespace

std::string BackendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

namespace TestDatabases {

bool PostgresConfigured()
{
    return !qgetenv("KELVANE_TEST_PG").isEmpty();
}

bool PostgresRequired()
{
    return qgetenv("KELVANE_TEST_PG_REQUIRED") == "1";
}

QString NewSqliteDatabase(const QString& dir, const QString& name)
{
    const QString file = QDir(dir).filePath(name);
    QString error;
    if (!CreateSqliteDatabaseFile(file, &error))
        ADD_FAILURE() << error.toStdString();
    return CConnectionString::SqliteString(file);
}

QString PostgresConnectionString(const QString& database)
{
    const auto settings = ServerSettings();
    return CConnectionString::PostgresString(
        settings.value(QStringLiteral("host"), QStringLiteral("127.0.0.1")),
        settings.value(QStringLiteral("port"), QStringLiteral("5432")).toInt(), database,
        settings.value(QStringLiteral("user"), QStringLiteral("postgres")),
        settings.value(QStringLiteral("password")));
}

QString NewPostgresDatabase(const QString& hint)
{
    static int counter = 0;
    const QString name = QStringLiteral("kt_%1_%2_%3")
                             .arg(SanitisedName(hint))
                             .arg(QCoreApplication::applicationPid())
                             .arg(++counter);
    QString error;
    if (!AdminExecImpl(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name),
            &error)) {
        ADD_FAILURE() << "cannot create test database: " << error.toStdString();
        return QString();
    }
    s_created << name;
    return PostgresConnectionString(name);
}

bool AdminExec(const QString& sql, QString* error)
{
    return AdminExecImpl(sql, error);
}

void DropAll()
{
    for (const QString& name : std::as_const(s_created)) {
        QString error;
        AdminExecImpl(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name), &error);
    }
    s_created.clear();
    s_suiteDatabases.clear();
}

} // namespace TestDatabases

void DbTest::SetUp()
{
    if (IsPostgres()) {
        if (!TestDatabases::PostgresConfigured()) {
            if (TestDatabases::PostgresRequired())
                FAIL() << "the test PostgreSQL server is required but not configured";
            GTEST_SKIP() << "no test PostgreSQL server (KELVANE_TEST_PG)";
        }
        const QString suite =
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_suite()->name());
        if (!s_suiteDatabases.contains(suite))
            s_suiteDatabases.insert(suite, TestDatabases::NewPostgresDatabase(suite));
        m_connectionString = s_suiteDatabases.value(suite);
        ASSERT_FALSE(m_connectionString.isEmpty());
    } else {
        m_connectionString = TestDatabases::NewSqliteDatabase(TestEnv::TestDir());
    }
    m_conn.UseConnectionString(m_connectionString);
    ASSERT_TRUE(m_conn.Connect(false)) << m_conn.LastOpenError().toStdString();
    if (IsPostgres() && !m_keepSchema)
        Exec(QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"));
}

void KelvaneDbTest::SetUp()
{
    DbTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    QString error;
    if (IsPostgres() && CSchema::Missing(m_conn).isEmpty()) {
        // Same schema as the last test of the suite: only the rows go.
        // (DELETE is much faster than TRUNCATE on tables this small.)
        QStringList script;
        for (const QString& table : CSchema::TableNames())
            script << QStringLiteral("DELETE FROM %1").arg(table);
        script << QStringLiteral(
            "SELECT setval(pg_get_serial_sequence(table_name, column_name), 1, false) "
            "FROM information_schema.columns WHERE table_schema = current_schema() "
            "AND is_identity = 'YES'");
        Exec(script.join(QStringLiteral(";\n")));
        Exec(CSchema::Script(QStringLiteral("seed"), kProviderPostgres));
        Exec(CSchema::Script(QStringLiteral("revisions"), kProviderPostgres));
        return;
    }
    if (IsPostgres())
        Exec(QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"));
    ASSERT_TRUE(CSchema::Create(m_conn, &error)) << error.toStdString();
}

void DbTest::TearDown()
{
    m_conn.ReleaseConnection(true);
}

void DbTest::Exec(const QString& sql, const QVariantList& params)
{
    CDbError error;
    const bool ok = params.isEmpty() && sql.contains(QLatin1Char(';'))
                        ? CSqlExecutor::RunScript(m_conn, sql, &error)
                        : CSqlExecutor::RunNative(m_conn, sql, params, nullptr, &error);
    ASSERT_TRUE(ok) << sql.toStdString() << ": " << error.description.toStdString();
}

CQueryResult DbTest::Query(const QString& sql, const QVariantList& params)
{
    CQueryResult result;
    CDbError error;
    EXPECT_TRUE(CSqlExecutor::RunNative(m_conn, sql, params, &result, &error))
        << sql.toStdString() << ": " << error.description.toStdString();
    return result;
}
