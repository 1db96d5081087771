#include "app/ControlRegistration.h"

#include "platform/Trace.h"
#include "platform/com/ClassLoader.h"
#include "platform/com/ClassRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct BundledControl {
    Guid clsid;
    const char* library;
};

// The time line and the tree list.
constexpr BundledControl kControls[] = {
    {Guid::Literal("{4170551F-F04B-11D1-ACC6-0040053F2CF2}"), "libplentor.so"},
    {Guid::Literal("{E22C10A8-0FE9-11D4-BB0A-0000B49FDECE}"), "libsarvex.so"},
};

} // namespace

void RegisterControlsBeside(const QString& folder)
{
    for (const BundledControl& control : kControls) {
        const QString path = QDir(folder).filePath(QLatin1String(control.library));
        if (!QFileInfo::exists(path))
            continue;
        const HRESULT hr = CClassLoader::EnsureRegistered(control.clsid, path);
        // This process makes the control from path all the same.
        if (Failed(hr))
            qCWarning(lcApp).noquote() << "Cannot register" << path << "in"
                                       << CClassRegistry::Location() << ":" << HResultText(hr);
    }
}
