// The control library's module: its type library, its two classes (the
// control and its property page), which its four entry points serve.

#include "platform/com/ClassFactory.h"
#include "platform/com/ServerModule.h"
#include "timeline/PlentorCtrl.h"
#include "timeline/PlentorIds.h"
#include "timeline/PlentorPropPage.h"

namespace {

CClassFactory<CPlentorCtrl> s_ctrlFactory;
CClassFactory<CPlentorPropPage> s_pageFactory;

} // namespace

const CServerModule& ThisServerModule()
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
