#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/DispatchArgs.h"
#include "platform/com/IDispatch.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The sinks advised to one object, and the firing of its events. Events are
// fired synchronously, to the sinks in the order they were advised; a sink's
// handler may call back into the object, advise or unadvise. A sink
// unadvised while an event is being fired does not receive the rest of it.
class CEventSource {
public:
    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    HRESULT Advise(IDispatch* sink, std::uint32_t* cookie);
    HRESULT Unadvise(std::uint32_t cookie);
    void UnadviseAll();

    // What the sinks answer is not the source's concern.
    void Fire(DispId event, std::span<const Variant> args);

    template <typename... A>
    void Fire(DispId event, const A&... args)
    {
        const std::array<Variant, sizeof...(A)> values{ToVariant(args)...};
        Fire(event, std::span<const Variant>(values));
    }

private:
    struct Sink {
        std::uint32_t cookie = 0;
        ComPtr<IDispatch> sink;
    };

    bool IsAdvised(std::uint32_t cookie) const;

    std::vector<Sink> m_sinks;
    std::uint32_t m_nextCookie = 1;
};
