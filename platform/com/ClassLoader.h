#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <QString>

// Makes objects of registered classes: looks the class up in the class
// registry, loads its library and asks the library's class factory.
class CClassLoader {
public:
    // kREGDB_E_CLASSNOTREG for an unknown class; the library's errors as
    // CServerLibrary::Load gives them; kCLASS_E_CLASSNOTAVAILABLE when the
    // library does not make that class. A failure records its cause for
    // HResultText.
    static HRESULT CreateInstance(const Guid& clsid, const Guid& iid, void** out);
    static HRESULT GetClassObject(const Guid& clsid, const Guid& iid, void** out);

    // "{clsid}" or a registered ProgID; kCO_E_CLASSSTRING for anything else.
    static HRESULT ClassIdFromString(const QString& text, Guid* clsid);

    template <typename I>
    static HRESULT CreateInstance(const Guid& clsid, ComPtr<I>* out)
    {
        return out ? CreateInstance(clsid, I::kIid, out->Receive()) : kE_POINTER;
    }

    template <typename I>
    static HRESULT CreateInstance(const QString& classIdOrProgId, ComPtr<I>* out)
    {
        Guid clsid;
        const HRESULT hr = ClassIdFromString(classIdOrProgId, &clsid);
        return Failed(hr) ? hr : CreateInstance(clsid, out);
    }

    // Registers the library when the class is not registered, or its
    // registered library file is gone; kS_FALSE when nothing was to do. The
    // program's way of making the controls beside it known: when the
    // registration cannot be written, the class is still made from that
    // library for the rest of the process, and the failure is returned.
    static HRESULT EnsureRegistered(const Guid& clsid, const QString& libraryPath);
};
