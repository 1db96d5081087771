#include "app/KelvaneApp.h"
#include "app/DummyDlg.h"
#include "app/FirstStart.h"
#include "app/LogonDlg.h"
#include "app/Profile.h"
#include "app/SetUserDlg.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/Schema.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {

// A database with two employees, stored as the profile's database.
QString PrepareDatabase(int requirePwd, const QString& annLogin = QString(), QString cs = QString())
{
    if (cs.isEmpty())
        cs = TestDatabases::NewSqliteDatabase(TestEnv::TestDir(), QStringLiteral("k.db"));
    CDBConnection conn;
    conn.UseConnectionString(cs);
    EXPECT_TRUE(conn.Connect(false));
    QString error;
    EXPECT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
    CSqlExecutor::RunNative(
        conn,
        QStringLiteral("UPDATE tblProperty SET intValue = ? WHERE PropertyName = 'requirePwd'"),
        {requirePwd}, nullptr, nullptr);
    CSqlExecutor::RunNative(
        conn,
        QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, Pwd, DeptID, "
                       "IsCurrent, SecLevel) VALUES (1, 'Ann', ?, 'Secret', 1, 1, 2), "
                       "(2, 'Bob', 'bob', NULL, 1, 1, 0)"),
        {annLogin}, nullptr, nullptr);
    conn.ReleaseConnection(true);
    CProfile::SetDefDatabaseName(cs);
    return cs;
}

QString Login()
{
    QString login;
    GetWindowsUserName(login);
    return login;
}

// Fills the logon dialog and presses OK.
CScriptedModals::Step LogonAs(const QString& user, const QString& password)
{
    return [user, password](CDialogBase& dialog) {
        auto* combo = dialog.Control<QComboBox>(IDC_USER_COMBO);
        combo->setCurrentIndex(combo->findText(user));
        dialog.Control<QLineEdit>(IDC_PASSWORD)->setText(password);
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    };
}

} // namespace

TEST(KelvaneApp, AFirstStartMakesTheDatabaseAndSignsTheDesktopUserOn)
{
    ASSERT_FALSE(Login().isEmpty());
    {
        CKelvaneApp app;
        ASSERT_TRUE(app.Start());
        EXPECT_TRUE(QFile::exists(CFirstStart::DatabaseFile()));
        EXPECT_EQ(CSqlDialect::DetectProvider(CProfile::DefDatabaseName()), kProviderSqlite);
        EXPECT_EQ(app.LogonMode(), 3);
        EXPECT_FALSE(CProfile::DefUserName().isEmpty());
        EXPECT_GE(app.GetCurrentEmpId(), 1);
        ASSERT_NE(app.Hub(), nullptr);
        // Something to book on is there.
        EXPECT_EQ(app.Facade()->GetProjIdByName(QStringLiteral("General")), 1);
        // One person at their own desk: the time sheet comes up after 2 s, not 10.
        EXPECT_EQ(app.Facade()->StartupInfo().StartupFlag, 1);
        EXPECT_EQ(app.Facade()->StartupInfo().CompanyName, QStringLiteral("Our Company"));
        app.Hub()->Create();
        EXPECT_EQ(app.Hub()->StartupDelay(), 2000);
        app.Shutdown();
    }
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Last().toStdString();
    {
        // The next start finds the same database and the same user.
        CKelvaneApp again;
        ASSERT_TRUE(again.Start());
        CQueryResult rows;
        ASSERT_TRUE(CSqlExecutor::RunNative(*again.Facade()->Connection(),
                                            QStringLiteral("SELECT count(*) FROM tblFinEmployee"),
                                            {}, &rows, nullptr));
        EXPECT_EQ(rows.Value(0, 0).toInt(), 1);
    }
}

TEST(KelvaneApp, AFailedConnectAsksForAnotherDatabaseOrCloses)
{
    CProfile::SetDefDatabaseName(
        CConnectionString::SqliteString(TestEnv::TestDir() + QStringLiteral("/gone.db")));
    {
        CKelvaneApp app;
        CRecordingMessages::Current().Answer(kIdCancel); // the Retry/Cancel of the connection
        CRecordingMessages::Current().Answer(kIdNo);
        EXPECT_FALSE(app.Start());
        const QStringList texts = CRecordingMessages::Current().Texts();
        ASSERT_EQ(texts.size(), 3);
        EXPECT_EQ(texts.at(1),
                  QStringLiteral("Error connecting to database, would you like to try another?"));
        EXPECT_EQ(texts.at(2), QStringLiteral("Closing application"));
        EXPECT_FALSE(CProfile::DefDatabaseName().isEmpty());
    }
    CRecordingMessages::Current().Clear();
    {
        CKelvaneApp app;
        CRecordingMessages::Current().Answer(kIdCancel);
        CRecordingMessages::Current().Answer(kIdYes);
        app.Start();
        // With nobody to choose another the program closes; the database
        // stays stored until another has been chosen and opened.
        EXPECT_FALSE(CProfile::DefDatabaseName().isEmpty());
    }
}

TEST(KelvaneApp, AnOldDatabaseIsNamedAndNoStillStarts)
{
    PrepareDatabase(0);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    {
        CDBConnection conn;
        conn.UseConnectionString(CProfile::DefDatabaseName());
        ASSERT_TRUE(conn.Connect(false));
        CSqlExecutor::RunNative(conn, QStringLiteral("UPDATE ztlkpDbInfo SET dbVersion = 2.19"), {},
                                nullptr, nullptr);
    }
    CKelvaneApp app;
    CRecordingMessages::Current().Answer(kIdNo);
    ASSERT_TRUE(app.Start());
    const QStringList texts = CRecordingMessages::Current().Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts.at(0).contains(QStringLiteral("(2.19)"))) << texts.at(0).toStdString();
    EXPECT_TRUE(texts.at(0).contains(QStringLiteral("2.21 or greater")));
    EXPECT_TRUE(texts.at(1).startsWith(QStringLiteral("There may be errors")));
    EXPECT_TRUE(texts.at(1).contains(QStringLiteral("kelvane-createdb --update")));
}

TEST(KelvaneApp, TheDesktopUserSignsOnWhateverTheCaseOfTheLoginName)
{
    PrepareDatabase(3, Login().toUpper());
    CKelvaneApp app;
    CScriptedModals modals;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_EQ(CProfile::DefUserName(), QStringLiteral("Ann"));
    int level = 0;
    EXPECT_TRUE(app.LoadCurrentEmployee(level));
    EXPECT_EQ(level, 2);
}

TEST(KelvaneApp, SetUserOnALoginDatabaseAsksForAPasswordUnlessTheUserIsTheLoginItself)
{
    constexpr int kLogonOpen = 0x0040;
    constexpr int kSetUserOpen = 0x0020;
    const QString cs = PrepareDatabase(3, Login());
    {
        CKelvaneApp app;
        ASSERT_TRUE(app.Start());
        ASSERT_EQ(CProfile::DefUserName(), QStringLiteral("Ann"));
        app.Hub()->Create();
        app.Hub()->OnCommand(ID_SET_USER);
        // Another user signs on with a password.
        EXPECT_EQ(app.Hub()->OpenWindows() & (kLogonOpen | kSetUserOpen), kLogonOpen);
        EXPECT_NE(app.Hub()->findChild<CLogonDlg*>(), nullptr);
        app.Shutdown();
    }
    // The user's own name is the login: nobody else to become.
    CDBConnection conn;
    conn.UseConnectionString(cs);
    ASSERT_TRUE(conn.Connect(false));
    ASSERT_TRUE(CSqlExecutor::RunNative(
        conn, QStringLiteral("UPDATE tblFinEmployee SET EmpFullName = ? WHERE EmpID = 1"),
        {Login()}, nullptr, nullptr));
    conn.ReleaseConnection(true);
    CProfile::SetDefUserName(QString());
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(CProfile::DefUserName(), Login());
    app.Hub()->Create();
    app.Hub()->OnCommand(ID_SET_USER);
    EXPECT_EQ(app.Hub()->OpenWindows() & (kLogonOpen | kSetUserOpen), 0);
    app.Shutdown();
}

TEST(KelvaneApp, PasswordSignOnChecksAndRefuses)
{
    for (int mode : {2, 7, -1}) {
        SCOPED_TRACE(mode);
        PrepareDatabase(mode);
        {
            CKelvaneApp app;
            CScriptedModals modals;
            modals.Then(LogonAs(QStringLiteral("Ann"), QStringLiteral("Secret")));
            ASSERT_TRUE(app.Start());
            EXPECT_EQ(app.LogonMode(), 2);
            EXPECT_EQ(CProfile::DefUserName(), QStringLiteral("Ann"));
        }
        CRecordingMessages::Current().Clear();
        CProfile::SetDefUserName(QString());
        {
            CKelvaneApp app;
            CScriptedModals modals;
            modals.Then(LogonAs(QStringLiteral("Ann"), QStringLiteral("' OR '1'='1")));
            EXPECT_FALSE(app.Start());
            const QStringList texts = CRecordingMessages::Current().Texts();
            ASSERT_EQ(texts.size(), 2);
            EXPECT_EQ(texts.at(0), QStringLiteral("Username/password validation error"));
            EXPECT_EQ(texts.at(1), QStringLiteral("Unable to verify user - Closing application"));
            EXPECT_TRUE(CProfile::DefUserName().isEmpty());
        }
        CRecordingMessages::Current().Clear();
        QFile::remove(TestEnv::TestDir() + QStringLiteral("/k.db"));
        QFile::remove(TestEnv::TestDir() + QStringLiteral("/k.db-wal"));
        QFile::remove(TestEnv::TestDir() + QStringLiteral("/k.db-shm"));
    }
}

TEST(KelvaneApp, WithoutPasswordsAUserIsPickedOnce)
{
    PrepareDatabase(0);
    {
        CKelvaneApp app;
        CScriptedModals modals;
        modals.Then([](CDialogBase& dialog) {
            auto* names = dialog.Control<QComboBox>(IDC_SET_USER_NAME);
            names->setCurrentIndex(names->findText(QStringLiteral("Bob")));
            dialog.OnCommand(IDC_SET);
            return dialog.EndCode();
        });
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(modals.seen, QStringList{QStringLiteral("CSetUserDlg")});
        EXPECT_EQ(CProfile::DefUserName(), QStringLiteral("Bob"));
    }
    CKelvaneApp next;
    CScriptedModals none;
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(none.seen.isEmpty());
}

TEST(KelvaneApp, ServicesSpeakTheBackEndsForms)
{
    PrepareDatabase(0);
    CProfile::SetDefUserName(QStringLiteral("Ann"));
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.FormatSqlDate(QDate(2004, 3, 5)), QStringLiteral("'2004-03-05 00:00:00'"));
    EXPECT_EQ(app.GetEditionName(), QStringLiteral("Pro"));
    QString comment;
    EXPECT_TRUE(app.GetAutoComment(1, QStringLiteral("given"), comment));
    EXPECT_EQ(comment, QStringLiteral("given"));
    EXPECT_FALSE(app.GetAutoComment(3, QString(), comment));
    QSet<QString> picked;
    for (int i = 0; i < 500; ++i) {
        ASSERT_TRUE(app.GetAutoComment(2, QString(), comment));
        picked.insert(comment);
    }
    EXPECT_EQ(picked.size(), 10); // every stock comment comes up
    QString code;
    EXPECT_TRUE(CKelvaneApp::GetWindowCode(ID_REVIEW, code));
    EXPECT_EQ(code, QStringLiteral("rv"));
    EXPECT_FALSE(CKelvaneApp::GetWindowCode(ID_PROPERTIES, code));
}

TEST(KelvaneApp, StyleSheetListsHoldTenPairsInTheirSlots)
{
    CKelvaneApp app;
    QStringList nicks;
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        QStringList n{QStringLiteral("n%1").arg(i)};
        QStringList f{QStringLiteral("f%1.xsl").arg(i)};
        ASSERT_TRUE(app.LoadSaveXsltList(QStringLiteral("TS"), n, f, false));
    }
    // The eleventh is refused with the message.
    QStringList n{QStringLiteral("one more")};
    QStringList f{QStringLiteral("x.xsl")};
    EXPECT_FALSE(app.LoadSaveXsltList(QStringLiteral("TS"), n, f, false));
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("You already have 10 stored - cannot save another"));
    // A gap: the slots say where each pair is kept.
    app.DeleteXsltEntry(QStringLiteral("TS"), 3);
    QList<int> slotNumbers;
    ASSERT_TRUE(app.LoadSaveXsltList(QStringLiteral("TS"), nicks, files, true, &slotNumbers));
    EXPECT_EQ(nicks.size(), 9);
    EXPECT_FALSE(nicks.contains(QStringLiteral("n3")));
    EXPECT_EQ(slotNumbers, (QList<int>{0, 1, 2, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(nicks.at(3), QStringLiteral("n4"));
    // The next pair fills the gap.
    ASSERT_TRUE(app.LoadSaveXsltList(QStringLiteral("TS"), n, f, false));
    ASSERT_TRUE(app.LoadSaveXsltList(QStringLiteral("TS"), nicks, files, true, &slotNumbers));
    EXPECT_EQ(nicks.at(3), QStringLiteral("one more"));
    EXPECT_EQ(slotNumbers.at(3), 3);
}

TEST(KelvaneApp, ContextHelpOpensTheTopicOfTheHelpId)
{
    // Ids name themselves, 169 has topic 378; only the low 16 bits count.
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(102), 102);
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(12821), 12821);
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(169), 378);
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(0x20000 | 178), 178);
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(378), -1);
    EXPECT_EQ(CKelvaneApp::HelpTopicForId(999), -1);

    const QString file = TestEnv::TestDir() + QStringLiteral("/kelvane.htm");
    EXPECT_EQ(CKelvaneApp::ContextHelpUrl(file, 169).fragment(), QStringLiteral("id378"));
    EXPECT_EQ(CKelvaneApp::ContextHelpUrl(file, 102).fragment(), QStringLiteral("id102"));
    // An id without a topic opens the help at its start.
    EXPECT_FALSE(CKelvaneApp::ContextHelpUrl(file, 999).hasFragment());
    EXPECT_EQ(CKelvaneApp::ContextHelpUrl(file, 999).toLocalFile(), file);
}
