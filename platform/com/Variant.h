#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/FontDesc.h"
#include "platform/com/HResult.h"
#include "platform/com/OleColor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

class Variant;
using VariantArray = std::vector<Variant>;

enum class VarType : std::uint8_t {
    Empty,
    Short,
    Long,
    Bool,
    Double,
    String, // UTF-8
    Color,
    Font,
    Object,
    Array,
    ShortRef, // by reference: the callee writes through the pointer
    LongRef,
    StringRef,
};

// One value crossing the dispatch layer: an argument, a result or an event
// parameter. By-reference values point at the caller's storage, which must
// outlive the call. The To... conversions answer kDISP_E_TYPEMISMATCH for a
// value that has no meaning in the asked type, kDISP_E_OVERFLOW for one that
// does not fit, and kE_POINTER for a null reference.
class Variant {
public:
    Variant() = default;
    explicit Variant(std::int16_t v)
        : m_value(v)
    {}
    explicit Variant(std::int32_t v)
        : m_value(v)
    {}
    explicit Variant(bool v)
        : m_value(v)
    {}
    explicit Variant(double v)
        : m_value(v)
    {}
    explicit Variant(std::string v)
        : m_value(std::move(v))
    {}
    explicit Variant(const char* v)
        : m_value(std::string(v ? v : ""))
    {}
    explicit Variant(const QString& v)
        : m_value(v.toStdString())
    {}
    explicit Variant(OleColor v)
        : m_value(v)
    {}
    explicit Variant(FontDesc v)
        : m_value(std::move(v))
    {}
    explicit Variant(ComPtr<IUnknown> v)
        : m_value(std::move(v))
    {}
    explicit Variant(VariantArray v);
    explicit Variant(std::int16_t* ref)
        : m_value(ref)
    {}
    explicit Variant(std::int32_t* ref)
        : m_value(ref)
    {}
    explicit Variant(std::string* ref)
        : m_value(ref)
    {}

    VarType Type() const { return static_cast<VarType>(m_value.index()); }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsByRef() const { return Type() >= VarType::ShortRef; }

    HRESULT ToShort(std::int16_t* out) const;
    HRESULT ToLong(std::int32_t* out) const;
    // Numbers are true when not zero; text may be "true"/"false" or a number.
    HRESULT ToBool(bool* out) const;
    HRESULT ToDouble(double* out) const;
    HRESULT ToString(std::string* out) const;
    HRESULT ToQString(QString* out) const;
    // A colour is a 32-bit number, so numbers convert to and from it.
    HRESULT ToColor(OleColor* out) const;
    HRESULT ToFont(FontDesc* out) const;
    HRESULT ToObject(ComPtr<IUnknown>* out) const;
    HRESULT ToArray(VariantArray* out) const;

    // The pointer of a by-reference value of that exact type, else nullptr.
    std::int16_t* ShortRef() const;
    std::int32_t* LongRef() const;
    std::string* StringRef() const;

    friend bool operator==(const Variant& a, const Variant& b);

private:
    // The value a by-reference variant points at, or this value itself.
    HRESULT Dereferenced(Variant* out) const;
    HRESULT ToNumber(double* out) const;

    // Alternatives in VarType order.
    std::variant<std::monostate, std::int16_t, std::int32_t, bool, double, std::string, OleColor,
                 FontDesc, ComPtr<IUnknown>, std::shared_ptr<const VariantArray>, std::int16_t*,
                 std::int32_t*, std::string*>
        m_value;
};
