#pragma once

#include "platform/com/ControlBase.h"
#include "platform/com/DispatchTable.h"

// Base of control class T, whose static DispatchTable() lists its members:
//
//     class CMyCtrl : public CControlImpl<CMyCtrl> {
//     public:
//         static const CDispatchTable<CMyCtrl>& DispatchTable();
//         ...
//     };
template <typename T>
class CControlImpl : public CControlBase {
public:
    HRESULT GetIDsOfNames(std::string_view name, DispId* id) override
    {
        return T::DispatchTable().GetIDsOfNames(name, id);
    }

    HRESULT Invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override
    {
        return T::DispatchTable().Invoke(static_cast<T&>(*this), id, kind, args, result);
    }
};
