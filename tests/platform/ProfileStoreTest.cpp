#include "platform/ProfileStore.h"
#include "tests/support/Faults.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

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
