#pragma once

#include "platform/com/IUnknown.h"

#include <cstdint>

class IDispatch;

// The side of an object that raises events. An event is a call of the
// sink's IDispatch::Invoke (kind Method) whose member number is the event
// number: its 1-based position in the object's event list.
class IEventSource : public IUnknown {
public:
    static constexpr Guid kIid = Guid::Literal("{38BB1DED-60ED-4045-986B-22B4594CB2DA}");

    // The source keeps a reference to the sink until Unadvise.
    virtual HRESULT Advise(IDispatch* sink, std::uint32_t* cookie) = 0;
    // kE_INVALIDARG for a cookie that is not advised.
    virtual HRESULT Unadvise(std::uint32_t cookie) = 0;

protected:
    ~IEventSource() = default;
};
