// The four entry points of a control library, compiled into each one
// (kelvane_add_control_library) and forwarding to the module it defines.

#include "platform/com/ServerExports.h"
#include "platform/com/ServerModule.h"

HRESULT DllRegisterServer()
{
    return ThisServerModule().RegisterServer();
}

HRESULT DllUnregisterServer()
{
    return ThisServerModule().UnregisterServer();
}

HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** out)
{
    if (!clsid || !iid)
        return kE_POINTER;
    return ThisServerModule().GetClassObject(*clsid, *iid, out);
}

HRESULT DllCanUnloadNow()
{
    return CServerModule::CanUnloadNow();
}
