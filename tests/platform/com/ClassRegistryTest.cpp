#include "platform/com/ClassRegistry.h"
#include "platform/com/ComponentCategory.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr Guid kClass = Guid::Literal("{E22C10A8-0FE9-11D4-BB0A-0000B49FDECE}");
constexpr Guid kLib = Guid::Literal("{E22C10A3-0FE9-11D4-BB0A-0000B49FDECE}");

CClassRegistry::ClassRecord Record()
{
    CClassRegistry::ClassRecord record;
    record.clsid = kClass;
    record.progId = QStringLiteral("Sarvex.SarvexCtrl.1");
    record.name = QStringLiteral("Sarvex Control");
    record.library = QStringLiteral("/opt/kelvane/libsarvex.so");
    record.miscStatus = 0x20191;
    record.typeLib = kLib;
    record.typeLibVersion = QStringLiteral("1.0");
    return record;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(ClassRegistry, LivesWhereTheEnvironmentSaysElseInTheUsersDataFolder)
{
    EXPECT_EQ(CClassRegistry::Location(), TestEnv::TestDir() + QStringLiteral("/registry.ini"));
    const QByteArray saved = qgetenv("KELVANE_CLASS_REGISTRY");
    qunsetenv("KELVANE_CLASS_REGISTRY");
    const QString fallback = CClassRegistry::Location();
    qputenv("KELVANE_CLASS_REGISTRY", saved);
    EXPECT_EQ(fallback, qEnvironmentVariable("XDG_DATA_HOME") +
                            QStringLiteral("/Dunmere/Kelvane/registry.ini"));
}

TEST(ClassRegistry, FindsAClassByItsIdAndByItsProgIdInAnyCase)
{
    ASSERT_EQ(CClassRegistry().RegisterClass(Record()), kS_OK);

    const CClassRegistry registry;
    const auto record = registry.FindClass(kClass);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->progId, QStringLiteral("Sarvex.SarvexCtrl.1"));
    EXPECT_EQ(record->library, QStringLiteral("/opt/kelvane/libsarvex.so"));
    EXPECT_EQ(record->threadingModel, QStringLiteral("Apartment"));
    EXPECT_EQ(record->miscStatus, 0x20191u);
    EXPECT_EQ(record->typeLib, kLib);
    EXPECT_EQ(registry.ClassOfProgId(QStringLiteral("sarvex.sarvexctrl.1")), kClass);
    EXPECT_FALSE(registry.ClassOfProgId(QStringLiteral("Sarvex.SarvexCtrl.2")));
    EXPECT_FALSE(registry.FindClass(kLib));
}

TEST(ClassRegistry, ReRegisteringUnderANewProgIdDropsTheOldOne)
{
    ASSERT_EQ(CClassRegistry().RegisterClass(Record()), kS_OK);
    CClassRegistry::ClassRecord renamed = Record();
    renamed.progId = QStringLiteral("Sarvex.SarvexCtrl.2");
    ASSERT_EQ(CClassRegistry().RegisterClass(renamed), kS_OK);

    const CClassRegistry registry;
    EXPECT_FALSE(registry.ClassOfProgId(QStringLiteral("Sarvex.SarvexCtrl.1")));
    EXPECT_EQ(registry.ClassOfProgId(QStringLiteral("Sarvex.SarvexCtrl.2")), kClass);
}

TEST(ClassRegistry, UnregisteringAClassLeavesItsCategories)
{
    {
        CClassRegistry registry;
        ASSERT_EQ(registry.RegisterClass(Record()), kS_OK);
        ASSERT_EQ(registry.RegisterCategory(kCatSafeForScripting.id,
                                            QString::fromUtf8(kCatSafeForScripting.description)),
                  kS_OK);
        ASSERT_EQ(registry.RegisterClassImplCategory(kClass, kCatSafeForScripting.id), kS_OK);
        EXPECT_EQ(registry.ImplementedCategories(kClass), QList<Guid>{kCatSafeForScripting.id});
        ASSERT_EQ(registry.UnregisterClass(kClass), kS_OK);
    }
    const CClassRegistry registry;
    EXPECT_FALSE(registry.FindClass(kClass));
    EXPECT_FALSE(registry.ClassOfProgId(QStringLiteral("Sarvex.SarvexCtrl.1")));
    EXPECT_TRUE(registry.ImplementedCategories(kClass).isEmpty());
    EXPECT_EQ(registry.Categories(), QList<Guid>{kCatSafeForScripting.id});
    EXPECT_EQ(registry.CategoryDescription(kCatSafeForScripting.id),
              QStringLiteral("Controls that are safely scriptable"));
}

TEST(ClassRegistry, AGarbledFileReadsAsEmptyAndRegisteringStartsItAfresh)
{
    static constexpr char kGarbled[] = "\x01\x02[[[CLSID\n=\xff\xfe\0zz\n[ProgID\n";
    WriteFile(CClassRegistry::Location(), QByteArray(kGarbled, sizeof kGarbled - 1));
    EXPECT_FALSE(CClassRegistry().FindClass(kClass));
    EXPECT_FALSE(CClassRegistry().ClassOfProgId(QStringLiteral("zz")));
    EXPECT_TRUE(CClassRegistry().Categories().isEmpty());

    ASSERT_EQ(CClassRegistry().RegisterClass(Record()), kS_OK);
    const CClassRegistry registry;
    EXPECT_TRUE(registry.FindClass(kClass));
    EXPECT_EQ(registry.ClassOfProgId(QStringLiteral("Sarvex.SarvexCtrl.1")), kClass);
}

TEST(ClassRegistry, AFileThatCannotBeWrittenFailsTheRegistration)
{
    const QString folder = TestEnv::TestDir() + QStringLiteral("/a-folder");
    ASSERT_TRUE(QDir().mkpath(folder));
    CClassRegistry registry(folder);
    EXPECT_FALSE(registry.FindClass(kClass));
    EXPECT_EQ(registry.RegisterClass(Record()), kE_ACCESSDENIED);
}

TEST(ClassRegistry, RefusesProgIdsTheFileCannotHold)
{
    CClassRegistry::ClassRecord record = Record();
    record.progId = QStringLiteral("Bad/ProgID");
    EXPECT_EQ(CClassRegistry().RegisterClass(record), kE_INVALIDARG);
    record.progId.clear();
    EXPECT_EQ(CClassRegistry().RegisterClass(record), kE_INVALIDARG);
}
