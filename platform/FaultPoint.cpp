#include "platform/FaultPoint.h"

#include <atomic>

namespace {

// Points are passed on other threads too.
std::atomic<FaultHandler> s_handler{nullptr};

} // namespace

void FaultPoint(const char* name)
{
    if (const FaultHandler handler = s_handler.load())
        handler(name);
}

void SetFaultHandler(FaultHandler handler)
{
    s_handler = handler;
}
