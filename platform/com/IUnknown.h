#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <cstdint>

// The root of every object that crosses between the program and a control
// library: reference counted, and asked for its other interfaces by id.
// Objects live on the thread that made them, so counts need no atomics.
class IUnknown {
public:
    static constexpr Guid kIid = Guid::Literal("{1815210C-70A1-433C-A654-D8AD1B768722}");

    // On success *out holds one reference that the caller releases.
    virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    // Objects are destroyed by their last Release, never through this base.
    ~IUnknown() = default;
};
