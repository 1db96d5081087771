#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/DispatchArgs.h"
#include "platform/com/IDispatch.h"

#include <QHash>

#include <functional>

// A container's map from event number to handler, advised to a control as
// its event sink. A handler's parameters say how the event's arguments
// convert; what it returns is ignored:
//
//     sink->On(1, this, &CTimeAppDlg::OnOnNotifyTimeChangeTimesheetsctrl1);
//     sink->On(4, [this] { OnReady(); });
//
// An event without a handler answers kDISP_E_MEMBERNOTFOUND to the source.
class CEventSinkMap final : public IDispatch {
public:
    using Handler = std::function<HRESULT(std::span<const Variant> args)>;

    static ComPtr<CEventSinkMap> Create();

    template <typename F>
    void On(DispId event, F handler)
    {
        using Params = typename CallableParams<F>::Type;
        SetHandler(event, [handler = std::move(handler)](std::span<const Variant> args) {
            return CallWithVariants<Params>(handler, args, nullptr);
        });
    }

    template <typename Receiver, typename R, typename... A>
    void On(DispId event, Receiver* receiver, R (Receiver::*handler)(A...))
    {
        using Params = std::tuple<std::decay_t<A>...>;
        SetHandler(event, [receiver, handler](std::span<const Variant> args) {
            return CallWithVariants<Params>(
                [receiver, handler](auto&&... values) { return (receiver->*handler)(values...); },
                args, nullptr);
        });
    }

    void SetHandler(DispId event, Handler handler);
    void Remove(DispId event);

    HRESULT QueryInterface(const Guid& iid, void** out) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT GetIDsOfNames(std::string_view name, DispId* id) override;
    HRESULT Invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

private:
    CEventSinkMap() = default;
    ~CEventSinkMap() = default;

    std::uint32_t m_refs = 1;
    QHash<DispId, Handler> m_handlers;
};
