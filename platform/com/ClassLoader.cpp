#include "platform/com/ClassLoader.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/ServerLibrary.h"

#include <QFileInfo>

HRESULT CClassLoader::GetClassObject(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    *out = nullptr;
    const std::optional<CClassRegistry::ClassRecord> record = CClassRegistry().FindClass(clsid);
    if (!record)
        return kREGDB_E_CLASSNOTREG;
    CServerLibrary* library = nullptr;
    const HRESULT hr = CServerLibrary::Load(record->library, &library);
    if (Failed(hr))
        return hr;
    return library->GetClassObject(clsid, iid, out);
}

HRESULT CClassLoader::CreateInstance(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    *out = nullptr;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = GetClassObject(clsid, IClassFactory::kIid, factory.Receive());
    if (Failed(hr))
        return hr;
    return factory->CreateInstance(nullptr, iid, out);
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
    const HRESULT hr = CServerLibrary::Load(libraryPath, &library);
    return Failed(hr) ? hr : library->RegisterServer();
}
