#include "platform/com/ServerLibrary.h"

#include "platform/Trace.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <dlfcn.h>

#include <memory>

namespace {

// Keyed by canonical path, so one file is one library however it is named.
// Kept for the life of the process, like the libraries themselves.
QHash<QString, CServerLibrary*>& Loaded()
{
    static auto* libraries = new QHash<QString, CServerLibrary*>;
    return *libraries;
}

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn* out, QStringList* missing)
{
    *out = reinterpret_cast<Fn>(dlsym(handle, name));
    if (!*out)
        missing->append(QLatin1String(name));
    return *out != nullptr;
}

HRESULT Fail(HRESULT hr, const QString& why)
{
    qCWarning(lcCom).noquote() << why;
    SetErrorInfo(hr, why);
    return hr;
}

} // namespace

HRESULT CServerLibrary::Load(const QString& path, CServerLibrary** library)
{
    if (!library)
        return kE_POINTER;
    *library = nullptr;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile())
        return Fail(kCO_E_DLLNOTFOUND, QStringLiteral("No control library at \"%1\".").arg(path));
    const QString canonical = file.canonicalFilePath();
    if (CServerLibrary* known = Loaded().value(canonical)) {
        *library = known;
        return kS_OK;
    }

    void* handle = dlopen(QFile::encodeName(canonical).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return Fail(kCO_E_ERRORINDLL, QStringLiteral("Cannot load \"%1\": %2")
                                          .arg(canonical, QString::fromLocal8Bit(dlerror())));
    // Never closed: see the class comment.
    std::unique_ptr<CServerLibrary> loaded(new CServerLibrary);
    loaded->m_path = canonical;
    QStringList missing;
    Resolve(handle, "DllRegisterServer", &loaded->m_register, &missing);
    Resolve(handle, "DllUnregisterServer", &loaded->m_unregister, &missing);
    Resolve(handle, "DllGetClassObject", &loaded->m_getClassObject, &missing);
    Resolve(handle, "DllCanUnloadNow", &loaded->m_canUnloadNow, &missing);
    if (!missing.isEmpty())
        return Fail(kCO_E_ERRORINDLL,
                    QStringLiteral("\"%1\" is not a control library: it lacks %2.")
                        .arg(canonical, missing.join(QStringLiteral(", "))));
    *library = loaded.get();
    Loaded().insert(canonical, loaded.release());
    return kS_OK;
}
