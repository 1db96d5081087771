#include "platform/com/ClassFactory.h"
#include "platform/com/ServerExports.h"
#include "platform/com/ServerModule.h"
#include "tests/platform/com/testctrl/TestCtrl.h"
#include "tests/platform/com/testctrl/TestCtrlIds.h"

namespace {

CClassFactory<CTestCtrl> s_factory;

const CServerModule& Module()
{
    static const CServerModule module(
        {TestCtrlIds::kTypeLib, "1.0", "Kelvane test control module", "testctrl.html"},
        {{TestCtrlIds::kClsid,
          TestCtrlIds::kProgId,
          "Kelvane Test Control",
          &s_factory,
          TestCtrlIds::kMiscStatus,
          {kCatSafeForScripting, kCatSafeForInitializing}}});
    return module;
}

} // namespace

HRESULT DllRegisterServer()
{
    return Module().RegisterServer();
}

HRESULT DllUnregisterServer()
{
    return Module().UnregisterServer();
}

HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** out)
{
    if (!clsid || !iid)
        return kE_POINTER;
    return Module().GetClassObject(*clsid, *iid, out);
}

HRESULT DllCanUnloadNow()
{
    return CServerModule::CanUnloadNow();
}
