#include "platform/UserAction.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <gtest/gtest.h>

// One main for every test program: a QApplication on the offscreen platform,
// so widget tests can sit beside the others, and a private profile, class
// registry and data folder for each test.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    TestEnv::IsolateProcess();
    QApplication app(argc, argv);
    // The program's names: its data and cache folders are found by them.
    QApplication::setOrganizationName(QStringLiteral("Dunmere"));
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    // Keys, clicks and waits begin user actions, as in the program.
    UserAction::Install(&app);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TestEnv::GlobalCleanup);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestEnv::PerTestIsolation);
    return RUN_ALL_TESTS();
}
