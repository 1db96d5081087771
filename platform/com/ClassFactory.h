#pragma once

#include "platform/com/IClassFactory.h"
#include "platform/com/ModuleLock.h"

#include <new>

// The class factory of server class T, one static object per library. T is
// made with one reference, which the factory hands over through
// QueryInterface.
template <typename T>
class CClassFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) override
    {
        if (!out)
            return kE_POINTER;
        if (iid == IUnknown::kIid || iid == IClassFactory::kIid) {
            *out = static_cast<IClassFactory*>(this);
            return kS_OK;
        }
        *out = nullptr;
        return kE_NOINTERFACE;
    }
    // The factory lives as long as its library.
    std::uint32_t AddRef() override { return 2; }
    std::uint32_t Release() override { return 1; }

    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) override
    {
        if (!out)
            return kE_POINTER;
        *out = nullptr;
        if (outer)
            return kCLASS_E_NOAGGREGATION;
        T* object = new (std::nothrow) T();
        if (!object)
            return kE_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }

    HRESULT LockServer(bool lock) override
    {
        if (lock)
            CModuleLock::Lock();
        else
            CModuleLock::Unlock();
        return kS_OK;
    }
};
