// The control library's module: its type library, its two classes (the
// control and its property page) and the four entry points.

#include "platform/com/ClassFactory.h"
#include "platform/com/ServerExports.h"
#include "platform/com/ServerModule.h"
#include "treelist/SarvexCtrl.h"
#include "treelist/SarvexIds.h"
#include "treelist/SarvexPropPage.h"

namespace {

CClassFactory<CSarvexCtrl> s_ctrlFactory;
CClassFactory<CSarvexPropPage> s_pageFactory;

const CServerModule& Module()
{
    static const CServerModule module(
        {SarvexIds::kTypeLib, "1.0", "Sarvex ActiveX Control module", "Sarvex.hlp"},
        {{SarvexIds::kClsid,
          SarvexIds::kProgId,
          "Sarvex Control",
          &s_ctrlFactory,
          SarvexIds::kMiscStatus,
          {kCatSafeForScripting, kCatSafeForInitializing}},
         {SarvexIds::kPropPageClsid,
          SarvexIds::kPropPageProgId,
          "Sarvex Property Page",
          &s_pageFactory,
          0,
          {}}});
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
