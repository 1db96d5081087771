#include "platform/com/ClassRegistry.h"
#include "tests/platform/com/ComTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace TestCtrlIds;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// regsvr sees this test's registry through the inherited environment.
Outcome RegSvr(const QStringList& args)
{
    QProcess process;
    process.start(ComTest::RegSvrPath(), args);
    Outcome run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

TEST(RegSvr, RegistersAndUnregistersALibraryFromTheCommandLine)
{
    const Outcome reg = RegSvr({ComTest::TestCtrlPath()});
    EXPECT_EQ(reg.exitCode, 0) << reg.err.toStdString();
    EXPECT_TRUE(reg.out.contains(QStringLiteral("registered")));
    EXPECT_TRUE(CClassRegistry().FindClass(kClsid));
    EXPECT_EQ(CClassRegistry().ClassOfProgId(QString::fromLatin1(kProgId)), kClsid);

    const Outcome unreg = RegSvr({QStringLiteral("-u"), ComTest::TestCtrlPath()});
    EXPECT_EQ(unreg.exitCode, 0) << unreg.err.toStdString();
    EXPECT_TRUE(unreg.out.contains(QStringLiteral("unregistered")));
    EXPECT_FALSE(CClassRegistry().FindClass(kClsid));
    EXPECT_EQ(CClassRegistry().Categories().size(), 2);
}

TEST(RegSvr, SaysWhyALibraryCannotBeRegistered)
{
    const Outcome missing = RegSvr({TestEnv::TestDir() + QStringLiteral("/libnothing.so")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("0x800401F8"))) << missing.err.toStdString();

    const Outcome plain = RegSvr({ComTest::NotAServerPath()});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_TRUE(plain.err.contains(QStringLiteral("DllRegisterServer"))) << plain.err.toStdString();

    // A registry that cannot be written fails the registration.
    qputenv("KELVANE_CLASS_REGISTRY", TestEnv::TestDir().toLocal8Bit());
    const Outcome unwritable = RegSvr({ComTest::TestCtrlPath()});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("0x80040200")))
        << unwritable.err.toStdString();

    EXPECT_EQ(RegSvr({}).exitCode, 2);
}
