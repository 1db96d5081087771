#pragma once

#include "platform/com/IUnknown.h"

// Makes the objects of one class; a library hands it out by class id.
class IClassFactory : public IUnknown {
public:
    static constexpr Guid kIid = Guid::Literal("{E4D27602-89C3-4A64-8D5B-DFDDCDB28A87}");

    // outer must be null: no class supports aggregation.
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
    // Keeps the library in use while a caller means to create more objects.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};
