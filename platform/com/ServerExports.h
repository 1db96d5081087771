#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

// The four entry points of a control library, the only symbols it exports.
// A library defines them in its module file, each forwarding to its
// CServerModule; the loader finds them by name.
#define KELVANE_COM_EXPORT extern "C" __attribute__((visibility("default")))

KELVANE_COM_EXPORT HRESULT DllRegisterServer();
KELVANE_COM_EXPORT HRESULT DllUnregisterServer();
KELVANE_COM_EXPORT HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** out);
KELVANE_COM_EXPORT HRESULT DllCanUnloadNow();

using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const Guid*, const Guid*, void**);
using DllCanUnloadNowFn = HRESULT (*)();
