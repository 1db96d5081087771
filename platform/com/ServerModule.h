#pragma once

#include "platform/com/ComponentCategory.h"
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <QString>

#include <cstdint>
#include <vector>

class IClassFactory;

// What a control library knows of itself: its type library and classes.
// Its four entry points (ServerEntryPoints.cpp) forward here.
class CServerModule {
public:
    struct TypeLibInfo {
        Guid id;
        const char* version = "1.0";
        const char* name = ""; // help string
        const char* helpFile = "";
    };

    struct ClassInfo {
        Guid clsid;
        const char* progId = "";
        const char* name = ""; // user type name
        IClassFactory* factory = nullptr;
        std::uint32_t miscStatus = 0;
        std::vector<ComponentCategory> categories;
    };

    CServerModule(TypeLibInfo typeLib, std::vector<ClassInfo> classes);

    // The type library (kSELFREG_E_TYPELIB on failure), then each class
    // with its ProgID and categories (kSELFREG_E_CLASS).
    HRESULT RegisterServer() const;
    // Removes the type library and the classes; categories stay.
    HRESULT UnregisterServer() const;
    HRESULT GetClassObject(const Guid& clsid, const Guid& iid, void** out) const;
    // kS_OK when no object is alive and no factory locked, else kS_FALSE.
    static HRESULT CanUnloadNow();

    // The absolute path of the library this code is linked into.
    static QString LibraryPath();

private:
    TypeLibInfo m_typeLib;
    std::vector<ClassInfo> m_classes;
};

// The module of the control library being linked, defined in its module
// file; hidden like everything but the entry points.
const CServerModule& ThisServerModule();
