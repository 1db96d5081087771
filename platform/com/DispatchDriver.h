#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/DispatchArgs.h"
#include "platform/com/IDispatch.h"

#include <array>

// Calls an object's members by DISPID, the way the wrapper classes of the
// controls do:
//
//     BOOL SetProjInfo(const QString& name, int id, OleColor colour)
//     {
//         return Call<bool>(10, name, id, colour);
//     }
//
// Calls never throw: a failed call returns R's default and LastResult()
// says why. Out-parameters are passed as pointers (std::int16_t*, ...).
class CDispatchDriver {
public:
    CDispatchDriver() = default;
    explicit CDispatchDriver(ComPtr<IDispatch> dispatch)
        : m_dispatch(std::move(dispatch))
    {}

    void AttachDispatch(ComPtr<IDispatch> dispatch) { m_dispatch = std::move(dispatch); }
    void ReleaseDispatch() { m_dispatch.Reset(); }
    IDispatch* Dispatch() const { return m_dispatch.Get(); }

    // Of the last call through this driver.
    HRESULT LastResult() const { return m_lastResult; }

    HRESULT InvokeHelper(DispId id, InvokeKind kind, std::span<const Variant> args,
                         Variant* result);

    template <typename R = void, typename... A>
    R Call(DispId id, const A&... args)
    {
        return Invoke<R>(id, InvokeKind::Method, args...);
    }

    template <typename R>
    R GetProperty(DispId id)
    {
        return Invoke<R>(id, InvokeKind::PropertyGet);
    }

    template <typename V>
    void SetProperty(DispId id, const V& value)
    {
        Invoke<void>(id, InvokeKind::PropertyPut, value);
    }

protected:
    // For what a derived class does besides calls (making the object, say).
    void SetLastResult(HRESULT hr) { m_lastResult = hr; }

private:
    template <typename R, typename... A>
    R Invoke(DispId id, InvokeKind kind, const A&... args)
    {
        const std::array<Variant, sizeof...(A)> values{ToVariant(args)...};
        Variant result;
        const HRESULT hr = InvokeHelper(id, kind, values, &result);
        if constexpr (!std::is_void_v<R>) {
            R value{};
            if (Succeeded(hr) && Failed(m_lastResult = FromVariant(result, &value)))
                return R{};
            return value;
        }
    }

    ComPtr<IDispatch> m_dispatch;
    HRESULT m_lastResult = kS_OK;
};
