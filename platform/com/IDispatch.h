#pragma once

#include "platform/com/IUnknown.h"
#include "platform/com/Variant.h"

#include <cstdint>
#include <span>
#include <string_view>

// A member number: its 1-based position in the object's dispatch table, or
// a fixed negative number for the standard members (BackColor is -501).
using DispId = std::int32_t;

enum class InvokeKind : std::uint8_t { Method, PropertyGet, PropertyPut };

// Late-bound calls by member number. Programs drive controls only through
// this, and a control hears its event sinks through it too.
class IDispatch : public IUnknown {
public:
    static constexpr Guid kIid = Guid::Literal("{2FC4FBD7-35B8-4B3C-98C2-964761D8BFBC}");

    // The number of a member, its name compared without regard to case;
    // kDISP_E_UNKNOWNNAME when there is none.
    virtual HRESULT GetIDsOfNames(std::string_view name, DispId* id) = 0;
    // Arguments in declaration order, first parameter first; a property put
    // takes the new value as its only argument. result may be null. Fails
    // with kDISP_E_MEMBERNOTFOUND (no such member, or not of that kind),
    // kDISP_E_BADPARAMCOUNT, or a conversion error of an argument.
    virtual HRESULT Invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                           Variant* result) = 0;

protected:
    ~IDispatch() = default;
};
