#pragma once

#include <QString>

// Result codes of the dispatch layer. The values are the ones the controls'
// callers and registration tools have always reported, so a code read in a
// log means the same everywhere.
using HRESULT = int;

inline constexpr HRESULT kS_OK = 0;
inline constexpr HRESULT kS_FALSE = 1;
inline constexpr HRESULT kE_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT kE_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT kE_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT kE_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT kE_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
inline constexpr HRESULT kE_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
inline constexpr HRESULT kE_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT kE_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT kDISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
inline constexpr HRESULT kDISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
inline constexpr HRESULT kDISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
inline constexpr HRESULT kDISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
inline constexpr HRESULT kDISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
inline constexpr HRESULT kCLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
inline constexpr HRESULT kCLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
inline constexpr HRESULT kREGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
inline constexpr HRESULT kSELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT kSELFREG_E_CLASS = static_cast<HRESULT>(0x80040201);
inline constexpr HRESULT kCO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
inline constexpr HRESULT kCO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8);
inline constexpr HRESULT kCO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9);

constexpr bool Succeeded(HRESULT hr)
{
    return hr >= 0;
}

constexpr bool Failed(HRESULT hr)
{
    return hr < 0;
}

// "0x80040154: The class is not registered." for messages and logs, followed
// by the error information recorded with that code, if any.
QString HResultText(HRESULT hr);

// Why the last attempt of this thread to make an object failed, in more words
// than its code: which library, what the loader said. Kept until the next
// attempt clears it, so a message built from the code alone names the cause.
void SetErrorInfo(HRESULT hr, const QString& description);
void ClearErrorInfo();
