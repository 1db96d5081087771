// The control library's module: its type library, its two classes (the
// control and its property page), which its four entry points serve.

#include "platform/com/ClassFactory.h"
#include "platform/com/ServerModule.h"
#include "treelist/SarvexCtrl.h"
#include "treelist/SarvexIds.h"
#include "treelist/SarvexPropPage.h"

namespace {

CClassFactory<CSarvexCtrl> s_ctrlFactory;
CClassFactory<CSarvexPropPage> s_pageFactory;

} // namespace

const CServerModule& ThisServerModule()
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
