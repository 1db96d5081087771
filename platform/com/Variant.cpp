#include "platform/com/Variant.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

HRESULT ParseNumber(std::string_view text, double* out)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *out);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(*out))
        return kDISP_E_TYPEMISMATCH;
    return kS_OK;
}

// Numbers become integers by rounding half to even, as automation clients
// have always done; anything outside [low, high] is an overflow.
HRESULT RoundInto(double value, double low, double high, double* out)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= low && rounded <= high))
        return kDISP_E_OVERFLOW;
    *out = rounded;
    return kS_OK;
}

std::string NumberText(double value)
{
    char buffer[32];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string();
}

} // namespace

Variant::Variant(VariantArray v)
    : m_value(std::make_shared<const VariantArray>(std::move(v)))
{}

HRESULT Variant::Dereferenced(Variant* out) const
{
    if (const auto* p = std::get_if<std::int16_t*>(&m_value))
        return *p ? (*out = Variant(**p), kS_OK) : kE_POINTER;
    if (const auto* p = std::get_if<std::int32_t*>(&m_value))
        return *p ? (*out = Variant(**p), kS_OK) : kE_POINTER;
    if (const auto* p = std::get_if<std::string*>(&m_value))
        return *p ? (*out = Variant(**p), kS_OK) : kE_POINTER;
    *out = *this;
    return kS_OK;
}

HRESULT Variant::ToNumber(double* out) const
{
    if (IsByRef()) {
        Variant value;
        const HRESULT hr = Dereferenced(&value);
        return Failed(hr) ? hr : value.ToNumber(out);
    }
    switch (Type()) {
    case VarType::Empty:
        *out = 0;
        return kS_OK;
    case VarType::Short:
        *out = std::get<std::int16_t>(m_value);
        return kS_OK;
    case VarType::Long:
        *out = std::get<std::int32_t>(m_value);
        return kS_OK;
    case VarType::Bool:
        // BOOL members take TRUE as 1.
        *out = std::get<bool>(m_value) ? 1 : 0;
        return kS_OK;
    case VarType::Double:
        *out = std::get<double>(m_value);
        return kS_OK;
    case VarType::Color:
        *out = static_cast<std::int32_t>(std::get<OleColor>(m_value).value);
        return kS_OK;
    case VarType::String:
        return ParseNumber(std::get<std::string>(m_value), out);
    default:
        return kDISP_E_TYPEMISMATCH;
    }
}

HRESULT Variant::ToShort(std::int16_t* out) const
{
    if (const auto* p = std::get_if<std::int16_t>(&m_value)) {
        *out = *p;
        return kS_OK;
    }
    double number = 0;
    HRESULT hr = ToNumber(&number);
    if (Succeeded(hr))
        hr = RoundInto(number, std::numeric_limits<std::int16_t>::min(),
                       std::numeric_limits<std::int16_t>::max(), &number);
    if (Succeeded(hr))
        *out = static_cast<std::int16_t>(number);
    return hr;
}

HRESULT Variant::ToLong(std::int32_t* out) const
{
    if (const auto* p = std::get_if<std::int32_t>(&m_value)) {
        *out = *p;
        return kS_OK;
    }
    double number = 0;
    HRESULT hr = ToNumber(&number);
    if (Succeeded(hr))
        hr = RoundInto(number, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max(), &number);
    if (Succeeded(hr))
        *out = static_cast<std::int32_t>(number);
    return hr;
}

HRESULT Variant::ToBool(bool* out) const
{
    if (const auto* p = std::get_if<bool>(&m_value)) {
        *out = *p;
        return kS_OK;
    }
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        if (EqualsIgnoringCase(Trimmed(*text), "true")) {
            *out = true;
            return kS_OK;
        }
        if (EqualsIgnoringCase(Trimmed(*text), "false")) {
            *out = false;
            return kS_OK;
        }
    }
    if (std::holds_alternative<std::string*>(m_value)) {
        Variant value;
        const HRESULT hr = Dereferenced(&value);
        return Failed(hr) ? hr : value.ToBool(out);
    }
    double number = 0;
    const HRESULT hr = ToNumber(&number);
    if (Succeeded(hr))
        *out = number != 0;
    return hr;
}

HRESULT Variant::ToDouble(double* out) const
{
    return ToNumber(out);
}

HRESULT Variant::ToString(std::string* out) const
{
    switch (Type()) {
    case VarType::Empty:
        out->clear();
        return kS_OK;
    case VarType::String:
        *out = std::get<std::string>(m_value);
        return kS_OK;
    case VarType::StringRef: {
        const std::string* p = std::get<std::string*>(m_value);
        if (!p)
            return kE_POINTER;
        *out = *p;
        return kS_OK;
    }
    case VarType::Bool:
        *out = std::get<bool>(m_value) ? "True" : "False";
        return kS_OK;
    case VarType::Color:
        *out = std::to_string(std::get<OleColor>(m_value).value);
        return kS_OK;
    default:
        break;
    }
    double number = 0;
    const HRESULT hr = ToNumber(&number);
    if (Succeeded(hr))
        *out = NumberText(number);
    return hr;
}

HRESULT Variant::ToQString(QString* out) const
{
    std::string text;
    const HRESULT hr = ToString(&text);
    if (Succeeded(hr))
        *out = QString::fromStdString(text);
    return hr;
}

HRESULT Variant::ToColor(OleColor* out) const
{
    if (const auto* p = std::get_if<OleColor>(&m_value)) {
        *out = *p;
        return kS_OK;
    }
    if (Type() == VarType::Bool)
        return kDISP_E_TYPEMISMATCH;
    double number = 0;
    HRESULT hr = ToNumber(&number);
    // Both the signed and the unsigned reading of 32 bits are colours.
    if (Succeeded(hr))
        hr = RoundInto(number, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::uint32_t>::max(), &number);
    if (Succeeded(hr))
        *out = OleColor(number < 0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(number))
                                   : static_cast<std::uint32_t>(number));
    return hr;
}

HRESULT Variant::ToFont(FontDesc* out) const
{
    const auto* p = std::get_if<FontDesc>(&m_value);
    if (!p)
        return kDISP_E_TYPEMISMATCH;
    *out = *p;
    return kS_OK;
}

HRESULT Variant::ToObject(ComPtr<IUnknown>* out) const
{
    const auto* p = std::get_if<ComPtr<IUnknown>>(&m_value);
    if (!p)
        return kDISP_E_TYPEMISMATCH;
    *out = *p;
    return kS_OK;
}

HRESULT Variant::ToArray(VariantArray* out) const
{
    const auto* p = std::get_if<std::shared_ptr<const VariantArray>>(&m_value);
    if (!p)
        return kDISP_E_TYPEMISMATCH;
    *out = **p;
    return kS_OK;
}

std::int16_t* Variant::ShortRef() const
{
    const auto* p = std::get_if<std::int16_t*>(&m_value);
    return p ? *p : nullptr;
}

std::int32_t* Variant::LongRef() const
{
    const auto* p = std::get_if<std::int32_t*>(&m_value);
    return p ? *p : nullptr;
}

std::string* Variant::StringRef() const
{
    const auto* p = std::get_if<std::string*>(&m_value);
    return p ? *p : nullptr;
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.Type() == VarType::Array && b.Type() == VarType::Array)
        return *std::get<std::shared_ptr<const VariantArray>>(a.m_value) ==
               *std::get<std::shared_ptr<const VariantArray>>(b.m_value);
    return a.m_value == b.m_value;
}
