#include "platform/com/ClassLoader.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/ServerLibrary.h"

#include <QFileInfo>
#include <QHash>

namespace {

// Libraries whose registration could not be written (a read-only home, say):
// their classes are made from them for the rest of the process, wherever
// the registry does not name a library of its own.
QHash<Guid, QString>& KnownUnregistered()
{
    static auto* libraries = new QHash<Guid, QString>;
    return *libraries;
}

HRESULT LoadLibraryOf(const Guid& clsid, CServerLibrary** library)
{
    const std::optional<CClassRegistry::ClassRecord> record = CClassRegistry().FindClass(clsid);
    QString path = record ? record->library : QString();
    if (!QFileInfo(path).isFile())
        path = KnownUnregistered().value(clsid, path);
    if (!record && path.isEmpty()) {
        SetErrorInfo(kREGDB_E_CLASSNOTREG, QStringLiteral("%1 is not in the class registry \"%2\".")
                                               .arg(clsid.ToString(), CClassRegistry::Location()));
        return kREGDB_E_CLASSNOTREG;
    }
    return CServerLibrary::Load(path, library);
}

} // namespace

HRESULT CClassLoader::GetClassObject(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    *out = nullptr;
    ClearErrorInfo();
    CServerLibrary* library = nullptr;
    HRESULT hr = LoadLibraryOf(clsid, &library);
    if (Succeeded(hr) && Failed(hr = library->GetClassObject(clsid, iid, out)))
        SetErrorInfo(
            hr, QStringLiteral("\"%1\" does not make %2.").arg(library->Path(), clsid.ToString()));
    return hr;
}

HRESULT CClassLoader::CreateInstance(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    *out = nullptr;
    ComPtr<IClassFactory> factory;
    HRESULT hr = GetClassObject(clsid, IClassFactory::kIid, factory.Receive());
    if (Succeeded(hr) && Failed(hr = factory->CreateInstance(nullptr, iid, out)))
        SetErrorInfo(hr,
                     QStringLiteral("The class factory could not make %1.").arg(clsid.ToString()));
    return hr;
}

HRESULT CClassLoader::ClassIdFromString(const QString& text, Guid* clsid)
{
    if (!clsid)
        return kE_POINTER;
    std::optional<Guid> id = text.trimmed().startsWith(QLatin1Char('{'))
                                 ? Guid::FromString(text)
                                 : CClassRegistry().ClassOfProgId(text.trimmed());
    if (!id)
        return kCO_E_CLASSSTRING;
    *clsid = *id;
    return kS_OK;
}

HRESULT CClassLoader::EnsureRegistered(const Guid& clsid, const QString& libraryPath)
{
    const std::optional<CClassRegistry::ClassRecord> record = CClassRegistry().FindClass(clsid);
    if (record && QFileInfo(record->library).isFile())
        return kS_FALSE;
    CServerLibrary* library = nullptr;
    HRESULT hr = CServerLibrary::Load(libraryPath, &library);
    if (Succeeded(hr))
        hr = library->RegisterServer();
    if (Succeeded(hr))
        KnownUnregistered().remove(clsid);
    else if (QFileInfo(libraryPath).isFile())
        KnownUnregistered().insert(clsid, QFileInfo(libraryPath).absoluteFilePath());
    return hr;
}
