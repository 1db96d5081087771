#include "platform/FaultPoint.h"

namespace {

FaultHandler s_handler = nullptr;

} // namespace

void FaultPoint(const char* name)
{
    if (s_handler)
        s_handler(name);
}

void SetFaultHandler(FaultHandler handler)
{
    s_handler = handler;
}
