#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"
#include "platform/com/ServerExports.h"

#include <QString>

// A control library loaded into this process with its four entry points.
// Libraries stay loaded until the process ends: objects and the code of
// their widgets may outlive any one caller's interest in them.
class CServerLibrary {
public:
    // The library at path, loaded on first use. kCO_E_DLLNOTFOUND when there
    // is no such file; kCO_E_ERRORINDLL when it cannot be loaded or lacks an
    // entry point (HResultText then says why).
    static HRESULT Load(const QString& path, CServerLibrary** library);

    const QString& Path() const { return m_path; }

    HRESULT RegisterServer() const { return m_register(); }
    HRESULT UnregisterServer() const { return m_unregister(); }
    HRESULT GetClassObject(const Guid& clsid, const Guid& iid, void** out) const
    {
        return m_getClassObject(&clsid, &iid, out);
    }
    HRESULT CanUnloadNow() const { return m_canUnloadNow(); }

private:
    CServerLibrary() = default;

    QString m_path;
    DllRegisterServerFn m_register = nullptr;
    DllUnregisterServerFn m_unregister = nullptr;
    DllGetClassObjectFn m_getClassObject = nullptr;
    DllCanUnloadNowFn m_canUnloadNow = nullptr;
};
