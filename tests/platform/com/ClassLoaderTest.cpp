#include "platform/com/ClassLoader.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ComponentCategory.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/IControl.h"
#include "platform/com/IDispatch.h"
#include "tests/platform/com/ComTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace TestCtrlIds;

namespace {

constexpr Guid kUnknownClass = Guid::Literal("{D4F1CBE1-0EFA-4812-8AC1-A0042997CB27}");

// A class entry leading to the given library file.
void RegisterClassAt(const Guid& clsid, const QString& library)
{
    CClassRegistry::ClassRecord record;
    record.clsid = clsid;
    record.progId = QStringLiteral("Kelvane.Stray.1");
    record.library = library;
    ASSERT_EQ(CClassRegistry().RegisterClass(record), kS_OK);
}

HRESULT Create(const Guid& clsid)
{
    ComPtr<IDispatch> object;
    const HRESULT hr = CClassLoader::CreateInstance(clsid, &object);
    EXPECT_EQ(Succeeded(hr), static_cast<bool>(object));
    return hr;
}

} // namespace

TEST(ClassLoader, RegistrationRecordsTheClassItsTypeLibraryAndCategories)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);

    const CClassRegistry registry;
    const auto record = registry.FindClass(kClsid);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->progId, QString::fromLatin1(kProgId));
    EXPECT_EQ(record->name, QStringLiteral("Kelvane Test Control"));
    EXPECT_EQ(record->library, QFileInfo(ComTest::TestCtrlPath()).canonicalFilePath());
    EXPECT_EQ(record->miscStatus, kMiscStatus);
    EXPECT_EQ(record->typeLib, kTypeLib);
    EXPECT_EQ(record->typeLibVersion, QStringLiteral("1.0"));
    const auto lib = registry.FindTypeLib(kTypeLib, QStringLiteral("1.0"));
    ASSERT_TRUE(lib);
    EXPECT_EQ(lib->library, record->library);
    EXPECT_EQ(lib->name, QStringLiteral("Kelvane test control module"));
    EXPECT_EQ(registry.ImplementedCategories(kClsid),
              (QList<Guid>{kCatSafeForScripting.id, kCatSafeForInitializing.id}));
    EXPECT_EQ(registry.CategoryDescription(kCatSafeForInitializing.id),
              QStringLiteral("Controls safely initializable from persistent data"));
}

TEST(ClassLoader, CreatesTheControlByClassIdAndByProgId)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
    EXPECT_EQ(Create(kClsid), kS_OK);

    ComPtr<IDispatch> byProgId;
    ASSERT_EQ(CClassLoader::CreateInstance(QStringLiteral("kelvane.testctrl.1"), &byProgId), kS_OK);
    ComPtr<IControl> control;
    EXPECT_EQ(byProgId.As(&control), kS_OK);
    ComPtr<IDispatch> byText;
    EXPECT_EQ(CClassLoader::CreateInstance(kClsid.ToString(), &byText), kS_OK);
}

TEST(ClassLoader, UnregisteringRemovesTheClassAndKeepsTheCategories)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
    ASSERT_EQ(ComTest::TestCtrlLibrary()->UnregisterServer(), kS_OK);

    const CClassRegistry registry;
    EXPECT_FALSE(registry.FindClass(kClsid));
    EXPECT_FALSE(registry.ClassOfProgId(QString::fromLatin1(kProgId)));
    EXPECT_FALSE(registry.FindTypeLib(kTypeLib, QStringLiteral("1.0")));
    EXPECT_EQ(registry.Categories(),
              (QList<Guid>{kCatSafeForScripting.id, kCatSafeForInitializing.id}));
    EXPECT_EQ(Create(kClsid), kREGDB_E_CLASSNOTREG);
}

TEST(ClassLoader, AnUnknownClassOrProgIdIsAnError)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
    EXPECT_EQ(Create(kUnknownClass), kREGDB_E_CLASSNOTREG);
    ComPtr<IDispatch> object;
    EXPECT_EQ(CClassLoader::CreateInstance(QStringLiteral("No.Such.Control"), &object),
              kCO_E_CLASSSTRING);
    EXPECT_EQ(CClassLoader::CreateInstance(QStringLiteral("{ACF6F43A-4D23"), &object),
              kCO_E_CLASSSTRING);
    EXPECT_EQ(CClassLoader::CreateInstance(QString(), &object), kCO_E_CLASSSTRING);
    EXPECT_FALSE(object);
}

TEST(ClassLoader, AMissingOrWrongLibraryIsAnError)
{
    RegisterClassAt(kUnknownClass, TestEnv::TestDir() + QStringLiteral("/libgone.so"));
    EXPECT_EQ(Create(kUnknownClass), kCO_E_DLLNOTFOUND);

    const QString text = TestEnv::TestDir() + QStringLiteral("/libtext.so");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library\n");
    file.close();
    RegisterClassAt(kUnknownClass, text);
    EXPECT_EQ(Create(kUnknownClass), kCO_E_ERRORINDLL);

    RegisterClassAt(kUnknownClass, ComTest::NotAServerPath());
    EXPECT_EQ(Create(kUnknownClass), kCO_E_ERRORINDLL);

    RegisterClassAt(kUnknownClass, ComTest::TestCtrlPath());
    EXPECT_EQ(Create(kUnknownClass), kCLASS_E_CLASSNOTAVAILABLE);
}

TEST(ClassLoader, TheFactoryRefusesAggregationAndUnknownInterfaces)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CClassLoader::GetClassObject(kClsid, IClassFactory::kIid, factory.Receive()), kS_OK);
    ComPtr<IDispatch> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IDispatch::kIid, object.Receive()), kS_OK);
    void* out = &out;
    EXPECT_EQ(factory->CreateInstance(object.Get(), IDispatch::kIid, &out), kCLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, kUnknownClass, &out), kE_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->QueryInterface(kUnknownClass, &out), kE_NOINTERFACE);
}

TEST(ClassLoader, TheLibraryCanUnloadOnlyAfterItsLastObjectAndLockAreGone)
{
    ASSERT_EQ(ComTest::RegisterTestCtrl(), kS_OK);
    CServerLibrary* library = ComTest::TestCtrlLibrary();
    ASSERT_EQ(library->CanUnloadNow(), kS_OK);

    ComPtr<IDispatch> first;
    ComPtr<IDispatch> second;
    ASSERT_EQ(CClassLoader::CreateInstance(kClsid, &first), kS_OK);
    ASSERT_EQ(CClassLoader::CreateInstance(kClsid, &second), kS_OK);
    ComPtr<IControl> alias;
    ASSERT_EQ(first.As(&alias), kS_OK);
    EXPECT_EQ(library->CanUnloadNow(), kS_FALSE);
    first.Reset();
    second.Reset();
    EXPECT_EQ(library->CanUnloadNow(), kS_FALSE) << "the control is still held as IControl";
    alias.Reset();
    EXPECT_EQ(library->CanUnloadNow(), kS_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CClassLoader::GetClassObject(kClsid, IClassFactory::kIid, factory.Receive()), kS_OK);
    factory->LockServer(true);
    EXPECT_EQ(library->CanUnloadNow(), kS_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(library->CanUnloadNow(), kS_OK);
}

TEST(ClassLoader, EnsureRegisteredRegistersOnlyWhatIsMissing)
{
    EXPECT_EQ(CClassLoader::EnsureRegistered(kClsid, ComTest::TestCtrlPath()), kS_OK);
    EXPECT_TRUE(CClassRegistry().FindClass(kClsid));
    EXPECT_EQ(CClassLoader::EnsureRegistered(kClsid, ComTest::TestCtrlPath()), kS_FALSE);

    RegisterClassAt(kClsid, TestEnv::TestDir() + QStringLiteral("/libgone.so"));
    EXPECT_EQ(CClassLoader::EnsureRegistered(kClsid, ComTest::TestCtrlPath()), kS_OK);
    EXPECT_EQ(Create(kClsid), kS_OK);
    EXPECT_EQ(CClassLoader::EnsureRegistered(kUnknownClass,
                                             TestEnv::TestDir() + QStringLiteral("/libgone.so")),
              kCO_E_DLLNOTFOUND);
}

TEST(ClassLoader, AControlLibraryExportsOnlyItsFourEntryPoints)
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        GTEST_SKIP() << "nm is not installed";
    QProcess process;
    process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                       QStringLiteral("--format=just-symbols"), ComTest::TestCtrlPath()});
    ASSERT_TRUE(process.waitForFinished());
    QStringList symbols =
        QString::fromLatin1(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    symbols.sort();
    EXPECT_EQ(symbols, (QStringList{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                    "DllUnregisterServer"}));
}
