#include "data/DBConnection.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/XDesktop.h"

#include <QSettings>
#include <gtest/gtest.h>

// The real program signing on with a password on a real desktop, worked
// from the keyboard as its labels promise.

namespace {

constexpr int kWaitMs = CXDesktop::kWaitMs;

// A database file of Ann and Bob where everybody signs on with a password
// (password mode 2) or picks a name (0).
QString PasswordDatabase(const QString& folder, int mode = 2)
{
    const QString cs = TestDatabases::NewSqliteDatabase(folder, QStringLiteral("k.db"));
    CDBConnection conn;
    conn.UseConnectionString(cs);
    EXPECT_TRUE(conn.Connect(false));
    QString error;
    EXPECT_TRUE(CSchema::Create(conn, &error)) << error.toStdString();
    for (const QString& sql :
         {QStringLiteral("UPDATE tblProperty SET intValue = %1 WHERE PropertyName = 'requirePwd'")
              .arg(mode),
          QStringLiteral("INSERT INTO tblFinEmployee (EmpID, EmpFullName, NTUserName, Pwd, DeptID, "
                         "IsCurrent, SecLevel) VALUES (1, 'Ann', 'ann-elsewhere', 'Secret', 1, 1, "
                         "1), (2, 'Bob', 'bob-elsewhere', 'Bobs', 1, 1, 1)")})
        EXPECT_TRUE(CSqlExecutor::RunNative(conn, sql, {}, nullptr, nullptr)) << sql.toStdString();
    conn.ReleaseConnection(true);
    return cs;
}

} // namespace

TEST(LogonProgram, AUserTheDatabaseDoesNotKnowIsAskedForBeforeTheTimeSheetShows)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    CXProgram program;
    {
        // As after a switch to a database that does not know the user.
        QSettings profile(program.ProfileFile(), QSettings::IniFormat);
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), PasswordDatabase(program.Home(), 0));
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Zed"));
    }
    ASSERT_TRUE(program.Start(desktop));

    qulonglong ask = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] { return (ask = desktop.Shown(QStringLiteral("^Set User"))) != 0; }, 2 * kWaitMs))
        << "no Set User dialog";
    // The question is the window in front, with nothing of the time sheet to
    // use meanwhile: a sheet shown with or before it is mapped by the time
    // the question is active.
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] {
            return desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")})
                       .trimmed() == QString::number(ask);
        },
        kWaitMs))
        << "the Set User dialog is not the active window";
    EXPECT_EQ(desktop.Shown(QStringLiteral("^Kelvane Pro-")), 0u)
        << "the time sheet shows under the question";
    desktop.Key(QStringLiteral("Escape"));
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] { return desktop.Shown(QStringLiteral("^Kelvane Pro-")) != 0; }, 2 * kWaitMs))
        << "no time sheet after the question";
}

TEST(LogonProgram, AltUAndAltPMoveToTheUserAndThePasswordAsTheirLabelsSay)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    CXProgram program;
    {
        QSettings profile(program.ProfileFile(), QSettings::IniFormat);
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), PasswordDatabase(program.Home()));
    }
    ASSERT_TRUE(program.Start(desktop));

    qulonglong logon = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] { return (logon = desktop.Shown(QStringLiteral("^Logon"))) != 0; }, 2 * kWaitMs))
        << "no logon dialog";
    ASSERT_TRUE(desktop.Activate(logon)) << "the logon dialog does not get the keyboard";
    // The password has the focus; Alt+U goes to the user, "b" picks Bob,
    // Alt+P goes back to the password. The keys reach the dialog in the
    // order they are sent.
    for (const char* keys : {"alt+u", "b", "alt+p"})
        desktop.Key(QLatin1String(keys));
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("Bobs")});
    desktop.Key(QStringLiteral("Return"));
    // Signed on as Bob: the program keeps him as its user.
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] {
            QSettings profile(program.ProfileFile(), QSettings::IniFormat);
            return profile.value(QStringLiteral("USER/DefUserName")).toString() ==
                   QStringLiteral("Bob");
        },
        kWaitMs))
        << "not signed on as Bob";
}
