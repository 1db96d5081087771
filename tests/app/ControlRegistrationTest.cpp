#include "app/ControlRegistration.h"
#include "app/AboutDlg.h"
#include "platform/ProfileStore.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ControlHost.h"
#include "tests/support/TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <gtest/gtest.h>

// The program in a home folder it cannot write: neither the class registry
// nor the profile can be saved. A child process (this test program again,
// running the child's test below) lives in such a home from its start, as
// the program would; what it makes by class id stays in that process.

namespace {

constexpr char kChildVariable[] = "KELVANE_UNWRITABLE_HOME_CHILD";
constexpr const char* kTimeLine = "{4170551F-F04B-11D1-ACC6-0040053F2CF2}";
constexpr const char* kTreeList = "{E22C10A8-0FE9-11D4-BB0A-0000B49FDECE}";

void PlainFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// The data and configuration folders lie under plain files, which not even
// root can write into; the home itself is read-only for everyone else.
void EnterUnwritableHome(const QString& home)
{
    ASSERT_TRUE(QDir().mkpath(home));
    PlainFile(home + QStringLiteral("/.local"), "a file, not a folder\n");
    PlainFile(home + QStringLiteral("/.config"), "a file, not a folder\n");
    QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    qunsetenv("KELVANE_CLASS_REGISTRY");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       home + QStringLiteral("/.config"));
}

} // namespace

// What the child process runs; skipped in an ordinary run.
TEST(ControlRegistrationChild, MakesTheControlsBesideTheProgramWithoutARegistry)
{
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "the child of ControlRegistration";
    const QString home = TestEnv::TestDir() + QStringLiteral("/home");
    const auto writableAgain = qScopeGuard([&home] {
        QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
    });
    EnterUnwritableHome(home);
    CProfileStore profile;
    profile.setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("ann"));
    profile.sync();
    ASSERT_EQ(profile.status(), QSettings::AccessError);

    // A time line beside another program that is no library: the failure
    // says which file and why.
    const QString other = TestEnv::TestDir() + QStringLiteral("/other");
    ASSERT_TRUE(QDir().mkpath(other));
    PlainFile(other + QStringLiteral("/libplentor.so"), "not a library\n");
    RegisterControlsBeside(other);
    CControlHost broken;
    EXPECT_EQ(broken.CreateControl(QString::fromLatin1(kTimeLine)), kCO_E_ERRORINDLL);
    const QString said = HResultText(broken.LastResult());
    EXPECT_TRUE(said.startsWith(QStringLiteral("0x800401F9"))) << said.toStdString();
    EXPECT_TRUE(said.contains(other + QStringLiteral("/libplentor.so"))) << said.toStdString();

    // The program's own controls start, though their registration is lost.
    RegisterControlsBeside(QCoreApplication::applicationDirPath());
    EXPECT_FALSE(CClassRegistry().FindClass(*Guid::FromString(QString::fromLatin1(kTimeLine))));
    for (const char* control : {kTimeLine, kTreeList}) {
        CControlHost host;
        EXPECT_EQ(host.CreateControl(QString::fromLatin1(control)), kS_OK)
            << control << ": " << HResultText(host.LastResult()).toStdString();
        EXPECT_TRUE(host.ControlWidget());
    }
    CAboutDlg about(nullptr);
    EXPECT_NE(about.TimeLine(), nullptr);
}

TEST(ControlRegistration, TheProgramsControlsStartInAHomeItCannotWrite)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ControlRegistrationChild.*")});
    ASSERT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
}
