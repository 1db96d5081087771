#include "data/DBConnection.h"
#include "data/Schema.h"
#include "data/SqlExecutor.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/XDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// The real program signing on with a password on a real desktop, worked
// from the keyboard as its labels promise.

namespace {

constexpr int kWaitMs = 15000;

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

// The first visible window whose name matches, 0 when none.
qulonglong Shown(const CXDesktop& desktop, const QString& name)
{
    const QList<qulonglong> found =
        desktop.Search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name});
    return found.isEmpty() ? 0 : found.first();
}

} // namespace

TEST(LogonProgram, AUserTheDatabaseDoesNotKnowIsAskedForBeforeTheTimeSheetShows)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral(".run")));
    QFile::setPermissions(home.path() + QStringLiteral("/.run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    {
        // As after a switch to a database that does not know the user.
        QSettings profile(home.path() + QStringLiteral("/.config/Dunmere/Kelvane.conf"),
                          QSettings::IniFormat);
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), PasswordDatabase(home.path(), 0));
        profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Zed"));
    }
    QProcess program;
    program.setProcessEnvironment(desktop.ProgramEnvironment(home.path()));
    program.setWorkingDirectory(home.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvane"), {});
    ASSERT_TRUE(program.waitForStarted());
    const auto end = qScopeGuard([&program] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    });

    qulonglong ask = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] { return (ask = Shown(desktop, QStringLiteral("^Set User"))) != 0; }, 2 * kWaitMs))
        << "no Set User dialog";
    // The question is the window in front, with nothing of the time sheet to use meanwhile.
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] {
            return desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")})
                       .trimmed() == QString::number(ask);
        },
        kWaitMs))
        << "the Set User dialog is not the active window";
    QThread::msleep(300);
    EXPECT_EQ(Shown(desktop, QStringLiteral("^Kelvane Pro-")), 0u)
        << "the time sheet shows under the question";
    desktop.Key(QStringLiteral("Escape"));
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] { return Shown(desktop, QStringLiteral("^Kelvane Pro-")) != 0; }, 2 * kWaitMs))
        << "no time sheet after the question";
}

TEST(LogonProgram, AltUAndAltPMoveToTheUserAndThePasswordAsTheirLabelsSay)
{
    CXDesktop desktop;
    QString why;
    ASSERT_TRUE(desktop.Start(&why)) << why.toStdString();
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral(".run")));
    QFile::setPermissions(home.path() + QStringLiteral("/.run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString profileFile = home.path() + QStringLiteral("/.config/Dunmere/Kelvane.conf");
    {
        QSettings profile(profileFile, QSettings::IniFormat);
        profile.setValue(QStringLiteral("DB/DefDatabaseName"), PasswordDatabase(home.path()));
    }

    QProcess program;
    program.setProcessEnvironment(desktop.ProgramEnvironment(home.path()));
    program.setWorkingDirectory(home.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvane"), {});
    ASSERT_TRUE(program.waitForStarted());
    const auto end = qScopeGuard([&program] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    });

    qulonglong logon = 0;
    ASSERT_TRUE(CXDesktop::WaitFor(
        [&] {
            const QList<qulonglong> found =
                desktop.Search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                QStringLiteral("^Logon")});
            logon = found.isEmpty() ? 0 : found.first();
            return logon != 0;
        },
        2 * kWaitMs))
        << "no logon dialog";
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                             QStringLiteral("--sync"), QString::number(logon)});
    QThread::msleep(300);
    // The password has the focus; Alt+U goes to the user, "b" picks Bob,
    // Alt+P goes back to the password.
    for (const char* keys : {"alt+u", "b", "alt+p"}) {
        desktop.Key(QLatin1String(keys));
        QThread::msleep(200);
    }
    desktop.Tool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("Bobs")});
    desktop.Key(QStringLiteral("Return"));
    // Signed on as Bob: the program keeps him as its user.
    EXPECT_TRUE(CXDesktop::WaitFor(
        [&] {
            QSettings profile(profileFile, QSettings::IniFormat);
            return profile.value(QStringLiteral("USER/DefUserName")).toString() ==
                   QStringLiteral("Bob");
        },
        kWaitMs))
        << "not signed on as Bob";
}
