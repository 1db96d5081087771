#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

// Conversions between Variants and the C++ parameter and result types of
// dispatch members and event handlers: std::int16_t (short), std::int32_t
// (long), bool, double, std::string or QString, OleColor, FontDesc, objects
// as ComPtr, VariantArray, Variant itself, and the by-reference pointers
// std::int16_t*, std::int32_t* and std::string*.

inline HRESULT FromVariant(const Variant& v, std::int16_t* out)
{
    return v.ToShort(out);
}
inline HRESULT FromVariant(const Variant& v, std::int32_t* out)
{
    return v.ToLong(out);
}
inline HRESULT FromVariant(const Variant& v, bool* out)
{
    return v.ToBool(out);
}
inline HRESULT FromVariant(const Variant& v, double* out)
{
    return v.ToDouble(out);
}
inline HRESULT FromVariant(const Variant& v, std::string* out)
{
    return v.ToString(out);
}
inline HRESULT FromVariant(const Variant& v, QString* out)
{
    return v.ToQString(out);
}
inline HRESULT FromVariant(const Variant& v, OleColor* out)
{
    return v.ToColor(out);
}
inline HRESULT FromVariant(const Variant& v, FontDesc* out)
{
    return v.ToFont(out);
}
inline HRESULT FromVariant(const Variant& v, VariantArray* out)
{
    return v.ToArray(out);
}
inline HRESULT FromVariant(const Variant& v, Variant* out)
{
    *out = v;
    return kS_OK;
}

// An object argument must offer the interface asked for; a null one stays null.
template <typename I>
HRESULT FromVariant(const Variant& v, ComPtr<I>* out)
{
    ComPtr<IUnknown> object;
    const HRESULT hr = v.ToObject(&object);
    if (Failed(hr))
        return hr;
    if (!object) {
        out->Reset();
        return kS_OK;
    }
    return Failed(object.As(out)) ? kDISP_E_TYPEMISMATCH : kS_OK;
}

// By-reference parameters take only a reference of their own type.
template <typename T>
HRESULT FromReference(const Variant& v, VarType type, T* pointer, T** out)
{
    if (v.Type() != type)
        return kDISP_E_TYPEMISMATCH;
    if (!pointer)
        return kE_POINTER;
    *out = pointer;
    return kS_OK;
}
inline HRESULT FromVariant(const Variant& v, std::int16_t** out)
{
    return FromReference(v, VarType::ShortRef, v.ShortRef(), out);
}
inline HRESULT FromVariant(const Variant& v, std::int32_t** out)
{
    return FromReference(v, VarType::LongRef, v.LongRef(), out);
}
inline HRESULT FromVariant(const Variant& v, std::string** out)
{
    return FromReference(v, VarType::StringRef, v.StringRef(), out);
}

template <typename T>
Variant ToVariant(T value)
{
    return Variant(std::move(value));
}

template <typename I>
Variant ToVariant(ComPtr<I> value)
{
    return Variant(ComPtr<IUnknown>(value.Get()));
}

// The parameter types of a member function, a function or a function object.
template <typename F>
struct CallableParams : CallableParams<decltype(&F::operator())> {};
template <typename R, typename... A>
struct CallableParams<R (*)(A...)> {
    using Type = std::tuple<std::decay_t<A>...>;
};
template <typename C, typename R, typename... A>
struct CallableParams<R (C::*)(A...)> {
    using Type = std::tuple<std::decay_t<A>...>;
};
template <typename C, typename R, typename... A>
struct CallableParams<R (C::*)(A...) const> {
    using Type = std::tuple<std::decay_t<A>...>;
};

template <typename Params, std::size_t... I>
HRESULT UnpackVariants([[maybe_unused]] std::span<const Variant> args, Params& values,
                       std::index_sequence<I...>)
{
    HRESULT hr = kS_OK;
    (void)(Succeeded(hr = FromVariant(args[I], &std::get<I>(values))) && ...);
    return hr;
}

// Converts args to Params, calls call with them and stores what it returns
// in result (when there is one). The count must match exactly.
template <typename Params, typename F>
HRESULT CallWithVariants(F&& call, std::span<const Variant> args, Variant* result)
{
    constexpr std::size_t kArity = std::tuple_size_v<Params>;
    if (args.size() != kArity)
        return kDISP_E_BADPARAMCOUNT;
    Params values;
    const HRESULT hr = UnpackVariants(args, values, std::make_index_sequence<kArity>());
    if (Failed(hr))
        return hr;
    using R = decltype(std::apply(call, values));
    if constexpr (std::is_void_v<R>) {
        std::apply(call, values);
        if (result)
            *result = Variant();
    } else if (result) {
        *result = ToVariant(std::apply(call, values));
    } else {
        std::apply(call, values);
    }
    return kS_OK;
}
