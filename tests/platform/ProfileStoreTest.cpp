#include "platform/ProfileStore.h"
#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "tests/support/Faults.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>

#include <sys/stat.h>

namespace {

QString LockPath()
{
    return CProfileStore().fileName() + QStringLiteral(".lock");
}

// A lock file as a process killed while taking the lock leaves it: created,
// nothing written yet. (The program is started again at once.)
void LeaveEmptyLock()
{
    QDir().mkpath(QFileInfo(LockPath()).absolutePath());
    QFile lock(LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
}

struct stat Status(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

} // namespace

TEST(ProfileStore, AStaleLockLeftByAKilledProcessDoesNotHoldTheNextWrite)
{
    LeaveEmptyLock();
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(CProfileStore::ClearStaleLock());
    {
        CProfileStore profile;
        profile.setValue(QStringLiteral("DB/DefDirectory"), QStringLiteral("/tmp"));
        profile.sync();
        EXPECT_EQ(profile.status(), QSettings::NoError);
    }
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(CProfileStore().value(QStringLiteral("DB/DefDirectory")).toString(),
              QStringLiteral("/tmp"));

    // A lock whose process died after writing its number: the same.
    ASSERT_TRUE(Faults::RunInChild([] {
        QLockFile lock(LockPath());
        if (!lock.tryLock(0))
            return false;
        ::_exit(0); // dies holding it, as a kill would leave it
    }));
    ASSERT_TRUE(QFileInfo::exists(LockPath()));
    EXPECT_TRUE(CProfileStore::ClearStaleLock());
    EXPECT_FALSE(QFileInfo::exists(LockPath()));
}

TEST(ProfileStore, ALockARunningProcessHoldsIsLeftAlone)
{
    QDir().mkpath(QFileInfo(LockPath()).absolutePath());
    QLockFile held(LockPath());
    ASSERT_TRUE(held.tryLock(0));
    EXPECT_FALSE(CProfileStore::ClearStaleLock());
    EXPECT_TRUE(QFileInfo::exists(LockPath()));
    held.unlock();
    EXPECT_FALSE(CProfileStore::ClearStaleLock()); // no lock: nothing to do
}

TEST(ProfileStore, AProfileHoldingThePasswordIsTheUsersAlone)
{
    // Nothing but the program keeps the file from others.
    const mode_t oldMask = ::umask(0);
    const auto restore = qScopeGuard([oldMask] { ::umask(oldMask); });
    const QString file = CProfileStore().fileName();
    const auto server = [](const QString& password) {
        return CConnectionString::PostgresString(QStringLiteral("db.example"), 5432,
                                                 QStringLiteral("kelvane"), QStringLiteral("ann"),
                                                 password);
    };
    CDBConnection connection;

    ASSERT_TRUE(connection.SaveConnectionString(server(QStringLiteral("first-secret"))));
    EXPECT_EQ(Status(file).st_mode & 07777, 0600u);

    // Left open by an older version or a copy: closed before the next write,
    // which still replaces the file whole.
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);
    const ino_t before = Status(file).st_ino;
    ASSERT_TRUE(connection.SaveConnectionString(server(QStringLiteral("second-secret"))));
    EXPECT_EQ(Status(file).st_mode & 07777, 0600u);
    EXPECT_NE(Status(file).st_ino, before);
    EXPECT_TRUE(connection.LoadConnectionString().contains(QStringLiteral("second-secret")));

    // No other file beside it holds the password.
    const QDir folder = QFileInfo(file).dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        QFile other(folder.filePath(name));
        if (other.fileName() != file && other.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(other.readAll().contains("secret")) << name.toStdString();
        }
    }
}
