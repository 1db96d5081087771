#include "platform/com/ServerModule.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/ModuleLock.h"

#include <QFileInfo>

#include <dlfcn.h>

CServerModule::CServerModule(TypeLibInfo typeLib, std::vector<ClassInfo> classes)
    : m_typeLib(typeLib)
    , m_classes(std::move(classes))
{}

HRESULT CServerModule::RegisterServer() const
{
    const QString library = LibraryPath();
    CClassRegistry registry;
    CClassRegistry::TypeLibRecord typeLib;
    typeLib.id = m_typeLib.id;
    typeLib.version = QString::fromUtf8(m_typeLib.version);
    typeLib.name = QString::fromUtf8(m_typeLib.name);
    typeLib.helpFile = QString::fromUtf8(m_typeLib.helpFile);
    typeLib.library = library;
    if (Failed(registry.RegisterTypeLib(typeLib)))
        return kSELFREG_E_TYPELIB;

    for (const ClassInfo& info : m_classes) {
        CClassRegistry::ClassRecord record;
        record.clsid = info.clsid;
        record.progId = QString::fromUtf8(info.progId);
        record.name = QString::fromUtf8(info.name);
        record.library = library;
        record.miscStatus = info.miscStatus;
        record.typeLib = m_typeLib.id;
        record.typeLibVersion = typeLib.version;
        if (Failed(registry.RegisterClass(record)))
            return kSELFREG_E_CLASS;
        for (const ComponentCategory& category : info.categories) {
            if (Failed(registry.RegisterCategory(category.id,
                                                 QString::fromUtf8(category.description))) ||
                Failed(registry.RegisterClassImplCategory(info.clsid, category.id)))
                return kSELFREG_E_CLASS;
        }
    }
    return kS_OK;
}

HRESULT CServerModule::UnregisterServer() const
{
    CClassRegistry registry;
    if (Failed(registry.UnregisterTypeLib(m_typeLib.id, QString::fromUtf8(m_typeLib.version))))
        return kSELFREG_E_TYPELIB;
    for (const ClassInfo& info : m_classes) {
        if (Failed(registry.UnregisterClass(info.clsid)))
            return kSELFREG_E_CLASS;
    }
    return kS_OK;
}

HRESULT CServerModule::GetClassObject(const Guid& clsid, const Guid& iid, void** out) const
{
    if (!out)
        return kE_POINTER;
    *out = nullptr;
    for (const ClassInfo& info : m_classes) {
        if (info.clsid == clsid && info.factory)
            return info.factory->QueryInterface(iid, out);
    }
    return kCLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CServerModule::CanUnloadNow()
{
    return CModuleLock::CanUnload() ? kS_OK : kS_FALSE;
}

QString CServerModule::LibraryPath()
{
    // Any address inside this code names the file it was loaded from.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&CServerModule::LibraryPath), &info) == 0 ||
        !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}
