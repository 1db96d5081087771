// The control library's module: its type library, its two classes (the
// control and its property page) and the four entry points.

#include "platform/com/ClassFactory.h"
#include "platform/com/ServerExports.h"
#include "platform/com/ServerModule.h"
#include "timeline/PlentorCtrl.h"
#include "timeline/PlentorIds.h"
#include "timeline/PlentorPropPage.h"

namespace {

CClassFactory<CPlentorCtrl> s_ctrlFactory;
CClassFactory<CPlentorPropPage> s_pageFactory;

const CServerModule& Module()
{
    static const CServerModule module(
        {PlentorIds::kTypeLib, "1.0", "Plentor ActiveX Control module", ""},
        {{PlentorIds::kClsid,
          PlentorIds::kProgId,
          "Plentor Control EXE",
          &s_ctrlFactory,
          PlentorIds::kMiscStatus,
          {kCatSafeForScripting, kCatSafeForInitializing}},
         {PlentorIds::kPropPageClsid,
          PlentorIds::kPropPageProgId,
          "Plentor Property Page",
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
