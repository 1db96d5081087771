#pragma once

// Named points between the steps of work that must survive a crash at any of
// them (the first start's database, say). Tests stop the process at one to
// prove it; otherwise a point costs one call.
void FaultPoint(const char* name);

using FaultHandler = void (*)(const char* name);
void SetFaultHandler(FaultHandler handler);
