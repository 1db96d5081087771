#pragma once

#include "platform/com/DispatchArgs.h"
#include "platform/com/IDispatch.h"

#include <cctype>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

// The members of a dispatch interface of class T, declared in DISPID order:
// a member's DISPID is its 1-based position, unless it carries a fixed one
// (the standard members). A member function serves as a method, or as the
// get and put halves of a property; arguments and results convert through
// DispatchArgs.h.
//
//     using Table = CDispatchTable<CMyCtrl>;
//     static const Table table{
//         Table::Property<&CMyCtrl::Speed, &CMyCtrl::SetSpeed>("scrlSpeed"), // 1
//         Table::Method<&CMyCtrl::DoPaint>("DoPaint"),                        // 2
//         Table::Property<&CMyCtrl::BackColor, &CMyCtrl::SetBackColor>("BackColor").WithId(-501),
//     };
template <typename T>
class CDispatchTable {
public:
    using Thunk = HRESULT (*)(T& object, std::span<const Variant> args, Variant* result);

    struct Member {
        const char* name = "";
        Thunk method = nullptr;
        Thunk get = nullptr;
        Thunk put = nullptr;
        DispId fixedId = 0; // 0: numbered by position

        Member WithId(DispId id) const
        {
            Member copy = *this;
            copy.fixedId = id;
            return copy;
        }
    };

    CDispatchTable(std::initializer_list<Member> members)
    {
        for (const Member& member : members)
            (member.fixedId == 0 ? m_positional : m_fixed).push_back(member);
    }

    template <auto Fn>
    static Member Method(const char* name)
    {
        return Member{name, &Call<Fn>, nullptr, nullptr, 0};
    }

    // Without a put function the property is read-only.
    template <auto Get, auto Put = nullptr>
    static Member Property(const char* name)
    {
        // A type test, not a pointer comparison: GCC cannot evaluate the
        // latter at compile time when null checks are instrumented.
        if constexpr (std::is_null_pointer_v<decltype(Put)>)
            return Member{name, nullptr, &Call<Get>, nullptr, 0};
        else
            return Member{name, nullptr, &Call<Get>, &Call<Put>, 0};
    }

    HRESULT Invoke(T& object, DispId id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) const
    {
        const Member* member = Find(id);
        if (!member)
            return kDISP_E_MEMBERNOTFOUND;
        const Thunk thunk = kind == InvokeKind::Method        ? member->method
                            : kind == InvokeKind::PropertyGet ? member->get
                                                              : member->put;
        if (!thunk)
            return kDISP_E_MEMBERNOTFOUND;
        return thunk(object, args, result);
    }

    HRESULT GetIDsOfNames(std::string_view name, DispId* id) const
    {
        if (!id)
            return kE_POINTER;
        for (std::size_t i = 0; i < m_positional.size(); ++i) {
            if (SameName(m_positional[i].name, name)) {
                *id = static_cast<DispId>(i + 1);
                return kS_OK;
            }
        }
        for (const Member& member : m_fixed) {
            if (SameName(member.name, name)) {
                *id = member.fixedId;
                return kS_OK;
            }
        }
        return kDISP_E_UNKNOWNNAME;
    }

private:
    template <auto Fn>
    static HRESULT Call(T& object, std::span<const Variant> args, Variant* result)
    {
        using Params = typename CallableParams<decltype(Fn)>::Type;
        return CallWithVariants<Params>(
            [&object](auto&&... values) { return (object.*Fn)(values...); }, args, result);
    }

    const Member* Find(DispId id) const
    {
        if (id >= 1 && static_cast<std::size_t>(id) <= m_positional.size())
            return &m_positional[static_cast<std::size_t>(id) - 1];
        for (const Member& member : m_fixed) {
            if (member.fixedId == id)
                return &member;
        }
        return nullptr;
    }

    static bool SameName(std::string_view a, std::string_view b)
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

    std::vector<Member> m_positional;
    std::vector<Member> m_fixed;
};
