#include "platform/com/EventSinkMap.h"

ComPtr<CEventSinkMap> CEventSinkMap::Create()
{
    return ComPtr<CEventSinkMap>::Adopt(new CEventSinkMap);
}

void CEventSinkMap::SetHandler(DispId event, Handler handler)
{
    m_handlers.insert(event, std::move(handler));
}

void CEventSinkMap::Remove(DispId event)
{
    m_handlers.remove(event);
}

HRESULT CEventSinkMap::QueryInterface(const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    if (iid != IUnknown::kIid && iid != IDispatch::kIid) {
        *out = nullptr;
        return kE_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return kS_OK;
}

std::uint32_t CEventSinkMap::AddRef()
{
    return ++m_refs;
}

std::uint32_t CEventSinkMap::Release()
{
    const std::uint32_t refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT CEventSinkMap::GetIDsOfNames(std::string_view, DispId*)
{
    return kDISP_E_UNKNOWNNAME;
}

HRESULT CEventSinkMap::Invoke(DispId id, InvokeKind kind, std::span<const Variant> args,
                              Variant* result)
{
    if (result)
        *result = Variant();
    const auto it = m_handlers.constFind(id);
    if (kind != InvokeKind::Method || it == m_handlers.constEnd())
        return kDISP_E_MEMBERNOTFOUND;
    // A copy, since the handler may replace or remove itself.
    const Handler handler = it.value();
    return handler(args);
}
