#include "platform/com/ClassFactory.h"
#include "platform/com/ServerModule.h"
#include "tests/platform/com/testctrl/TestCtrl.h"
#include "tests/platform/com/testctrl/TestCtrlIds.h"

namespace {

CClassFactory<CTestCtrl> s_factory;

} // namespace

const CServerModule& ThisServerModule()
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
