// A server that speaks another language than libpq's English is understood
// by its codes: a full one is told as full, Retry asks the same server again,
// and none of its words reach the user.
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/SqlExecutor.h"
#include "platform/MessageBox.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CRecordingMessages& Messages()
{
    return CRecordingMessages::Current();
}

// The German locale, made where the server (another user, when the tests
// run as root) finds it through LOCPATH.
bool MakeGermanLocale(const QTemporaryDir& dir, QString* why)
{
    QProcess localedef;
    localedef.setProcessChannelMode(QProcess::MergedChannels);
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                     QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("de_DE.utf8"))});
    if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0) {
        *why = QStringLiteral("localedef failed: ") + QString::fromLocal8Bit(localedef.readAll());
        return false;
    }
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), open);
    QDirIterator entries(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        QFile::setPermissions(entries.next(), open);
    return true;
}

} // namespace

TEST(ServerLanguage, AFullServerSpeakingGermanIsToldAsFullAndAskedAgain)
{
    QTemporaryDir locales;
    QString why;
    if (!MakeGermanLocale(locales, &why)) {
        if (TestDatabases::PostgresRequired())
            FAIL() << why.toStdString();
        GTEST_SKIP() << why.toStdString();
    }
    // Two connections for a role that is no superuser.
    CPrivatePgServer server(
        {QStringLiteral("max_connections=5"), QStringLiteral("lc_messages=de_DE.utf8")},
        {QStringLiteral("LOCPATH=") + locales.path()});
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    CConnectionString cs(server.NewKelvaneDatabase(QStringLiteral("sprache")));
    {
        CDBConnection admin;
        admin.UseConnectionString(cs.ToString());
        ASSERT_TRUE(admin.Connect(false));
        ASSERT_TRUE(CSqlExecutor::RunNative(admin, QStringLiteral("CREATE ROLE mitarbeiter LOGIN"),
                                            {}, nullptr, nullptr));
    }
    cs.Set(QStringLiteral("User ID"), QStringLiteral("mitarbeiter"));

    // Other programs hold both; the server says so in German.
    QStringList held;
    QString refusal;
    for (int i = 0; i < 3 && refusal.isEmpty(); ++i) {
        held << QStringLiteral("held%1").arg(i);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), held.last());
        db.setHostName(cs.Value(QStringLiteral("Host")));
        db.setPort(cs.Value(QStringLiteral("Port")).toInt());
        db.setDatabaseName(cs.Value(QStringLiteral("Database")));
        db.setUserName(QStringLiteral("mitarbeiter"));
        if (!db.open())
            refusal = db.lastError().text();
    }
    ASSERT_TRUE(refusal.contains(QStringLiteral("Verbindungen"))) << refusal.toStdString();

    CScriptedPrompt chooser;
    CDBConnection conn;
    conn.UseConnectionString(cs.ToString());
    Messages().Answer(kIdRetry);
    Messages().Answer(kIdCancel);
    EXPECT_FALSE(conn.Connect(false));
    ASSERT_EQ(Messages().Count(), 2) << Messages().Texts().join('|').toStdString();
    for (const QString& text : Messages().Texts()) {
        EXPECT_TRUE(text.contains(QStringLiteral("has no free connection now")))
            << text.toStdString();
        for (const char* foreign : {"Verbindungen", "FATAL", "53300", "database corruption"})
            EXPECT_FALSE(text.contains(QLatin1String(foreign))) << text.toStdString();
    }
    // A full server is no reason to choose another database.
    EXPECT_TRUE(chooser.seen.isEmpty());

    for (const QString& name : std::as_const(held)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    Messages().Clear();
    EXPECT_TRUE(conn.Connect(false)) << Messages().Texts().join('|').toStdString();
    EXPECT_EQ(Messages().Count(), 0);
    conn.ReleaseConnection(true);
}
