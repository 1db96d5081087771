#include "bench/BenchUtil.h"
#include "platform/com/ClassLoader.h"
#include "platform/com/DispatchDriver.h"
#include "platform/com/ServerLibrary.h"
#include "tests/platform/com/testctrl/TestCtrl.h"
#include "tests/platform/com/testctrl/TestCtrlIds.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

// A million property gets on the test control through the dispatch layer
// (created by class id from its library, called by DISPID, result converted
// back), beside the same get called directly on a C++ object of the class.

namespace {

constexpr int kCalls = 1000000;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintLoad("bench_dispatch");
    QTemporaryDir dir;
    qputenv("KELVANE_CLASS_REGISTRY", dir.filePath(QStringLiteral("registry.ini")).toLocal8Bit());

    CServerLibrary* library = nullptr;
    HRESULT hr = CServerLibrary::Load(QStringLiteral(KELVANE_TESTCTRL_PATH), &library);
    if (Succeeded(hr))
        hr = library->RegisterServer();
    ComPtr<IDispatch> control;
    if (Succeeded(hr))
        hr = CClassLoader::CreateInstance(TestCtrlIds::kClsid, &control);
    if (Failed(hr)) {
        std::fprintf(stderr, "%s\n", qPrintable(HResultText(hr)));
        return 1;
    }
    CDispatchDriver driver(control);
    driver.SetProperty(TestCtrlIds::kNumber, 7);

    const ComPtr<CTestCtrl> direct = ComPtr<CTestCtrl>::Adopt(new CTestCtrl);
    direct->SetNumber(7);

    qint64 sink = 0;
    const BenchPair p = TimePair(
        7,
        [&] {
            for (int i = 0; i < kCalls; ++i)
                sink += driver.GetProperty<std::int32_t>(TestCtrlIds::kNumber);
        },
        [&] {
            for (int i = 0; i < kCalls; ++i)
                sink += direct->Number();
        });
    PrintPair("1,000,000 property gets by DISPID", p, 20.0);
    std::printf("(checksum %lld, last result %s)\n", static_cast<long long>(sink),
                qPrintable(HResultText(driver.LastResult())));
    return 0;
}
